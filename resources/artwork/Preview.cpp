// Mock-ups for looking at the artwork: each skin's background with every control's image
// placed at its rectangle and sample texts where the editor writes its own, and a contact
// sheet of knob frames. Not shipped; the editor draws the real thing.
//
//   quillmere-artwork-preview RESOURCES_DIR REGULAR_FONT OUTPUT_PREFIX

#include "Layout.h"
#include "Painter.h"

#include <cstdio>
#include <cstdlib>
#include <map>

namespace {

using namespace artwork;

class Images
{
public:
	explicit Images (std::string folder) : folder (std::move (folder)) {}

	cairo_surface_t* get (const std::string& file)
	{
		auto found = loaded.find (file);
		if (found == loaded.end ())
			found = loaded.emplace (file, Surface (cairo_image_surface_create_from_png (
			                                  (folder + "/" + file).c_str ()))).first;
		return found->second.get ();
	}

private:
	std::string folder;
	std::map<std::string, Surface> loaded;
};

// Paints one `h`-tall cell of a vertical strip at (x, y).
void paintCell (cairo_t* cr, cairo_surface_t* strip, int cell, double x, double y, int w, int h)
{
	cairo_save (cr);
	cairo_rectangle (cr, x, y, w, h);
	cairo_clip (cr);
	cairo_set_source_surface (cr, strip, x, y - cell * h);
	cairo_paint (cr);
	cairo_restore (cr);
}

void sampleText (cairo_t* cr, const Typeface& font, const std::string& text, double size, int grey,
                 const Rect& r)
{
	setColour (cr, rgb (grey, grey, grey));
	font.drawCentred (cr, text, size,
	                  Box {double (r.left), double (r.top), double (r.width ()), double (r.height ())});
}

void mockUp (const SkinLayout& skin, Images& images, const Typeface& font, const std::string& path)
{
	Surface out = newImage (skin.width, skin.height);
	Context context = newContext (out);
	cairo_t* cr = context.get ();
	cairo_set_source_surface (cr, images.get (skin.background), 0, 0);
	cairo_paint (cr);
	int n = 0;
	for (const Control& c : skin.controls)
	{
		const Rect& r = c.rect;
		const int w = r.width (), h = r.height ();
		++n;
		switch (c.kind)
		{
		case Kind::Knob:
		{
			cairo_surface_t* strip = images.get (c.bitmap);
			const int frames = cairo_image_surface_get_height (strip) / h;
			paintCell (cr, strip, (n * 37) % frames, r.left, r.top, w, h);
			break;
		}
		case Kind::ValueText:
			sampleText (cr, font, n % 3 ? "100.00" : "-12.50", skin.valueTextSize, skin.valueTextGrey, r);
			break;
		case Kind::Fader:
		{
			cairo_surface_t* handle = images.get (c.bitmap);
			const int hh = cairo_image_surface_get_height (handle);
			const double value = 0.25 * (n % 4);
			cairo_set_source_surface (cr, handle, r.left, r.top + (1 - value) * (h - hh));
			cairo_paint (cr);
			break;
		}
		case Kind::VariationMenu:
			sampleText (cr, font, "Variation 12", skin.menuTextSize, skin.menuTextGrey, r);
			break;
		case Kind::Switch:
		case Kind::StepButton:
		case Kind::LockSwitch:
			paintCell (cr, images.get (c.bitmap), n % 2, r.left, r.top, w, h);
			break;
		case Kind::VersionLabel:
			sampleText (cr, font, "Ver. 2.0.2 Beta", skin.versionTextSize, skin.versionTextGrey, r);
			break;
		case Kind::PresetMenu:
			sampleText (cr, font, "Space synthesizers", skin.presetTextSize, skin.menuTextGrey, r);
			break;
		case Kind::Credits:
		case Kind::SkinMenu: break;
		}
	}
	writePng (out, path);
}

// Frames 0, 25, 50, 75 and 100 of every strip the skin uses, side by side, one row a strip.
void knobSheet (const SkinLayout& skin, Images& images, const std::string& path)
{
	std::map<std::string, int> strips;
	for (const Control& c : skin.controls)
		if (c.kind == Kind::Knob)
			strips[c.bitmap] = c.rect.height ();
	int width = 0, height = 0;
	for (const auto& [file, size] : strips)
	{
		width = std::max (width, 5 * size);
		height += size;
	}
	Surface out = newImage (width, height);
	Context context = newContext (out);
	cairo_t* cr = context.get ();
	cairo_set_source_rgb (cr, skin.number == 2 ? 0.85 : 0.16, skin.number == 2 ? 0.86 : 0.17,
	                      skin.number == 2 ? 0.88 : 0.19);
	cairo_paint (cr);
	int y = 0;
	for (const auto& [file, size] : strips)
	{
		cairo_surface_t* strip = images.get (file);
		const int frames = cairo_image_surface_get_height (strip) / size;
		for (int i = 0; i < 5; ++i)
			paintCell (cr, strip, (frames - 1) * i / 4, i * size, y, size, size);
		y += size;
	}
	writePng (out, path);
}

// A part of an image, enlarged with square pixels, for looking at edges.
int zoom (int argc, char** argv)
{
	if (argc != 8)
	{
		std::fprintf (stderr, "usage: %s --zoom IMAGE X Y WIDTH HEIGHT OUTPUT\n", argv[0]);
		return 2;
	}
	Surface in (cairo_image_surface_create_from_png (argv[2]));
	const int x = std::atoi (argv[3]), y = std::atoi (argv[4]);
	const int w = std::atoi (argv[5]), h = std::atoi (argv[6]);
	const int scale = 3;
	Surface out = newImage (w * scale, h * scale);
	Context cr = newContext (out);
	cairo_scale (cr.get (), scale, scale);
	cairo_set_source_surface (cr.get (), in.get (), -x, -y);
	cairo_pattern_set_filter (cairo_get_source (cr.get ()), CAIRO_FILTER_NEAREST);
	cairo_paint (cr.get ());
	return writePng (out, argv[7]) ? 0 : 1;
}

} // namespace

int main (int argc, char** argv)
{
	if (argc > 1 && std::string (argv[1]) == "--zoom")
		return zoom (argc, argv);
	if (argc != 4)
	{
		std::fprintf (stderr, "usage: %s RESOURCES_DIR REGULAR_FONT OUTPUT_PREFIX\n", argv[0]);
		return 2;
	}
	Images images (argv[1]);
	Typeface font (argv[2]);
	const std::string prefix = argv[3];
	for (const SkinLayout* skin : allSkins ())
	{
		const std::string name = prefix + "skin" + std::to_string (skin->number);
		mockUp (*skin, images, font, name + ".png");
		knobSheet (*skin, images, name + "-knobs.png");
	}
	return 0;
}

#include "Painter.h"

#include "vstgui/lib/fontfile.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace artwork {

Colour rgb (int r, int g, int b, double alpha)
{
	return {r / 255.0, g / 255.0, b / 255.0, alpha};
}

Colour mix (Colour c, Colour towards, double amount)
{
	auto blend = [amount] (double from, double to) { return from + (to - from) * amount; };
	return {blend (c.r, towards.r), blend (c.g, towards.g), blend (c.b, towards.b),
	        blend (c.a, towards.a)};
}

Colour withAlpha (Colour c, double alpha)
{
	c.a = alpha;
	return c;
}

void setColour (cairo_t* cr, Colour c)
{
	cairo_set_source_rgba (cr, c.r, c.g, c.b, c.a);
}

void roundedBox (cairo_t* cr, const Box& box, double radius)
{
	const double r = std::min ({radius, box.w / 2, box.h / 2});
	cairo_new_sub_path (cr);
	cairo_arc (cr, box.right () - r, box.y + r, r, -M_PI / 2, 0);
	cairo_arc (cr, box.right () - r, box.bottom () - r, r, 0, M_PI / 2);
	cairo_arc (cr, box.x + r, box.bottom () - r, r, M_PI / 2, M_PI);
	cairo_arc (cr, box.x + r, box.y + r, r, M_PI, 3 * M_PI / 2);
	cairo_close_path (cr);
}

cairo_pattern_t* verticalGradient (const Box& box, Colour top, Colour bottom)
{
	cairo_pattern_t* p = cairo_pattern_create_linear (0, box.y, 0, box.bottom ());
	cairo_pattern_add_color_stop_rgba (p, 0, top.r, top.g, top.b, top.a);
	cairo_pattern_add_color_stop_rgba (p, 1, bottom.r, bottom.g, bottom.b, bottom.a);
	return p;
}

void fillWith (cairo_t* cr, cairo_pattern_t* pattern)
{
	cairo_set_source (cr, pattern);
	cairo_fill (cr);
	cairo_pattern_destroy (pattern);
}

namespace {

// One pass of a running box average along rows (or columns) of an 8-bit alpha image.
void boxBlurPass (unsigned char* data, int width, int height, int stride, int radius,
                  bool alongRows)
{
	const int lines = alongRows ? height : width;
	const int length = alongRows ? width : height;
	const int step = alongRows ? 1 : stride;
	std::vector<int> line (length);
	const int span = 2 * radius + 1;
	for (int l = 0; l < lines; ++l)
	{
		unsigned char* start = alongRows ? data + l * stride : data + l;
		for (int i = 0; i < length; ++i)
			line[i] = start[i * step];
		int sum = 0;
		for (int i = -radius; i <= radius; ++i)
			sum += (i >= 0 && i < length) ? line[i] : 0;
		for (int i = 0; i < length; ++i)
		{
			start[i * step] = static_cast<unsigned char> ((sum + span / 2) / span);
			const int leaving = i - radius;
			const int entering = i + radius + 1;
			sum -= (leaving >= 0) ? line[leaving] : 0;
			sum += (entering < length) ? line[entering] : 0;
		}
	}
}

} // namespace

void softShadow (cairo_t* cr, const std::function<void (cairo_t*)>& path, double blur, double dx,
                 double dy, Colour colour)
{
	cairo_save (cr);
	cairo_new_path (cr);
	path (cr);
	double x0, y0, x1, y1;
	cairo_path_extents (cr, &x0, &y0, &x1, &y1);
	cairo_new_path (cr);
	const int margin = static_cast<int> (std::ceil (blur)) + 2;
	const int left = static_cast<int> (std::floor (x0)) - margin;
	const int top = static_cast<int> (std::floor (y0)) - margin;
	const int width = static_cast<int> (std::ceil (x1)) + margin - left;
	const int height = static_cast<int> (std::ceil (y1)) + margin - top;

	cairo_surface_t* mask = cairo_image_surface_create (CAIRO_FORMAT_A8, width, height);
	cairo_t* m = cairo_create (mask);
	cairo_translate (m, -left, -top);
	path (m);
	cairo_set_source_rgba (m, 0, 0, 0, 1);
	cairo_fill (m);
	cairo_destroy (m);
	cairo_surface_flush (mask);
	const int radius = std::max (1, static_cast<int> (std::lround (blur / 3)));
	unsigned char* data = cairo_image_surface_get_data (mask);
	const int stride = cairo_image_surface_get_stride (mask);
	for (int pass = 0; pass < 3; ++pass)
	{
		boxBlurPass (data, width, height, stride, radius, true);
		boxBlurPass (data, width, height, stride, radius, false);
	}
	cairo_surface_mark_dirty (mask);

	setColour (cr, colour);
	cairo_mask_surface (cr, mask, left + dx, top + dy);
	cairo_surface_destroy (mask);
	cairo_restore (cr);
}

void recessedField (cairo_t* cr, const Box& box, double radius, Colour fill, Colour shade,
                    Colour light)
{
	// The lit lower-right rim first, one pixel out, then the field over it.
	roundedBox (cr, box.moved (0.5, 0.5).inset (-0.5, -0.5), radius + 0.5);
	setColour (cr, light);
	cairo_fill (cr);
	roundedBox (cr, box, radius);
	setColour (cr, fill);
	cairo_fill_preserve (cr);
	// Inner shadow: the field's outline, blurred and shifted down-right, seen only inside.
	cairo_save (cr);
	cairo_clip (cr);
	softShadow (
	    cr,
	    [&box, radius] (cairo_t* c) {
		    cairo_rectangle (c, box.x - 20, box.y - 20, box.w + 40, box.h + 40);
		    roundedBox (c, box, radius);
		    cairo_set_fill_rule (c, CAIRO_FILL_RULE_EVEN_ODD);
	    },
	    3, 1, 1.5, shade);
	cairo_restore (cr);
}

namespace {

struct ScaledFontRelease
{
	void operator() (cairo_scaled_font_t* f) const { cairo_scaled_font_destroy (f); }
};
using ScaledFont = std::unique_ptr<cairo_scaled_font_t, ScaledFontRelease>;

ScaledFont scaledFont (cairo_font_face_t* face, double size)
{
	cairo_matrix_t fontMatrix, identity;
	cairo_matrix_init_scale (&fontMatrix, size, size);
	cairo_matrix_init_identity (&identity);
	cairo_font_options_t* options = cairo_font_options_create ();
	cairo_font_options_set_antialias (options, CAIRO_ANTIALIAS_GRAY);
	cairo_font_options_set_hint_style (options, CAIRO_HINT_STYLE_SLIGHT);
	cairo_font_options_set_hint_metrics (options, CAIRO_HINT_METRICS_OFF);
	ScaledFont font (cairo_scaled_font_create (face, &fontMatrix, &identity, options));
	cairo_font_options_destroy (options);
	return font;
}

struct Glyphs
{
	cairo_glyph_t* glyphs = nullptr;
	int count = 0;
	double advance = 0;

	Glyphs (cairo_scaled_font_t* font, const std::string& text, double tracking)
	{
		if (cairo_scaled_font_text_to_glyphs (font, 0, 0, text.c_str (), -1, &glyphs, &count,
		                                      nullptr, nullptr, nullptr) != CAIRO_STATUS_SUCCESS)
		{
			glyphs = nullptr;
			count = 0;
			return;
		}
		for (int i = 0; i < count; ++i)
			glyphs[i].x += i * tracking;
		cairo_text_extents_t extents;
		cairo_scaled_font_glyph_extents (font, glyphs, count, &extents);
		advance = extents.x_advance + std::max (0, count - 1) * tracking;
	}
	~Glyphs () { cairo_glyph_free (glyphs); }
};

} // namespace

Typeface::Typeface (const std::string& fontFile)
: face (VSTGUI::createFontFaceFromFile (fontFile.c_str ()))
{
}

Typeface::~Typeface ()
{
	if (face)
		cairo_font_face_destroy (face);
}

double Typeface::width (const std::string& text, double size, double tracking) const
{
	if (!face)
		return 0;
	ScaledFont font = scaledFont (face, size);
	return Glyphs (font.get (), text, tracking).advance;
}

double Typeface::capHeight (double size) const
{
	if (!face)
		return size * 0.72;
	ScaledFont font = scaledFont (face, size);
	Glyphs h (font.get (), "H", 0);
	cairo_text_extents_t extents;
	cairo_scaled_font_glyph_extents (font.get (), h.glyphs, h.count, &extents);
	return -extents.y_bearing;
}

void Typeface::draw (cairo_t* cr, const std::string& text, double size, double x, double baseline,
                     Align align, double tracking) const
{
	if (!face)
		return;
	ScaledFont font = scaledFont (face, size);
	Glyphs run (font.get (), text, tracking);
	double left = x;
	if (align == Align::Centre)
		left = x - run.advance / 2;
	else if (align == Align::Right)
		left = x - run.advance;
	for (int i = 0; i < run.count; ++i)
	{
		run.glyphs[i].x += left;
		run.glyphs[i].y += baseline;
	}
	cairo_set_scaled_font (cr, font.get ());
	cairo_show_glyphs (cr, run.glyphs, run.count);
}

void Typeface::drawCentred (cairo_t* cr, const std::string& text, double size, const Box& box,
                            double tracking) const
{
	draw (cr, text, size, box.centreX (), box.centreY () + capHeight (size) / 2, Align::Centre,
	      tracking);
}

Surface newImage (int width, int height)
{
	return Surface (cairo_image_surface_create (CAIRO_FORMAT_ARGB32, width, height));
}

Context newContext (const Surface& surface)
{
	return Context (cairo_create (surface.get ()));
}

bool writePng (const Surface& surface, const std::string& path)
{
	cairo_surface_flush (surface.get ());
	return cairo_surface_write_to_png (surface.get (), path.c_str ()) == CAIRO_STATUS_SUCCESS;
}

} // namespace artwork

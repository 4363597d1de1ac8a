#include "Brand.h"

#include <cmath>

namespace artwork {

void drawLogo (cairo_t* cr, double x, double y, double radius, Colour ink)
{
	cairo_save (cr);
	cairo_set_line_cap (cr, CAIRO_LINE_CAP_ROUND);
	const double ringWidth = radius * 0.14;
	cairo_set_line_width (cr, ringWidth);
	for (int ring = 0; ring < 3; ++ring)
	{
		const double r = radius * (0.36 + 0.27 * ring) - ringWidth / 2;
		setColour (cr, withAlpha (ink, ink.a * (1.0 - 0.28 * ring)));
		cairo_new_sub_path (cr);
		// Each ring stays open on its lower right, where the tail passes.
		cairo_arc (cr, x, y, r, M_PI * 0.36, M_PI * 2.14);
		cairo_stroke (cr);
	}
	setColour (cr, ink);
	cairo_set_line_width (cr, ringWidth * 1.2);
	cairo_move_to (cr, x + radius * 0.12, y + radius * 0.12);
	cairo_line_to (cr, x + radius * 0.92, y + radius * 0.92);
	cairo_stroke (cr);
	cairo_restore (cr);
}

Surface creditsPicture (const Fonts& fonts, int width, int height, const std::string& version)
{
	Surface image = newImage (width, height);
	Context context = newContext (image);
	cairo_t* cr = context.get ();
	const Box all {0, 0, double (width), double (height)};
	const double cx = width / 2.0;

	cairo_rectangle (cr, 0, 0, width, height);
	fillWith (cr, verticalGradient (all, rgb (38, 44, 54), rgb (16, 18, 22)));
	// A cool glow behind the mark.
	cairo_rectangle (cr, 0, 0, width, height);
	cairo_pattern_t* glow = cairo_pattern_create_radial (cx, 78, 0, cx, 78, 150);
	cairo_pattern_add_color_stop_rgba (glow, 0, 0.35, 0.6, 0.85, 0.28);
	cairo_pattern_add_color_stop_rgba (glow, 1, 0.35, 0.6, 0.85, 0);
	fillWith (cr, glow);
	cairo_set_line_width (cr, 1);
	cairo_rectangle (cr, 0.5, 0.5, width - 1, height - 1);
	setColour (cr, rgb (120, 160, 200, 0.45));
	cairo_stroke (cr);
	cairo_rectangle (cr, 1.5, 1.5, width - 3, height - 3);
	setColour (cr, rgb (0, 0, 0, 0.6));
	cairo_stroke (cr);

	const Colour accent = rgb (128, 190, 230);
	const Colour text = rgb (220, 224, 230);
	const Colour quiet = rgb (150, 158, 168);
	drawLogo (cr, cx, 74, 34, accent);

	setColour (cr, text);
	fonts.bold.draw (cr, "Quillmere", 30, cx, 148, Align::Centre, 0.5);
	setColour (cr, accent);
	fonts.regular.draw (cr, "ALGORITHMIC REVERB", 11, cx, 168, Align::Centre, 2.2);
	setColour (cr, quiet);
	fonts.regular.draw (cr, "Version " + version, 12, cx, 190, Align::Centre);

	cairo_move_to (cr, cx - 110, 207.5);
	cairo_line_to (cr, cx + 110, 207.5);
	setColour (cr, rgb (255, 255, 255, 0.12));
	cairo_stroke (cr);

	const char* lines[] = {
	    "Reverb algorithms, code and artwork",
	    "are original work of the Quillmere project.",
	    "",
	    "Text is set in Liberation Sans, used under",
	    "the SIL Open Font Licence 1.1; the licence",
	    "ships beside the font in the plug-in bundle.",
	};
	double baseline = 224;
	setColour (cr, text);
	for (const char* line : lines)
	{
		fonts.regular.draw (cr, line, 12, cx, baseline, Align::Centre);
		baseline += 16;
	}
	setColour (cr, quiet);
	fonts.regular.draw (cr, "Click to close", 11, cx, height - 14, Align::Centre, 0.4);
	return image;
}

} // namespace artwork

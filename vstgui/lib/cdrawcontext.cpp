#include "cdrawcontext.h"

#include "fontfile.h"
#include "resourcefolder.h"

#include <cmath>
#include <memory>
#include <string>

namespace VSTGUI {
namespace {

// The shipped font, loaded once per resources folder (tests may switch folders).
cairo_font_face_t* textFace ()
{
	static std::string loadedFrom;
	static cairo_font_face_t* face = nullptr;
	const std::string path = resourcePath (kTextFontFileName);
	if (path != loadedFrom)
	{
		if (face)
			cairo_font_face_destroy (face);
		face = createFontFaceFromFile (path.c_str ());
		loadedFrom = path;
	}
	return face;
}

// Grey antialiasing with light hinting: the same pixels on every machine and surface.
cairo_font_options_t* textOptions ()
{
	// Freed when the module is unloaded, which a host does with the bundle.
	static std::unique_ptr<cairo_font_options_t, void (*) (cairo_font_options_t*)> options (
	    [] {
		    cairo_font_options_t* made = cairo_font_options_create ();
		    cairo_font_options_set_antialias (made, CAIRO_ANTIALIAS_GRAY);
		    cairo_font_options_set_hint_style (made, CAIRO_HINT_STYLE_SLIGHT);
		    cairo_font_options_set_hint_metrics (made, CAIRO_HINT_METRICS_ON);
		    cairo_font_options_set_subpixel_order (made, CAIRO_SUBPIXEL_ORDER_DEFAULT);
		    return made;
	    }(),
	    cairo_font_options_destroy);
	return options.get ();
}

} // namespace

void CDrawContext::fillRect (const CRect& rect, const CColor& color)
{
	if (color.isTransparent () || rect.isEmpty ())
		return;
	setSourceColor (context, color);
	cairo_rectangle (context, rect.left, rect.top, rect.width (), rect.height ());
	cairo_fill (context);
}

void CDrawContext::frameRect (const CRect& rect, const CColor& color)
{
	if (color.isTransparent () || rect.isEmpty ())
		return;
	setSourceColor (context, color);
	cairo_set_line_width (context, 1.0);
	cairo_rectangle (context, rect.left + 0.5, rect.top + 0.5, rect.width () - 1.0,
	                 rect.height () - 1.0);
	cairo_stroke (context);
}

bool CDrawContext::selectFont (CFontRef font)
{
	cairo_font_face_t* face = textFace ();
	if (!face || !font)
		return false;
	cairo_set_font_face (context, face);
	cairo_set_font_size (context, font->getSize ());
	cairo_set_font_options (context, textOptions ());
	return true;
}

CCoord CDrawContext::getStringWidth (const char* text, CFontRef font)
{
	if (!text || !*text)
		return 0;
	cairo_save (context);
	CCoord width = 0;
	if (selectFont (font))
	{
		cairo_text_extents_t extents;
		cairo_text_extents (context, text, &extents);
		width = static_cast<CCoord> (std::lround (extents.x_advance));
	}
	cairo_restore (context);
	return width;
}

void CDrawContext::drawString (const char* text, const CRect& rect, CFontRef font,
                               const CColor& color, CHoriTxtAlign align)
{
	if (!text || !*text || color.isTransparent () || rect.isEmpty ())
		return;
	cairo_save (context);
	if (selectFont (font))
	{
		cairo_rectangle (context, rect.left, rect.top, rect.width (), rect.height ());
		cairo_clip (context);
		cairo_text_extents_t capital;
		cairo_text_extents (context, "H", &capital);
		cairo_text_extents_t extents;
		cairo_text_extents (context, text, &extents);
		double x = rect.left;
		if (align == kCenterText)
			x = rect.left + (rect.width () - extents.x_advance) / 2.0;
		else if (align == kRightText)
			x = rect.right - extents.x_advance;
		const double baseline = rect.top + (rect.height () - capital.y_bearing) / 2.0;
		setSourceColor (context, color);
		cairo_move_to (context, std::round (x), std::round (baseline));
		cairo_show_text (context, text);
	}
	cairo_restore (context);
}

} // namespace VSTGUI

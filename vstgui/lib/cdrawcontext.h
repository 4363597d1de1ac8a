#pragma once
// What a view draws with: a cairo context whose origin is the frame's top-left corner.

#include "ccolor.h"
#include "cfont.h"
#include "cgeometry.h"

#include <cairo.h>

namespace VSTGUI {

enum CHoriTxtAlign
{
	kLeftText = 0,
	kCenterText,
	kRightText,
};

class CDrawContext
{
public:
	explicit CDrawContext (cairo_t* context) : context (context) {}

	cairo_t* getCairo () const { return context; }

	void fillRect (const CRect& rect, const CColor& color);
	// A one-pixel line just inside the rectangle.
	void frameRect (const CRect& rect, const CColor& color);
	// One line of text inside `rect`, cut at its edges and centred vertically on the cap
	// height, so every font size sits in the middle of its box. Nothing is drawn when the
	// font file cannot be loaded.
	void drawString (const char* text, const CRect& rect, CFontRef font, const CColor& color,
	                 CHoriTxtAlign align = kCenterText);
	// Width in pixels of a line of text, 0 without the font file.
	CCoord getStringWidth (const char* text, CFontRef font);

private:
	bool selectFont (CFontRef font);

	cairo_t* context;
};

} // namespace VSTGUI

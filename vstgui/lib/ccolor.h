#pragma once
// Colours as 8-bit red, green, blue and alpha (255 is opaque).

#include <cairo.h>
#include <cstdint>

namespace VSTGUI {

struct CColor
{
	uint8_t red = 0;
	uint8_t green = 0;
	uint8_t blue = 0;
	uint8_t alpha = 255;

	constexpr bool operator== (const CColor& other) const
	{
		return red == other.red && green == other.green && blue == other.blue &&
		       alpha == other.alpha;
	}
	constexpr bool operator!= (const CColor& other) const { return !(*this == other); }
	constexpr bool isTransparent () const { return alpha == 0; }
};

constexpr CColor MakeCColor (uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha = 255)
{
	return CColor {red, green, blue, alpha};
}

constexpr CColor kTransparentCColor {255, 255, 255, 0};
constexpr CColor kBlackCColor {0, 0, 0, 255};
constexpr CColor kWhiteCColor {255, 255, 255, 255};
constexpr CColor kGreyCColor {127, 127, 127, 255};

inline void setSourceColor (cairo_t* context, const CColor& color)
{
	cairo_set_source_rgba (context, color.red / 255.0, color.green / 255.0, color.blue / 255.0,
	                       color.alpha / 255.0);
}

} // namespace VSTGUI

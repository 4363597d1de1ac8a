#pragma once
// Font descriptions. Every font is drawn with the Liberation Sans file shipped in the
// bundle's resources, which has Helvetica's advance widths.

#include "cbaseobject.h"

#include <cstdint>
#include <string>

namespace VSTGUI {

enum CTxtFace : int32_t
{
	kNormalFace = 0,
	kBoldFace = 1 << 1,
	kItalicFace = 1 << 2,
};

class CFontDesc : public CBaseObject
{
public:
	CFontDesc (const char* name, int32_t size, int32_t style = kNormalFace)
	: name (name ? name : ""), size (size), style (style)
	{
	}
	const std::string& getName () const { return name; }
	int32_t getSize () const { return size; }
	int32_t getStyle () const { return style; }

private:
	std::string name;
	int32_t size;
	int32_t style;
};
using CFontRef = CFontDesc*;

// Helvetica 11, 12, 14 and 18 points, plain (one point is one pixel).
extern const CFontRef kNormalFontSmall;
extern const CFontRef kNormalFont;
extern const CFontRef kNormalFontBig;
extern const CFontRef kNormalFontVeryBig;

// The file name of the font in the resources folder.
extern const char* const kTextFontFileName;

} // namespace VSTGUI

#pragma once
// A PNG image from the resources folder, by file name. A file that is missing or cannot
// be read still gives a bitmap: it draws a plain placeholder over whatever area it is
// asked to fill and reports no size, so each control takes its own size instead.

#include "cbaseobject.h"
#include "cgeometry.h"

#include <cairo.h>
#include <string>

namespace VSTGUI {

class CDrawContext;

// Names a bitmap resource: here, always a file name.
struct CResourceDescription
{
	CResourceDescription (const char* name) : name (name ? name : "") {}
	std::string name;
};

class CBitmap : public CBaseObject
{
public:
	explicit CBitmap (const CResourceDescription& description);
	~CBitmap () override;

	bool isLoaded () const { return surface != nullptr; }
	const std::string& getResourceName () const { return name; }
	// The image's size in pixels; 0 when the file could not be read.
	CCoord getWidth () const { return width; }
	CCoord getHeight () const { return height; }

	// Draws the part of the image that starts at `offset` into `destination`. Without an
	// image, a placeholder fills `destination`.
	void draw (CDrawContext* context, const CRect& destination,
	           const CPoint& offset = CPoint (0, 0), float alpha = 1.f);

private:
	std::string name;
	cairo_surface_t* surface = nullptr;
	CCoord width = 0;
	CCoord height = 0;
};

} // namespace VSTGUI

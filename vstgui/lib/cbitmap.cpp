#include "cbitmap.h"

#include "cdrawcontext.h"
#include "resourcefolder.h"

namespace VSTGUI {
namespace {
constexpr CColor kPlaceholderFill {96, 96, 104, 255};
constexpr CColor kPlaceholderEdge {160, 160, 168, 255};
} // namespace

CBitmap::CBitmap (const CResourceDescription& description) : name (description.name)
{
	cairo_surface_t* loaded =
	    cairo_image_surface_create_from_png (resourcePath (name.c_str ()).c_str ());
	if (cairo_surface_status (loaded) != CAIRO_STATUS_SUCCESS)
	{
		cairo_surface_destroy (loaded);
		return;
	}
	surface = loaded;
	width = cairo_image_surface_get_width (loaded);
	height = cairo_image_surface_get_height (loaded);
}

CBitmap::~CBitmap ()
{
	if (surface)
		cairo_surface_destroy (surface);
}

void CBitmap::draw (CDrawContext* context, const CRect& destination, const CPoint& offset,
                    float alpha)
{
	if (destination.isEmpty ())
		return;
	if (!surface)
	{
		context->fillRect (destination, kPlaceholderFill);
		context->frameRect (destination, kPlaceholderEdge);
		return;
	}
	cairo_t* cr = context->getCairo ();
	cairo_save (cr);
	cairo_rectangle (cr, destination.left, destination.top, destination.width (),
	                 destination.height ());
	cairo_clip (cr);
	cairo_set_source_surface (cr, surface, destination.left - offset.x,
	                          destination.top - offset.y);
	if (alpha >= 1.f)
		cairo_paint (cr);
	else
		cairo_paint_with_alpha (cr, alpha);
	cairo_restore (cr);
}

} // namespace VSTGUI

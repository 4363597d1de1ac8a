#include "offscreenframe.h"

namespace VSTGUI {

OffscreenFrame::OffscreenFrame (IPlatformFrameCallback* frame, const CRect& size)
: frame (frame), size (size)
{
	makeSurface ();
}

OffscreenFrame::~OffscreenFrame ()
{
	cairo_surface_destroy (surface);
}

void OffscreenFrame::makeSurface ()
{
	if (surface)
		cairo_surface_destroy (surface);
	surface = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, size.width (), size.height ());
}

void OffscreenFrame::paint (const CRect& area)
{
	cairo_t* context = cairo_create (surface);
	cairo_translate (context, -size.left, -size.top);
	cairo_rectangle (context, area.left, area.top, area.width (), area.height ());
	cairo_clip (context);
	// What lies behind the frame: opaque black, as an empty window would show.
	cairo_set_source_rgb (context, 0, 0, 0);
	cairo_paint (context);
	frame->platformDrawRect (context, area);
	cairo_destroy (context);
	cairo_surface_flush (surface);
}

cairo_surface_t* OffscreenFrame::render ()
{
	invalid = CRect ();
	paint (size);
	return surface;
}

cairo_surface_t* OffscreenFrame::renderInvalidated ()
{
	const CRect area = invalid;
	invalid = CRect ();
	if (!area.isEmpty ())
		paint (area);
	return surface;
}

uint32_t OffscreenFrame::pixel (CCoord x, CCoord y) const
{
	const CCoord width = cairo_image_surface_get_width (surface);
	const CCoord height = cairo_image_surface_get_height (surface);
	if (x < 0 || y < 0 || x >= width || y >= height)
		return 0;
	const unsigned char* row =
	    cairo_image_surface_get_data (surface) + y * cairo_image_surface_get_stride (surface);
	return reinterpret_cast<const uint32_t*> (row)[x];
}

bool OffscreenFrame::writePNG (const char* path) const
{
	return path && cairo_surface_write_to_png (surface, path) == CAIRO_STATUS_SUCCESS;
}

bool OffscreenFrame::mouseDown (const CPoint& where, CButtonState buttons)
{
	return frame->platformOnMouseDown (where, buttons);
}

bool OffscreenFrame::mouseMoved (const CPoint& where, CButtonState buttons)
{
	return frame->platformOnMouseMoved (where, buttons);
}

bool OffscreenFrame::mouseUp (const CPoint& where, CButtonState buttons)
{
	return frame->platformOnMouseUp (where, buttons);
}

bool OffscreenFrame::click (const CPoint& where, CButtonState buttons)
{
	const bool used = mouseDown (where, buttons);
	mouseUp (where, buttons);
	return used;
}

bool OffscreenFrame::wheel (const CPoint& where, float distance, CButtonState buttons)
{
	return frame->platformOnMouseWheel (where, distance, buttons);
}

bool OffscreenFrame::keyDown (const VstKeyCode& key)
{
	return frame->platformOnKeyDown (key);
}

bool OffscreenFrame::keyUp (const VstKeyCode& key)
{
	return frame->platformOnKeyUp (key);
}

void OffscreenFrame::type (const char* text)
{
	for (; text && *text; ++text)
	{
		VstKeyCode key;
		key.character = static_cast<unsigned char> (*text);
		keyDown (key);
		keyUp (key);
	}
}

void OffscreenFrame::focusLost ()
{
	frame->platformOnFocusLost ();
}

void OffscreenFrame::idle ()
{
	frame->platformOnIdle ();
}

void OffscreenFrame::invalidRect (const CRect& rect)
{
	invalid.unite (rect);
}

void OffscreenFrame::setSize (const CRect& newSize)
{
	if (newSize == size)
		return;
	size = newSize;
	makeSurface ();
}

void OffscreenFrame::setMouseCapture (bool captured)
{
	mouseCaptured = captured;
}

} // namespace VSTGUI

#pragma once
// A frame's window without a window system: the frame draws into a cairo image surface
// (ARGB32), and the caller feeds it mouse, wheel and key events and timer ticks. Tests
// reach it through CFrame::getPlatformFrame ().

#include "vstgui/platform/iplatformframe.h"

#include <cairo.h>
#include <cstdint>

namespace VSTGUI {

class OffscreenFrame : public IPlatformFrame
{
public:
	OffscreenFrame (IPlatformFrameCallback* frame, const CRect& size);
	~OffscreenFrame () override;

	// Draws the whole frame afresh and returns the image (owned by this object).
	cairo_surface_t* render ();
	// Draws only the rectangles invalidated since the last drawing over the last image,
	// as a window's paint would, and forgets them.
	cairo_surface_t* renderInvalidated ();
	cairo_surface_t* getSurface () const { return surface; }
	// The pixel at (x, y) of the last image as 0xAARRGGBB (premultiplied), 0 outside.
	uint32_t pixel (CCoord x, CCoord y) const;
	// Writes the last image as PNG; false when it cannot.
	bool writePNG (const char* path) const;

	// Synthetic input, in frame coordinates.
	bool mouseDown (const CPoint& where, CButtonState buttons = kLButton);
	bool mouseMoved (const CPoint& where, CButtonState buttons = kLButton);
	bool mouseUp (const CPoint& where, CButtonState buttons = kLButton);
	// A press and release at one place.
	bool click (const CPoint& where, CButtonState buttons = kLButton);
	bool wheel (const CPoint& where, float distance, CButtonState buttons = 0);
	bool keyDown (const VstKeyCode& key);
	bool keyUp (const VstKeyCode& key);
	// Types each character of `text` as a key press and release.
	void type (const char* text);
	void focusLost ();
	void idle ();

	// What the frame asked of its window.
	const CRect& getInvalidRect () const { return invalid; }
	bool isMouseCaptured () const { return mouseCaptured; }
	bool hasKeyboardFocus () const { return keyboardFocus; }
	const CRect& getSize () const { return size; }

	// IPlatformFrame
	void invalidRect (const CRect& rect) override;
	void setSize (const CRect& newSize) override;
	void setMouseCapture (bool captured) override;
	void takeKeyboardFocus () override { keyboardFocus = true; }
	void releaseKeyboardFocus () override { keyboardFocus = false; }

private:
	void makeSurface ();
	void paint (const CRect& area);

	IPlatformFrameCallback* frame;
	CRect size;
	cairo_surface_t* surface = nullptr;
	CRect invalid;
	bool mouseCaptured = false;
	bool keyboardFocus = false;
};

} // namespace VSTGUI

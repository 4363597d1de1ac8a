#pragma once
// The X11 face of a frame: an xcb child window inside the host's window.

#include "vstgui/platform/iplatformframe.h"

namespace VSTGUI {

// The window's own calls, beyond the frame's seam.
class X11Frame : public IPlatformFrame
{
public:
	// One timer tick: drains the event queue, maps the window if the embedder has not
	// asked for it yet, runs the frame's idle work and paints what is dirty. The run
	// loop's timer calls it; an owner without a run loop calls it itself.
	virtual void pump () = 0;
	// Our child window's id.
	virtual uint32_t windowId () const = 0;
	// X errors this window's connection has received since it was opened.
	virtual uint32_t errorCount () const = 0;
};

// Null when no X connection can be opened or the parent is unusable.
IPlatformFrame* createX11Frame (IPlatformFrameCallback* frame, const CRect& size,
                                const PlatformParent& parent);

} // namespace VSTGUI

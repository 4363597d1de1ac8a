#pragma once
// The X11 face of a frame: an xcb child window inside the host's window.

#include "vstgui/platform/iplatformframe.h"

namespace VSTGUI {

// Null when no X connection can be opened or the parent is unusable.
IPlatformFrame* createX11Frame (IPlatformFrameCallback* frame, const CRect& size,
                                const PlatformParent& parent);

} // namespace VSTGUI

#pragma once
// The seam between a CFrame and the window system it lives in. The frame implements
// IPlatformFrameCallback; each platform (an X11 child window, an offscreen image for
// tests) implements IPlatformFrame and calls the frame back with drawing requests and
// input. Everything here runs on the user-interface thread.

#include "vstgui/lib/cgeometry.h"

#include <cairo.h>
#include <cstdint>

namespace VSTGUI {

// Mouse buttons and modifier keys held during a mouse event.
enum CButton : uint32_t
{
	kLButton = 1u << 0,
	kMButton = 1u << 1,
	kRButton = 1u << 2,
	kShift = 1u << 3,
	kControl = 1u << 4,
	kAlt = 1u << 5,
	kDoubleClick = 1u << 6, // the platform detects double-clicks (about 250 ms, 5 px)
};
using CButtonState = uint32_t;

// Keys that carry no character.
enum VirtualKey : uint8_t
{
	VKEY_NONE = 0,
	VKEY_BACK,
	VKEY_TAB,
	VKEY_RETURN,
	VKEY_ENTER,
	VKEY_ESCAPE,
	VKEY_SPACE,
	VKEY_LEFT,
	VKEY_RIGHT,
	VKEY_UP,
	VKEY_DOWN,
	VKEY_HOME,
	VKEY_END,
	VKEY_PAGEUP,
	VKEY_PAGEDOWN,
	VKEY_DELETE,
};

// Modifier bits of a key event.
enum KeyModifier : uint8_t
{
	MODIFIER_SHIFT = 1u << 0,
	MODIFIER_ALTERNATE = 1u << 1,
	MODIFIER_CONTROL = 1u << 2,
};

// One key: a Unicode character (0 for none) or a virtual key, plus modifiers.
struct VstKeyCode
{
	int32_t character = 0;
	uint8_t virt = VKEY_NONE;
	uint8_t modifier = 0;
};

// What the frame offers its platform window.
class IPlatformFrameCallback
{
public:
	virtual ~IPlatformFrameCallback () = default;

	// Draws the frame's views that meet `dirty`. The context's origin is the frame's
	// top-left corner and its clip is already `dirty`.
	virtual void platformDrawRect (cairo_t* context, const CRect& dirty) = 0;

	// Mouse input in frame coordinates. A down that a view takes keeps the mouse
	// captured (moves and the up go to that view) until the up.
	virtual bool platformOnMouseDown (const CPoint& where, CButtonState buttons) = 0;
	virtual bool platformOnMouseMoved (const CPoint& where, CButtonState buttons) = 0;
	virtual bool platformOnMouseUp (const CPoint& where, CButtonState buttons) = 0;
	// Wheel steps: positive is up (away from the user); Shift asks for finer steps.
	virtual bool platformOnMouseWheel (const CPoint& where, float distance,
	                                   CButtonState buttons) = 0;

	// Keys; true when a view used the key.
	virtual bool platformOnKeyDown (const VstKeyCode& key) = 0;
	virtual bool platformOnKeyUp (const VstKeyCode& key) = 0;

	// The window lost the keyboard focus (another window took it).
	virtual void platformOnFocusLost () = 0;

	// A timer tick (every 50 ms or so): the frame's idle work.
	virtual void platformOnIdle () = 0;
};

// What a frame asks of its platform window.
class IPlatformFrame
{
public:
	virtual ~IPlatformFrame () = default;

	// Schedules `rect` for repainting; painting happens later, never inside this call.
	virtual void invalidRect (const CRect& rect) = 0;
	// The host changed the window's size.
	virtual void setSize (const CRect& size) = 0;
	// Keeps mouse events coming to the frame while a drag runs outside the window.
	virtual void setMouseCapture (bool captured) = 0;
	// A text field starts or ends editing: take the keyboard focus from the host's
	// window, and give it back afterwards.
	virtual void takeKeyboardFocus () = 0;
	virtual void releaseKeyboardFocus () = 0;
};

// Where a frame's window lives and what drives it.
enum class PlatformType
{
	kX11EmbedWindowID, // handle: the host's parent X window id
	kOffscreen,        // an image surface, driven by the test through OffscreenFrame
};

struct PlatformParent
{
	PlatformType type = PlatformType::kOffscreen;
	uintptr_t handle = 0;
	// kX11EmbedWindowID: the host's Steinberg::Linux::IRunLoop*, or null when the owner
	// pumps the window itself through X11Frame::pump () (VST 2 hosts call effEditIdle).
	void* runLoop = nullptr;
	// How often the window's timer fires (the editor's idle rate): each tick drains the
	// event queue, runs the frame's idle work and paints what is dirty.
	uint32_t idleRateMs = 50;
};

// Makes the platform window for a frame; null when the platform is not available (no
// X display, a bad parent). The frame owns the result.
IPlatformFrame* createPlatformFrame (IPlatformFrameCallback* frame, const CRect& size,
                                     const PlatformParent& parent);

} // namespace VSTGUI

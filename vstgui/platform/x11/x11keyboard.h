#pragma once
// Key presses of one X connection turned into the toolkit's key codes, through the
// server's own keymap (xkbcommon-x11).

#include "vstgui/platform/iplatformframe.h"

#include <xcb/xcb.h>

struct xkb_context;
struct xkb_keymap;
struct xkb_state;

namespace VSTGUI {

class X11Keyboard
{
public:
	X11Keyboard () = default;
	~X11Keyboard ();
	X11Keyboard (const X11Keyboard&) = delete;
	X11Keyboard& operator= (const X11Keyboard&) = delete;

	// False when the server has no XKB; keys are then ignored.
	bool setup (xcb_connection_t* connection);

	// The key of a press or release with the event's modifier state; false for keys that
	// carry nothing for us (modifiers alone, function keys).
	bool translate (xcb_keycode_t keycode, uint16_t state, VstKeyCode& key);

private:
	xkb_context* context = nullptr;
	xkb_keymap* keymap = nullptr;
	xkb_state* keyState = nullptr;
};

} // namespace VSTGUI

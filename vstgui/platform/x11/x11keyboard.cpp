#include "x11keyboard.h"

#include <xkbcommon/xkbcommon-keysyms.h>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

namespace VSTGUI {
namespace {

uint8_t virtualKeyOf (xkb_keysym_t sym)
{
	switch (sym)
	{
		case XKB_KEY_BackSpace: return VKEY_BACK;
		case XKB_KEY_Tab:
		case XKB_KEY_ISO_Left_Tab: return VKEY_TAB;
		case XKB_KEY_Return: return VKEY_RETURN;
		case XKB_KEY_KP_Enter: return VKEY_ENTER;
		case XKB_KEY_Escape: return VKEY_ESCAPE;
		case XKB_KEY_space: return VKEY_SPACE;
		case XKB_KEY_Left:
		case XKB_KEY_KP_Left: return VKEY_LEFT;
		case XKB_KEY_Right:
		case XKB_KEY_KP_Right: return VKEY_RIGHT;
		case XKB_KEY_Up:
		case XKB_KEY_KP_Up: return VKEY_UP;
		case XKB_KEY_Down:
		case XKB_KEY_KP_Down: return VKEY_DOWN;
		case XKB_KEY_Home:
		case XKB_KEY_KP_Home: return VKEY_HOME;
		case XKB_KEY_End:
		case XKB_KEY_KP_End: return VKEY_END;
		case XKB_KEY_Page_Up:
		case XKB_KEY_KP_Page_Up: return VKEY_PAGEUP;
		case XKB_KEY_Page_Down:
		case XKB_KEY_KP_Page_Down: return VKEY_PAGEDOWN;
		case XKB_KEY_Delete:
		case XKB_KEY_KP_Delete: return VKEY_DELETE;
		default: return VKEY_NONE;
	}
}

// Core modifier bits of an X event's state.
constexpr uint16_t kShiftMask = XCB_MOD_MASK_SHIFT;
constexpr uint16_t kControlMask = XCB_MOD_MASK_CONTROL;
constexpr uint16_t kAltMask = XCB_MOD_MASK_1;

} // namespace

X11Keyboard::~X11Keyboard ()
{
	if (keyState)
		xkb_state_unref (keyState);
	if (keymap)
		xkb_keymap_unref (keymap);
	if (context)
		xkb_context_unref (context);
}

bool X11Keyboard::setup (xcb_connection_t* connection)
{
	if (!xkb_x11_setup_xkb_extension (connection, XKB_X11_MIN_MAJOR_XKB_VERSION,
	                                  XKB_X11_MIN_MINOR_XKB_VERSION,
	                                  XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr,
	                                  nullptr, nullptr))
		return false;
	int32_t device = xkb_x11_get_core_keyboard_device_id (connection);
	if (device < 0)
		return false;
	// The keymap comes from the server; no include paths or environment are needed.
	context = xkb_context_new (static_cast<xkb_context_flags> (
	    XKB_CONTEXT_NO_DEFAULT_INCLUDES | XKB_CONTEXT_NO_ENVIRONMENT_NAMES));
	if (!context)
		return false;
	keymap = xkb_x11_keymap_new_from_device (context, connection, device,
	                                         XKB_KEYMAP_COMPILE_NO_FLAGS);
	if (!keymap)
		return false;
	keyState = xkb_x11_state_new_from_device (keymap, connection, device);
	return keyState != nullptr;
}

bool X11Keyboard::translate (xcb_keycode_t keycode, uint16_t state, VstKeyCode& key)
{
	if (!keyState)
		return false;
	// The event carries its own modifiers, so synthetic events (XSendEvent) translate as
	// well as real ones. The x11 keymap keeps the core modifiers at their bit positions.
	// Control is left out so Ctrl+A still reads as 'a' and not as a control character.
	uint16_t group = (state >> 13) & 3;
	xkb_state_update_mask (keyState, state & 0xff & ~kControlMask, 0, 0, 0, 0, group);
	xkb_keysym_t sym = xkb_state_key_get_one_sym (keyState, keycode);
	uint32_t character = xkb_state_key_get_utf32 (keyState, keycode);

	key = VstKeyCode ();
	key.virt = virtualKeyOf (sym);
	if (key.virt == VKEY_SPACE)
		key.character = ' ';
	else if (key.virt == VKEY_NONE && character >= 0x20 && character != 0x7f)
		key.character = static_cast<int32_t> (character);
	if (state & kShiftMask)
		key.modifier |= MODIFIER_SHIFT;
	if (state & kControlMask)
		key.modifier |= MODIFIER_CONTROL;
	if (state & kAltMask)
		key.modifier |= MODIFIER_ALTERNATE;
	return key.virt != VKEY_NONE || key.character != 0;
}

} // namespace VSTGUI

#include "x11frame.h"

#include "clickcounter.h"
#include "dirtyrects.h"
#include "x11keyboard.h"
#include "x11runloop.h"

#include <cairo-xcb.h>
#include <cairo.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>
#include <xcb/xcb.h>

namespace VSTGUI {
namespace {

// XEmbed messages we act on.
constexpr uint32_t kXEmbedEmbeddedNotify = 0;

constexpr uint32_t kEventMask =
    XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE |
    XCB_EVENT_MASK_POINTER_MOTION | XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_KEY_RELEASE |
    XCB_EVENT_MASK_FOCUS_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;

CButtonState modifiersOf (uint16_t state)
{
	CButtonState buttons = 0;
	if (state & XCB_MOD_MASK_SHIFT)
		buttons |= kShift;
	if (state & XCB_MOD_MASK_CONTROL)
		buttons |= kControl;
	if (state & XCB_MOD_MASK_1)
		buttons |= kAlt;
	return buttons;
}

CButtonState heldButtonsOf (uint16_t state)
{
	CButtonState buttons = modifiersOf (state);
	if (state & XCB_BUTTON_MASK_1)
		buttons |= kLButton;
	if (state & XCB_BUTTON_MASK_2)
		buttons |= kMButton;
	if (state & XCB_BUTTON_MASK_3)
		buttons |= kRButton;
	return buttons;
}

CButtonState buttonOf (xcb_button_t detail)
{
	switch (detail)
	{
		case 1: return kLButton;
		case 2: return kMButton;
		case 3: return kRButton;
		default: return 0;
	}
}

xcb_atom_t internAtom (xcb_connection_t* connection, const char* name)
{
	auto cookie = xcb_intern_atom (connection, 0, static_cast<uint16_t> (std::strlen (name)), name);
	xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply (connection, cookie, nullptr);
	xcb_atom_t atom = reply ? reply->atom : xcb_atom_t (XCB_ATOM_NONE);
	std::free (reply);
	return atom;
}

struct FreeDeleter
{
	void operator() (void* pointer) const { std::free (pointer); }
};
template <typename T> using XReply = std::unique_ptr<T, FreeDeleter>;

// Where the host's window lives: its screen's root visual is the one we draw with.
struct ScreenVisual
{
	xcb_visualtype_t* visual = nullptr;
	uint8_t depth = 0;
	xcb_colormap_t colormap = 0;
};

ScreenVisual rootVisualOf (xcb_connection_t* connection, xcb_window_t root)
{
	ScreenVisual found;
	for (auto screens = xcb_setup_roots_iterator (xcb_get_setup (connection)); screens.rem;
	     xcb_screen_next (&screens))
	{
		xcb_screen_t* screen = screens.data;
		if (screen->root != root)
			continue;
		for (auto depths = xcb_screen_allowed_depths_iterator (screen); depths.rem;
		     xcb_depth_next (&depths))
		{
			for (auto visuals = xcb_depth_visuals_iterator (depths.data); visuals.rem;
			     xcb_visualtype_next (&visuals))
			{
				if (visuals.data->visual_id == screen->root_visual)
				{
					found.visual = visuals.data;
					found.depth = depths.data->depth;
					found.colormap = screen->default_colormap;
					return found;
				}
			}
		}
	}
	return found;
}

class X11Window final : public X11Frame, public X11RunLoopClient
{
public:
	X11Window (IPlatformFrameCallback* callback, const CRect& size, const PlatformParent& parent)
	: callback (callback), parentWindow (static_cast<xcb_window_t> (parent.handle)),
	  runLoop (static_cast<Steinberg::Linux::IRunLoop*> (parent.runLoop)),
	  idleRateMs (parent.idleRateMs ? parent.idleRateMs : 50),
	  width (std::max (1, size.width ())), height (std::max (1, size.height ()))
	{
	}

	~X11Window () override
	{
		if (aliveFlag)
			*aliveFlag = false;
		// Off the run loop before anything else goes, so no callback sees a half-closed
		// window.
		link.reset ();
		if (!connection)
			return;
		if (window)
		{
			if (captured)
				xcb_ungrab_pointer (connection, XCB_CURRENT_TIME);
			if (hasFocus)
				releaseKeyboardFocus ();
		}
		cairo_device_t* device = nullptr;
		if (windowSurface)
		{
			device = cairo_device_reference (cairo_surface_get_device (windowSurface));
			cairo_surface_finish (windowSurface);
			cairo_surface_destroy (windowSurface);
		}
		if (backBuffer)
			cairo_surface_destroy (backBuffer);
		if (window)
			xcb_destroy_window (connection, window);
		xcb_flush (connection);
		// cairo keeps its devices by connection address; a later connection at the same
		// address must not find this one's.
		if (device)
		{
			cairo_device_finish (device);
			cairo_device_destroy (device);
		}
		keyboard.reset ();
		xcb_disconnect (connection);
	}

	bool open ()
	{
		connection = xcb_connect (nullptr, nullptr);
		if (xcb_connection_has_error (connection))
			return false;
		XReply<xcb_get_geometry_reply_t> parentGeometry (
		    xcb_get_geometry_reply (connection, xcb_get_geometry (connection, parentWindow), nullptr));
		if (!parentGeometry)
			return false;
		ScreenVisual screen = rootVisualOf (connection, parentGeometry->root);
		if (!screen.visual)
			return false;

		window = xcb_generate_id (connection);
		// No background: the server leaves exposed areas alone until we paint them.
		const uint32_t values[] = {XCB_BACK_PIXMAP_NONE, 0, kEventMask, screen.colormap};
		auto cookie = xcb_create_window_checked (
		    connection, screen.depth, window, parentWindow, 0, 0, static_cast<uint16_t> (width),
		    static_cast<uint16_t> (height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
		    screen.visual->visual_id,
		    XCB_CW_BACK_PIXMAP | XCB_CW_BORDER_PIXEL | XCB_CW_EVENT_MASK | XCB_CW_COLORMAP, values);
		if (XReply<xcb_generic_error_t> error {xcb_request_check (connection, cookie)})
		{
			window = 0;
			return false;
		}

		xembedAtom = internAtom (connection, "_XEMBED");
		xcb_atom_t xembedInfo = internAtom (connection, "_XEMBED_INFO");
		// Version 0, flags 0: not mapped yet; we map ourselves when embedded.
		const uint32_t info[] = {0, 0};
		xcb_change_property (connection, XCB_PROP_MODE_REPLACE, window, xembedInfo, xembedInfo,
		                     32, 2, info);

		keyboard = std::make_unique<X11Keyboard> ();
		if (!keyboard->setup (connection))
			keyboard.reset ();

		windowSurface = cairo_xcb_surface_create (connection, window, screen.visual, width, height);
		backBufferFormat = screen.depth == 32 ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24;
		backBuffer = cairo_image_surface_create (backBufferFormat, width, height);
		if (cairo_surface_status (windowSurface) != CAIRO_STATUS_SUCCESS ||
		    cairo_surface_status (backBuffer) != CAIRO_STATUS_SUCCESS)
			return false;

		if (runLoop)
		{
			link = std::make_unique<X11RunLoopLink> (runLoop, *this,
			                                         xcb_get_file_descriptor (connection), idleRateMs);
			if (!link->registered ())
				return false;
		}
		xcb_flush (connection);
		return true;
	}

	// IPlatformFrame
	void invalidRect (const CRect& rect) override
	{
		CRect visible (rect);
		dirty.add (visible.bound (CRect (0, 0, width, height)));
	}

	void setSize (const CRect& size) override
	{
		int32_t newWidth = std::max (1, size.width ());
		int32_t newHeight = std::max (1, size.height ());
		if (newWidth == width && newHeight == height)
			return;
		width = newWidth;
		height = newHeight;
		const uint32_t values[] = {static_cast<uint32_t> (width), static_cast<uint32_t> (height)};
		xcb_configure_window (connection, window,
		                      XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, values);
		cairo_xcb_surface_set_size (windowSurface, width, height);
		cairo_surface_destroy (backBuffer);
		backBuffer = cairo_image_surface_create (backBufferFormat, width, height);
		dirty.clear ();
		dirty.add (CRect (0, 0, width, height));
		xcb_flush (connection);
	}

	void setMouseCapture (bool capture) override
	{
		if (capture == captured || !mapped)
			return;
		captured = capture;
		if (capture)
		{
			xcb_grab_pointer (connection, 0, window,
			                  XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE |
			                      XCB_EVENT_MASK_POINTER_MOTION,
			                  XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, XCB_NONE, XCB_NONE,
			                  XCB_CURRENT_TIME);
		}
		else
			xcb_ungrab_pointer (connection, XCB_CURRENT_TIME);
		xcb_flush (connection);
	}

	void takeKeyboardFocus () override
	{
		if (!mapped)
			return;
		xcb_set_input_focus (connection, XCB_INPUT_FOCUS_PARENT, window, XCB_CURRENT_TIME);
		hasFocus = true;
		xcb_flush (connection);
	}

	void releaseKeyboardFocus () override
	{
		if (!hasFocus)
			return;
		hasFocus = false;
		xcb_set_input_focus (connection, XCB_INPUT_FOCUS_PARENT, parentWindow, XCB_CURRENT_TIME);
		xcb_flush (connection);
	}

	// X11Frame
	void pump () override
	{
		AliveGuard alive (*this);
		drainEvents ();
		if (!alive.yes)
			return;
		if (!mapped)
			map ();
		callback->platformOnIdle ();
		if (!alive.yes)
			return;
		paintDirty ();
	}

	uint32_t windowId () const override { return window; }
	uint32_t errorCount () const override { return errors; }

private:
	// Tells a running callback chain that the window was destroyed under it.
	struct AliveGuard
	{
		explicit AliveGuard (X11Window& window) : window (window), outer (window.aliveFlag)
		{
			window.aliveFlag = &yes;
		}
		~AliveGuard ()
		{
			if (yes)
				window.aliveFlag = outer;
			else if (outer)
				*outer = false;
		}
		X11Window& window;
		bool* outer;
		bool yes = true;
	};

public:
	// X11RunLoopClient
	void onEvents () override
	{
		AliveGuard alive (*this);
		drainEvents ();
		if (alive.yes && xcb_connection_has_error (connection) && link)
			link->dropEventHandler ();
	}
	void onTick () override { pump (); }

private:
	void map ()
	{
		mapped = true;
		xcb_map_window (connection, window);
		dirty.add (CRect (0, 0, width, height));
		xcb_flush (connection);
	}

	void drainEvents ()
	{
		AliveGuard alive (*this);
		if (xcb_connection_has_error (connection))
			return;
		while (xcb_generic_event_t* event = xcb_poll_for_event (connection))
		{
			uint8_t type = event->response_type & 0x7f;
			// Moves come in bursts; only the last one of a run is passed on.
			if (type != XCB_MOTION_NOTIFY)
				deliverPendingMotion ();
			if (alive.yes)
				dispatch (type, event);
			std::free (event);
			if (!alive.yes)
				return;
		}
		deliverPendingMotion ();
	}

	void dispatch (uint8_t type, xcb_generic_event_t* event)
	{
		switch (type)
		{
			case 0: ++errors; break;
			case XCB_EXPOSE:
			{
				auto* expose = reinterpret_cast<xcb_expose_event_t*> (event);
				invalidRect (CRect (expose->x, expose->y, expose->x + expose->width,
				                    expose->y + expose->height));
				break;
			}
			case XCB_BUTTON_PRESS:
				onButtonPress (*reinterpret_cast<xcb_button_press_event_t*> (event));
				break;
			case XCB_BUTTON_RELEASE:
			{
				auto* release = reinterpret_cast<xcb_button_release_event_t*> (event);
				if (CButtonState button = buttonOf (release->detail))
					callback->platformOnMouseUp (CPoint (release->event_x, release->event_y),
					                             button | modifiersOf (release->state));
				break;
			}
			case XCB_MOTION_NOTIFY:
				pendingMotion = *reinterpret_cast<xcb_motion_notify_event_t*> (event);
				hasPendingMotion = true;
				break;
			case XCB_KEY_PRESS:
			case XCB_KEY_RELEASE:
			{
				auto* press = reinterpret_cast<xcb_key_press_event_t*> (event);
				VstKeyCode key;
				if (keyboard && keyboard->translate (press->detail, press->state, key))
				{
					if (type == XCB_KEY_PRESS)
						callback->platformOnKeyDown (key);
					else
						callback->platformOnKeyUp (key);
				}
				break;
			}
			case XCB_FOCUS_IN:
			{
				auto* focus = reinterpret_cast<xcb_focus_in_event_t*> (event);
				if (focus->mode == XCB_NOTIFY_MODE_NORMAL)
					hasFocus = true;
				break;
			}
			case XCB_FOCUS_OUT:
			{
				// Grabs (a menu of the host, our own pointer grab) are not a loss of focus.
				auto* focus = reinterpret_cast<xcb_focus_out_event_t*> (event);
				if (focus->mode == XCB_NOTIFY_MODE_NORMAL && focus->detail != XCB_NOTIFY_DETAIL_INFERIOR &&
				    focus->detail != XCB_NOTIFY_DETAIL_POINTER)
				{
					hasFocus = false;
					callback->platformOnFocusLost ();
				}
				break;
			}
			case XCB_CLIENT_MESSAGE:
			{
				auto* message = reinterpret_cast<xcb_client_message_event_t*> (event);
				if (message->type == xembedAtom && message->format == 32 &&
				    message->data.data32[1] == kXEmbedEmbeddedNotify && !mapped)
					map ();
				break;
			}
			default: break;
		}
	}

	void onButtonPress (const xcb_button_press_event_t& press)
	{
		CPoint where (press.event_x, press.event_y);
		CButtonState modifiers = modifiersOf (press.state);
		switch (press.detail)
		{
			case 4: callback->platformOnMouseWheel (where, 1.f, modifiers); return;
			case 5: callback->platformOnMouseWheel (where, -1.f, modifiers); return;
			case 6:
			case 7: return; // sideways wheel: nothing of ours scrolls sideways
			default: break;
		}
		CButtonState button = buttonOf (press.detail);
		if (!button)
			return;
		if (clicks.isDoubleClick (press.detail, where.x, where.y, press.time))
			button |= kDoubleClick;
		callback->platformOnMouseDown (where, button | modifiers);
	}

	void deliverPendingMotion ()
	{
		if (!hasPendingMotion)
			return;
		hasPendingMotion = false;
		callback->platformOnMouseMoved (CPoint (pendingMotion.event_x, pendingMotion.event_y),
		                                heldButtonsOf (pendingMotion.state));
	}

	void paintDirty ()
	{
		if (!mapped || dirty.empty () || xcb_connection_has_error (connection))
			return;
		std::vector<CRect> rects = dirty.take ();
		cairo_t* back = cairo_create (backBuffer);
		for (const CRect& rect : rects)
		{
			cairo_save (back);
			cairo_rectangle (back, rect.left, rect.top, rect.width (), rect.height ());
			cairo_clip (back);
			callback->platformDrawRect (back, rect);
			cairo_restore (back);
		}
		cairo_destroy (back);
		cairo_surface_flush (backBuffer);

		cairo_t* front = cairo_create (windowSurface);
		cairo_set_operator (front, CAIRO_OPERATOR_SOURCE);
		cairo_set_source_surface (front, backBuffer, 0, 0);
		for (const CRect& rect : rects)
			cairo_rectangle (front, rect.left, rect.top, rect.width (), rect.height ());
		cairo_fill (front);
		cairo_destroy (front);
		cairo_surface_flush (windowSurface);
		xcb_flush (connection);
	}

	IPlatformFrameCallback* callback;
	xcb_window_t parentWindow;
	Steinberg::Linux::IRunLoop* runLoop;
	uint32_t idleRateMs;
	int32_t width;
	int32_t height;

	xcb_connection_t* connection = nullptr;
	xcb_window_t window = 0;
	xcb_atom_t xembedAtom = XCB_ATOM_NONE;
	cairo_surface_t* windowSurface = nullptr;
	cairo_surface_t* backBuffer = nullptr;
	cairo_format_t backBufferFormat = CAIRO_FORMAT_RGB24;
	std::unique_ptr<X11Keyboard> keyboard;
	std::unique_ptr<X11RunLoopLink> link;

	DirtyRects dirty;
	ClickCounter clicks;
	xcb_motion_notify_event_t pendingMotion {};
	bool hasPendingMotion = false;
	bool mapped = false;
	bool captured = false;
	bool hasFocus = false;
	uint32_t errors = 0;
	bool* aliveFlag = nullptr;
};

} // namespace

IPlatformFrame* createX11Frame (IPlatformFrameCallback* frame, const CRect& size,
                                const PlatformParent& parent)
{
	if (!frame || parent.type != PlatformType::kX11EmbedWindowID || parent.handle == 0)
		return nullptr;
	auto window = std::make_unique<X11Window> (frame, size, parent);
	if (!window->open ())
		return nullptr;
	return window.release ();
}

} // namespace VSTGUI

#include "X11Host.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

namespace QuillmereHost {

using namespace Steinberg;

// --- host window ---

namespace {

struct FreeDeleter
{
	void operator() (void* pointer) const { std::free (pointer); }
};
template <typename T> using XReply = std::unique_ptr<T, FreeDeleter>;

} // namespace

std::unique_ptr<X11HostWindow> X11HostWindow::open (const char* display, int width, int height,
                                                    std::string& error)
{
	int screenNumber = 0;
	xcb_connection_t* connection = xcb_connect (display, &screenNumber);
	if (xcb_connection_has_error (connection))
	{
		xcb_disconnect (connection);
		error = std::string ("cannot connect to X display ") + (display ? display : "$DISPLAY");
		return nullptr;
	}
	auto screens = xcb_setup_roots_iterator (xcb_get_setup (connection));
	for (int i = 0; i < screenNumber && screens.rem; ++i)
		xcb_screen_next (&screens);
	xcb_screen_t* screen = screens.data;

	std::unique_ptr<X11HostWindow> host (new X11HostWindow);
	host->connection = connection;
	host->root = screen->root;
	host->window = xcb_generate_id (connection);
	const uint32_t values[] = {screen->black_pixel};
	xcb_create_window (connection, XCB_COPY_FROM_PARENT, host->window, screen->root, 0, 0,
	                   static_cast<uint16_t> (width), static_cast<uint16_t> (height), 0,
	                   XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL, values);
	xcb_map_window (connection, host->window);
	host->sync ();
	return host;
}

X11HostWindow::~X11HostWindow ()
{
	xcb_destroy_window (connection, window);
	xcb_flush (connection);
	xcb_disconnect (connection);
}

void X11HostWindow::sync ()
{
	XReply<xcb_get_input_focus_reply_t> reply (
	    xcb_get_input_focus_reply (connection, xcb_get_input_focus (connection), nullptr));
	errorCount ();
}

uint32_t X11HostWindow::errorCount ()
{
	while (xcb_generic_event_t* event = xcb_poll_for_event (connection))
	{
		if (event->response_type == 0)
			++errors;
		std::free (event);
	}
	return errors;
}

void X11HostWindow::resize (int width, int height)
{
	const uint32_t values[] = {static_cast<uint32_t> (width), static_cast<uint32_t> (height)};
	xcb_configure_window (connection, window, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT,
	                      values);
	sync ();
}

std::vector<uint32_t> X11HostWindow::children ()
{
	XReply<xcb_query_tree_reply_t> tree (
	    xcb_query_tree_reply (connection, xcb_query_tree (connection, window), nullptr));
	if (!tree)
		return {};
	xcb_window_t* list = xcb_query_tree_children (tree.get ());
	return std::vector<uint32_t> (list, list + xcb_query_tree_children_length (tree.get ()));
}

bool X11HostWindow::isViewable (uint32_t target)
{
	XReply<xcb_get_window_attributes_reply_t> attributes (xcb_get_window_attributes_reply (
	    connection, xcb_get_window_attributes (connection, target), nullptr));
	return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
}

bool X11HostWindow::geometry (uint32_t target, int& width, int& height)
{
	XReply<xcb_get_geometry_reply_t> reply (
	    xcb_get_geometry_reply (connection, xcb_get_geometry (connection, target), nullptr));
	if (!reply)
		return false;
	width = reply->width;
	height = reply->height;
	return true;
}

X11Image X11HostWindow::screenshot (uint32_t target)
{
	X11Image image;
	int width = 0, height = 0;
	if (!isViewable (target) || !geometry (target, width, height))
		return image;
	XReply<xcb_get_image_reply_t> reply (xcb_get_image_reply (
	    connection,
	    xcb_get_image (connection, XCB_IMAGE_FORMAT_Z_PIXMAP, target, 0, 0,
	                   static_cast<uint16_t> (width), static_cast<uint16_t> (height), ~0u),
	    nullptr));
	// 24-bit visuals come as 32 bits a pixel, blue in the lowest byte.
	if (!reply || reply->depth < 24 ||
	    xcb_get_image_data_length (reply.get ()) < width * height * 4)
		return image;
	image.width = width;
	image.height = height;
	image.pixels.resize (size_t (width) * size_t (height));
	const uint8_t* data = xcb_get_image_data (reply.get ());
	for (size_t i = 0; i < image.pixels.size (); ++i)
	{
		uint32_t pixel;
		std::memcpy (&pixel, data + i * 4, 4);
		image.pixels[i] = pixel & 0xffffffu;
	}
	return image;
}

uint32_t X11HostWindow::atom (const char* name)
{
	XReply<xcb_intern_atom_reply_t> reply (xcb_intern_atom_reply (
	    connection, xcb_intern_atom (connection, 0, uint16_t (std::strlen (name)), name), nullptr));
	return reply ? reply->atom : xcb_atom_t (XCB_ATOM_NONE);
}

std::vector<uint32_t> X11HostWindow::property (uint32_t target, const char* name)
{
	XReply<xcb_get_property_reply_t> reply (xcb_get_property_reply (
	    connection, xcb_get_property (connection, 0, target, atom (name), XCB_GET_PROPERTY_TYPE_ANY, 0, 64),
	    nullptr));
	if (!reply || reply->format != 32)
		return {};
	auto* words = static_cast<const uint32_t*> (xcb_get_property_value (reply.get ()));
	return std::vector<uint32_t> (words, words + xcb_get_property_value_length (reply.get ()) / 4);
}

uint32_t X11HostWindow::inputFocus ()
{
	XReply<xcb_get_input_focus_reply_t> reply (
	    xcb_get_input_focus_reply (connection, xcb_get_input_focus (connection), nullptr));
	return reply ? reply->focus : 0;
}

void X11HostWindow::sendEmbeddedNotify (uint32_t child)
{
	xcb_client_message_event_t message {};
	message.response_type = XCB_CLIENT_MESSAGE;
	message.format = 32;
	message.window = child;
	message.type = atom ("_XEMBED");
	message.data.data32[0] = XCB_CURRENT_TIME;
	message.data.data32[1] = 0; // XEMBED_EMBEDDED_NOTIFY
	message.data.data32[3] = window;
	xcb_send_event (connection, 0, child, XCB_EVENT_MASK_NO_EVENT,
	                reinterpret_cast<const char*> (&message));
	sync ();
}

void X11HostWindow::sendKey (uint32_t target, uint8_t keycode, uint16_t state)
{
	for (uint8_t type : {uint8_t (XCB_KEY_PRESS), uint8_t (XCB_KEY_RELEASE)})
	{
		xcb_key_press_event_t key {};
		key.response_type = type;
		key.detail = keycode;
		key.root = root;
		key.event = target;
		key.child = XCB_NONE;
		key.state = state;
		key.same_screen = 1;
		xcb_send_event (connection, 1, target, XCB_EVENT_MASK_NO_EVENT,
		                reinterpret_cast<const char*> (&key));
	}
	sync ();
}

bool X11HostWindow::fakeMotion (int x, int y)
{
	auto cookie = xcb_test_fake_input_checked (connection, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME,
	                                           root, int16_t (x), int16_t (y), 0);
	XReply<xcb_generic_error_t> error (xcb_request_check (connection, cookie));
	return !error;
}

bool X11HostWindow::fakeButton (int x, int y, uint8_t button, bool press, bool release)
{
	if (!fakeMotion (x, y))
		return false;
	if (press)
		xcb_test_fake_input (connection, XCB_BUTTON_PRESS, button, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
	if (release)
		xcb_test_fake_input (connection, XCB_BUTTON_RELEASE, button, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
	sync ();
	return true;
}

void X11HostWindow::fakeKey (uint8_t keycode)
{
	xcb_test_fake_input (connection, XCB_KEY_PRESS, keycode, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
	xcb_test_fake_input (connection, XCB_KEY_RELEASE, keycode, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
	sync ();
}

bool X11HostWindow::fakeTyping (const std::string& text)
{
	for (char character : text)
	{
		// Latin-1 keysyms are the characters themselves; the server's keyboard has the
		// unshifted ones.
		uint8_t keycode = keycodeOf (static_cast<unsigned char> (character));
		if (!keycode)
			return false;
		fakeKey (keycode);
	}
	return true;
}

uint8_t X11HostWindow::keycodeOf (uint32_t keysym)
{
	const xcb_setup_t* setup = xcb_get_setup (connection);
	uint8_t first = setup->min_keycode;
	uint8_t count = uint8_t (setup->max_keycode - first + 1);
	XReply<xcb_get_keyboard_mapping_reply_t> mapping (xcb_get_keyboard_mapping_reply (
	    connection, xcb_get_keyboard_mapping (connection, first, count), nullptr));
	if (!mapping)
		return 0;
	const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms (mapping.get ());
	int perKey = mapping->keysyms_per_keycode;
	for (int key = 0; key < count; ++key)
		if (perKey > 0 && syms[key * perKey] == keysym)
			return uint8_t (first + key);
	return 0;
}

// --- plug frame ---

tresult PLUGIN_API X11PlugFrame::queryInterface (const TUID iid, void** obj)
{
	QUERY_INTERFACE (iid, obj, FUnknown::iid, IPlugFrame)
	QUERY_INTERFACE (iid, obj, IPlugFrame::iid, IPlugFrame)
	if (runLoop && FUnknownPrivate::iidEqual (iid, Linux::IRunLoop::iid))
	{
		runLoop->addRef ();
		*obj = static_cast<Linux::IRunLoop*> (runLoop);
		return kResultOk;
	}
	*obj = nullptr;
	return kNoInterface;
}

tresult PLUGIN_API X11PlugFrame::resizeView (IPlugView* view, ViewRect* newSize)
{
	if (!view || !newSize)
		return kInvalidArgument;
	resizes.push_back ({*newSize, attaching});
	window.resize (newSize->getWidth (), newSize->getHeight ());
	return view->onSize (newSize);
}

tresult X11PlugFrame::attach (IPlugView* view)
{
	view->setFrame (this);
	ViewRect size;
	if (view->getSize (&size) == kResultOk)
		window.resize (size.getWidth (), size.getHeight ());
	attaching = true;
	tresult result = view->attached (reinterpret_cast<void*> (uintptr_t (window.id ())),
	                                 kPlatformTypeX11EmbedWindowID);
	attaching = false;
	return result;
}

tresult X11PlugFrame::detach (IPlugView* view, bool clearFrameFirst)
{
	if (clearFrameFirst)
		view->setFrame (nullptr);
	tresult result = view->removed ();
	if (!clearFrameFirst)
		view->setFrame (nullptr);
	return result;
}

} // namespace QuillmereHost

// A small X11 host for plug-in views, as Linux DAWs embed them: a top-level window that
// parents the view, a run loop with file-descriptor handlers and timers offered through
// the IPlugFrame, and the frame's resizeView. Tests use it on an Xvfb display to see what
// the editor really puts on screen. Everything runs on the calling thread.
#pragma once

#include "RunLoop.h"

#include "pluginterfaces/gui/iplugview.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct xcb_connection_t;

namespace QuillmereHost {

// The run loop our host offers views through its IPlugFrame.
using X11RunLoop = RunLoop;

// Pixels as 0x00RRGGBB, row after row.
struct X11Image
{
	int width = 0;
	int height = 0;
	std::vector<uint32_t> pixels;
	uint32_t at (int x, int y) const { return pixels[size_t (y) * size_t (width) + size_t (x)]; }
};

// The host's window, on a connection of its own (the plug-in opens another).
class X11HostWindow
{
public:
	// A mapped top-level window on `display` (null: $DISPLAY); null with a message when
	// the display cannot be reached.
	static std::unique_ptr<X11HostWindow> open (const char* display, int width, int height,
	                                            std::string& error);
	~X11HostWindow ();
	X11HostWindow (const X11HostWindow&) = delete;
	X11HostWindow& operator= (const X11HostWindow&) = delete;

	uint32_t id () const { return window; }
	void resize (int width, int height);
	// Our window's children, as the server sees them now.
	std::vector<uint32_t> children ();
	// Whether `window` is mapped and all its ancestors are.
	bool isViewable (uint32_t window);
	// The size of `window` as the server has it.
	bool geometry (uint32_t window, int& width, int& height);
	// What `window` shows now; empty when it is not viewable.
	X11Image screenshot (uint32_t window);
	// Tells `child` it is embedded (XEmbed's XEMBED_EMBEDDED_NOTIFY), as GTK sockets do.
	void sendEmbeddedNotify (uint32_t child);
	// A key press and release sent with XSendEvent, as some hosts forward keys.
	void sendKey (uint32_t target, uint8_t keycode, uint16_t state);
	// A button press and release (or only one of them) through the XTEST extension, as a
	// user's mouse would; `button` 4 and 5 are the wheel.
	bool fakeButton (int x, int y, uint8_t button, bool press, bool release);
	bool fakeMotion (int x, int y);
	// A key press and release through XTEST: it goes where the keyboard focus is.
	void fakeKey (uint8_t keycode);
	// Each character of `text` (letters, digits, '.', '-') typed with fakeKey.
	bool fakeTyping (const std::string& text);
	// The keycode of a keysym on this server's keyboard, 0 when it has none.
	uint8_t keycodeOf (uint32_t keysym);
	// The 32-bit words of `window`'s property `name`; empty when it has none.
	std::vector<uint32_t> property (uint32_t window, const char* name);
	// The window that has the keyboard focus.
	uint32_t inputFocus ();
	// X errors this host's own connection has received.
	uint32_t errorCount ();
	// Waits until the server has handled every request sent so far.
	void sync ();

private:
	X11HostWindow () = default;
	uint32_t atom (const char* name);
	xcb_connection_t* connection = nullptr;
	uint32_t window = 0;
	uint32_t root = 0;
	uint32_t errors = 0;
};

// The IPlugFrame a host gives the view. It offers the run loop (unless the host has
// none), records every resizeView and answers it with onSize, as hosts do.
class X11PlugFrame : public Steinberg::IPlugFrame
{
public:
	struct Resize
	{
		Steinberg::ViewRect size;
		bool insideAttached;
	};

	X11PlugFrame (X11RunLoop* runLoop, X11HostWindow& window) : runLoop (runLoop), window (window) {}
	virtual ~X11PlugFrame () = default;

	Steinberg::tresult PLUGIN_API resizeView (Steinberg::IPlugView* view,
	                                          Steinberg::ViewRect* newSize) override;

	// Attaches `view` to the host's window as a DAW does: setFrame, getSize, the window
	// sized to it, attached.
	Steinberg::tresult attach (Steinberg::IPlugView* view);
	// removed, then setFrame (nullptr) (or the other way round, as some hosts do).
	Steinberg::tresult detach (Steinberg::IPlugView* view, bool clearFrameFirst = false);

	std::vector<Resize> resizes;

	Steinberg::tresult PLUGIN_API queryInterface (const Steinberg::TUID iid, void** obj) override;
	Steinberg::uint32 PLUGIN_API addRef () override { return ++references; }
	Steinberg::uint32 PLUGIN_API release () override { return --references; }
	Steinberg::uint32 references = 1;

private:
	X11RunLoop* runLoop;
	X11HostWindow& window;
	bool attaching = false;
};

} // namespace QuillmereHost

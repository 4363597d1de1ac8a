// The X11 window of a frame, on our own Xvfb display, driven by the test host's run loop
// and parent window, with a stand-in frame that paints a known picture and records input.

#include "X11Host.h"
#include "X11TestSupport.h"
#include "XvfbServer.h"
#include "vstgui/platform/x11/x11frame.h"

#include <gtest/gtest.h>
#include <xcb/xcb.h>
#include <xkbcommon/xkbcommon-keysyms.h>

#include <functional>
#include <memory>

namespace {

using namespace VSTGUI;
using QuillmereHost::X11HostWindow;
using QuillmereHost::X11Image;
using QuillmereHost::X11RunLoop;
using QuillmereTest::openFileCount;

// Stands in for a CFrame: paints a solid colour with a white box, records input.
class StandInFrame : public IPlatformFrameCallback
{
public:
	uint32_t colour = 0x336699;
	std::vector<CRect> drawn;
	std::vector<std::pair<CPoint, CButtonState>> downs, moves, ups;
	std::vector<float> wheels;
	std::vector<VstKeyCode> keys;
	int idles = 0;
	int focusLosses = 0;
	std::function<void ()> onIdle;
	std::function<void ()> onDown;

	static void paint (cairo_t* context, uint32_t colour)
	{
		cairo_set_source_rgb (context, ((colour >> 16) & 255) / 255.0, ((colour >> 8) & 255) / 255.0,
		                      (colour & 255) / 255.0);
		cairo_paint (context);
		cairo_set_source_rgb (context, 1, 1, 1);
		cairo_rectangle (context, 10, 10, 50, 30);
		cairo_fill (context);
	}

	void platformDrawRect (cairo_t* context, const CRect& dirty) override
	{
		drawn.push_back (dirty);
		paint (context, colour);
	}
	bool platformOnMouseDown (const CPoint& where, CButtonState buttons) override
	{
		downs.emplace_back (where, buttons);
		if (onDown)
			onDown ();
		return true;
	}
	bool platformOnMouseMoved (const CPoint& where, CButtonState buttons) override
	{
		moves.emplace_back (where, buttons);
		return true;
	}
	bool platformOnMouseUp (const CPoint& where, CButtonState buttons) override
	{
		ups.emplace_back (where, buttons);
		return true;
	}
	bool platformOnMouseWheel (const CPoint& where, float distance, CButtonState buttons) override
	{
		wheels.push_back (distance);
		return true;
	}
	bool platformOnKeyDown (const VstKeyCode& key) override
	{
		keys.push_back (key);
		return true;
	}
	bool platformOnKeyUp (const VstKeyCode& key) override { return true; }
	void platformOnFocusLost () override { ++focusLosses; }
	void platformOnIdle () override
	{
		++idles;
		if (onIdle)
			onIdle ();
	}
};

constexpr int kWidth = 200;
constexpr int kHeight = 120;

class X11FrameTest : public ::testing::Test
{
protected:
	void SetUp () override
	{
		QUILLMERE_REQUIRE_XVFB ();
		std::string error;
		host = X11HostWindow::open (nullptr, kWidth, kHeight, error);
		ASSERT_TRUE (host) << error;
	}

	X11Frame* open (uint32_t idleRateMs = 50, bool withRunLoop = true)
	{
		PlatformParent parent;
		parent.type = PlatformType::kX11EmbedWindowID;
		parent.handle = host->id ();
		parent.runLoop = withRunLoop ? static_cast<Steinberg::Linux::IRunLoop*> (&runLoop) : nullptr;
		parent.idleRateMs = idleRateMs;
		window.reset (static_cast<X11Frame*> (createX11Frame (&frame, CRect (0, 0, kWidth, kHeight), parent)));
		return window.get ();
	}

	bool runUntilPainted ()
	{
		return runLoop.runUntil (
		    [&] { return !frame.drawn.empty () && host->isViewable (window->windowId ()); }, 3000);
	}

	// Lets the server and our window settle: X delivers asynchronously.
	void settle (int milliseconds = 120)
	{
		host->sync ();
		runLoop.runFor (milliseconds);
	}

	X11Image reference (uint32_t colour) const
	{
		cairo_surface_t* surface = cairo_image_surface_create (CAIRO_FORMAT_RGB24, kWidth, kHeight);
		cairo_t* context = cairo_create (surface);
		StandInFrame::paint (context, colour);
		cairo_destroy (context);
		X11Image image = QuillmereTest::imageOf (surface);
		cairo_surface_destroy (surface);
		return image;
	}

	X11RunLoop runLoop;
	std::unique_ptr<X11HostWindow> host;
	StandInFrame frame;
	std::unique_ptr<X11Frame> window;
};

TEST_F (X11FrameTest, EmbedsPaintsAndLeavesNothingBehind)
{
	int filesBefore = openFileCount ();
	ASSERT_TRUE (open ());
	EXPECT_EQ (runLoop.eventHandlerCount (), 1u);
	EXPECT_EQ (runLoop.timerCount (), 1u);
	ASSERT_EQ (host->children (), std::vector<uint32_t> {window->windowId ()});
	// XEmbed info: version 0, flags 0 (not mapped); the window maps itself later.
	EXPECT_EQ (host->property (window->windowId (), "_XEMBED_INFO"), (std::vector<uint32_t> {0, 0}));
	EXPECT_FALSE (host->isViewable (window->windowId ()));

	// No embedder message comes, so the first timer tick maps the window.
	ASSERT_TRUE (runUntilPainted ());
	settle ();
	EXPECT_EQ (QuillmereTest::countDifferentPixels (host->screenshot (window->windowId ()), reference (0x336699)), 0);

	window.reset ();
	host->sync ();
	EXPECT_EQ (runLoop.eventHandlerCount (), 0u);
	EXPECT_EQ (runLoop.timerCount (), 0u);
	EXPECT_TRUE (QuillmereTest::childrenGone (*host));
	EXPECT_EQ (openFileCount (), filesBefore);
	EXPECT_EQ (host->errorCount (), 0u);
}

TEST_F (X11FrameTest, EmbedderNotifyMapsBeforeAnyTick)
{
	// A timer far away: only the descriptor handler can see the message.
	ASSERT_TRUE (open (60000));
	host->sendEmbeddedNotify (window->windowId ());
	EXPECT_TRUE (runLoop.runUntil ([&] { return host->isViewable (window->windowId ()); }, 3000));
	EXPECT_GT (runLoop.eventCallbacks (), 0u);
	EXPECT_EQ (runLoop.timerCallbacks (), 0u);
	EXPECT_EQ (window->errorCount (), 0u);
}

TEST_F (X11FrameTest, InvalidRectsArePaintedOnlyOnTheTimerAndOnlyThere)
{
	ASSERT_TRUE (open ());
	ASSERT_TRUE (runUntilPainted ());
	settle ();
	frame.drawn.clear ();
	frame.colour = 0xcc3300;
	window->invalidRect (CRect (100, 50, 140, 80));
	window->invalidRect (CRect (120, 60, 150, 90)); // overlaps: merged into one
	EXPECT_TRUE (frame.drawn.empty ()) << "painted inside invalidRect";
	settle ();
	ASSERT_EQ (frame.drawn.size (), 1u);
	EXPECT_EQ (frame.drawn[0], CRect (100, 50, 150, 90));

	X11Image shot = host->screenshot (window->windowId ());
	ASSERT_EQ (shot.width, kWidth);
	EXPECT_EQ (shot.at (120, 70), 0xcc3300u);
	EXPECT_EQ (shot.at (99, 70), 0x336699u) << "outside the dirty rectangles stays";
	EXPECT_EQ (shot.at (160, 70), 0x336699u);
	EXPECT_EQ (shot.at (20, 20), 0xffffffu);
}

TEST_F (X11FrameTest, MouseClicksDoubleClicksWheelAndDrags)
{
	ASSERT_TRUE (open ());
	ASSERT_TRUE (runUntilPainted ());
	ASSERT_TRUE (host->fakeButton (30, 40, 1, true, true));
	ASSERT_TRUE (host->fakeButton (31, 41, 1, true, true));
	host->fakeButton (31, 41, 4, true, true);
	host->fakeButton (31, 41, 5, true, true);
	host->fakeButton (31, 41, 6, true, true);
	settle ();
	ASSERT_EQ (frame.downs.size (), 2u) << "wheel buttons are not clicks";
	EXPECT_EQ (frame.downs[0].first, CPoint (30, 40));
	EXPECT_EQ (frame.downs[0].second, CButtonState (kLButton));
	EXPECT_EQ (frame.downs[1].second, CButtonState (kLButton | kDoubleClick));
	EXPECT_EQ (frame.ups.size (), 2u);
	EXPECT_EQ (frame.wheels, (std::vector<float> {1.f, -1.f}));

	// A drag that leaves the window keeps reporting moves while captured.
	frame.onDown = [&] { window->setMouseCapture (true); };
	frame.moves.clear ();
	host->fakeButton (50, 50, 1, true, false);
	settle ();
	host->fakeMotion (kWidth + 100, kHeight + 60);
	settle ();
	ASSERT_FALSE (frame.moves.empty ());
	EXPECT_EQ (frame.moves.back ().first, CPoint (kWidth + 100, kHeight + 60));
	EXPECT_TRUE (frame.moves.back ().second & kLButton);
	host->fakeButton (kWidth + 100, kHeight + 60, 1, false, true);
	window->setMouseCapture (false);
	settle ();
	EXPECT_EQ (frame.ups.size (), 3u);
	EXPECT_EQ (window->errorCount (), 0u);
}

TEST_F (X11FrameTest, SyntheticKeysTranslateAndFocusComesAndGoes)
{
	ASSERT_TRUE (open ());
	ASSERT_TRUE (runUntilPainted ());
	window->takeKeyboardFocus ();
	settle ();
	EXPECT_EQ (host->inputFocus (), window->windowId ());

	uint8_t a = host->keycodeOf (XKB_KEY_a);
	uint8_t ret = host->keycodeOf (XKB_KEY_Return);
	uint8_t esc = host->keycodeOf (XKB_KEY_Escape);
	ASSERT_NE (a, 0);
	host->sendKey (window->windowId (), a, XCB_MOD_MASK_SHIFT);
	host->sendKey (window->windowId (), a, XCB_MOD_MASK_CONTROL);
	host->sendKey (window->windowId (), ret, 0);
	host->sendKey (window->windowId (), esc, 0);
	settle ();
	ASSERT_EQ (frame.keys.size (), 4u);
	EXPECT_EQ (frame.keys[0].character, 'A');
	EXPECT_EQ (frame.keys[0].modifier, MODIFIER_SHIFT);
	EXPECT_EQ (frame.keys[1].character, 'a') << "Ctrl+A reads as a, not as a control character";
	EXPECT_EQ (frame.keys[1].modifier, MODIFIER_CONTROL);
	EXPECT_EQ (frame.keys[2].virt, VKEY_RETURN);
	EXPECT_EQ (frame.keys[3].virt, VKEY_ESCAPE);

	window->releaseKeyboardFocus ();
	settle ();
	EXPECT_EQ (host->inputFocus (), host->id ());
	EXPECT_EQ (window->errorCount (), 0u);
}

TEST_F (X11FrameTest, HostResizeReachesTheWindow)
{
	ASSERT_TRUE (open ());
	ASSERT_TRUE (runUntilPainted ());
	frame.drawn.clear ();
	host->resize (300, 200);
	window->setSize (CRect (0, 0, 300, 200));
	settle ();
	int width = 0, height = 0;
	ASSERT_TRUE (host->geometry (window->windowId (), width, height));
	EXPECT_EQ (width, 300);
	EXPECT_EQ (height, 200);
	ASSERT_FALSE (frame.drawn.empty ());
	EXPECT_EQ (host->screenshot (window->windowId ()).at (290, 190), 0x336699u);
}

TEST_F (X11FrameTest, ClosingFromInsideItsOwnTimerIsSafe)
{
	ASSERT_TRUE (open ());
	frame.onIdle = [&] { window.reset (); };
	EXPECT_TRUE (runLoop.runUntil ([&] { return !window; }, 3000));
	runLoop.runFor (120);
	EXPECT_EQ (runLoop.eventHandlerCount (), 0u);
	EXPECT_EQ (runLoop.timerCount (), 0u);
	EXPECT_TRUE (QuillmereTest::childrenGone (*host));
}

TEST_F (X11FrameTest, ReopeningFiftyTimesLeaksNothing)
{
	// Each open is a new connection, often at the address of the last one: cairo must not
	// find the closed connection's device there.
	ASSERT_TRUE (open ());
	ASSERT_TRUE (runUntilPainted ());
	window.reset ();
	int filesBefore = openFileCount ();
	for (int i = 0; i < 50; ++i)
	{
		frame.drawn.clear ();
		ASSERT_TRUE (open ()) << "round " << i;
		ASSERT_TRUE (runUntilPainted ()) << "round " << i;
		EXPECT_EQ (window->errorCount (), 0u);
		window.reset ();
	}
	host->sync ();
	EXPECT_EQ (openFileCount (), filesBefore);
	EXPECT_EQ (runLoop.eventHandlerCount (), 0u);
	EXPECT_EQ (runLoop.timerCount (), 0u);
	EXPECT_TRUE (QuillmereTest::childrenGone (*host));
	EXPECT_EQ (host->errorCount (), 0u);
}

TEST_F (X11FrameTest, OwnerWithoutRunLoopPumpsByHand)
{
	// VST 2 hosts have no run loop; their idle call pumps the window.
	ASSERT_TRUE (open (50, false));
	EXPECT_EQ (runLoop.timerCount (), 0u);
	for (int i = 0; i < 100 && (frame.drawn.empty () || !host->isViewable (window->windowId ())); ++i)
	{
		window->pump ();
		host->sync ();
	}
	EXPECT_FALSE (frame.drawn.empty ());
	EXPECT_GT (frame.idles, 0);
	host->fakeButton (30, 40, 1, true, true);
	for (int i = 0; i < 100 && frame.downs.empty (); ++i)
	{
		window->pump ();
		host->sync ();
	}
	EXPECT_EQ (frame.downs.size (), 1u);
}

TEST_F (X11FrameTest, UnusableParentGivesNoWindow)
{
	int filesBefore = openFileCount ();
	PlatformParent parent;
	parent.type = PlatformType::kX11EmbedWindowID;
	parent.handle = 0x7ffffff0; // no such window
	parent.runLoop = static_cast<Steinberg::Linux::IRunLoop*> (&runLoop);
	EXPECT_EQ (createX11Frame (&frame, CRect (0, 0, 10, 10), parent), nullptr);
	parent.handle = 0;
	EXPECT_EQ (createX11Frame (&frame, CRect (0, 0, 10, 10), parent), nullptr);
	EXPECT_EQ (runLoop.eventHandlerCount (), 0u);
	EXPECT_EQ (runLoop.timerCount (), 0u);
	EXPECT_EQ (openFileCount (), filesBefore);
}

} // namespace

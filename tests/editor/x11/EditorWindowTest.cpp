// The plug-in's editor, loaded through the built bundle, embedded in the test host's X
// window on our own Xvfb display: what it shows, how it sizes itself, and that opening and
// closing it leaves nothing behind.

#include "BundleFixture.h"
#include "Quillmere.h"
#include "QuillmereEditorView.h"
#include "X11Host.h"
#include "X11TestSupport.h"
#include "XvfbServer.h"
#include "vstgui/lib/cframe.h"
#include "vstgui/lib/resourcefolder.h"
#include "vstgui/platform/offscreen/offscreenframe.h"

#include <gtest/gtest.h>


namespace {

using namespace Steinberg;
using QuillmereHost::X11HostWindow;
using QuillmereHost::X11Image;
using QuillmereHost::X11PlugFrame;
using QuillmereHost::X11RunLoop;
using QuillmereTest::openFileCount;
using QuillmereTest::ScratchHome;

// The editor of an effect made in this program (same code, same defaults), drawn
// offscreen: what the window must show.
X11Image offscreenDrawing ()
{
	VSTGUI::setResourceFolder (std::string (QUILLMERE_BUNDLE_PATH) + "/Contents/Resources");
	auto* effect = new Vst::Quillmere ();
	effect->initialize (nullptr);
	X11Image image;
	if (auto* view = dynamic_cast<Vst::QuillmereEditorView*> (effect->createView ("editor")))
	{
		VSTGUI::PlatformParent parent;
		parent.type = VSTGUI::PlatformType::kOffscreen;
		if (view->open (&parent))
		{
			auto* offscreen = dynamic_cast<VSTGUI::OffscreenFrame*> (view->getFrame ()->getPlatformFrame ());
			if (offscreen)
				image = QuillmereTest::imageOf (offscreen->render ());
			view->close ();
		}
		view->release ();
	}
	effect->terminate ();
	effect->release ();
	return image;
}

class EditorWindowTest : public ::testing::Test
{
protected:
	void SetUp () override
	{
		QUILLMERE_REQUIRE_XVFB ();
		std::string error;
		host = X11HostWindow::open (nullptr, 400, 300, error);
		ASSERT_TRUE (host) << error;
		effect = QuillmereTest::newEffect ();
		ASSERT_TRUE (effect);
	}

	IPtr<IPlugView> newView ()
	{
		return owned (effect->controller ()->createView ("editor"));
	}

	// The one child our window has while the editor is attached, or 0.
	uint32_t editorWindow ()
	{
		auto children = host->children ();
		return children.size () == 1 ? children[0] : 0;
	}

	bool runUntilShown (X11Image* shot = nullptr, const X11Image* expected = nullptr)
	{
		return runLoop.runUntil (
		    [&] {
			    uint32_t child = editorWindow ();
			    if (!child || !host->isViewable (child))
				    return false;
			    X11Image now = host->screenshot (child);
			    bool done = expected ? QuillmereTest::countDifferentPixels (now, *expected) == 0
			                         : !now.pixels.empty () && now.at (now.width / 2, now.height / 2) != 0;
			    if (shot)
				    *shot = std::move (now);
			    return done;
		    },
		    5000);
	}

	void expectNothingLeft (int filesBefore)
	{
		host->sync ();
		EXPECT_TRUE (QuillmereTest::childrenGone (*host));
		EXPECT_EQ (runLoop.eventHandlerCount (), 0u);
		EXPECT_EQ (runLoop.timerCount (), 0u);
		EXPECT_EQ (openFileCount (), filesBefore);
		EXPECT_EQ (host->errorCount (), 0u);
	}

	ScratchHome home;
	X11RunLoop runLoop;
	std::unique_ptr<X11HostWindow> host;
	std::unique_ptr<QuillmereHost::EffectInstance> effect;
};

TEST_F (EditorWindowTest, ShowsWhatTheOffscreenFrameDraws)
{
	X11Image expected = offscreenDrawing ();
	ASSERT_EQ (expected.width, 1105);
	ASSERT_EQ (expected.height, 381);

	int filesBefore = openFileCount ();
	{
		IPtr<IPlugView> view = newView ();
		ASSERT_TRUE (view);
		X11PlugFrame frame (&runLoop, *host);
		ASSERT_EQ (frame.attach (view), kResultOk);
		EXPECT_EQ (runLoop.eventHandlerCount (), 1u);
		EXPECT_EQ (runLoop.timerCount (), 1u);

		X11Image shot;
		EXPECT_TRUE (runUntilShown (&shot, &expected))
		    << QuillmereTest::countDifferentPixels (shot, expected) << " pixels differ";
		EXPECT_TRUE (frame.resizes.empty ()) << "the host already had the skin's size";

		EXPECT_EQ (frame.detach (view), kResultOk);
	}
	expectNothingLeft (filesBefore);
}

TEST_F (EditorWindowTest, FiftyAttachAndDetachCyclesLeaveNothingBehind)
{
	int filesBefore = openFileCount ();
	IPtr<IPlugView> view = newView ();
	ASSERT_TRUE (view);
	X11PlugFrame frame (&runLoop, *host);
	for (int round = 0; round < 50; ++round)
	{
		ASSERT_EQ (frame.attach (view), kResultOk) << "round " << round;
		ASSERT_TRUE (runUntilShown ()) << "round " << round;
		// Hosts differ on whether the frame goes before or after removed.
		ASSERT_EQ (frame.detach (view, round % 2 == 1), kResultOk);
		ASSERT_TRUE (QuillmereTest::childrenGone (*host)) << "round " << round;
	}
	view = nullptr;
	expectNothingLeft (filesBefore);
}

TEST_F (EditorWindowTest, ReleasedWithoutRemovedLeavesNothingBehind)
{
	int filesBefore = openFileCount ();
	{
		X11PlugFrame frame (&runLoop, *host);
		IPtr<IPlugView> view = newView ();
		ASSERT_EQ (frame.attach (view), kResultOk);
		ASSERT_TRUE (runUntilShown ());
	}
	runLoop.runFor (120);
	expectNothingLeft (filesBefore);
	// The effect no longer lists the view: telling it about a change must not reach it.
	EXPECT_EQ (effect->setParamNormalized (5, 0.3), kResultOk);
}

TEST_F (EditorWindowTest, HostWithoutRunLoopIsRefusedAndNothingLeaks)
{
	int filesBefore = openFileCount ();
	IPtr<IPlugView> view = newView ();
	X11PlugFrame frame (nullptr, *host);
	EXPECT_EQ (frame.attach (view), kResultFalse);
	EXPECT_EQ (view->removed (), kResultOk);
	view = nullptr;
	expectNothingLeft (filesBefore);
}

TEST_F (EditorWindowTest, OnlyX11EmbeddingIsOffered)
{
	IPtr<IPlugView> view = newView ();
	EXPECT_EQ (view->isPlatformTypeSupported (kPlatformTypeX11EmbedWindowID), kResultTrue);
	EXPECT_EQ (view->isPlatformTypeSupported (kPlatformTypeHWND), kResultFalse);
	EXPECT_EQ (view->isPlatformTypeSupported (kPlatformTypeNSView), kResultFalse);
	EXPECT_EQ (view->isPlatformTypeSupported (nullptr), kResultFalse);
	X11PlugFrame frame (&runLoop, *host);
	view->setFrame (&frame);
	EXPECT_EQ (view->attached (reinterpret_cast<void*> (uintptr_t (host->id ())), kPlatformTypeHWND),
	           kResultFalse);
	EXPECT_EQ (view->attached (nullptr, kPlatformTypeX11EmbedWindowID), kResultFalse);
	EXPECT_TRUE (QuillmereTest::childrenGone (*host));
	EXPECT_EQ (runLoop.timerCount (), 0u);
}

TEST_F (EditorWindowTest, SecondSkinAsksForItsSizeOnTheFirstTickOnly)
{
	home.chooseSkin (2);
	IPtr<IPlugView> view = newView ();
	ViewRect before;
	ASSERT_EQ (view->getSize (&before), kResultTrue);
	EXPECT_EQ (before.getWidth (), 1105) << "the size before attached is skin 1's";

	X11PlugFrame frame (&runLoop, *host);
	ASSERT_EQ (frame.attach (view), kResultOk);
	EXPECT_TRUE (frame.resizes.empty ()) << "resizeView from inside attached";
	ASSERT_TRUE (runLoop.runUntil ([&] { return !frame.resizes.empty (); }, 3000));
	runLoop.runFor (150);
	ASSERT_EQ (frame.resizes.size (), 1u);
	EXPECT_FALSE (frame.resizes[0].insideAttached);
	EXPECT_EQ (frame.resizes[0].size.getWidth (), 995);
	EXPECT_EQ (frame.resizes[0].size.getHeight (), 343);

	ViewRect after;
	view->getSize (&after);
	EXPECT_EQ (after.getWidth (), 995);
	int width = 0, height = 0;
	ASSERT_TRUE (host->geometry (editorWindow (), width, height));
	EXPECT_EQ (width, 995);
	EXPECT_EQ (height, 343);
	frame.detach (view);
}

TEST_F (EditorWindowTest, HostThatAsksTheSizeAfterAttachingGetsNoResize)
{
	// Ardour asks getSize only after attached and sizes its window to the answer.
	home.chooseSkin (2);
	IPtr<IPlugView> view = newView ();
	X11PlugFrame frame (&runLoop, *host);
	view->setFrame (&frame);
	ASSERT_EQ (view->attached (reinterpret_cast<void*> (uintptr_t (host->id ())),
	                           kPlatformTypeX11EmbedWindowID),
	           kResultOk);
	ViewRect size;
	ASSERT_EQ (view->getSize (&size), kResultTrue);
	EXPECT_EQ (size.getWidth (), 995);
	EXPECT_EQ (size.getHeight (), 343);
	runLoop.runFor (200);
	EXPECT_TRUE (frame.resizes.empty ());
	frame.detach (view);
}

TEST_F (EditorWindowTest, ForwardedKeysAreTakenOnlyWhenUsed)
{
	IPtr<IPlugView> view = newView ();
	EXPECT_EQ (view->onKeyDown ('a', 0, 0), kResultFalse) << "no window yet";
	X11PlugFrame frame (&runLoop, *host);
	ASSERT_EQ (frame.attach (view), kResultOk);
	// Nothing is being edited: the host keeps its key commands.
	EXPECT_EQ (view->onKeyDown ('a', 0, 0), kResultFalse);
	EXPECT_EQ (view->onKeyDown (0, 4 /* return */, 0), kResultFalse);
	EXPECT_EQ (view->onKeyUp ('a', 0, 0), kResultFalse);
	frame.detach (view);
}

// What a user's hands do in the window: real pointer and keyboard events through XTEST,
// delivered by the run loop the host offers.
class EditorInputTest : public EditorWindowTest
{
protected:
	using Call = QuillmereHost::ComponentHandlerRecorder::Call;
	using Kind = QuillmereHost::ComponentHandlerRecorder::Kind;

	void SetUp () override
	{
		EditorWindowTest::SetUp ();
		if (IsSkipped () || HasFatalFailure ())
			return;
		view = newView ();
		plugFrame = std::make_unique<X11PlugFrame> (&runLoop, *host);
		ASSERT_EQ (plugFrame->attach (view), kResultOk);
		ASSERT_TRUE (runUntilShown ());
		effect->handler ().clear ();
	}

	void TearDown () override
	{
		if (plugFrame && view)
			plugFrame->detach (view);
	}

	std::vector<Call> callsFor (Vst::ParamID id)
	{
		std::vector<Call> found;
		for (const Call& call : effect->handler ().calls ())
			if (call.id == id && call.kind != Kind::kRestartComponent)
				found.push_back (call);
		return found;
	}

	bool runUntilEnded (Vst::ParamID id)
	{
		return runLoop.runUntil (
		    [&] {
			    auto calls = callsFor (id);
			    return !calls.empty () && calls.back ().kind == Kind::kEndEdit;
		    },
		    3000);
	}

	IPtr<IPlugView> view;
	std::unique_ptr<X11PlugFrame> plugFrame;
};

TEST_F (EditorInputTest, DraggingTheDecayKnobUpRaisesDecayInOneBracket)
{
	constexpr Vst::ParamID kDecay = 5;
	const double before = effect->controller ()->getParamNormalized (kDecay);
	const int x = (179 + 319) / 2, y = (220 + 360) / 2;
	ASSERT_TRUE (host->fakeButton (x, y, 1, true, false));
	runLoop.runFor (60);
	for (int step = 1; step <= 6; ++step)
	{
		host->fakeMotion (x, y - 8 * step);
		runLoop.runFor (30);
	}
	host->fakeButton (x, y - 48, 1, false, true);
	ASSERT_TRUE (runUntilEnded (kDecay));

	auto calls = callsFor (kDecay);
	ASSERT_GE (calls.size (), 3u);
	EXPECT_EQ (calls.front ().kind, Kind::kBeginEdit);
	double last = before;
	for (size_t i = 1; i + 1 < calls.size (); ++i)
	{
		EXPECT_EQ (calls[i].kind, Kind::kPerformEdit);
		EXPECT_GT (calls[i].value, last) << "an upward drag only raises the value";
		last = calls[i].value;
	}
	EXPECT_EQ (effect->controller ()->getParamNormalized (kDecay), last);
	EXPECT_EQ (host->errorCount (), 0u);
}

TEST_F (EditorInputTest, TypingIntoThePredelayFieldSetsIt)
{
	constexpr Vst::ParamID kPredelay = 1;
	ASSERT_TRUE (host->fakeButton ((82 + 165) / 2, (182 + 207) / 2, 1, true, true));
	// The click makes the field take the keyboard focus from the host's window.
	ASSERT_TRUE (runLoop.runUntil ([&] { return host->inputFocus () == editorWindow (); }, 3000))
	    << "the field did not take the X input focus";
	ASSERT_TRUE (host->fakeTyping ("50"));
	host->fakeKey (host->keycodeOf (0xff0d /* Return */));
	ASSERT_TRUE (runLoop.runUntil ([&] { return !callsFor (kPredelay).empty (); }, 3000));

	Vst::String128 fifty = {};
	QuillmereHost::toString128 ("50", fifty);
	Vst::ParamValue expected = -1;
	ASSERT_EQ (effect->controller ()->getParamValueByString (kPredelay, fifty, expected), kResultOk);
	EXPECT_NEAR (effect->controller ()->getParamNormalized (kPredelay), expected, 1e-9);
	auto calls = callsFor (kPredelay);
	ASSERT_FALSE (calls.empty ());
	EXPECT_EQ (calls.back ().kind, Kind::kPerformEdit);
	EXPECT_NEAR (calls.back ().value, expected, 1e-9);
	// The edit is over: the host's window has its keys back.
	EXPECT_TRUE (runLoop.runUntil ([&] { return host->inputFocus () == host->id (); }, 3000));
}

} // namespace

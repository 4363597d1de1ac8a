// The editor opened through the VST 2.4 entry in a real X window on our own Xvfb display,
// driven as Linux VST 2 hosts drive it: the parent window's id to effEditOpen, effEditIdle
// as the only pump (from a thread of its own, as Ardour does), real pointer and key
// events through XTEST, keys forwarded with effEditKeyDown, closed and opened again.

#include "Vst2Harness.h"
#include "X11Host.h"
#include "X11TestSupport.h"
#include "XvfbServer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <set>
#include <thread>

namespace {

using namespace Vst2Test;
using QuillmereHost::X11HostWindow;
using QuillmereHost::X11Image;

constexpr VstInt32 kPredelayIndex = 1;
constexpr VstInt32 kDecayIndex = 5;
constexpr VstInt32 kDryIndex = 0;
constexpr int kReturnKeysym = 0xff0d;

// effEditIdle from a thread of its own, every `intervalMs`, until destroyed.
class IdleThread
{
public:
	IdleThread (Vst2Plugin& plugin, int intervalMs)
	: thread ([this, &plugin, intervalMs] {
		  while (!stopping.load ())
		  {
			  plugin.dispatch (effEditIdle);
			  ++ticks;
			  std::this_thread::sleep_for (std::chrono::milliseconds (intervalMs));
		  }
	  })
	{
	}
	~IdleThread ()
	{
		stopping = true;
		thread.join ();
	}
	std::atomic<int> ticks {0};

private:
	std::atomic<bool> stopping {false};
	std::thread thread;
};

bool waitUntil (const std::function<bool ()>& done, int timeoutMs,
                const std::function<void ()>& step = [] {})
{
	auto deadline = std::chrono::steady_clock::now () + std::chrono::milliseconds (timeoutMs);
	while (!done ())
	{
		if (std::chrono::steady_clock::now () > deadline)
			return done ();
		step ();
		std::this_thread::sleep_for (std::chrono::milliseconds (10));
	}
	return true;
}

class Vst2EditorWindowTest : public ::testing::Test
{
protected:
	void SetUp () override
	{
		QUILLMERE_REQUIRE_XVFB ();
		std::string error;
		ASSERT_TRUE (pluginLibrary (error)) << error;
		host = X11HostWindow::open (nullptr, 1105, 381, error);
		ASSERT_TRUE (host) << error;
		plugin = Vst2Plugin::load ();
		ASSERT_TRUE (plugin);
	}

	uint32_t editorWindow ()
	{
		auto children = host->children ();
		return children.size () == 1 ? children[0] : 0;
	}

	bool shown ()
	{
		uint32_t child = editorWindow ();
		if (!child || !host->isViewable (child))
			return false;
		X11Image shot = host->screenshot (child);
		return !shot.pixels.empty () && shot.at (shot.width / 2, shot.height / 2) != 0;
	}

	// Idles on this thread until `done`.
	bool idleUntil (const std::function<bool ()>& done, int timeoutMs = 5000)
	{
		return waitUntil (done, timeoutMs, [this] { plugin->dispatch (effEditIdle); });
	}

	// The host's begin, automate and end calls for one parameter.
	std::vector<HostCall> editsOf (VstInt32 index)
	{
		std::vector<HostCall> edits;
		for (const HostCall& call : plugin->hostCalls ())
			if (call.index == index && (call.opcode == audioMasterBeginEdit ||
			                            call.opcode == audioMasterAutomate ||
			                            call.opcode == audioMasterEndEdit))
				edits.push_back (call);
		return edits;
	}

	bool clickPredelayField ()
	{
		return host->fakeButton ((82 + 165) / 2, (182 + 207) / 2, 1, true, true);
	}

	QuillmereTest::ScratchHome home;
	std::unique_ptr<X11HostWindow> host;
	std::unique_ptr<Vst2Plugin> plugin;
};

TEST_F (Vst2EditorWindowTest, OpensInTheHostsWindowAndClosesWithoutATrace)
{
	int filesBefore = QuillmereTest::openFileCount ();
	for (int round = 0; round < 3; ++round)
	{
		ERect before {};
		ASSERT_TRUE (plugin->editorRect (before));
		EXPECT_EQ (before.right, 1105);
		EXPECT_EQ (before.bottom, 381);
		ASSERT_TRUE (plugin->openEditor (host->id ())) << "round " << round;
		EXPECT_FALSE (plugin->openEditor (host->id ())) << "already open";
		ASSERT_TRUE (idleUntil ([&] { return shown (); })) << "round " << round;
		ERect after {};
		ASSERT_TRUE (plugin->editorRect (after));
		EXPECT_EQ (after.right, 1105);
		EXPECT_EQ (after.bottom, 381);
		EXPECT_EQ (plugin->dispatch (effEditClose), 1);
		host->sync ();
		EXPECT_TRUE (QuillmereTest::childrenGone (*host)) << "round " << round;
	}
	EXPECT_TRUE (plugin->hostCalls (audioMasterSizeWindow).empty ()) << "the host had the size";
	plugin.reset ();
	EXPECT_EQ (QuillmereTest::openFileCount (), filesBefore);
	EXPECT_EQ (host->errorCount (), 0u);
}

// The program loads the plug-in through a link in a VST 2 folder: the skin's artwork, not
// the outlines drawn for missing bitmaps, must show.
// A host that loads a song restores the chunk while the editor is open; the one display
// update of the load is all it hears, or it would count the unchanged song as edited.
TEST_F (Vst2EditorWindowTest, AChunkLoadedWhileTheEditorIsOpenIsAnnouncedOnce)
{
	std::vector<char> chunk = plugin->getChunk ();
	ASSERT_FALSE (chunk.empty ());
	ASSERT_TRUE (plugin->openEditor (host->id ()));
	ASSERT_TRUE (idleUntil ([&] { return shown (); }));
	plugin->clearHostCalls ();
	ASSERT_EQ (plugin->setChunk (chunk), 1);
	EXPECT_EQ (plugin->hostCalls (audioMasterUpdateDisplay).size (), 1u);
	int ticks = 0;
	idleUntil ([&] { return ++ticks > 20; });
	EXPECT_EQ (plugin->hostCalls (audioMasterUpdateDisplay).size (), 1u) << "nothing more from the editor's ticks";
	plugin->dispatch (effEditClose);
}

TEST_F (Vst2EditorWindowTest, ShowsTheArtworkWhenLoadedThroughALink)
{
	ASSERT_TRUE (plugin->openEditor (host->id ()));
	ASSERT_TRUE (idleUntil ([&] { return shown (); }));
	X11Image shot = host->screenshot (editorWindow ());
	std::set<uint32_t> colours (shot.pixels.begin (), shot.pixels.end ());
	EXPECT_GT (colours.size (), 200u);
	plugin->dispatch (effEditClose);
}

TEST_F (Vst2EditorWindowTest, SecondSkinAsksTheHostForItsSizeOnce)
{
	home.chooseSkin (2);
	ERect rect {};
	ASSERT_TRUE (plugin->editorRect (rect));
	EXPECT_EQ (rect.right, 1105) << "the skin is known only once the file is read";
	ASSERT_TRUE (plugin->openEditor (host->id ()));
	ASSERT_TRUE (idleUntil ([&] { return !plugin->hostCalls (audioMasterSizeWindow).empty (); }));
	idleUntil ([] { return false; }, 150);
	auto resizes = plugin->hostCalls (audioMasterSizeWindow);
	ASSERT_EQ (resizes.size (), 1u);
	EXPECT_EQ (resizes[0].index, 995);
	EXPECT_EQ (resizes[0].value, 343);
	ASSERT_TRUE (plugin->editorRect (rect));
	EXPECT_EQ (rect.right, 995);
	EXPECT_EQ (rect.bottom, 343);
	int width = 0, height = 0;
	ASSERT_TRUE (host->geometry (editorWindow (), width, height));
	EXPECT_EQ (width, 995);
	EXPECT_EQ (height, 343);
	plugin->dispatch (effEditClose);
}

TEST_F (Vst2EditorWindowTest, KnobDragIdledFromAnotherThreadReachesTheHost)
{
	ASSERT_TRUE (plugin->openEditor (host->id ()));
	IdleThread idler (*plugin, 10);
	ASSERT_TRUE (waitUntil ([&] { return shown (); }, 5000));
	const float before = plugin->get (kDecayIndex);
	plugin->clearHostCalls ();

	const int x = (179 + 319) / 2, y = (220 + 360) / 2;
	ASSERT_TRUE (host->fakeButton (x, y, 1, true, false));
	std::this_thread::sleep_for (std::chrono::milliseconds (50));
	for (int step = 1; step <= 6; ++step)
	{
		host->fakeMotion (x, y - 8 * step);
		std::this_thread::sleep_for (std::chrono::milliseconds (30));
	}
	host->fakeButton (x, y - 48, 1, false, true);
	ASSERT_TRUE (waitUntil (
	    [&] {
		    auto edits = editsOf (kDecayIndex);
		    return !edits.empty () && edits.back ().opcode == audioMasterEndEdit;
	    },
	    3000));

	auto edits = editsOf (kDecayIndex);
	ASSERT_GE (edits.size (), 3u);
	EXPECT_EQ (edits.front ().opcode, audioMasterBeginEdit);
	float last = before;
	for (size_t i = 1; i + 1 < edits.size (); ++i)
	{
		EXPECT_EQ (edits[i].opcode, audioMasterAutomate);
		EXPECT_GT (edits[i].opt, last);
		last = edits[i].opt;
	}
	EXPECT_EQ (plugin->get (kDecayIndex), last);
	plugin->dispatch (effEditClose);
}

// Ardour forwards no keys: the field takes the X input focus on the click.
TEST_F (Vst2EditorWindowTest, TypedValueArrivesThroughTheWindowsOwnKeys)
{
	ASSERT_TRUE (plugin->openEditor (host->id ()));
	IdleThread idler (*plugin, 10);
	ASSERT_TRUE (waitUntil ([&] { return shown (); }, 5000));
	plugin->clearHostCalls ();
	ASSERT_TRUE (clickPredelayField ());
	ASSERT_TRUE (waitUntil ([&] { return host->inputFocus () == editorWindow (); }, 3000))
	    << "the field did not take the X input focus";
	ASSERT_TRUE (host->fakeTyping ("50"));
	host->fakeKey (host->keycodeOf (kReturnKeysym));
	ASSERT_TRUE (waitUntil ([&] { return !editsOf (kPredelayIndex).empty (); }, 3000));
	EXPECT_EQ (plugin->display (kPredelayIndex).rfind ("50", 0), 0u) << plugin->display (kPredelayIndex);
	EXPECT_EQ (plugin->label (kPredelayIndex), "ms");
	EXPECT_TRUE (waitUntil ([&] { return host->inputFocus () == host->id (); }, 3000));
	plugin->dispatch (effEditClose);
}

// Other hosts forward the keys they get with effEditKeyDown.
TEST_F (Vst2EditorWindowTest, TypedValueArrivesThroughForwardedKeys)
{
	ASSERT_TRUE (plugin->openEditor (host->id ()));
	ASSERT_TRUE (idleUntil ([&] { return shown (); }));
	EXPECT_EQ (plugin->dispatch (effEditKeyDown, '5', 0, nullptr, 0.f), 0) << "no field is editing";
	ASSERT_TRUE (clickPredelayField ());
	ASSERT_TRUE (idleUntil ([&] { return host->inputFocus () == editorWindow (); }));
	plugin->clearHostCalls ();
	EXPECT_EQ (plugin->dispatch (effEditKeyDown, '5', 0, nullptr, 0.f), 1);
	EXPECT_EQ (plugin->dispatch (effEditKeyUp, '5', 0, nullptr, 0.f), 1);
	EXPECT_EQ (plugin->dispatch (effEditKeyDown, 0, VKEY_NUMPAD0, nullptr, 0.f), 1);
	EXPECT_EQ (plugin->dispatch (effEditKeyDown, 0, VKEY_RETURN, nullptr, 0.f), 1);
	ASSERT_TRUE (idleUntil ([&] { return !editsOf (kPredelayIndex).empty (); }));
	EXPECT_EQ (plugin->display (kPredelayIndex).rfind ("50", 0), 0u) << plugin->display (kPredelayIndex);
	plugin->dispatch (effEditClose);
	EXPECT_EQ (plugin->dispatch (effEditKeyDown, '5', 0, nullptr, 0.f), 0) << "closed";
}

// Ardour's event-loop thread idles the editor while its GUI thread sets parameters, reads
// their texts and opens and closes the editor. ThreadSanitizer watches this one.
TEST_F (Vst2EditorWindowTest, IdleThreadAndUserInterfaceThreadShareTheEditor)
{
	int filesBefore = QuillmereTest::openFileCount ();
	{
		IdleThread idler (*plugin, 2);
		for (int round = 0; round < 4; ++round)
		{
			ASSERT_TRUE (plugin->openEditor (host->id ())) << "round " << round;
			auto until = std::chrono::steady_clock::now () + std::chrono::milliseconds (150);
			for (int i = 0; std::chrono::steady_clock::now () < until; ++i)
			{
				VstInt32 index = i % 26;
				plugin->set (index, float (i % 11) / 10.f);
				EXPECT_FALSE (plugin->display (index).empty ());
				plugin->get (index);
				if (i % 50 == 0)
				{
					EXPECT_EQ (plugin->setChunk (plugin->getChunk ()), 1);
				}
				std::this_thread::sleep_for (std::chrono::milliseconds (1));
			}
			EXPECT_EQ (plugin->dispatch (effEditClose), 1);
			host->sync ();
			EXPECT_TRUE (QuillmereTest::childrenGone (*host)) << "round " << round;
		}
		EXPECT_GT (idler.ticks.load (), 20);
		// The last value set reaches the controller and the host reads it back.
		plugin->set (kDryIndex, 0.25f);
		EXPECT_EQ (plugin->get (kDryIndex), 0.25f);
	}
	plugin.reset ();
	EXPECT_EQ (QuillmereTest::openFileCount (), filesBefore);
	EXPECT_EQ (host->errorCount (), 0u);
}

// Ardour's shape: its event-loop thread opens, sizes, idles and closes the editor, its GUI
// thread sets and reads parameters and chunks, and the audio thread processes and plays
// automation, all at once.
TEST_F (Vst2EditorWindowTest, EditorThreadGuiThreadAndAudioThreadRunTogether)
{
	int filesBefore = QuillmereTest::openFileCount ();
	ASSERT_TRUE (plugin->resume (44100.f, 256));
	std::atomic<bool> editorDone {false};
	std::atomic<int> opened {0};
	std::thread eventLoop ([&] {
		for (int round = 0; round < 4; ++round)
		{
			if (plugin->openEditor (host->id ()))
				++opened;
			ERect rect {};
			plugin->editorRect (rect);
			for (int tick = 0; tick < 30; ++tick)
			{
				plugin->dispatch (effEditIdle);
				std::this_thread::sleep_for (std::chrono::milliseconds (4));
			}
			plugin->dispatch (effEditClose);
		}
		editorDone = true;
	});
	std::thread audio ([&] {
		std::vector<float> left (256), right (256);
		float* channels[2] = {left.data (), right.data ()};
		for (int block = 0; !editorDone; ++block)
		{
			plugin->set (kDecayIndex, float (block % 10) / 10.f);
			plugin->get (kDecayIndex);
			plugin->process (channels, channels, 256);
			std::this_thread::sleep_for (std::chrono::milliseconds (1));
		}
	});
	for (int i = 0; !editorDone; ++i)
	{
		VstInt32 index = i % 26;
		plugin->set (index, float (i % 7) / 6.f);
		plugin->get (index);
		EXPECT_FALSE (plugin->display (index).empty ());
		if (i % 40 == 0)
		{
			EXPECT_EQ (plugin->setChunk (plugin->getChunk ()), 1);
		}
		std::this_thread::sleep_for (std::chrono::milliseconds (1));
	}
	eventLoop.join ();
	audio.join ();
	EXPECT_EQ (opened.load (), 4);
	EXPECT_TRUE (QuillmereTest::childrenGone (*host));
	plugin->suspend ();
	plugin.reset ();
	EXPECT_EQ (QuillmereTest::openFileCount (), filesBefore);
	EXPECT_EQ (host->errorCount (), 0u);
}

} // namespace

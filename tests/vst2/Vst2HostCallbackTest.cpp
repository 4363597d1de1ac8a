// What a VST 2 host hears from the plug-in, and when; and the editor calls a host makes
// before there is any window.
#include "Vst2Harness.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

using namespace Vst2Test;

// DISPLAY names a server that does not exist while the object lives.
class NoDisplay
{
public:
	NoDisplay ()
	{
		if (const char* old = std::getenv ("DISPLAY"))
			previous = old;
		::setenv ("DISPLAY", ":32767", 1);
	}
	~NoDisplay ()
	{
		if (previous.empty ())
			::unsetenv ("DISPLAY");
		else
			::setenv ("DISPLAY", previous.c_str (), 1);
	}

private:
	std::string previous;
};

TEST (Vst2HostCallbacks, OnlyTheVersionQuestionComesBeforeTheEntryReturns)
{
	auto plugin = Vst2Plugin::load ();
	ASSERT_TRUE (plugin);
	size_t duringEntry = 0;
	for (const HostCall& call : plugin->hostCalls ())
	{
		if (!call.duringEntry)
			continue;
		++duringEntry;
		EXPECT_EQ (call.opcode, audioMasterVersion)
		    << "the host may not know the AEffect it would be told about";
	}
	EXPECT_EQ (duringEntry, 1u);
}

TEST (Vst2HostCallbacks, ALoadedChunkUpdatesTheHostsDisplayOnce)
{
	auto plugin = Vst2Plugin::load ();
	ASSERT_TRUE (plugin);
	std::vector<char> chunk = plugin->getChunk ();
	ASSERT_FALSE (chunk.empty ());
	plugin->clearHostCalls ();
	ASSERT_EQ (plugin->setChunk (chunk), 1);
	EXPECT_EQ (plugin->hostCalls (audioMasterUpdateDisplay).size (), 1u);

	plugin->clearHostCalls ();
	chunk.resize (chunk.size () - 1);
	EXPECT_EQ (plugin->setChunk (chunk), 0);
	EXPECT_TRUE (plugin->hostCalls (audioMasterUpdateDisplay).empty ()) << "a refused chunk changes nothing";
}

// A host may hand a notification to another of its threads and wait for it there; that
// thread's calls must not wait for the call that notified.
TEST (Vst2HostCallbacks, TheHostIsNotifiedWhenNoCallHoldsThePlugIn)
{
	auto plugin = Vst2Plugin::load ();
	ASSERT_TRUE (plugin);
	std::thread otherThread;
	std::atomic<bool> answered {false};
	bool answeredInside = false;
	plugin->onHostCall = [&] (const HostCall& call) {
		if (call.opcode != audioMasterUpdateDisplay || otherThread.joinable ())
			return;
		otherThread = std::thread ([&] {
			plugin->display (0);
			answered = true;
		});
		auto until = std::chrono::steady_clock::now () + std::chrono::seconds (2);
		while (!answered && std::chrono::steady_clock::now () < until)
			std::this_thread::sleep_for (std::chrono::milliseconds (1));
		answeredInside = answered;
	};
	EXPECT_EQ (plugin->setChunk (plugin->getChunk ()), 1);
	ASSERT_TRUE (otherThread.joinable ());
	otherThread.join ();
	plugin->onHostCall = nullptr;
	EXPECT_TRUE (answeredInside);
}

TEST (Vst2EditorWithoutWindow, HasTheFirstSkinsSizeBeforeOpening)
{
	auto plugin = Vst2Plugin::load ();
	ASSERT_TRUE (plugin);
	EXPECT_TRUE (plugin->effect ()->flags & effFlagsHasEditor);
	ERect rect {};
	ASSERT_TRUE (plugin->editorRect (rect));
	EXPECT_EQ (rect.left, 0);
	EXPECT_EQ (rect.top, 0);
	EXPECT_EQ (rect.right, 1105);
	EXPECT_EQ (rect.bottom, 381);
}

TEST (Vst2EditorWithoutWindow, CallsBeforeOpeningOrWithoutADisplayDoNothing)
{
	auto plugin = Vst2Plugin::load ();
	ASSERT_TRUE (plugin);
	plugin->clearHostCalls ();
	EXPECT_EQ (plugin->dispatch (effEditIdle), 1);
	EXPECT_EQ (plugin->dispatch (effEditClose), 0);
	EXPECT_EQ (plugin->dispatch (effEditKeyDown, '5', 0, nullptr, 0.f), 0);
	EXPECT_EQ (plugin->dispatch (effEditKeyUp, 0, VKEY_RETURN, nullptr, 0.f), 0);
	EXPECT_EQ (plugin->dispatch (effEditOpen), 0) << "no parent window";
	{
		NoDisplay noDisplay;
		EXPECT_FALSE (plugin->openEditor (0x1234567));
	}
	EXPECT_EQ (plugin->dispatch (effEditClose), 0);
	EXPECT_EQ (plugin->dispatch (effEditIdle), 1);
	EXPECT_TRUE (plugin->hostCalls ().empty ());
	ERect rect {};
	ASSERT_TRUE (plugin->editorRect (rect));
	EXPECT_EQ (rect.right, 1105);
}

} // namespace

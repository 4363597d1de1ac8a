// The run loop a Linux host hands to plug-in views: handlers for readable file
// descriptors and timers. Our test host waits in it; the VST 2 adapter, whose host only
// calls effEditIdle, runs what is ready on each of those calls. Like Ardour's, it refuses
// a second handler on a descriptor that already has one; unregistering (anything, its
// own handler included) from inside a callback is safe.
#pragma once

#include "pluginterfaces/gui/iplugview.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

namespace QuillmereHost {

class RunLoop : public Steinberg::Linux::IRunLoop
{
public:
	using Clock = std::chrono::steady_clock;

	RunLoop () = default;
	virtual ~RunLoop ();
	RunLoop (const RunLoop&) = delete;
	RunLoop& operator= (const RunLoop&) = delete;

	Steinberg::tresult PLUGIN_API registerEventHandler (Steinberg::Linux::IEventHandler* handler,
	                                                    Steinberg::Linux::FileDescriptor fd) override;
	Steinberg::tresult PLUGIN_API unregisterEventHandler (Steinberg::Linux::IEventHandler* handler) override;
	Steinberg::tresult PLUGIN_API registerTimer (Steinberg::Linux::ITimerHandler* handler,
	                                             Steinberg::Linux::TimerInterval milliseconds) override;
	Steinberg::tresult PLUGIN_API unregisterTimer (Steinberg::Linux::ITimerHandler* handler) override;

	// Calls handlers of readable descriptors and due timers for `milliseconds`.
	void runFor (int milliseconds);
	// Runs until `done` is true or `timeoutMs` has passed; the last answer of `done`.
	bool runUntil (const std::function<bool ()>& done, int timeoutMs);
	// Without waiting: the handlers of readable descriptors, and the timers due within
	// half their interval. A host's idle call stands in for the timers, so a 50 ms timer
	// runs on every call of a host that idles each 40 ms.
	void runReady ();

	size_t eventHandlerCount () const { return events.size (); }
	size_t timerCount () const { return timers.size (); }
	uint64_t eventCallbacks () const { return fdCalls; }
	uint64_t timerCallbacks () const { return timerCalls; }

	// The owner keeps the run loop; references are counted for the plug-in's sake only.
	Steinberg::tresult PLUGIN_API queryInterface (const Steinberg::TUID iid, void** obj) override;
	Steinberg::uint32 PLUGIN_API addRef () override { return ++references; }
	Steinberg::uint32 PLUGIN_API release () override { return --references; }
	Steinberg::uint32 references = 1;

private:
	struct EventEntry
	{
		uint64_t id;
		Steinberg::Linux::IEventHandler* handler;
		int fd;
	};
	struct TimerEntry
	{
		uint64_t id;
		Steinberg::Linux::ITimerHandler* handler;
		Clock::duration interval;
		Clock::time_point due;
	};

	// One pass: waits at most until `deadline` for a descriptor or a timer, then runs
	// the timers due by then plus `earlyBy` of their interval (a fraction, 0 to 1).
	void runOnce (Clock::time_point deadline, double earlyBy = 0.0);
	template <typename Entry> static Entry* findById (std::vector<Entry>& list, uint64_t id);
	// Drops `handler`'s entry and our reference to it; kResultFalse when it has none.
	template <typename Entry, typename Handler>
	static Steinberg::tresult removeEntry (std::vector<Entry>& list, Handler* handler);

	std::vector<EventEntry> events;
	std::vector<TimerEntry> timers;
	uint64_t nextId = 1;
	uint64_t fdCalls = 0;
	uint64_t timerCalls = 0;
};

} // namespace QuillmereHost

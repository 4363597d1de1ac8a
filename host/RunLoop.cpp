#include "RunLoop.h"

#include <algorithm>
#include <poll.h>

namespace QuillmereHost {

using namespace Steinberg;

RunLoop::~RunLoop ()
{
	for (auto& entry : events)
		entry.handler->release ();
	for (auto& entry : timers)
		entry.handler->release ();
}

tresult PLUGIN_API RunLoop::queryInterface (const TUID iid, void** obj)
{
	QUERY_INTERFACE (iid, obj, FUnknown::iid, Linux::IRunLoop)
	QUERY_INTERFACE (iid, obj, Linux::IRunLoop::iid, Linux::IRunLoop)
	*obj = nullptr;
	return kNoInterface;
}

tresult PLUGIN_API RunLoop::registerEventHandler (Linux::IEventHandler* handler,
                                                     Linux::FileDescriptor fd)
{
	if (!handler || fd < 0)
		return kInvalidArgument;
	for (const auto& entry : events)
		if (entry.fd == fd || entry.handler == handler)
			return kResultFalse;
	handler->addRef ();
	events.push_back ({nextId++, handler, fd});
	return kResultOk;
}

template <typename Entry, typename Handler>
tresult RunLoop::removeEntry (std::vector<Entry>& list, Handler* handler)
{
	auto it = std::find_if (list.begin (), list.end (),
	                        [&] (const Entry& entry) { return entry.handler == handler; });
	if (it == list.end ())
		return kResultFalse;
	list.erase (it);
	handler->release ();
	return kResultOk;
}

tresult PLUGIN_API RunLoop::unregisterEventHandler (Linux::IEventHandler* handler)
{
	return removeEntry (events, handler);
}

tresult PLUGIN_API RunLoop::registerTimer (Linux::ITimerHandler* handler,
                                              Linux::TimerInterval milliseconds)
{
	if (!handler || milliseconds == 0)
		return kInvalidArgument;
	for (const auto& entry : timers)
		if (entry.handler == handler)
			return kResultFalse;
	handler->addRef ();
	auto interval = std::chrono::milliseconds (milliseconds);
	timers.push_back ({nextId++, handler, interval, Clock::now () + interval});
	return kResultOk;
}

tresult PLUGIN_API RunLoop::unregisterTimer (Linux::ITimerHandler* handler)
{
	return removeEntry (timers, handler);
}

template <typename Entry>
Entry* RunLoop::findById (std::vector<Entry>& list, uint64_t id)
{
	for (auto& entry : list)
		if (entry.id == id)
			return &entry;
	return nullptr;
}

// When a timer may run, `earlyBy` of its interval before it is due.
static RunLoop::Clock::time_point runnableAt (RunLoop::Clock::time_point due,
                                              RunLoop::Clock::duration interval, double earlyBy)
{
	return due - std::chrono::duration_cast<RunLoop::Clock::duration> (interval * earlyBy);
}

void RunLoop::runOnce (Clock::time_point deadline, double earlyBy)
{
	Clock::time_point wakeUp = deadline;
	for (const auto& timer : timers)
		wakeUp = std::min (wakeUp, runnableAt (timer.due, timer.interval, earlyBy));
	std::vector<pollfd> fds;
	std::vector<uint64_t> fdIds;
	for (const auto& entry : events)
	{
		fds.push_back ({entry.fd, POLLIN, 0});
		fdIds.push_back (entry.id);
	}
	auto wait = std::chrono::duration_cast<std::chrono::milliseconds> (wakeUp - Clock::now ());
	int timeout = static_cast<int> (std::max<int64_t> (0, wait.count ()));
	int ready = ::poll (fds.data (), fds.size (), timeout);

	// Callbacks may unregister anything, their own handler included: each entry is looked
	// up again before it is called, and kept alive while it runs.
	for (size_t i = 0; ready > 0 && i < fds.size (); ++i)
	{
		if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
			continue;
		if (EventEntry* entry = findById (events, fdIds[i]))
		{
			Linux::IEventHandler* handler = entry->handler;
			handler->addRef ();
			++fdCalls;
			handler->onFDIsSet (entry->fd);
			handler->release ();
		}
	}
	std::vector<uint64_t> dueIds;
	auto now = Clock::now ();
	for (const auto& timer : timers)
		if (runnableAt (timer.due, timer.interval, earlyBy) <= now)
			dueIds.push_back (timer.id);
	for (uint64_t id : dueIds)
	{
		if (TimerEntry* entry = findById (timers, id))
		{
			entry->due = now + entry->interval;
			Linux::ITimerHandler* handler = entry->handler;
			handler->addRef ();
			++timerCalls;
			handler->onTimer ();
			handler->release ();
		}
	}
}

void RunLoop::runFor (int milliseconds)
{
	auto deadline = Clock::now () + std::chrono::milliseconds (milliseconds);
	do
		runOnce (deadline);
	while (Clock::now () < deadline);
}

void RunLoop::runReady ()
{
	runOnce (Clock::now (), 0.5);
}

bool RunLoop::runUntil (const std::function<bool ()>& done, int timeoutMs)
{
	auto deadline = Clock::now () + std::chrono::milliseconds (timeoutMs);
	while (!done ())
	{
		if (Clock::now () >= deadline)
			return done ();
		runOnce (std::min (deadline, Clock::now () + std::chrono::milliseconds (10)));
	}
	return true;
}

} // namespace QuillmereHost

// Lets one thread at a time into the controller and its editor, and holds back the host
// notifications made inside until that thread is out again. So the host is never called
// while we hold the lock: a host callback that waits for another of the host's threads,
// which waits for us, would never return. Threads enter again freely (a host may call in
// from inside a callback).
#pragma once

#include "vst2abi.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace Steinberg {
namespace Vst {

class SerializedCalls
{
public:
	struct Notification
	{
		VstInt32 opcode;
		VstInt32 index;
		VstIntPtr value;
		float opt;
	};
	using Deliver = std::function<void (const Notification&)>;

	explicit SerializedCalls (Deliver deliver) : deliver (std::move (deliver)) {}

	// Inside while it lives.
	class Scope
	{
	public:
		// Waits for the thread inside, if another one is.
		explicit Scope (SerializedCalls& calls) : calls (calls), inside (true) { calls.enter (); }
		// Does not wait: entered () says whether it got in.
		Scope (SerializedCalls& calls, std::try_to_lock_t) : calls (calls), inside (calls.tryEnter ()) {}
		~Scope ()
		{
			if (inside)
				calls.leave ();
		}
		Scope (const Scope&) = delete;
		Scope& operator= (const Scope&) = delete;
		bool entered () const { return inside; }

	private:
		SerializedCalls& calls;
		bool inside;
	};

	// True when the calling thread is inside: the notification then waits until it leaves.
	bool hold (const Notification& notification)
	{
		if (owner.load () != std::this_thread::get_id ())
			return false;
		held.push_back (notification);
		return true;
	}

private:
	void enter ()
	{
		lock.lock ();
		entered ();
	}
	bool tryEnter ()
	{
		if (!lock.try_lock ())
			return false;
		entered ();
		return true;
	}
	void entered ()
	{
		if (depth++ == 0)
			owner.store (std::this_thread::get_id ());
	}
	void leave ()
	{
		std::vector<Notification> due;
		if (--depth == 0)
		{
			owner.store (std::thread::id ());
			due.swap (held);
		}
		lock.unlock ();
		for (const Notification& notification : due)
			deliver (notification);
	}

	Deliver deliver;
	std::recursive_mutex lock;
	std::atomic<std::thread::id> owner {};
	int depth = 0; // guarded by lock
	std::vector<Notification> held; // guarded by lock
};

} // namespace Vst
} // namespace Steinberg

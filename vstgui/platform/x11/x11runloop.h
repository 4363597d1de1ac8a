#pragma once
// Ties a window to the host's run loop: an event handler on the X connection's file
// descriptor and one timer. The handlers outlive the link when the host still holds
// them; after the link is gone they do nothing.

#include "pluginterfaces/gui/iplugview.h"

#include <cstdint>

namespace VSTGUI {

class X11RunLoopClient
{
public:
	virtual ~X11RunLoopClient () = default;
	// The connection's descriptor is readable.
	virtual void onEvents () = 0;
	// A timer tick.
	virtual void onTick () = 0;
};

class X11RunLoopLink
{
public:
	X11RunLoopLink (Steinberg::Linux::IRunLoop* runLoop, X11RunLoopClient& client, int fd,
	                uint32_t intervalMs);
	// Unregisters both handlers (safe from inside either's callback).
	~X11RunLoopLink ();
	X11RunLoopLink (const X11RunLoopLink&) = delete;
	X11RunLoopLink& operator= (const X11RunLoopLink&) = delete;

	bool registered () const { return eventsRegistered && timerRegistered; }
	// Stops watching the descriptor (a broken connection stays readable for ever).
	void dropEventHandler ();

private:
	class EventHandler;
	class TimerHandler;

	Steinberg::Linux::IRunLoop* runLoop;
	EventHandler* events;
	TimerHandler* timer;
	bool eventsRegistered = false;
	bool timerRegistered = false;
};

} // namespace VSTGUI

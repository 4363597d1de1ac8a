#include "x11runloop.h"

namespace VSTGUI {

using namespace Steinberg;

// Each handler holds a reference to itself while it runs, so a host that keeps raw
// pointers can drop the last outside reference from inside the callback.
class X11RunLoopLink::EventHandler : public Linux::IEventHandler
{
public:
	explicit EventHandler (X11RunLoopClient* client) : client (client) { FUNKNOWN_CTOR }
	virtual ~EventHandler () = default;

	void PLUGIN_API onFDIsSet (Linux::FileDescriptor) override
	{
		addRef ();
		if (client)
			client->onEvents ();
		release ();
	}
	X11RunLoopClient* client;

	DECLARE_FUNKNOWN_METHODS
};
IMPLEMENT_FUNKNOWN_METHODS (X11RunLoopLink::EventHandler, Linux::IEventHandler,
                            Linux::IEventHandler::iid)

class X11RunLoopLink::TimerHandler : public Linux::ITimerHandler
{
public:
	explicit TimerHandler (X11RunLoopClient* client) : client (client) { FUNKNOWN_CTOR }
	virtual ~TimerHandler () = default;

	void PLUGIN_API onTimer () override
	{
		addRef ();
		if (client)
			client->onTick ();
		release ();
	}
	X11RunLoopClient* client;

	DECLARE_FUNKNOWN_METHODS
};
IMPLEMENT_FUNKNOWN_METHODS (X11RunLoopLink::TimerHandler, Linux::ITimerHandler,
                            Linux::ITimerHandler::iid)

X11RunLoopLink::X11RunLoopLink (Linux::IRunLoop* runLoop, X11RunLoopClient& client, int fd,
                                uint32_t intervalMs)
: runLoop (runLoop), events (new EventHandler (&client)), timer (new TimerHandler (&client))
{
	runLoop->addRef ();
	eventsRegistered = runLoop->registerEventHandler (events, fd) == kResultOk;
	timerRegistered = runLoop->registerTimer (timer, intervalMs) == kResultOk;
}

X11RunLoopLink::~X11RunLoopLink ()
{
	dropEventHandler ();
	timer->client = nullptr;
	if (timerRegistered)
		runLoop->unregisterTimer (timer);
	timer->release ();
	events->release ();
	runLoop->release ();
}

void X11RunLoopLink::dropEventHandler ()
{
	events->client = nullptr;
	if (eventsRegistered)
		runLoop->unregisterEventHandler (events);
	eventsRegistered = false;
}

} // namespace VSTGUI

// A VST 3 controller's editor view inside a VST 2.4 host's window. The host gives the
// parent X window to effEditOpen and then calls effEditIdle, its only pump: each call
// runs what is ready in the run loop that this frame offers the view, the way a VST 3
// host's own loop would. The caller serializes every call (see Vst2Wrapper).
#pragma once

#include "vst2abi.h"

#include "RunLoop.h"

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <functional>

namespace Steinberg {
namespace Vst {

class Vst2Editor final : public IPlugFrame
{
public:
	// Asks the host to make its window width x height; true when it agreed.
	using SizeRequest = std::function<bool (int32 width, int32 height)>;

	// Makes the controller's "editor" view; exists () is false when it has none.
	Vst2Editor (IEditController* controller, SizeRequest sizeRequest);
	~Vst2Editor ();
	Vst2Editor (const Vst2Editor&) = delete;
	Vst2Editor& operator= (const Vst2Editor&) = delete;

	bool exists () const { return view != nullptr; }
	bool isOpen () const { return attached; }

	// The view's size now: before the first open the one it expects to open with, then
	// the opened skin's. Stays valid until the next call.
	const ERect* rect ();
	// `parent` is the host's X window id (the value of the pointer).
	bool open (void* parent);
	void close ();
	// One effEditIdle: the window's events, timers and painting.
	void idle ();
	// effEditKeyDown/effEditKeyUp: the VST 2 key (character, virtual key, modifier bits);
	// true when the editor used it.
	bool keyDown (VstInt32 character, VstIntPtr virtualKey, float modifiers);
	bool keyUp (VstInt32 character, VstIntPtr virtualKey, float modifiers);

	// IPlugFrame: the host's window follows, and the view is told its new size.
	tresult PLUGIN_API resizeView (IPlugView* view, ViewRect* newSize) SMTG_OVERRIDE;

	// The frame also answers for the run loop. It lives as long as its owner.
	tresult PLUGIN_API queryInterface (const TUID iid, void** obj) SMTG_OVERRIDE;
	uint32 PLUGIN_API addRef () SMTG_OVERRIDE { return 1; }
	uint32 PLUGIN_API release () SMTG_OVERRIDE { return 1; }

private:
	using KeyCall = tresult (PLUGIN_API IPlugView::*) (char16, int16, int16);
	bool forwardKey (KeyCall call, VstInt32 character, VstIntPtr virtualKey, float modifiers);

	IPlugView* view = nullptr;
	SizeRequest sizeRequest;
	QuillmereHost::RunLoop runLoop;
	ERect size {};
	bool attached = false;
	bool idling = false;
};

} // namespace Vst
} // namespace Steinberg

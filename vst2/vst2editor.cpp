#include "vst2editor.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Steinberg {
namespace Vst {
namespace {

int16 toInt16 (int32 value)
{
	return static_cast<int16> (std::clamp<int32> (value, std::numeric_limits<int16>::min (),
	                                              std::numeric_limits<int16>::max ()));
}

} // namespace

Vst2Editor::Vst2Editor (IEditController* controller, SizeRequest sizeRequest)
: sizeRequest (std::move (sizeRequest))
{
	if (controller)
		view = controller->createView (ViewType::kEditor);
	if (view && view->isPlatformTypeSupported (kPlatformTypeX11EmbedWindowID) != kResultTrue)
	{
		view->release ();
		view = nullptr;
	}
}

Vst2Editor::~Vst2Editor ()
{
	close ();
	if (view)
		view->release ();
}

const ERect* Vst2Editor::rect ()
{
	ViewRect now;
	if (view && view->getSize (&now) == kResultTrue)
	{
		size.top = toInt16 (now.top);
		size.left = toInt16 (now.left);
		size.bottom = toInt16 (now.bottom);
		size.right = toInt16 (now.right);
	}
	return &size;
}

bool Vst2Editor::open (void* parent)
{
	if (!view || attached || !parent)
		return false;
	view->setFrame (this);
	if (view->attached (parent, kPlatformTypeX11EmbedWindowID) != kResultOk)
	{
		view->setFrame (nullptr);
		return false;
	}
	attached = true;
	return true;
}

void Vst2Editor::close ()
{
	if (!attached)
		return;
	attached = false;
	view->removed ();
	view->setFrame (nullptr);
}

void Vst2Editor::idle ()
{
	// A host that idles again from inside a callback of this idle waits for the next one.
	if (!attached || idling)
		return;
	idling = true;
	runLoop.runReady ();
	idling = false;
}

bool Vst2Editor::keyDown (VstInt32 character, VstIntPtr virtualKey, float modifiers)
{
	return forwardKey (&IPlugView::onKeyDown, character, virtualKey, modifiers);
}

bool Vst2Editor::keyUp (VstInt32 character, VstIntPtr virtualKey, float modifiers)
{
	return forwardKey (&IPlugView::onKeyUp, character, virtualKey, modifiers);
}

// VST 2 and VST 3 number their virtual keys and modifier bits alike, so the key passes
// through; only values no key has are dropped.
bool Vst2Editor::forwardKey (KeyCall call, VstInt32 character, VstIntPtr virtualKey,
                             float modifiers)
{
	if (!attached)
		return false;
	if (character < 0 || character > 0xFFFF)
		character = 0;
	if (virtualKey < 0 || virtualKey > std::numeric_limits<int16>::max ())
		virtualKey = 0;
	int16 modifierBits = 0;
	if (std::isfinite (modifiers) && modifiers >= 0.f && modifiers <= 0xFF)
		modifierBits = static_cast<int16> (modifiers);
	return (view->*call) (static_cast<char16> (character), static_cast<int16> (virtualKey),
	                      modifierBits) == kResultTrue;
}

tresult PLUGIN_API Vst2Editor::resizeView (IPlugView* caller, ViewRect* newSize)
{
	if (!caller || caller != view || !newSize)
		return kInvalidArgument;
	if (sizeRequest)
		sizeRequest (newSize->getWidth (), newSize->getHeight ());
	// Our window takes the view's size even where the host keeps its own.
	view->onSize (newSize);
	return kResultTrue;
}

tresult PLUGIN_API Vst2Editor::queryInterface (const TUID iid, void** obj)
{
	if (!obj)
		return kInvalidArgument;
	if (FUnknownPrivate::iidEqual (iid, Linux::IRunLoop::iid))
	{
		runLoop.addRef ();
		*obj = static_cast<Linux::IRunLoop*> (&runLoop);
		return kResultOk;
	}
	QUERY_INTERFACE (iid, obj, FUnknown::iid, IPlugFrame)
	QUERY_INTERFACE (iid, obj, IPlugFrame::iid, IPlugFrame)
	*obj = nullptr;
	return kNoInterface;
}

} // namespace Vst
} // namespace Steinberg

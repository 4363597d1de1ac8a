#include "vstguieditor.h"

#include "vstgui/lib/cframe.h"
#include "vstgui/platform/iplatformframe.h"

#include <cstring>

namespace Steinberg {
namespace Vst {
namespace {

// The SDK's VirtualKeyCodes and KeyModifier values (pluginterfaces/base/keycodes.h, which
// our SDK copy lacks), as hosts pass them to onKeyDown. VST 2's VstVirtualKey and
// VstModifierKey have the same numbers, so effEditKeyDown comes here unchanged.
enum HostKey : int16
{
	kHostKeyBack = 1,
	kHostKeyTab = 2,
	kHostKeyReturn = 4,
	kHostKeyEscape = 6,
	kHostKeySpace = 7,
	kHostKeyEnd = 9,
	kHostKeyHome = 10,
	kHostKeyLeft = 11,
	kHostKeyUp = 12,
	kHostKeyRight = 13,
	kHostKeyDown = 14,
	kHostKeyPageUp = 15,
	kHostKeyPageDown = 16,
	kHostKeyEnter = 19,
	kHostKeyDelete = 22,
	kHostKeyNumpad0 = 24,
	kHostKeyNumpad9 = 33,
	kHostKeyMultiply = 34,
	kHostKeyAdd = 35,
	kHostKeySubtract = 37,
	kHostKeyDecimal = 38,
	kHostKeyDivide = 39,
	kHostKeyEquals = 57,
};
enum HostModifier : int16
{
	kHostShift = 1 << 0,
	kHostAlternate = 1 << 1,
	kHostCommand = 1 << 2, // Ctrl on Linux
	kHostControl = 1 << 3,
};

uint8_t virtualKeyOf (int16 keyCode)
{
	switch (keyCode)
	{
		case kHostKeyBack: return VSTGUI::VKEY_BACK;
		case kHostKeyTab: return VSTGUI::VKEY_TAB;
		case kHostKeyReturn: return VSTGUI::VKEY_RETURN;
		case kHostKeyEscape: return VSTGUI::VKEY_ESCAPE;
		case kHostKeySpace: return VSTGUI::VKEY_SPACE;
		case kHostKeyEnd: return VSTGUI::VKEY_END;
		case kHostKeyHome: return VSTGUI::VKEY_HOME;
		case kHostKeyLeft: return VSTGUI::VKEY_LEFT;
		case kHostKeyUp: return VSTGUI::VKEY_UP;
		case kHostKeyRight: return VSTGUI::VKEY_RIGHT;
		case kHostKeyDown: return VSTGUI::VKEY_DOWN;
		case kHostKeyPageUp: return VSTGUI::VKEY_PAGEUP;
		case kHostKeyPageDown: return VSTGUI::VKEY_PAGEDOWN;
		case kHostKeyEnter: return VSTGUI::VKEY_ENTER;
		case kHostKeyDelete: return VSTGUI::VKEY_DELETE;
		default: return VSTGUI::VKEY_NONE;
	}
}

// Keypad keys that a host sends as virtual keys alone type their characters.
char16 keypadCharacterOf (int16 keyCode)
{
	if (keyCode >= kHostKeyNumpad0 && keyCode <= kHostKeyNumpad9)
		return static_cast<char16> ('0' + (keyCode - kHostKeyNumpad0));
	switch (keyCode)
	{
		case kHostKeyMultiply: return '*';
		case kHostKeyAdd: return '+';
		case kHostKeySubtract: return '-';
		case kHostKeyDecimal: return '.';
		case kHostKeyDivide: return '/';
		case kHostKeyEquals: return '=';
		default: return 0;
	}
}

// False when the host's key carries nothing the toolkit knows.
bool toKeyCode (char16 key, int16 keyCode, int16 modifiers, VSTGUI::VstKeyCode& code)
{
	if (!key)
		key = keypadCharacterOf (keyCode);
	code.virt = virtualKeyOf (keyCode);
	code.character = code.virt == VSTGUI::VKEY_SPACE ? ' ' : (code.virt ? 0 : key);
	code.modifier = 0;
	if (modifiers & kHostShift)
		code.modifier |= VSTGUI::MODIFIER_SHIFT;
	if (modifiers & kHostAlternate)
		code.modifier |= VSTGUI::MODIFIER_ALTERNATE;
	if (modifiers & (kHostCommand | kHostControl))
		code.modifier |= VSTGUI::MODIFIER_CONTROL;
	return code.virt != VSTGUI::VKEY_NONE || code.character >= 0x20;
}

bool sameSize (const ViewRect& a, const ViewRect& b)
{
	return a.getWidth () == b.getWidth () && a.getHeight () == b.getHeight ();
}

} // namespace

VSTGUIEditor::VSTGUIEditor (EditController* controller, ViewRect* size)
: EditorView (controller, size)
{
}

VSTGUIEditor::~VSTGUIEditor () = default;

uint32 PLUGIN_API VSTGUIEditor::release ()
{
	// A host that drops its last reference without removed (): the window must leave the
	// run loop and the controller must forget the view while the view is still whole (its
	// destructor is too late: by then it is no longer the derived editor).
	if (getRefCount () == 1 && isAttached ())
		removed ();
	return EditorView::release ();
}

void VSTGUIEditor::setIdleRate (int32 millisec)
{
	idleRate = millisec;
}

tresult PLUGIN_API VSTGUIEditor::isPlatformTypeSupported (FIDString type)
{
	return type && std::strcmp (type, kPlatformTypeX11EmbedWindowID) == 0 ? kResultTrue
	                                                                         : kResultFalse;
}

tresult PLUGIN_API VSTGUIEditor::attached (void* parent, FIDString type)
{
	if (!parent || isPlatformTypeSupported (type) != kResultTrue || frame)
		return kResultFalse;
	// On Linux the host's run loop is the only way to get called back; without it the
	// window could never paint.
	FUnknownPtr<Linux::IRunLoop> runLoop (plugFrame);
	if (!runLoop)
		return kResultFalse;

	VSTGUI::PlatformParent platformParent;
	platformParent.type = VSTGUI::PlatformType::kX11EmbedWindowID;
	platformParent.handle = reinterpret_cast<uintptr_t> (parent);
	// The window holds its own reference and unregisters through it, so a host that
	// clears the frame before removed () is fine.
	platformParent.runLoop = static_cast<Linux::IRunLoop*> (runLoop);
	platformParent.idleRateMs = idleRate > 0 ? static_cast<uint32_t> (idleRate) : 50;
	if (!open (&platformParent))
		return kResultFalse;
	if (!frame || !frame->isOpen ())
	{
		// No window could be made (no display, a bad parent).
		close ();
		return kResultFalse;
	}

	ViewRect frameSize (0, 0, frame->getWidth (), frame->getHeight ());
	rect = frameSize;
	// Some hosts crash or shrink the window on a resizeView from inside attached; the
	// first timer tick sends it.
	resizePending = !hostKnowsSize || !sameSize (frameSize, hostSize);
	return EditorView::attached (parent, type);
}

tresult PLUGIN_API VSTGUIEditor::removed ()
{
	// The frame's window leaves the run loop and closes its connection with it.
	close ();
	resizePending = false;
	return EditorView::removed ();
}

tresult PLUGIN_API VSTGUIEditor::getSize (ViewRect* size)
{
	tresult result = EditorView::getSize (size);
	if (result == kResultTrue)
	{
		hostSize = rect;
		hostKnowsSize = true;
	}
	return result;
}

tresult PLUGIN_API VSTGUIEditor::onSize (ViewRect* newSize)
{
	if (!newSize)
		return kInvalidArgument;
	EditorView::onSize (newSize);
	hostSize = *newSize;
	hostKnowsSize = true;
	if (frame)
		frame->setSize (newSize->getWidth (), newSize->getHeight ());
	return kResultTrue;
}

void VSTGUIEditor::doIdleStuff ()
{
	if (resizePending && plugFrame)
	{
		resizePending = false;
		if (!hostKnowsSize || !sameSize (rect, hostSize))
		{
			ViewRect wanted (rect);
			plugFrame->resizeView (this, &wanted);
		}
	}
	// The host may have removed the view from inside resizeView.
	if (frame)
		notify (this, VSTGUI::kMsgTimer);
}

tresult PLUGIN_API VSTGUIEditor::onKeyDown (char16 key, int16 keyCode, int16 modifiers)
{
	VSTGUI::VstKeyCode code;
	if (!frame || !toKeyCode (key, keyCode, modifiers, code))
		return kResultFalse;
	return frame->platformOnKeyDown (code) ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API VSTGUIEditor::onKeyUp (char16 key, int16 keyCode, int16 modifiers)
{
	VSTGUI::VstKeyCode code;
	if (!frame || !toKeyCode (key, keyCode, modifiers, code))
		return kResultFalse;
	return frame->platformOnKeyUp (code) ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API VSTGUIEditor::onWheel (float distance)
{
	// The window gets the wheel itself (X buttons 4 and 5), at the pointer's place.
	return kResultFalse;
}

void VSTGUIEditor::beginEdit (int32_t index)
{
	if (controller)
		controller->beginEdit (static_cast<ParamID> (index));
}

void VSTGUIEditor::endEdit (int32_t index)
{
	if (controller)
		controller->endEdit (static_cast<ParamID> (index));
}

int32_t VSTGUIEditor::getKnobMode () const
{
	return EditController::getHostKnobMode ();
}

VSTGUI::CMessageResult VSTGUIEditor::notify (VSTGUI::CBaseObject* sender, const char* message)
{
	if (message && std::strcmp (message, VSTGUI::kMsgTimer) == 0)
	{
		if (frame)
			frame->idle ();
		return VSTGUI::kMessageNotified;
	}
	return VSTGUI::kMessageUnknown;
}

} // namespace Vst
} // namespace Steinberg

#include "vstguieditor.h"

#include <cstring>

namespace Steinberg {
namespace Vst {

VSTGUIEditor::VSTGUIEditor (EditController* controller, ViewRect* size)
: EditorView (controller, size)
{
}

VSTGUIEditor::~VSTGUIEditor () = default;

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
	return kResultFalse;
}

tresult PLUGIN_API VSTGUIEditor::removed ()
{
	return EditorView::removed ();
}

tresult PLUGIN_API VSTGUIEditor::onSize (ViewRect* newSize)
{
	return EditorView::onSize (newSize);
}

tresult PLUGIN_API VSTGUIEditor::onKeyDown (char16 key, int16 keyCode, int16 modifiers)
{
	return kResultFalse;
}

tresult PLUGIN_API VSTGUIEditor::onKeyUp (char16 key, int16 keyCode, int16 modifiers)
{
	return kResultFalse;
}

tresult PLUGIN_API VSTGUIEditor::onWheel (float distance)
{
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
	return VSTGUI::kMessageUnknown;
}

} // namespace Vst
} // namespace Steinberg

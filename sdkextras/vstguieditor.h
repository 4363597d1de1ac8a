#pragma once
// The SDK's base for editors built on the VSTGUI toolkit: an EditorView that owns a
// frame while attached, opens and closes it as the host attaches and removes the view,
// and drives the frame's idle processing from a timer.

#include "public.sdk/source/vst/vsteditcontroller.h"
#include "vstgui/lib/cbaseobject.h"
#include "vstgui/lib/vstguieditorinterface.h"

namespace Steinberg {
namespace Vst {

class VSTGUIEditor : public EditorView,
                     public VSTGUI::VSTGUIEditorInterface,
                     public VSTGUI::CBaseObject
{
public:
	// `size` may be null; the view rectangle is then set later (setRect).
	VSTGUIEditor (EditController* controller, ViewRect* size = nullptr);
	~VSTGUIEditor () SMTG_OVERRIDE;

	// Builds the frame inside `parent`, a const VSTGUI::PlatformParent*. True when a frame
	// was built; the base then takes the frame's size as the view rectangle.
	virtual bool PLUGIN_API open (void* parent) = 0;
	// Releases the frame and everything open built.
	virtual void PLUGIN_API close () = 0;

	// How often the idle timer fires, in milliseconds.
	void setIdleRate (int32 millisec);

	// IPlugView
	tresult PLUGIN_API isPlatformTypeSupported (FIDString type) SMTG_OVERRIDE;
	tresult PLUGIN_API attached (void* parent, FIDString type) SMTG_OVERRIDE;
	tresult PLUGIN_API removed () SMTG_OVERRIDE;
	tresult PLUGIN_API getSize (ViewRect* size) SMTG_OVERRIDE;
	tresult PLUGIN_API onSize (ViewRect* newSize) SMTG_OVERRIDE;
	tresult PLUGIN_API onKeyDown (char16 key, int16 keyCode, int16 modifiers) SMTG_OVERRIDE;
	tresult PLUGIN_API onKeyUp (char16 key, int16 keyCode, int16 modifiers) SMTG_OVERRIDE;
	tresult PLUGIN_API onWheel (float distance) SMTG_OVERRIDE;

	// VSTGUIEditorInterface: every timer tick, through the frame's idle processing. Sends a
	// resize that open needed (never from inside attached), then kMsgTimer to notify.
	void doIdleStuff () SMTG_OVERRIDE;
	void beginEdit (int32_t index) SMTG_OVERRIDE;
	void endEdit (int32_t index) SMTG_OVERRIDE;
	int32_t getKnobMode () const SMTG_OVERRIDE;

	// CBaseObject: the timer's kMsgTimer makes the frame run its idle processing.
	VSTGUI::CMessageResult notify (VSTGUI::CBaseObject* sender, const char* message) SMTG_OVERRIDE;

	// Reference counting comes from the SDK side (FObject); the toolkit's counting is
	// mapped onto it so both count the same object.
	void remember () SMTG_OVERRIDE { addRef (); }
	void forget () SMTG_OVERRIDE { release (); }
	uint32 PLUGIN_API release () SMTG_OVERRIDE;

	OBJ_METHODS (VSTGUIEditor, EditorView)

protected:
	int32 idleRate = 100;

private:
	// The size the host last saw (getSize, onSize), so a resize is asked for only when
	// the opened frame differs from it.
	ViewRect hostSize;
	bool hostKnowsSize = false;
	bool resizePending = false;
};

} // namespace Vst
} // namespace Steinberg

#pragma once
// The effect's editor view: builds one of the two bitmap skins into a frame inside the
// host's window, and shows every parameter change the effect tells it about. This header
// is the effect's only way into the editor; the toolkit stays behind it.

#include "pluginterfaces/vst/ivstcontextmenu.h"
#include "pluginterfaces/vst/ivstplugview.h"
#include "vstgui/lib/ccontrollistener.h"
#include "vstguieditor.h"

#include <atomic>
#include <thread>

namespace VSTGUI {
class CBitmap;
class CControl;
} // namespace VSTGUI

namespace Steinberg {
namespace Vst {

class Quillmere;
struct SkinLayout;

class QuillmereEditorView : public VSTGUIEditor,
                            public CControlListener,
                            public IParameterFinder,
                            public IContextMenuTarget
{
public:
	static constexpr int32 kControlCount = 52;

	// Nothing happens beyond setting fields: hosts make views only to learn whether an
	// editor exists. `controller` is the effect.
	explicit QuillmereEditorView (EditController* controller);

	// IPlugView
	tresult PLUGIN_API canResize () SMTG_OVERRIDE;
	tresult PLUGIN_API checkSizeConstraint (ViewRect* rect) SMTG_OVERRIDE;

	// VSTGUIEditor: `parent` is a const VSTGUI::PlatformParent*.
	bool PLUGIN_API open (void* parent) SMTG_OVERRIDE;
	void PLUGIN_API close () SMTG_OVERRIDE;

	// VSTGUIEditorInterface: the toolkit's brackets stay here; the editor sends its own
	// from controlBeginEdit and controlEndEdit.
	void beginEdit (int32_t index) SMTG_OVERRIDE {}
	void endEdit (int32_t index) SMTG_OVERRIDE {}

	// CControlListener
	void valueChanged (VSTGUI::CControl* control) SMTG_OVERRIDE;
	int32_t controlModifierClicked (VSTGUI::CControl* control, long button) SMTG_OVERRIDE;
	void controlBeginEdit (VSTGUI::CControl* control) SMTG_OVERRIDE;
	void controlEndEdit (VSTGUI::CControl* control) SMTG_OVERRIDE;

	// IParameterFinder
	tresult PLUGIN_API findParameter (int32 xPos, int32 yPos, ParamID& resultTag) SMTG_OVERRIDE;
	// IContextMenuTarget
	tresult PLUGIN_API executeMenuItem (int32 tag) SMTG_OVERRIDE;

	// Shows a parameter's normalized value on its controls; nothing while closed. Called
	// off the thread that drives the editor, it only notes the value, and the next idle
	// tick shows it.
	virtual void updateParameter (ParamID tag, ParamValue value);

	// Applies the effect's presetIndex, when it names a factory preset.
	void selectPreset ();

	// Every timer tick: shows values noted from other threads, then the base's idle work.
	void doIdleStuff () SMTG_OVERRIDE;

	// The control in a table slot (ControlSlot), null while closed.
	VSTGUI::CControl* getControl (int32 slot) const;
	VSTGUI::CBitmap* getBackgroundBitmap () const { return backgroundBitmap; }
	Quillmere* getEffect () const { return effect; }

	OBJ_METHODS (QuillmereEditorView, VSTGUIEditor)
	DEFINE_INTERFACES
		DEF_INTERFACE (IParameterFinder)
		DEF_INTERFACE (IContextMenuTarget)
		DEF_INTERFACE (IPlugView)
	END_DEFINE_INTERFACES (VSTGUIEditor)
	REFCOUNT_METHODS (VSTGUIEditor)

private:
	static constexpr int32 kShownParameters = 26; // ids 0 to 25 have controls

	bool buildSkin (const SkinLayout& layout, void* parent);
	void setControl (int32 slot, VSTGUI::CControl* control);
	// The table slot of an open control with this tag, or -1.
	int32 openSlotOfTag (int32 tag) const;
	void showValue (ParamID tag, ParamValue value);
	void showPendingValues ();
	bool onEditorThread () const;
	// The user's changes, by kind of control.
	void valueControlChanged (int32 slot, ParamValue value);
	void listChanged (ParamID id, int32 index);
	void valueFieldChanged (int32 slot);
	void stepPreset (int32 direction);

	VSTGUI::CBitmap* backgroundBitmap = nullptr;
	VSTGUI::CControl* controls[kControlCount] = {};
	Quillmere* effect = nullptr;

	// The thread that opened the editor and runs its idle ticks; values from any other
	// thread wait in these slots for the next tick.
	std::atomic<std::thread::id> editorThread {};
	std::atomic<ParamValue> pendingValues[kShownParameters] = {};
	std::atomic<bool> pendingFlags[kShownParameters] = {};
};

} // namespace Vst
} // namespace Steinberg

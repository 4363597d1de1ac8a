#pragma once
// What a control tells its owner. It lives outside the VSTGUI namespace, as editors
// written for this generation of the toolkit expect.

#include <cstdint>

namespace VSTGUI {
class CControl;
}

class CControlListener
{
public:
	virtual ~CControlListener () = default;

	// The user changed the control's value.
	virtual void valueChanged (VSTGUI::CControl* control) = 0;
	// A click with modifier keys; a result other than 0 means the listener took it and the
	// control does nothing more.
	virtual int32_t controlModifierClicked (VSTGUI::CControl* control, long button) { return 0; }
	// An edit gesture (a drag, a click) starts and ends.
	virtual void controlBeginEdit (VSTGUI::CControl* control) {}
	virtual void controlEndEdit (VSTGUI::CControl* control) {}
};

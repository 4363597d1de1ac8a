#pragma once
// A view with a value: by default 0 to 1, a tag that names it to its listener, and a
// default value that Ctrl+click (or a double-click) restores.

#include "ccontrollistener.h"
#include "cview.h"

namespace VSTGUI {

// Control styles.
enum CControlStyle : int32_t
{
	kHorizontal = 1 << 0,
	kVertical = 1 << 1,
	kLeft = 1 << 2,
	kRight = 1 << 3,
	kTop = 1 << 4,
	kBottom = 1 << 5,
	// Text displays.
	kShadowText = 1 << 6,
	k3DIn = 1 << 7,
	k3DOut = 1 << 8,
	kNoTextStyle = 1 << 11,
	kNoDrawStyle = 1 << 12,
	kNoFrame = 1 << 14,
	// Switches: when the listener hears of a change.
	kPreListenerUpdate = 1 << 15,
	kPostListenerUpdate = 1 << 16,
};

class CControl : public CView
{
public:
	CControl (const CRect& size, CControlListener* listener = nullptr, int32_t tag = 0,
	          CBitmap* background = nullptr);

	// Values are kept inside min to max; anything else (including NaN) is brought in.
	virtual void setValue (float value);
	float getValue () const { return value; }
	void setMin (float minimum) { vmin = minimum; }
	float getMin () const { return vmin; }
	void setMax (float maximum) { vmax = maximum; }
	float getMax () const { return vmax; }
	void setDefaultValue (float value) { defaultValue = value; }
	float getDefaultValue () const { return defaultValue; }
	// The value the control shows, brought between 0 and 1.
	float getValueNormalized () const;
	void setValueNormalized (float normalized);

	void setTag (int32_t value) { tag = value; }
	int32_t getTag () const { return tag; }
	void setListener (CControlListener* value) { listener = value; }
	CControlListener* getListener () const { return listener; }

	void setWheelInc (float step) { wheelInc = step; }
	float getWheelInc () const { return wheelInc; }

	// Tells the listener that the user changed the value.
	virtual void valueChanged ();
	// Edit brackets around a gesture: the editor's and the listener's.
	virtual void beginEdit ();
	virtual void endEdit ();
	bool isEditing () const { return editing > 0; }

protected:
	// Ctrl+click or a double-click sets the default value, as one whole edit; true when it
	// did.
	bool checkDefaultValue (const CButtonState& buttons);
	// Offers a click with modifiers to the listener first; true when it took it.
	bool listenerTookModifierClick (const CButtonState& buttons);
	// A value the user set (normalized): when it changed, the listener hears of it and the
	// control is redrawn.
	void setValueByUser (float normalized);
	// The up that ends a drag begun with beginEdit on the down.
	CMouseEventResult endDrag ();
	// One wheel step as one whole edit: `distance` steps of wheelInc, finer with Shift.
	bool stepByWheel (float distance, const CButtonState& buttons);

	CControlListener* listener;
	int32_t tag;
	float value = 0.f;
	float vmin = 0.f;
	float vmax = 1.f;
	float defaultValue = 0.5f;
	float wheelInc = 0.01f;
	int32_t editing = 0;
};

} // namespace VSTGUI

#include "ccontrol.h"

#include "cframe.h"
#include "vstguieditorinterface.h"

#include <algorithm>

namespace VSTGUI {

CControl::CControl (const CRect& size, CControlListener* listener, int32_t tag,
                    CBitmap* background)
: CView (size), listener (listener), tag (tag)
{
	if (background)
		setBackground (background);
}

void CControl::setValue (float newValue)
{
	if (!(newValue >= vmin))
		newValue = vmin;
	if (newValue > vmax)
		newValue = vmax;
	if (newValue == value)
		return;
	value = newValue;
	setDirty (true);
}

float CControl::getValueNormalized () const
{
	const float range = vmax - vmin;
	return range > 0.f ? (value - vmin) / range : 0.f;
}

void CControl::setValueNormalized (float normalized)
{
	normalized = std::min (std::max (normalized, 0.f), 1.f);
	setValue (vmin + normalized * (vmax - vmin));
}

void CControl::valueChanged ()
{
	if (listener)
		listener->valueChanged (this);
}

void CControl::beginEdit ()
{
	++editing;
	if (frame && frame->getEditor ())
		frame->getEditor ()->beginEdit (tag);
	if (listener)
		listener->controlBeginEdit (this);
}

void CControl::endEdit ()
{
	if (listener)
		listener->controlEndEdit (this);
	if (frame && frame->getEditor ())
		frame->getEditor ()->endEdit (tag);
	if (editing > 0)
		--editing;
}

bool CControl::checkDefaultValue (const CButtonState& buttons)
{
	const bool ctrlClick = (buttons & kLButton) && (buttons & kControl);
	const bool doubleClick = (buttons & kLButton) && (buttons & kDoubleClick);
	if (!ctrlClick && !doubleClick)
		return false;
	beginEdit ();
	setValue (defaultValue);
	valueChanged ();
	endEdit ();
	invalid ();
	return true;
}

bool CControl::listenerTookModifierClick (const CButtonState& buttons)
{
	if (!listener || !(buttons & (kShift | kControl | kAlt)))
		return false;
	return listener->controlModifierClicked (this, static_cast<long> (buttons)) != 0;
}

void CControl::setValueByUser (float normalized)
{
	const float previous = value;
	setValueNormalized (normalized);
	if (value == previous)
		return;
	valueChanged ();
	invalid ();
}

CMouseEventResult CControl::endDrag ()
{
	if (isEditing ())
		endEdit ();
	return kMouseEventHandled;
}

bool CControl::stepByWheel (float distance, const CButtonState& buttons)
{
	if (!getMouseEnabled ())
		return false;
	const float step = (buttons & kShift) ? wheelInc / 10.f : wheelInc;
	beginEdit ();
	setValueByUser (getValueNormalized () + distance * step);
	endEdit ();
	return true;
}

} // namespace VSTGUI

#include "canimknob.h"

#include "cbitmap.h"

#include <cmath>

namespace VSTGUI {

CAnimKnob::CAnimKnob (const CRect& size, CControlListener* listener, int32_t tag,
                      CBitmap* strip, const CPoint& offset)
: CControl (size, listener, tag, strip), offset (offset)
{
}

int32_t CAnimKnob::getNumSubPixmaps () const
{
	if (!background || getHeight () <= 0 || background->getHeight () < getHeight ())
		return 1;
	return background->getHeight () / getHeight ();
}

int32_t CAnimKnob::getFrameIndex () const
{
	const int32_t frames = getNumSubPixmaps ();
	return static_cast<int32_t> (std::lround (getValueNormalized () * (frames - 1)));
}

void CAnimKnob::draw (CDrawContext* context)
{
	if (background)
		background->draw (context, size,
		                  CPoint (offset.x, offset.y + getFrameIndex () * getHeight ()));
	setDirty (false);
}

CMouseEventResult CAnimKnob::onMouseDown (CPoint& where, const CButtonState& buttons)
{
	if (!(buttons & kLButton) || listenerTookModifierClick (buttons) || checkDefaultValue (buttons))
		return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
	beginEdit ();
	dragStartY = where.y;
	dragStartValue = getValueNormalized ();
	dragFine = (buttons & kShift) != 0;
	return kMouseEventHandled;
}

CMouseEventResult CAnimKnob::onMouseMoved (CPoint& where, const CButtonState& buttons)
{
	if (!isEditing ())
		return kMouseEventNotHandled;
	// Shift pressed or let go during a drag continues from where the knob is.
	const bool fine = (buttons & kShift) != 0;
	if (fine != dragFine)
	{
		dragFine = fine;
		dragStartY = where.y;
		dragStartValue = getValueNormalized ();
	}
	const float range = static_cast<float> (fine ? kDragRange * 10 : kDragRange);
	setValueByUser (dragStartValue + (dragStartY - where.y) / range);
	return kMouseEventHandled;
}

CMouseEventResult CAnimKnob::onMouseUp (CPoint& where, const CButtonState& buttons)
{
	return endDrag ();
}

bool CAnimKnob::onWheel (const CPoint& where, float distance, const CButtonState& buttons)
{
	return stepByWheel (distance, buttons);
}

} // namespace VSTGUI

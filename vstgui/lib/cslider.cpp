#include "cslider.h"

#include "cbitmap.h"

#include <algorithm>
#include <cmath>

namespace VSTGUI {

CVerticalSlider::CVerticalSlider (const CRect& size, CControlListener* listener, int32_t tag,
                                  const CPoint& offsetHandle, CCoord rangeHandle,
                                  CBitmap* handle, CBitmap* background, const CPoint& offset,
                                  int32_t style)
: CControl (size, listener, tag, background)
, offsetHandle (offsetHandle)
, rangeHandle (rangeHandle)
, handle (handle)
, offset (offset)
, style (style | kVertical)
{
	if (handle)
		handle->remember ();
}

CVerticalSlider::~CVerticalSlider ()
{
	if (handle)
		handle->forget ();
}

// A handle bitmap that could not be read takes the control's size.
CCoord CVerticalSlider::handleWidth () const
{
	return handle && handle->getWidth () > 0 ? handle->getWidth () : getWidth ();
}

CCoord CVerticalSlider::handleHeight () const
{
	return handle && handle->getHeight () > 0 ? handle->getHeight () : getHeight ();
}

CCoord CVerticalSlider::travel () const
{
	return std::max<CCoord> (0, rangeHandle - handleHeight ());
}

CRect CVerticalSlider::getHandleRect () const
{
	float position = getValueNormalized ();
	if (topIsMaximum ())
		position = 1.f - position;
	const CCoord top = size.top + offsetHandle.y +
	                   static_cast<CCoord> (std::lround (position * travel ()));
	const CCoord left = size.left + offsetHandle.x;
	return CRect (left, top, left + handleWidth (), top + handleHeight ());
}

float CVerticalSlider::valueAtHandleTop (CCoord handleTop) const
{
	if (travel () == 0)
		return getValueNormalized ();
	float position = static_cast<float> (handleTop - size.top - offsetHandle.y) / travel ();
	position = std::min (std::max (position, 0.f), 1.f);
	return topIsMaximum () ? 1.f - position : position;
}

void CVerticalSlider::draw (CDrawContext* context)
{
	if (background)
		background->draw (context, size, offset);
	if (handle)
	{
		CRect handleRect = getHandleRect ();
		handleRect.bound (size);
		handle->draw (context, handleRect);
	}
	setDirty (false);
}

CMouseEventResult CVerticalSlider::onMouseDown (CPoint& where, const CButtonState& buttons)
{
	if (!(buttons & kLButton) || listenerTookModifierClick (buttons) || checkDefaultValue (buttons))
		return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
	beginEdit ();
	const CRect handleRect = getHandleRect ();
	// A press on the handle keeps the grip; a press beside it brings the handle's middle
	// to the pointer.
	grabOffset = handleRect.pointInside (where) ? where.y - handleRect.top : handleHeight () / 2;
	fineStartY = where.y;
	fineStartValue = getValueNormalized ();
	if (!handleRect.pointInside (where))
		return onMouseMoved (where, buttons);
	return kMouseEventHandled;
}

CMouseEventResult CVerticalSlider::onMouseMoved (CPoint& where, const CButtonState& buttons)
{
	if (!isEditing ())
		return kMouseEventNotHandled;
	if (buttons & kShift)
	{
		const float perPixel = travel () > 0 ? 0.1f / travel () : 0.f;
		const float direction = topIsMaximum () ? 1.f : -1.f;
		setValueByUser (fineStartValue + direction * (fineStartY - where.y) * perPixel);
		return kMouseEventHandled;
	}
	setValueByUser (valueAtHandleTop (where.y - grabOffset));
	fineStartY = where.y;
	fineStartValue = getValueNormalized ();
	return kMouseEventHandled;
}

CMouseEventResult CVerticalSlider::onMouseUp (CPoint& where, const CButtonState& buttons)
{
	return endDrag ();
}

bool CVerticalSlider::onWheel (const CPoint& where, float distance, const CButtonState& buttons)
{
	return stepByWheel (distance, buttons);
}

} // namespace VSTGUI

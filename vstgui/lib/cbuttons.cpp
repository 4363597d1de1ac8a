#include "cbuttons.h"

#include "cbitmap.h"
#include "cframe.h"

namespace VSTGUI {
namespace {
// The two-state image's off half on top, its on half below.
void drawTwoState (CDrawContext* context, CBitmap* bitmap, const CRect& size, bool on,
                   const CPoint& offset = CPoint (0, 0))
{
	if (bitmap)
		bitmap->draw (context, size, CPoint (offset.x, offset.y + (on ? size.height () : 0)));
}
} // namespace

COnOffButton::COnOffButton (const CRect& size, CControlListener* listener, int32_t tag,
                            CBitmap* bitmap, int32_t style)
: CControl (size, listener, tag, bitmap), style (style)
{
}

void COnOffButton::draw (CDrawContext* context)
{
	drawTwoState (context, background, size, isOn ());
	setDirty (false);
}

CMouseEventResult COnOffButton::onMouseDown (CPoint& where, const CButtonState& buttons)
{
	if (!(buttons & kLButton) || listenerTookModifierClick (buttons))
		return kMouseEventNotHandled;
	beginEdit ();
	setValueByUser (isOn () ? 0.f : 1.f);
	endEdit ();
	return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

CKickButton::CKickButton (const CRect& size, CControlListener* listener, int32_t tag,
                          CBitmap* bitmap, const CPoint& offset)
: CControl (size, listener, tag, bitmap), offset (offset)
{
}

void CKickButton::draw (CDrawContext* context)
{
	drawTwoState (context, background, size, value > 0.5f, offset);
	setDirty (false);
}

CMouseEventResult CKickButton::onMouseDown (CPoint& where, const CButtonState& buttons)
{
	if (!(buttons & kLButton) || listenerTookModifierClick (buttons))
		return kMouseEventNotHandled;
	beginEdit ();
	setValueByUser (1.f);
	return kMouseEventHandled;
}

CMouseEventResult CKickButton::onMouseUp (CPoint& where, const CButtonState& buttons)
{
	if (isEditing ())
		setValueByUser (0.f);
	return endDrag ();
}

CSplashScreen::CSplashScreen (const CRect& size, CControlListener* listener, int32_t tag,
                              CBitmap* bitmap, const CRect& displayRect, const CPoint& offset)
: CControl (size, listener, tag, bitmap), displayRect (displayRect), keepSize (size), offset (offset)
{
}

void CSplashScreen::draw (CDrawContext* context)
{
	// Closed, the area is only a place to click on the background.
	if (isShown () && background)
		background->draw (context, displayRect, offset);
	setDirty (false);
}

CMouseEventResult CSplashScreen::onMouseDown (CPoint& where, const CButtonState& buttons)
{
	if (!(buttons & kLButton))
		return kMouseEventNotHandled;
	show (!isShown ());
	valueChanged ();
	return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

void CSplashScreen::show (bool shown)
{
	setValue (shown ? 1.f : 0.f);
	setViewSize (shown ? displayRect : keepSize);
	if (frame)
		frame->setModalView (shown ? this : nullptr);
}

} // namespace VSTGUI

#pragma once
// A vertical fader: a handle bitmap moving over the handle range, measured from the top of
// the control plus the handle offset. Unless the style has kTop, 1.0 puts the handle at
// the top and 0.0 at the bottom.

#include "ccontrol.h"

namespace VSTGUI {

class CVerticalSlider : public CControl
{
public:
	CVerticalSlider (const CRect& size, CControlListener* listener, int32_t tag,
	                 const CPoint& offsetHandle, CCoord rangeHandle, CBitmap* handle,
	                 CBitmap* background, const CPoint& offset = CPoint (0, 0),
	                 int32_t style = kBottom);
	~CVerticalSlider () override;

	int32_t getStyle () const { return style; }
	CCoord getRangeHandle () const { return rangeHandle; }
	CBitmap* getHandle () const { return handle; }
	// Where the handle is drawn for the current value.
	CRect getHandleRect () const;

	void draw (CDrawContext* context) override;
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons) override;
	bool onWheel (const CPoint& where, float distance, const CButtonState& buttons) override;

private:
	CCoord handleWidth () const;
	CCoord handleHeight () const;
	CCoord travel () const;
	// The value whose handle top sits at `handleTop`.
	float valueAtHandleTop (CCoord handleTop) const;
	bool topIsMaximum () const { return !(style & kTop); }

	CPoint offsetHandle;
	CCoord rangeHandle;
	CBitmap* handle;
	CPoint offset;
	int32_t style;
	CCoord grabOffset = 0; // from the handle's top to the pointer during a drag
	CCoord fineStartY = 0;
	float fineStartValue = 0.f;
};

} // namespace VSTGUI

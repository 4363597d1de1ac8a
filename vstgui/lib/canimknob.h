#pragma once
// A knob drawn from a vertical strip of frames, each as tall as the control; the number
// of frames is the strip's height divided by the control's. Dragging up turns it up.

#include "ccontrol.h"

namespace VSTGUI {

class CAnimKnob : public CControl
{
public:
	CAnimKnob (const CRect& size, CControlListener* listener, int32_t tag, CBitmap* strip,
	           const CPoint& offset = CPoint (0, 0));

	int32_t getNumSubPixmaps () const;
	// The strip frame that shows the current value.
	int32_t getFrameIndex () const;

	void draw (CDrawContext* context) override;
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons) override;
	bool onWheel (const CPoint& where, float distance, const CButtonState& buttons) override;

	// Pixels of vertical drag for the whole range (ten times more with Shift).
	static constexpr CCoord kDragRange = 200;

private:
	CPoint offset;
	CCoord dragStartY = 0;
	float dragStartValue = 0.f;
	bool dragFine = false;
};

} // namespace VSTGUI

#pragma once
// Buttons drawn from two-state bitmaps: the off state on top, the on state below it, each
// as tall as the control.

#include "ccontrol.h"

namespace VSTGUI {

// A switch: each click flips it between 0 and 1.
class COnOffButton : public CControl
{
public:
	COnOffButton (const CRect& size, CControlListener* listener, int32_t tag, CBitmap* bitmap,
	              int32_t style = kPreListenerUpdate);

	int32_t getStyle () const { return style; }
	bool isOn () const { return value > 0.5f; }

	void draw (CDrawContext* context) override;
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;

private:
	int32_t style;
};

// A push button: 1 while pressed (and the pointer is over it), 0 when let go.
class CKickButton : public CControl
{
public:
	CKickButton (const CRect& size, CControlListener* listener, int32_t tag, CBitmap* bitmap,
	             const CPoint& offset = CPoint (0, 0));

	void draw (CDrawContext* context) override;
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons) override;

private:
	CPoint offset;
};

// An area that shows a picture in its display rectangle on a click, above everything
// else, and hides it on the next click.
class CSplashScreen : public CControl
{
public:
	CSplashScreen (const CRect& size, CControlListener* listener, int32_t tag, CBitmap* bitmap,
	               const CRect& displayRect, const CPoint& offset = CPoint (0, 0));

	const CRect& getDisplayRect () const { return displayRect; }
	bool isShown () const { return value > 0.5f; }

	void draw (CDrawContext* context) override;
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;

private:
	void show (bool shown);

	CRect displayRect;
	CRect keepSize;
	CPoint offset;
};

} // namespace VSTGUI

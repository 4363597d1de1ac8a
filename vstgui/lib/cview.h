#pragma once
// The base of everything a frame shows: a rectangle that draws itself and may take mouse,
// wheel and key input. A view belongs to at most one frame, which holds its reference.

#include "cbaseobject.h"
#include "cgeometry.h"
#include "vstgui/platform/iplatformframe.h"

namespace VSTGUI {

class CBitmap;
class CDrawContext;
class CFrame;

enum CMouseEventResult
{
	kMouseEventNotImplemented = 0,
	kMouseEventHandled,        // the view wants the moves and the up of this press
	kMouseEventNotHandled,
	kMouseDownEventHandledButDontNeedMovedOrUpEvents,
};

class CView : public CBaseObject
{
public:
	explicit CView (const CRect& size);
	~CView () override;

	virtual void draw (CDrawContext* context);

	// Mouse input, in frame coordinates.
	virtual CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons);
	virtual CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons);
	virtual CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons);
	// Wheel steps, positive away from the user; true when used.
	virtual bool onWheel (const CPoint& where, float distance, const CButtonState& buttons);
	// Keys while the view has the focus: 1 when used, -1 when not.
	virtual int32_t onKeyDown (VstKeyCode& key);
	virtual int32_t onKeyUp (VstKeyCode& key);

	// True when the point lies in the view's mouse area.
	virtual bool hitTest (const CPoint& where, const CButtonState& buttons = 0);

	// The keyboard focus arrives or leaves (text fields).
	virtual void takeFocus () {}
	virtual void looseFocus () {}

	// Joining and leaving a frame.
	virtual bool attached (CFrame* parent);
	virtual bool removed (CFrame* parent);
	CFrame* getFrame () const { return frame; }

	// Asks the frame to repaint the view soon.
	virtual void invalid ();
	// A changed view is repainted at the frame's next idle processing.
	virtual void setDirty (bool state = true) { dirty = state; }
	bool isDirty () const { return dirty; }

	const CRect& getViewSize () const { return size; }
	CRect& getViewSize (CRect& rect) const { return rect = size; }
	virtual void setViewSize (const CRect& rect, bool invalidate = true);
	CCoord getWidth () const { return size.width (); }
	CCoord getHeight () const { return size.height (); }
	const CRect& getMouseableArea () const { return mouseableArea; }
	void setMouseableArea (const CRect& rect) { mouseableArea = rect; }

	void setMouseEnabled (bool enabled) { mouseEnabled = enabled; }
	bool getMouseEnabled () const { return mouseEnabled; }
	void setVisible (bool state);
	bool isVisible () const { return visible; }

	// The view holds a reference to its background bitmap.
	virtual void setBackground (CBitmap* bitmap);
	CBitmap* getBackground () const { return background; }

protected:
	CRect size;
	CRect mouseableArea;
	CFrame* frame = nullptr;
	CBitmap* background = nullptr;
	bool dirty = false;
	bool mouseEnabled = true;
	bool visible = true;
};

} // namespace VSTGUI

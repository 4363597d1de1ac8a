#include "cview.h"

#include "cbitmap.h"
#include "cdrawcontext.h"
#include "cframe.h"

namespace VSTGUI {

CView::CView (const CRect& size) : size (size), mouseableArea (size) {}

CView::~CView ()
{
	if (background)
		background->forget ();
}

void CView::draw (CDrawContext* context)
{
	if (background)
		background->draw (context, size);
	setDirty (false);
}

CMouseEventResult CView::onMouseDown (CPoint& where, const CButtonState& buttons)
{
	return kMouseEventNotImplemented;
}

CMouseEventResult CView::onMouseUp (CPoint& where, const CButtonState& buttons)
{
	return kMouseEventNotImplemented;
}

CMouseEventResult CView::onMouseMoved (CPoint& where, const CButtonState& buttons)
{
	return kMouseEventNotImplemented;
}

bool CView::onWheel (const CPoint& where, float distance, const CButtonState& buttons)
{
	return false;
}

int32_t CView::onKeyDown (VstKeyCode& key)
{
	return -1;
}

int32_t CView::onKeyUp (VstKeyCode& key)
{
	return -1;
}

bool CView::hitTest (const CPoint& where, const CButtonState& buttons)
{
	return mouseableArea.pointInside (where);
}

bool CView::attached (CFrame* parent)
{
	frame = parent;
	return true;
}

bool CView::removed (CFrame* parent)
{
	frame = nullptr;
	return true;
}

void CView::invalid ()
{
	if (frame)
		frame->invalidRect (size);
	dirty = false;
}

void CView::setViewSize (const CRect& rect, bool invalidate)
{
	if (invalidate)
		invalid ();
	size = rect;
	mouseableArea = rect;
	if (invalidate)
		invalid ();
}

void CView::setVisible (bool state)
{
	if (visible == state)
		return;
	visible = state;
	invalid ();
}

void CView::setBackground (CBitmap* bitmap)
{
	if (bitmap)
		bitmap->remember ();
	if (background)
		background->forget ();
	background = bitmap;
	setDirty (true);
}

} // namespace VSTGUI

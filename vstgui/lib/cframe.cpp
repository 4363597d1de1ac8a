#include "cframe.h"

#include "cbitmap.h"
#include "cdrawcontext.h"
#include "vstguieditorinterface.h"

#include <algorithm>

namespace VSTGUI {

CFrame::CFrame (const CRect& size, void* systemWindow, VSTGUIEditorInterface* editor)
: CView (size), editor (editor)
{
	frame = this;
	if (auto* parent = static_cast<const PlatformParent*> (systemWindow))
		platformFrame = createPlatformFrame (this, size, *parent);
}

CFrame::~CFrame ()
{
	// The window goes first, so nothing calls back into a half-dismantled frame.
	delete platformFrame;
	platformFrame = nullptr;
	setCaptureView (nullptr);
	focusView = nullptr;
	if (modalView)
		modalView->forget ();
	modalView = nullptr;
	removeAll (true);
	frame = nullptr;
}

bool CFrame::addView (CView* view)
{
	if (!view || view->getFrame ())
		return false;
	views.push_back (view);
	view->attached (this);
	view->invalid ();
	return true;
}

bool CFrame::removeView (CView* view, bool withForget)
{
	auto found = std::find (views.begin (), views.end (), view);
	if (found == views.end ())
		return false;
	view->invalid ();
	if (focusView == view)
		setFocusView (nullptr);
	if (modalView == view)
		setModalView (nullptr);
	if (captureView == view)
		setCaptureView (nullptr);
	views.erase (found);
	view->removed (this);
	if (withForget)
		view->forget ();
	return true;
}

void CFrame::removeAll (bool withForget)
{
	while (!views.empty ())
		removeView (views.back (), withForget);
}

CView* CFrame::getView (int32_t index) const
{
	if (index < 0 || index >= getNbViews ())
		return nullptr;
	return views[static_cast<size_t> (index)];
}

bool CFrame::isChild (const CView* view) const
{
	return std::find (views.begin (), views.end (), view) != views.end ();
}

void CFrame::draw (CDrawContext* context)
{
	drawRect (context, size);
}

void CFrame::drawRect (CDrawContext* context, const CRect& rect)
{
	if (background)
		background->draw (context, size);
	for (CView* view : views)
		if (view != modalView && view->isVisible () && view->getViewSize ().rectOverlap (rect))
			view->draw (context);
	if (modalView && modalView->isVisible ())
		modalView->draw (context);
}

void CFrame::idle ()
{
	for (CView* view : views)
		if (view->isDirty ())
			view->invalid ();
	if (modalView && modalView->isDirty ())
		modalView->invalid ();
}

void CFrame::invalidRect (const CRect& rect)
{
	CRect visible (rect);
	visible.bound (size);
	if (platformFrame && !visible.isEmpty ())
		platformFrame->invalidRect (visible);
}

bool CFrame::setSize (CCoord width, CCoord height)
{
	size.right = size.left + width;
	size.bottom = size.top + height;
	mouseableArea = size;
	if (platformFrame)
		platformFrame->setSize (size);
	invalidRect (size);
	return true;
}

void CFrame::setFocusView (CView* view)
{
	if (view == focusView)
		return;
	CView* previous = focusView;
	focusView = view;
	if (previous)
		previous->looseFocus ();
	if (focusView)
		focusView->takeFocus ();
	if (platformFrame)
	{
		if (focusView && !previous)
			platformFrame->takeKeyboardFocus ();
		else if (!focusView && previous)
			platformFrame->releaseKeyboardFocus ();
	}
}

void CFrame::setModalView (CView* view)
{
	if (view == modalView)
		return;
	if (view)
		view->remember ();
	if (modalView)
	{
		modalView->invalid ();
		modalView->forget ();
	}
	modalView = view;
	if (modalView)
		modalView->invalid ();
}

void CFrame::setCaptureView (CView* view)
{
	if (view)
		view->remember ();
	if (captureView)
		captureView->forget ();
	const bool wasCaptured = captureView != nullptr;
	captureView = view;
	if (platformFrame && wasCaptured != (view != nullptr))
		platformFrame->setMouseCapture (view != nullptr);
}

CView* CFrame::viewAt (const CPoint& where, CButtonState buttons) const
{
	if (modalView)
		return modalView->hitTest (where, buttons) ? modalView : nullptr;
	for (auto view = views.rbegin (); view != views.rend (); ++view)
		if ((*view)->isVisible () && (*view)->getMouseEnabled () &&
		    (*view)->hitTest (where, buttons))
			return *view;
	return nullptr;
}

//------------------------------------------------------------------------ platform side

void CFrame::platformDrawRect (cairo_t* context, const CRect& dirty)
{
	CDrawContext drawContext (context);
	drawRect (&drawContext, dirty);
}

bool CFrame::platformOnMouseDown (const CPoint& where, CButtonState buttons)
{
	CView* view = viewAt (where, buttons);
	if (focusView && focusView != view)
		setFocusView (nullptr);
	if (!view)
		return false;
	view->remember ();
	CPoint point (where);
	const CMouseEventResult result = view->onMouseDown (point, buttons);
	// The view may have left the frame during its own handling (a menu closing itself).
	if (result == kMouseEventHandled && (isChild (view) || view == modalView))
		setCaptureView (view);
	view->forget ();
	return result == kMouseEventHandled || result == kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

bool CFrame::platformOnMouseMoved (const CPoint& where, CButtonState buttons)
{
	// Without a press under way, an open menu list still follows the pointer.
	CView* view = captureView ? captureView : modalView;
	if (!view)
		return false;
	CPoint point (where);
	return view->onMouseMoved (point, buttons) == kMouseEventHandled;
}

bool CFrame::platformOnMouseUp (const CPoint& where, CButtonState buttons)
{
	if (!captureView)
		return false;
	CView* view = captureView;
	view->remember ();
	setCaptureView (nullptr);
	CPoint point (where);
	const bool used = view->onMouseUp (point, buttons) == kMouseEventHandled;
	view->forget ();
	return used;
}

bool CFrame::platformOnMouseWheel (const CPoint& where, float distance, CButtonState buttons)
{
	CView* view = captureView ? captureView : viewAt (where, buttons);
	if (!view)
		return false;
	view->remember ();
	const bool used = view->onWheel (where, distance, buttons);
	view->forget ();
	return used;
}

// Keys go to the focus view, else to the modal view.
CView* CFrame::keyView () const
{
	return focusView ? focusView : modalView;
}

// The view may close itself on the key (an entry list on Return), so it is held meanwhile.
bool CFrame::sendKey (const VstKeyCode& key, bool down)
{
	CView* view = keyView ();
	if (!view)
		return false;
	view->remember ();
	VstKeyCode copy (key);
	const int32_t result = down ? view->onKeyDown (copy) : view->onKeyUp (copy);
	view->forget ();
	return result != -1;
}

bool CFrame::platformOnKeyDown (const VstKeyCode& key)
{
	return sendKey (key, true);
}

bool CFrame::platformOnKeyUp (const VstKeyCode& key)
{
	return sendKey (key, false);
}

void CFrame::platformOnFocusLost ()
{
	setFocusView (nullptr);
}

void VSTGUIEditorInterface::doIdleStuff ()
{
	if (frame)
		frame->idle ();
}

void CFrame::platformOnIdle ()
{
	// An editor runs its own idle work first and then asks the frame for its idle through
	// its timer message, so the views are looked at once a tick.
	if (editor)
		editor->doIdleStuff ();
	else
		idle ();
}

} // namespace VSTGUI

#pragma once
// The editor's top view: it owns the views added to it, draws its background and then the
// views in the order they were added, routes input to them, and talks to the window it
// lives in through the platform seam.

#include "cview.h"
#include "vstgui/platform/iplatformframe.h"

#include <vector>

namespace VSTGUI {

class VSTGUIEditorInterface;

class CFrame : public CView, public IPlatformFrameCallback
{
public:
	// `systemWindow` is a const PlatformParent*: where the frame's window lives. Without
	// one, or when that window cannot be made, the frame still holds and draws its views
	// but shows nothing.
	CFrame (const CRect& size, void* systemWindow, VSTGUIEditorInterface* editor);
	~CFrame () override;

	// Takes over the caller's reference to `view`; false for null or a view already in a
	// frame.
	bool addView (CView* view);
	// Takes `view` out of the frame, dropping the frame's reference when `withForget`.
	bool removeView (CView* view, bool withForget = true);
	void removeAll (bool withForget = true);
	int32_t getNbViews () const { return static_cast<int32_t> (views.size ()); }
	CView* getView (int32_t index) const;
	bool isChild (const CView* view) const;

	void draw (CDrawContext* context) override;
	// Draws the part of the frame inside `rect` (the context's clip is set to it).
	void drawRect (CDrawContext* context, const CRect& rect);

	// Repaints the views whose values changed since the last call; the editor's timer
	// calls it.
	void idle ();
	// Schedules a repaint of `rect` with the window (never paints inside this call).
	void invalidRect (const CRect& rect);
	// The host resized the window.
	bool setSize (CCoord width, CCoord height);

	VSTGUIEditorInterface* getEditor () const { return editor; }
	IPlatformFrame* getPlatformFrame () const { return platformFrame; }
	bool isOpen () const { return platformFrame != nullptr; }

	// The view that takes key input (a text field while it edits), or null.
	void setFocusView (CView* view);
	CView* getFocusView () const { return focusView; }
	// A view that takes every mouse event and draws above all others (a shown credits
	// image, an open menu), or null. The frame holds a reference while it is set.
	void setModalView (CView* view);
	CView* getModalView () const { return modalView; }
	// The view that gets the moves and the up of the current press, or null.
	CView* getMouseCaptureView () const { return captureView; }

	// IPlatformFrameCallback
	void platformDrawRect (cairo_t* context, const CRect& dirty) override;
	bool platformOnMouseDown (const CPoint& where, CButtonState buttons) override;
	bool platformOnMouseMoved (const CPoint& where, CButtonState buttons) override;
	bool platformOnMouseUp (const CPoint& where, CButtonState buttons) override;
	bool platformOnMouseWheel (const CPoint& where, float distance,
	                           CButtonState buttons) override;
	bool platformOnKeyDown (const VstKeyCode& key) override;
	bool platformOnKeyUp (const VstKeyCode& key) override;
	void platformOnFocusLost () override;
	void platformOnIdle () override;

private:
	// The topmost view under `where` that takes the mouse.
	CView* viewAt (const CPoint& where, CButtonState buttons) const;
	void setCaptureView (CView* view);
	CView* keyView () const;
	bool sendKey (const VstKeyCode& key, bool down);

	VSTGUIEditorInterface* editor;
	IPlatformFrame* platformFrame = nullptr;
	std::vector<CView*> views;
	CView* focusView = nullptr;
	CView* modalView = nullptr;
	CView* captureView = nullptr;
};

} // namespace VSTGUI

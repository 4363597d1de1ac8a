// The editor under a user's mouse, offscreen: drags, Shift, the wheel, Ctrl+click and
// double-click on knobs and faders, switches, what the host hears of each gesture, host
// changes moving the controls, and the parameter finder.

#include "EditorFixture.h"
#include "vstgui/lib/canimknob.h"
#include "vstgui/lib/cbuttons.h"
#include "vstgui/lib/coptionmenu.h"
#include "vstgui/lib/cslider.h"
#include "vstgui/lib/ctext.h"

#include <string>

namespace QuillmereEditorTest {
namespace {

using namespace VSTGUI;

class GestureTest : public OpenEditorTest
{
protected:
	// A press at `from`, moves in steps of 5 pixels to `from` + (0, dy), and the release.
	void drag (int32 slot, CCoord dy, CButtonState modifiers = 0)
	{
		const CPoint from = centreOf (view->getControl (slot));
		window->mouseDown (from, kLButton | modifiers);
		const CCoord step = dy < 0 ? -5 : 5;
		for (CCoord moved = step; step * moved <= step * dy; moved += step)
			window->mouseMoved (CPoint (from.x, from.y + moved), kLButton | modifiers);
		window->mouseUp (CPoint (from.x, from.y + dy), kLButton | modifiers);
	}

	ParamValue parameterDefault (ParamID id)
	{
		return effect->getParameterObject (id)->getInfo ().defaultNormalizedValue;
	}
};

TEST_F (GestureTest, KnobDragIsOneBracketedEditThatMovesItsField)
{
	effect->setParamNormalized (5, 0.2);
	handler.clear ();
	const CPoint from = centreOf (view->getControl (kDecayKnob));
	window->mouseDown (from);
	EXPECT_TRUE (window->isMouseCaptured ());
	for (CCoord y = from.y - 5; y >= from.y - 40; y -= 5)
		window->mouseMoved (CPoint (from.x, y));
	window->mouseUp (CPoint (from.x, from.y - 40));
	EXPECT_FALSE (window->isMouseCaptured ());

	const std::string summary = editSummary (handler);
	EXPECT_EQ (summary.substr (0, 3), "b5 ");
	EXPECT_EQ (summary.substr (summary.size () - 3), " e5");
	EXPECT_EQ (summary.find ("b", 1), std::string::npos) << summary;
	const std::vector<ParamValue> values = performedValues (handler, 5);
	ASSERT_EQ (values.size (), 8u) << summary;
	for (size_t i = 1; i < values.size (); ++i)
		EXPECT_GT (values[i], values[i - 1]);
	const ParamValue last = values.back ();
	EXPECT_GT (last, 0.2);
	EXPECT_DOUBLE_EQ (effect->getParamNormalized (5), last);
	EXPECT_EQ (control<CTextEdit> (view, kDecayText)->getText (), parameterText (*effect, 5, last));

	// Dragged out of the window, the knob still follows, up to its end.
	window->mouseDown (from);
	window->mouseMoved (CPoint (from.x + 2000, -3000));
	window->mouseUp (CPoint (from.x + 2000, -3000));
	EXPECT_DOUBLE_EQ (effect->getParamNormalized (5), 1.0);
}

TEST_F (GestureTest, ShiftDragsAndShiftWheelMoveLess)
{
	for (int32 slot : {kPredelayKnob, kDrySlider})
	{
		const ParamID id = static_cast<ParamID> (kControlInfo[slot].parameter);
		SCOPED_TRACE ("id " + std::to_string (id));
		double moved[2];
		for (int fine = 0; fine < 2; ++fine)
		{
			effect->setParamNormalized (id, 0.5);
			drag (slot, -40, fine ? CButtonState (kShift) : CButtonState (0));
			moved[fine] = effect->getParamNormalized (id) - 0.5;
		}
		EXPECT_GT (moved[1], 0.0);
		EXPECT_LT (moved[1] * 5, moved[0]);
	}

	// Each wheel step is a whole edit; up turns up, Shift steps finer.
	effect->setParamNormalized (6, 0.5);
	handler.clear ();
	const CPoint knob = centreOf (view->getControl (kRoomSizeKnob));
	EXPECT_TRUE (window->wheel (knob, 1.f));
	const double step = effect->getParamNormalized (6) - 0.5;
	EXPECT_TRUE (window->wheel (knob, -1.f, kShift));
	const double fineStep = 0.5 + step - effect->getParamNormalized (6);
	EXPECT_GT (step, 0.0);
	EXPECT_GT (fineStep, 0.0);
	EXPECT_LT (fineStep * 5, step);
	EXPECT_EQ (editSummary (handler), "b6 p6 e6 b6 p6 e6");
	EXPECT_TRUE (window->wheel (centreOf (view->getControl (kWetSlider)), 1.f));
	EXPECT_EQ (editSummary (handler).substr (17), " b18 p18 e18");
}

TEST_F (GestureTest, CtrlClickAndDoubleClickRestoreTheDefaultInOneBracket)
{
	struct Case
	{
		int32 slot;
		CButtonState buttons;
	};
	for (const Case& c : {Case {kDampKnob, kLButton | kControl}, Case {kDampKnob, kLButton | kDoubleClick},
	                      Case {kWetSlider, kLButton | kControl}, Case {kWetSlider, kLButton | kDoubleClick}})
	{
		const ParamID id = static_cast<ParamID> (kControlInfo[c.slot].parameter);
		SCOPED_TRACE ("id " + std::to_string (id) + " buttons " + std::to_string (c.buttons));
		effect->setParamNormalized (id, 0.93);
		handler.clear ();
		window->click (centreOf (view->getControl (c.slot)), c.buttons);
		const std::string n = std::to_string (id);
		EXPECT_EQ (editSummary (handler), "b" + n + " p" + n + " e" + n);
		EXPECT_NEAR (effect->getParamNormalized (id), parameterDefault (id), 1e-6);
		EXPECT_FALSE (window->isMouseCaptured ());
	}
}

TEST_F (GestureTest, FaderFollowsItsHandleAndJumpsToAClickOnTheTrack)
{
	auto* fader = control<CVerticalSlider> (view, kReverbSlider);
	ASSERT_NE (fader, nullptr);
	effect->setParamNormalized (17, 0.5);
	handler.clear ();
	// A click low on the track (above the value field that covers its foot) brings the
	// handle there: the value drops.
	const CRect track = fader->getViewSize ();
	const CCoord fieldTop = view->getControl (kReverbText)->getViewSize ().top;
	window->click (CPoint ((track.left + track.right) / 2, fieldTop - 3));
	EXPECT_LT (effect->getParamNormalized (17), 0.1);
	EXPECT_EQ (editSummary (handler), "b17 p17 e17");

	// Grabbing the handle and moving it by a third of its travel moves the value by a third.
	effect->setParamNormalized (17, 0.5);
	const CRect handle = fader->getHandleRect ();
	const CCoord travel = fader->getRangeHandle () - handle.height ();
	const CPoint grip ((handle.left + handle.right) / 2, (handle.top + handle.bottom) / 2);
	window->mouseDown (grip);
	EXPECT_DOUBLE_EQ (effect->getParamNormalized (17), 0.5) << "grabbing the handle moves nothing";
	window->mouseMoved (CPoint (grip.x, grip.y - travel / 3));
	window->mouseUp (CPoint (grip.x, grip.y - travel / 3));
	EXPECT_NEAR (effect->getParamNormalized (17), 0.5 + 1.0 / 3.0, 0.01);
}

TEST_F (GestureTest, SwitchesToggleAndTheHostHearsEachClick)
{
	effect->setParamNormalized (20, 0.0);
	handler.clear ();
	const CPoint dry = centreOf (view->getControl (kDryBypass));
	window->click (dry);
	EXPECT_EQ (effect->getParamNormalized (20), 1.0);
	window->click (dry);
	EXPECT_EQ (effect->getParamNormalized (20), 0.0);
	EXPECT_EQ (editSummary (handler), "b20 p20 e20 b20 p20 e20");
	EXPECT_EQ (performedValues (handler, 20), (std::vector<ParamValue> {1.0, 0.0}));

	window->click (centreOf (view->getControl (kBypass)));
	EXPECT_EQ (effect->getParamNormalized (19), 1.0);

	// The credits open over everything and close on the next click; the host hears nothing.
	handler.clear ();
	auto* credits = control<CSplashScreen> (view, kCredits);
	window->click (centreOf (credits));
	EXPECT_TRUE (credits->isShown ());
	window->click (centreOf (credits));
	EXPECT_FALSE (credits->isShown ());
	EXPECT_EQ (editSummary (handler), "");
}

TEST_F (GestureTest, HostChangesSetMenusAndSwitches)
{
	struct Case
	{
		ParamID id;
		ParamValue value;
		int32 slot;
		float shown;
	};
	const Case cases[] = {
	    {3, 1.0, kEarlyVariationMenu, 11.f}, {3, 0.0, kEarlyVariationMenu, 0.f},
	    {3, 0.5, kEarlyVariationMenu, 6.f},  {4, 1.0, kReverbVariationMenu, 4.f},
	    {4, 0.79, kReverbVariationMenu, 3.f}, {19, 0.51, kBypass, 1.f},
	    {19, 0.5, kBypass, 0.f},             {20, 0.51, kDryBypass, 1.f},
	    {20, 0.5, kDryBypass, 0.f},          {21, 0.51, kEarlyBypass, 1.f},
	    {21, 0.5, kEarlyBypass, 0.f},        {22, 0.51, kReverbBypass, 1.f},
	    {22, 0.5, kReverbBypass, 0.f},       {23, 0.51, kWetBypass, 1.f},
	    {23, 0.5, kWetBypass, 0.f},
	};
	for (const Case& c : cases)
	{
		effect->setParamNormalized (c.id, c.value);
		EXPECT_EQ (view->getControl (c.slot)->getValue (), c.shown)
		    << "id " << c.id << " at " << c.value;
	}
	auto* menu = control<COptionMenu> (view, kEarlyVariationMenu);
	effect->setParamNormalized (3, 1.0);
	EXPECT_STREQ (menu->getCurrentEntry (), "Variation 12");

	// The meter has no control: nothing moves.
	std::vector<float> before;
	for (int32 slot = 0; slot < QuillmereEditorView::kControlCount; ++slot)
		before.push_back (view->getControl (slot)->getValue ());
	const std::string dryText = control<CTextEdit> (view, kDryText)->getText ();
	effect->setParamNormalized (27, 1.0);
	effect->setParamNormalized (27, 0.0);
	for (int32 slot = 0; slot < QuillmereEditorView::kControlCount; ++slot)
		EXPECT_EQ (view->getControl (slot)->getValue (), before[slot]) << "slot " << slot;
	EXPECT_EQ (control<CTextEdit> (view, kDryText)->getText (), dryText);
	EXPECT_EQ (editSummary (handler), "") << "showing values is no edit";
}

TEST_F (GestureTest, TwoEditorsFollowEachOther)
{
	QuillmereEditorView* other = openView ();
	ASSERT_NE (other, nullptr);
	drag (kWidthKnob, -30);
	const ParamValue value = effect->getParamNormalized (2);
	EXPECT_FLOAT_EQ (other->getControl (kWidthKnob)->getValue (), static_cast<float> (value));
	EXPECT_EQ (control<CTextEdit> (other, kWidthText)->getText (), parameterText (*effect, 2, value));

	offscreen (other)->click (centreOf (other->getControl (kWetBypass)));
	EXPECT_EQ (view->getControl (kWetBypass)->getValue (), 1.f);
}

TEST_F (GestureTest, FindParameterNamesWhatLiesUnderThePoint)
{
	ParamID found = 999;
	const CPoint dryField = centreOf (view->getControl (kDryText));
	EXPECT_EQ (view->findParameter (dryField.x, dryField.y, found), kResultOk);
	EXPECT_EQ (found, 0u);
	found = 999;
	for (int32 slot : {kPresetMenu, kSkinMenu, kNextPreset, kPreviousPreset, kPresetLock, kCredits})
	{
		const CPoint where = centreOf (view->getControl (slot));
		EXPECT_EQ (view->findParameter (where.x, where.y, found), kResultFalse) << "slot " << slot;
	}
	EXPECT_EQ (found, 999u) << "a miss leaves the result alone";
	EXPECT_EQ (view->findParameter (-5, -5, found), kResultFalse);

	for (int32 slot = 0; slot < QuillmereEditorView::kControlCount; ++slot)
	{
		if (kControlInfo[slot].parameter == kNoParameter)
			continue;
		const CPoint where = centreOf (view->getControl (slot));
		ASSERT_EQ (view->findParameter (where.x, where.y, found), kResultOk) << "slot " << slot;
		EXPECT_EQ (found, static_cast<ParamID> (kControlInfo[slot].parameter)) << "slot " << slot;
	}

	closeView (view);
	EXPECT_EQ (view->findParameter (dryField.x, dryField.y, found), kResultFalse);
	EXPECT_EQ (view->executeMenuItem (0), kResultFalse);
}

TEST_F (GestureTest, StrayAndLateCallsChangeNothing)
{
	const ParamValue decay = effect->getParamNormalized (5);
	view->valueChanged (nullptr);
	view->controlBeginEdit (nullptr);
	view->controlEndEdit (nullptr);
	// A control whose tag the editor does not know.
	CAnimKnob stranger (CRect (0, 0, 10, 10), view, controlTag ("zzKn"), nullptr);
	stranger.setValue (0.9f);
	view->valueChanged (&stranger);
	view->controlBeginEdit (&stranger);
	EXPECT_EQ (view->controlModifierClicked (&stranger, kControl | kLButton), 0);
	EXPECT_EQ (editSummary (handler), "");

	// Closed: the controls the host still holds report nothing.
	CControl* knob = view->getControl (kDecayKnob);
	knob->remember ();
	closeView (view);
	knob->setValue (0.1f);
	view->valueChanged (knob);
	view->controlBeginEdit (knob);
	view->controlEndEdit (knob);
	knob->forget ();
	EXPECT_EQ (effect->getParamNormalized (5), decay);
	EXPECT_EQ (editSummary (handler), "");
	view->beginEdit (5);
	view->endEdit (5);
	EXPECT_EQ (editSummary (handler), "") << "the toolkit's own brackets stay in the editor";
}

} // namespace
} // namespace QuillmereEditorTest

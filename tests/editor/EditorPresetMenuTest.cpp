// Menus and presets in the editor, offscreen: the entry list drawn inside the window, how it
// is chosen from and closed, the previous and next buttons, the lock, what the host hears
// when a preset is applied, and the skin menu.

#include "EditorFixture.h"
#include "FactoryPresets.h"
#include "vstgui/lib/cbuttons.h"
#include "vstgui/lib/coptionmenu.h"
#include "vstgui/lib/ctext.h"

#include <algorithm>
#include <string>

namespace QuillmereEditorTest {
namespace {

using namespace VSTGUI;

VstKeyCode virtualKey (uint8_t virt)
{
	VstKeyCode key;
	key.virt = virt;
	return key;
}

// "b0 p0 e0 b1 p1 e1 ..." for the ids in order.
std::string bracketsFor (std::initializer_list<ParamID> skipped)
{
	std::string summary;
	for (ParamID id = 0; id <= 25; ++id)
	{
		if (std::find (skipped.begin (), skipped.end (), id) != skipped.end ())
			continue;
		const std::string n = std::to_string (id);
		summary += (summary.empty () ? "b" : " b") + n + " p" + n + " e" + n;
	}
	return summary;
}

class MenuTest : public OpenEditorTest
{
protected:
	COptionMenu* menu (int32 slot) { return control<COptionMenu> (view, slot); }

	// Clicks the menu and returns its open entry list.
	COptionMenuPopup* openList (int32 slot)
	{
		window->click (centreOf (menu (slot)));
		return dynamic_cast<COptionMenuPopup*> (view->getFrame ()->getModalView ());
	}

	void clickButton (int32 slot) { window->click (centreOf (view->getControl (slot))); }

	// Pixels in `area` bright enough to be the list's text on its dark ground.
	int32 brightPixels (const CRect& area)
	{
		int32 count = 0;
		for (CCoord y = area.top; y < area.bottom; ++y)
			for (CCoord x = area.left; x < area.right; ++x)
				if (((window->pixel (x, y) >> 8) & 0xff) > 160)
					++count;
		return count;
	}

};

// The entry lists in both skins: their place and look depend on the window's size.
class EntryListTest : public MenuTest, public ::testing::WithParamInterface<int32>
{
protected:
	void SetUp () override
	{
		EditorTest::SetUp ();
		if (GetParam () == 2)
			home.writeConfig ("QuillmereSkin= 2\n");
		openEditor ();
	}

	std::string picturePath (const char* name)
	{
		return std::string (QUILLMERE_PICTURE_DIR) + "/" + name + std::to_string (GetParam ()) + ".png";
	}
};

TEST_P (EntryListTest, AllPresetsShowReadablyInsideTheWindow)
{
	COptionMenuPopup* list = openList (kPresetMenu);
	ASSERT_NE (list, nullptr);
	EXPECT_TRUE (window->hasKeyboardFocus ()) << "the list takes the arrow keys";
	const CRect bounds = view->getFrame ()->getViewSize ();
	for (int32 index = 0; index < kNumFactoryPresets; ++index)
	{
		CRect entry = list->getEntryRect (index);
		ASSERT_FALSE (entry.isEmpty ()) << kFactoryPresetNames[index];
		CRect inside (entry);
		inside.bound (bounds);
		EXPECT_EQ (inside, entry) << kFactoryPresetNames[index] << " runs out of the window";
	}
	window->render ();
	EXPECT_TRUE (window->writePNG (picturePath ("editor-preset-list-skin").c_str ()));
	for (int32 index = 0; index < kNumFactoryPresets; ++index)
		EXPECT_GT (brightPixels (list->getEntryRect (index)), 20) << kFactoryPresetNames[index];
	list->close ();
	EXPECT_EQ (view->getFrame ()->getModalView (), nullptr);
	EXPECT_FALSE (window->hasKeyboardFocus ());
}

TEST_P (EntryListTest, ChoosingAnEntryAppliesThePreset)
{
	COptionMenuPopup* list = openList (kPresetMenu);
	ASSERT_NE (list, nullptr);
	const CRect entry = list->getEntryRect (26);
	const CPoint where ((entry.left + entry.right) / 2, (entry.top + entry.bottom) / 2);
	window->mouseMoved (where, 0);
	EXPECT_EQ (list->getHighlighted (), 26) << "the pointer highlights the entry under it";
	window->click (where);
	EXPECT_EQ (view->getFrame ()->getModalView (), nullptr);
	EXPECT_EQ (effect->presetIndex, 26);
	EXPECT_STREQ (menu (kPresetMenu)->getCurrentEntry (), "Deep cave");
	EXPECT_EQ (editSummary (handler), bracketsFor ({19}));
	EXPECT_EQ (control<CTextEdit> (view, kPredelayText)->getText (),
	           parameterText (*effect, 1, effect->getParamNormalized (1)));
}

TEST_F (MenuTest, EscapeAndAClickOutsideCloseWithoutChange)
{
	effect->presetIndex = 4;
	menu (kPresetMenu)->setValue (4.f);
	COptionMenuPopup* list = openList (kPresetMenu);
	ASSERT_NE (list, nullptr);
	EXPECT_EQ (list->getHighlighted (), 4) << "the list opens at the current entry";
	window->wheel (centreOf (list), -1.f);
	window->keyDown (virtualKey (VKEY_DOWN));
	EXPECT_EQ (list->getHighlighted (), 6);
	EXPECT_TRUE (window->keyDown (virtualKey (VKEY_ESCAPE)));
	EXPECT_EQ (view->getFrame ()->getModalView (), nullptr);

	// A click outside the list closes it and reaches nothing below.
	list = openList (kPresetMenu);
	ASSERT_NE (list, nullptr);
	const CPoint bypass = centreOf (view->getControl (kBypass));
	ASSERT_FALSE (list->getViewSize ().pointInside (bypass));
	window->click (bypass);
	EXPECT_EQ (view->getFrame ()->getModalView (), nullptr);
	EXPECT_EQ (effect->getParamNormalized (19), 0.0);
	EXPECT_EQ (effect->presetIndex, 4);
	EXPECT_EQ (editSummary (handler), "");

	// Arrow keys and Return choose as well.
	list = openList (kPresetMenu);
	window->keyDown (virtualKey (VKEY_UP));
	window->keyDown (virtualKey (VKEY_RETURN));
	EXPECT_EQ (effect->presetIndex, 3);
	EXPECT_EQ (view->getFrame ()->getModalView (), nullptr);
}

TEST_F (MenuTest, NextAndPreviousStepOncePerClickAndWrap)
{
	clickButton (kNextPreset);
	EXPECT_EQ (effect->presetIndex, 1);
	EXPECT_STREQ (menu (kPresetMenu)->getCurrentEntry (), "Ambience");
	EXPECT_EQ (view->getControl (kNextPreset)->getValue (), 0.f) << "the button springs back";
	EXPECT_EQ (editSummary (handler), bracketsFor ({19})) << "one click applies one preset";

	clickButton (kPreviousPreset);
	EXPECT_EQ (effect->presetIndex, 0);
	clickButton (kPreviousPreset);
	EXPECT_EQ (effect->presetIndex, 35);
	EXPECT_STREQ (menu (kPresetMenu)->getCurrentEntry (), "Chorus B");
	clickButton (kNextPreset);
	EXPECT_EQ (effect->presetIndex, 0);
}

TEST_F (MenuTest, DefaultWritesTwentyFiveParametersInOrderAndLeavesBypassAlone)
{
	effect->setParamNormalized (19, 1.0);
	effect->presetIndex = 35;
	handler.clear ();
	clickButton (kNextPreset);
	EXPECT_EQ (effect->presetIndex, 0);
	EXPECT_EQ (editSummary (handler), bracketsFor ({19}));
	EXPECT_EQ (effect->getParamNormalized (19), 1.0) << "a bypassed effect stays bypassed";
	EXPECT_EQ (std::string (control<CTextEdit> (view, kPredelayText)->getText ()), "20.0");
	EXPECT_EQ (control<CTextEdit> (view, kDecayText)->getText (),
	           parameterText (*effect, 5, effect->getParamNormalized (5)));
	EXPECT_EQ (view->getControl (kBypass)->getValue (), 1.f);
}

TEST_F (MenuTest, TheLockKeepsDryWetAndTheirBypasses)
{
	clickButton (kPresetLock);
	EXPECT_TRUE (effect->presetLock);
	EXPECT_EQ (editSummary (handler), "") << "the lock is no parameter";
	const ParamID kept[] = {0, 18, 20, 23};
	const ParamValue keptValues[] = {0.3, 0.7, 1.0, 1.0};
	for (size_t i = 0; i < 4; ++i)
		effect->setParamNormalized (kept[i], keptValues[i]);
	effect->setParamNormalized (21, 1.0);
	effect->setParamNormalized (22, 1.0);
	handler.clear ();
	clickButton (kNextPreset);
	for (size_t i = 0; i < 4; ++i)
		EXPECT_EQ (effect->getParamNormalized (kept[i]), keptValues[i]) << "id " << kept[i];
	EXPECT_EQ (effect->getParamNormalized (21), 0.0);
	EXPECT_EQ (effect->getParamNormalized (22), 0.0);
	EXPECT_EQ (editSummary (handler), bracketsFor ({0, 18, 19, 20, 23}));

	// Shared by the effect's editors, and it outlives a closed editor.
	QuillmereEditorView* other = openView ();
	ASSERT_NE (other, nullptr);
	EXPECT_EQ (other->getControl (kPresetLock)->getValue (), 1.f);
	EXPECT_STREQ (control<COptionMenu> (other, kPresetMenu)->getCurrentEntry (), "Ambience");
	clickButton (kPresetLock);
	EXPECT_FALSE (effect->presetLock);
}

TEST_F (MenuTest, VariationMenusAreBracketedEdits)
{
	COptionMenuPopup* list = openList (kEarlyVariationMenu);
	ASSERT_NE (list, nullptr);
	const CRect entry = list->getEntryRect (11);
	window->click (CPoint (entry.left + 20, (entry.top + entry.bottom) / 2));
	EXPECT_EQ (editSummary (handler), "b3 p3 e3");
	EXPECT_EQ (effect->getParamNormalized (3), 1.0);
	EXPECT_EQ (performedValues (handler, 3), (std::vector<ParamValue> {1.0}));
}

TEST_P (EntryListTest, SkinMenuWritesTheFileAndLeavesTheOpenEditorAlone)
{
	const CRect before = view->getFrame ()->getViewSize ();
	CControl* knob = view->getControl (kDecayKnob);
	COptionMenuPopup* list = openList (kSkinMenu);
	ASSERT_NE (list, nullptr);
	window->render ();
	EXPECT_TRUE (window->writePNG (picturePath ("editor-skin-list-skin").c_str ()));
	for (int32 index = 0; index < 2; ++index)
		EXPECT_GT (brightPixels (list->getEntryRect (index)), 200)
		    << "the skin entries are readable although the closed menu shows no text";
	const int32 other = GetParam () == 2 ? 0 : 1; // the skin not open
	const CRect entry = list->getEntryRect (other);
	window->click (CPoint (entry.left + 30, (entry.top + entry.bottom) / 2));
	EXPECT_EQ (home.readConfig (), "QuillmereSkin= " + std::to_string (other + 1) + "\n");
	EXPECT_EQ (effect->skin, other + 1);
	EXPECT_EQ (view->getFrame ()->getViewSize (), before);
	EXPECT_EQ (view->getControl (kDecayKnob), knob);
	EXPECT_EQ (editSummary (handler), "");
}

TEST_F (MenuTest, ClosingTheEditorWithAListOpenIsClean)
{
	ASSERT_NE (openList (kPresetMenu), nullptr);
	closeView (view);
	EXPECT_EQ (view->getFrame (), nullptr);
	EXPECT_EQ (editSummary (handler), "");
	ASSERT_TRUE (openOffscreen (view));
	EXPECT_EQ (view->getFrame ()->getModalView (), nullptr);
	// Clicking a menu with a list open closes that list rather than opening another.
	window = offscreen (view);
	ASSERT_NE (openList (kEarlyVariationMenu), nullptr);
	window->click (centreOf (menu (kEarlyVariationMenu)));
	EXPECT_EQ (view->getFrame ()->getModalView (), nullptr);
}

INSTANTIATE_TEST_SUITE_P (BothSkins, EntryListTest, ::testing::Values (1, 2),
                          [] (const ::testing::TestParamInfo<int32>& info) {
	                          return "Skin" + std::to_string (info.param);
                          });

} // namespace
} // namespace QuillmereEditorTest

// Both skins, control by control: each slot holds the control the layout names, with its
// tag, class, rectangle, bitmap and text style, created (and so drawn) in layout order.

#include "EditorFixture.h"
#include "vstgui/lib/canimknob.h"
#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cbuttons.h"
#include "vstgui/lib/coptionmenu.h"
#include "vstgui/lib/cslider.h"
#include "vstgui/lib/ctext.h"

#include <cstring>
#include <map>
#include <string>

namespace QuillmereEditorTest {
namespace {

using namespace VSTGUI;

struct Row
{
	const char* tag; // empty for the version label
	CRect rect;
	const char* bitmap; // empty for none
};

const Row kSkin1Rows[52] = {
	{"prKn", {79, 101, 167, 189}, "knob_green.png"},
	{"prTx", {82, 182, 165, 207}, ""},
	{"wdKn", {79, 268, 167, 356}, "knob_green.png"},
	{"wdTx", {82, 349, 165, 374}, ""},
	{"rsKn", {331, 101, 419, 189}, "knob_blue.png"},
	{"rsTx", {335, 182, 418, 207}, ""},
	{"dfKn", {331, 268, 419, 356}, "knob_blue.png"},
	{"dfTx", {335, 349, 418, 374}, ""},
	{"diKn", {430, 101, 518, 189}, "knob_blue.png"},
	{"diTx", {433, 182, 516, 207}, ""},
	{"dmKn", {430, 268, 518, 356}, "knob_blue.png"},
	{"dmTx", {433, 349, 516, 374}, ""},
	{"fmKn", {529, 268, 617, 356}, "knob_blue.png"},
	{"fmTx", {532, 349, 615, 374}, ""},
	{"pmKn", {529, 101, 617, 189}, "knob_blue.png"},
	{"pmTx", {532, 182, 615, 207}, ""},
	{"lgKn", {629, 101, 717, 189}, "knob_orange2.png"},
	{"lgTx", {632, 182, 715, 207}, ""},
	{"lsKn", {629, 268, 717, 356}, "knob_orange.png"},
	{"lsTx", {632, 349, 715, 374}, ""},
	{"pgKn", {725, 101, 813, 189}, "knob_orange2.png"},
	{"pgTx", {728, 182, 811, 207}, ""},
	{"piKn", {725, 268, 813, 356}, "knob_orange.png"},
	{"piTx", {728, 349, 811, 374}, ""},
	{"hgKn", {821, 101, 909, 189}, "knob_orange2.png"},
	{"hgTx", {824, 182, 907, 207}, ""},
	{"hsKn", {821, 268, 909, 356}, "knob_orange.png"},
	{"hsTx", {825, 349, 908, 374}, ""},
	{"dtKn", {179, 220, 319, 360}, "knob_large.png"},
	{"dtTx", {195, 349, 303, 374}, ""},
	{"drSl", {13, 80, 65, 363}, "fader_left.png"},
	{"drTx", {13, 349, 69, 374}, ""},
	{"erSl", {932, 80, 984, 363}, "fader_right.png"},
	{"erTx", {927, 349, 983, 374}, ""},
	{"reSl", {989, 80, 1041, 363}, "fader_right.png"},
	{"reTx", {984, 349, 1040, 374}, ""},
	{"weSl", {1046, 80, 1098, 363}, "fader_right.png"},
	{"weTx", {1040, 349, 1096, 374}, ""},
	{"erMn", {178, 80, 323, 110}, ""},
	{"rvMn", {178, 135, 323, 165}, ""},
	{"drbp", {21, 47, 63, 78}, "dry_bp.png"},
	{"erbp", {932, 47, 974, 78}, "e.r_bp.png"},
	{"rebp", {975, 47, 1045, 78}, "reverb_bp.png"},
	{"webp", {1047, 47, 1089, 78}, "wet_bp.png"},
	{"bpbp", {932, 6, 1088, 35}, "toggle_bp.png"},
	{"lapr", {329, 7, 352, 34}, "last_preset.png"},
	{"nepr", {571, 7, 594, 34}, "next_preset.png"},
	{"lodw", {598, 7, 621, 34}, "lock_button.png"},
	{"spsn", {6, 5, 201, 36}, "credits_new.png"},
	{"", {211, 20, 301, 40}, ""},
	{"prMn", {356, 5, 568, 33}, ""},
	{"guMn", {673, 3, 914, 37}, ""},
};

const Row kSkin2Rows[52] = {
	{"prKn", {76, 96, 146, 166}, "knob_red.png"},
	{"prTx", {82, 164, 142, 188}, ""},
	{"wdKn", {76, 246, 146, 316}, "knob_red.png"},
	{"wdTx", {82, 314, 142, 338}, ""},
	{"rsKn", {303, 96, 373, 166}, "knob_blue2.png"},
	{"rsTx", {308, 164, 368, 188}, ""},
	{"dfKn", {303, 246, 373, 316}, "knob_blue2.png"},
	{"dfTx", {308, 314, 368, 338}, ""},
	{"diKn", {392, 96, 462, 166}, "knob_blue2.png"},
	{"diTx", {397, 164, 457, 188}, ""},
	{"dmKn", {392, 246, 462, 316}, "knob_blue2.png"},
	{"dmTx", {397, 314, 457, 338}, ""},
	{"fmKn", {481, 246, 551, 316}, "knob_blue2.png"},
	{"fmTx", {486, 314, 546, 338}, ""},
	{"pmKn", {481, 96, 551, 166}, "knob_blue2.png"},
	{"pmTx", {486, 164, 546, 188}, ""},
	{"lgKn", {571, 96, 641, 166}, "knob_orange3.png"},
	{"lgTx", {576, 164, 636, 188}, ""},
	{"lsKn", {571, 246, 641, 316}, "knob_yellow.png"},
	{"lsTx", {576, 314, 636, 338}, ""},
	{"pgKn", {658, 96, 728, 166}, "knob_orange3.png"},
	{"pgTx", {663, 164, 723, 188}, ""},
	{"piKn", {658, 246, 728, 316}, "knob_yellow.png"},
	{"piTx", {663, 314, 723, 338}, ""},
	{"hgKn", {745, 96, 815, 166}, "knob_orange3.png"},
	{"hgTx", {750, 164, 810, 188}, ""},
	{"hsKn", {745, 246, 815, 316}, "knob_yellow.png"},
	{"hsTx", {750, 314, 810, 338}, ""},
	{"dtKn", {173, 209, 277, 313}, "bigknob.png"},
	{"dtTx", {195, 314, 255, 338}, ""},
	{"drSl", {21, 71, 56, 332}, "fader.png"},
	{"drTx", {14, 314, 60, 338}, ""},
	{"erSl", {839, 71, 874, 332}, "fader.png"},
	{"erTx", {832, 314, 878, 338}, ""},
	{"reSl", {892, 71, 927, 332}, "fader.png"},
	{"reTx", {885, 314, 931, 338}, ""},
	{"weSl", {945, 71, 980, 332}, "fader.png"},
	{"weTx", {938, 314, 984, 338}, ""},
	{"erMn", {167, 75, 283, 99}, ""},
	{"rvMn", {167, 125, 283, 149}, ""},
	{"drbp", {18, 42, 59, 68}, "button_dry.png"},
	{"erbp", {836, 42, 877, 68}, "button_ER.png"},
	{"rebp", {889, 42, 930, 68}, "button_rev.png"},
	{"webp", {942, 42, 983, 68}, "button_wet.png"},
	{"bpbp", {917, 5, 982, 31}, "button_byp.png"},
	{"lapr", {297, 7, 319, 29}, "button_prev.png"},
	{"nepr", {513, 7, 535, 29}, "button_next.png"},
	{"lodw", {538, 7, 560, 29}, "button_lock.png"},
	{"spsn", {3, 4, 118, 34}, "credits_new.png"},
	{"", {155, 17, 240, 37}, ""},
	{"prMn", {321, 6, 511, 28}, ""},
	{"guMn", {606, 3, 823, 34}, ""},
};

struct SkinCase
{
	int32 skin;
	const Row* rows;
	CRect window;
	const char* background;
	CCoord faderRange;
	CColor valueColor;
	CFontRef valueFont;
	CColor menuColor;
	CFontRef menuFont;
	CColor labelColor;
	CFontRef labelFont;
	CColor presetColor;
};

const SkinCase kSkins[] = {
    {1, kSkin1Rows, {0, 0, 1105, 381}, "background.png", 283, {164, 164, 164, 255}, kNormalFontBig,
     {164, 164, 164, 255}, kNormalFontVeryBig, {164, 164, 164, 255}, kNormalFont,
     {164, 164, 164, 255}},
    {2, kSkin2Rows, {0, 0, 995, 343}, "background2.png", 261, {57, 57, 57, 255}, kNormalFont,
     {160, 160, 160, 255}, kNormalFontBig, {160, 160, 160, 255}, kNormalFontSmall,
     {160, 160, 160, 255}},
};

int32 tagOf (const char* text)
{
	if (!*text)
		return 0;
	return (text[0] << 24) | (text[1] << 16) | (text[2] << 8) | text[3];
}

bool endsWith (const char* tag, const char* kind)
{
	return std::strlen (tag) == 4 && std::strcmp (tag + 2, kind) == 0;
}

// The class a tag's kind names.
bool hasClassOfTag (CControl* control, const char* tag)
{
	const std::string name (tag);
	if (endsWith (tag, "Kn"))
		return dynamic_cast<CAnimKnob*> (control);
	if (endsWith (tag, "Sl"))
		return dynamic_cast<CVerticalSlider*> (control);
	if (endsWith (tag, "Tx"))
		return dynamic_cast<CTextEdit*> (control);
	if (endsWith (tag, "Mn"))
		return dynamic_cast<COptionMenu*> (control);
	if (endsWith (tag, "bp") || name == "lodw")
		return dynamic_cast<COnOffButton*> (control);
	if (name == "nepr" || name == "lapr")
		return dynamic_cast<CKickButton*> (control);
	if (name == "spsn")
		return dynamic_cast<CSplashScreen*> (control);
	return dynamic_cast<CTextLabel*> (control);
}

CBitmap* bitmapOf (CControl* control)
{
	if (auto* slider = dynamic_cast<CVerticalSlider*> (control))
		return slider->getHandle ();
	return control->getBackground ();
}

class SkinLayoutTest : public EditorTest, public ::testing::WithParamInterface<SkinCase>
{
};

TEST_P (SkinLayoutTest, EverySlotHoldsItsControl)
{
	const SkinCase& skin = GetParam ();
	if (skin.skin == 2)
		home.writeConfig ("QuillmereSkin= 2\n");
	effect->presetIndex = 35;
	QuillmereEditorView* view = openView ();
	ASSERT_NE (view, nullptr);
	CFrame* frame = view->getFrame ();
	ASSERT_EQ (frame->getViewSize (), skin.window);
	ASSERT_EQ (frame->getNbViews (), 52);
	ASSERT_NE (frame->getBackground (), nullptr);
	EXPECT_EQ (frame->getBackground (), view->getBackgroundBitmap ());
	EXPECT_EQ (frame->getBackground ()->getResourceName (), skin.background);
	EXPECT_EQ (frame->getBackground ()->getNbReference (), 2) << "held by the view and the frame";

	std::map<CBitmap*, int32> users;
	std::map<std::string, std::map<CBitmap*, int32>> bitmapsByFile;
	for (int32 order = 0; order < 52; ++order)
	{
		const Row& row = skin.rows[order];
		SCOPED_TRACE (std::string ("row ") + std::to_string (order + 1) + " '" + row.tag + "'");
		// Creation order is drawing order.
		auto* control = dynamic_cast<CControl*> (frame->getView (order));
		ASSERT_NE (control, nullptr);
		EXPECT_EQ (control->getTag (), tagOf (row.tag));
		EXPECT_TRUE (hasClassOfTag (control, row.tag));
		EXPECT_EQ (control->getViewSize (), row.rect);

		// The control's slot in the view's table is the one its tag names.
		int32 slot = -1;
		for (int32 s = 0; s < QuillmereEditorView::kControlCount; ++s)
			if (view->getControl (s) == control)
				slot = s;
		ASSERT_GE (slot, 0);
		EXPECT_EQ (kControlInfo[slot].tag, tagOf (row.tag));

		const bool isLabel = !*row.tag;
		EXPECT_EQ (control->getListener (), isLabel ? nullptr : static_cast<CControlListener*> (view));

		CBitmap* bitmap = bitmapOf (control);
		if (*row.bitmap)
		{
			ASSERT_NE (bitmap, nullptr);
			EXPECT_EQ (bitmap->getResourceName (), row.bitmap);
			++users[bitmap];
			bitmapsByFile[row.bitmap][bitmap] = 1;
		}
		else
			EXPECT_EQ (bitmap, nullptr);

		if (auto* field = dynamic_cast<CTextEdit*> (control))
		{
			EXPECT_EQ (field->getFont (), skin.valueFont);
			EXPECT_EQ (field->getFontColor (), skin.valueColor);
			EXPECT_EQ (field->getBackColor (), kTransparentCColor);
			EXPECT_TRUE (field->getStyle () & kNoFrame);
			EXPECT_EQ (field->getHoriAlign (), kCenterText);
		}
		else if (auto* label = dynamic_cast<CTextLabel*> (control))
		{
			EXPECT_STREQ (label->getText (), "Ver. 2.0.2 Beta");
			EXPECT_EQ (label->getFont (), skin.labelFont);
			EXPECT_EQ (label->getFontColor (), skin.labelColor);
			EXPECT_EQ (label->getBackColor (), kTransparentCColor);
			EXPECT_TRUE (label->getStyle () & kNoFrame);
		}
		else if (auto* slider = dynamic_cast<CVerticalSlider*> (control))
		{
			EXPECT_EQ (slider->getRangeHandle (), skin.faderRange);
			EXPECT_EQ (slider->getRangeHandle (), slider->getHeight ());
			EXPECT_EQ (slider->getStyle (), kRight | kVertical);
			EXPECT_EQ (slider->getBackground (), nullptr);
		}
		else if (auto* button = dynamic_cast<COnOffButton*> (control))
		{
			EXPECT_EQ (button->getStyle (), kPreListenerUpdate);
		}
		else if (auto* splash = dynamic_cast<CSplashScreen*> (control))
		{
			EXPECT_EQ (splash->getDisplayRect ().width (), 341);
		}
	}
	// Sixteen bitmaps, each file loaded once, except the fader handle of skin 2, loaded
	// twice: the dry fader has its own.
	int32 distinct = 0;
	for (const auto& file : bitmapsByFile)
		distinct += static_cast<int32> (file.second.size ());
	EXPECT_EQ (distinct, 16);
	if (skin.skin == 2)
	{
		EXPECT_EQ (bitmapsByFile["fader.png"].size (), 2u);
		EXPECT_EQ (users[bitmapOf (view->getControl (kDrySlider))], 1);
	}
	// The builder let go of its own references: only the controls hold the bitmaps.
	for (const auto& user : users)
		EXPECT_EQ (user.first->getNbReference (), user.second) << user.first->getResourceName ();

	// Menus: entries and initial values.
	auto* earlyMenu = control<COptionMenu> (view, kEarlyVariationMenu);
	auto* reverbMenu = control<COptionMenu> (view, kReverbVariationMenu);
	auto* presetMenu = control<COptionMenu> (view, kPresetMenu);
	auto* skinMenu = control<COptionMenu> (view, kSkinMenu);
	ASSERT_TRUE (earlyMenu && reverbMenu && presetMenu && skinMenu);
	ASSERT_EQ (earlyMenu->getNbEntries (), 12);
	EXPECT_STREQ (earlyMenu->getEntry (0), "Variation 1");
	EXPECT_STREQ (earlyMenu->getEntry (11), "Variation 12");
	ASSERT_EQ (reverbMenu->getNbEntries (), 5);
	EXPECT_STREQ (reverbMenu->getEntry (4), "Variation 5");
	for (COptionMenu* menu : {earlyMenu, reverbMenu})
	{
		EXPECT_EQ (menu->getFont (), skin.menuFont);
		EXPECT_EQ (menu->getFontColor (), skin.menuColor);
		EXPECT_EQ (menu->getBackColor (), kTransparentCColor);
	}
	ASSERT_EQ (presetMenu->getNbEntries (), 36);
	EXPECT_STREQ (presetMenu->getEntry (0), "Default");
	EXPECT_STREQ (presetMenu->getEntry (7), "Large Room");
	EXPECT_STREQ (presetMenu->getCurrentEntry (), "Chorus B");
	EXPECT_EQ (presetMenu->getFont (), kNormalFontVeryBig);
	EXPECT_EQ (presetMenu->getFontColor (), skin.presetColor);
	ASSERT_EQ (skinMenu->getNbEntries (), 2);
	EXPECT_STREQ (skinMenu->getEntry (0), "Skin 1 (will change after reopening the plugin window)");
	EXPECT_STREQ (skinMenu->getEntry (1), "Skin 2 (will change after reopening the plugin window)");
	EXPECT_EQ (skinMenu->getCurrentIndex (), 0) << "the first entry, whatever the skin";
	EXPECT_EQ (skinMenu->getFontColor (), kTransparentCColor);
	EXPECT_EQ (skinMenu->getFont (), kNormalFontVeryBig);
	EXPECT_EQ (view->getControl (kNextPreset)->getValue (), 0.f);
	EXPECT_EQ (view->getControl (kPreviousPreset)->getValue (), 0.f);
	EXPECT_EQ (view->getControl (kPresetLock)->getValue (), 0.f);
}

INSTANTIATE_TEST_SUITE_P (BothSkins, SkinLayoutTest, ::testing::ValuesIn (kSkins),
                          [] (const ::testing::TestParamInfo<SkinCase>& info) {
	                          return "Skin" + std::to_string (info.param.skin);
                          });

} // namespace
} // namespace QuillmereEditorTest

// Typing values into the editor's fields, offscreen: what a click starts, the editing keys,
// how an entry ends (Return, a click elsewhere, Escape), what the parameter makes of the
// text, and keys that a host forwards through IPlugView.

#include "EditorFixture.h"
#include "vstgui/lib/ctext.h"

#include <string>

namespace QuillmereEditorTest {
namespace {

using namespace VSTGUI;

VstKeyCode virtualKey (uint8_t virt, uint8_t modifier = 0)
{
	VstKeyCode key;
	key.virt = virt;
	key.modifier = modifier;
	return key;
}

// The host's key codes for IPlugView::onKeyDown.
constexpr int16 kHostBack = 1, kHostTab = 2, kHostReturn = 4;

class ValueFieldTest : public OpenEditorTest
{
protected:
	CTextEdit* field (int32 slot) { return control<CTextEdit> (view, slot); }

	void press (uint8_t virt, uint8_t modifier = 0)
	{
		window->keyDown (virtualKey (virt, modifier));
		window->keyUp (virtualKey (virt, modifier));
	}

	// Clicks the field, types `text` and presses Return.
	void enter (int32 slot, const char* text)
	{
		window->click (centreOf (field (slot)));
		window->type (text);
		press (VKEY_RETURN);
	}
};

TEST_F (ValueFieldTest, AClickStartsAnEditWithEverythingSelectedAndTheKeyboard)
{
	CTextEdit* predelay = field (kPredelayText);
	const std::string shown = predelay->getText ();
	ASSERT_FALSE (shown.empty ());
	window->click (centreOf (predelay));
	EXPECT_TRUE (predelay->isBeingEdited ());
	EXPECT_TRUE (window->hasKeyboardFocus ()) << "the editor takes X input focus for typing";
	EXPECT_EQ (predelay->getEditedText (), shown);
	EXPECT_EQ (predelay->getSelectionAnchor (), 0u);
	EXPECT_EQ (predelay->getCaret (), shown.size ());

	window->type ("7");
	EXPECT_EQ (predelay->getEditedText (), "7") << "typing replaces the selection";
	press (VKEY_ESCAPE);
	EXPECT_FALSE (predelay->isBeingEdited ());
	EXPECT_FALSE (window->hasKeyboardFocus ()) << "the host's window gets the keyboard back";
	EXPECT_EQ (predelay->getText (), shown) << "Escape brings the old text back";
	EXPECT_EQ (editSummary (handler), "");
}

TEST_F (ValueFieldTest, EditingKeysMoveTheCaretAndDelete)
{
	CTextEdit* width = field (kWidthText);
	window->click (centreOf (width));
	window->type ("12345");
	press (VKEY_LEFT);
	press (VKEY_LEFT);
	press (VKEY_BACK);
	EXPECT_EQ (width->getEditedText (), "1245");
	EXPECT_EQ (width->getCaret (), 2u);
	press (VKEY_DELETE);
	EXPECT_EQ (width->getEditedText (), "125");
	press (VKEY_HOME);
	press (VKEY_DELETE);
	EXPECT_EQ (width->getEditedText (), "25");
	press (VKEY_END);
	window->type ("0");
	EXPECT_EQ (width->getEditedText (), "250");
	press (VKEY_LEFT);
	press (VKEY_HOME, MODIFIER_SHIFT);
	EXPECT_EQ (width->getSelectionAnchor (), 2u);
	EXPECT_EQ (width->getCaret (), 0u);
	press (VKEY_END, MODIFIER_SHIFT);
	EXPECT_EQ (width->getSelectionAnchor (), 2u);
	EXPECT_EQ (width->getCaret (), 3u);
	press (VKEY_HOME, MODIFIER_SHIFT);
	// The field while typing: framed, the selection shaded, a caret.
	window->render ();
	EXPECT_TRUE (window->writePNG (QUILLMERE_PICTURE_DIR "/editor-typing.png"));
	press (VKEY_RIGHT, MODIFIER_SHIFT);
	press (VKEY_BACK);
	EXPECT_EQ (width->getEditedText (), "20") << "Backspace takes the selection \"5\"";
	// Nothing to delete at the ends.
	press (VKEY_HOME);
	press (VKEY_BACK);
	press (VKEY_END);
	press (VKEY_DELETE);
	EXPECT_EQ (width->getEditedText (), "20");
	press (VKEY_RETURN);
	EXPECT_EQ (width->getText (), parameterText (*effect, 2, effect->getParamNormalized (2)));
	EXPECT_NEAR (effect->getParamNormalized (2), 0.2, 1e-6);
}

TEST_F (ValueFieldTest, AnUnreadableEntrySetsTheBottomOfTheRange)
{
	effect->setParamNormalized (1, 0.6);
	handler.clear ();
	enter (kPredelayText, "abc");
	EXPECT_EQ (effect->getParamNormalized (1), 0.0);
	EXPECT_EQ (view->getControl (kPredelayKnob)->getValue (), 0.f);
	EXPECT_EQ (field (kPredelayText)->getText (), parameterText (*effect, 1, 0.0));
	// A typed entry is one performEdit, without brackets.
	EXPECT_EQ (editSummary (handler), "p1");
	EXPECT_FALSE (window->hasKeyboardFocus ());
}

TEST_F (ValueFieldTest, AValidEntryShowsTheParametersOwnFormatting)
{
	struct Case
	{
		int32 slot;
		const char* typed;
	};
	for (const Case& c : {Case {kPredelayText, "35"}, Case {kDecayText, "2.5"}, Case {kDampText, "8000"},
	                      Case {kDryText, "-6"}, Case {kHighGainText, "3"}})
	{
		const ParamID id = static_cast<ParamID> (kControlInfo[c.slot].parameter);
		SCOPED_TRACE (std::string ("typed ") + c.typed + " into id " + std::to_string (id));
		handler.clear ();
		enter (c.slot, c.typed);
		String128 typed = {};
		for (size_t i = 0; c.typed[i]; ++i)
			typed[i] = static_cast<char16> (c.typed[i]);
		ParamValue expected = -1.0;
		ASSERT_EQ (effect->getParamValueByString (id, typed, expected), kResultOk);
		EXPECT_NEAR (effect->getParamNormalized (id), expected, 1e-6);
		const std::string shown = field (c.slot)->getText ();
		EXPECT_EQ (shown, parameterText (*effect, id, effect->getParamNormalized (id)));
		EXPECT_NE (shown, c.typed);
		EXPECT_FLOAT_EQ (view->getControl (c.slot - 1)->getValue (),
		                 static_cast<float> (effect->getParamNormalized (id)));
		EXPECT_EQ (editSummary (handler), "p" + std::to_string (id));
	}
}

TEST_F (ValueFieldTest, AClickElsewhereCommitsAndLongEntriesAreCut)
{
	window->click (centreOf (field (kRoomSizeText)));
	window->type ("40");
	// The click lands on a switch: the entry ends first, then the switch flips.
	window->click (centreOf (view->getControl (kEarlyBypass)));
	EXPECT_FALSE (field (kRoomSizeText)->isBeingEdited ());
	EXPECT_NEAR (effect->getParamNormalized (6), 0.4, 1e-6);
	EXPECT_EQ (effect->getParamNormalized (21), 1.0);

	// The keyboard going to another window ends the entry too.
	window->click (centreOf (field (kRoomSizeText)));
	window->type ("30");
	window->focusLost ();
	EXPECT_NEAR (effect->getParamNormalized (6), 0.3, 1e-6);

	window->click (centreOf (field (kRoomSizeText)));
	window->type (std::string (300, '1').c_str ());
	EXPECT_EQ (field (kRoomSizeText)->getEditedText (), std::string (127, '1'));
	press (VKEY_RETURN);
	EXPECT_EQ (effect->getParamNormalized (6), 1.0);
}

TEST_F (ValueFieldTest, HostForwardedKeysAnswerTrueOnlyWhenAFieldUsedThem)
{
	EXPECT_EQ (view->onKeyDown ('5', 0, 0), kResultFalse) << "no field is editing";
	window->click (centreOf (field (kDiffusionText)));
	EXPECT_EQ (view->onKeyDown ('5', 0, 0), kResultTrue);
	EXPECT_EQ (view->onKeyUp ('5', 0, 0), kResultTrue);
	EXPECT_EQ (view->onKeyDown ('9', 0, 0), kResultTrue);
	EXPECT_EQ (view->onKeyDown (0, kHostBack, 0), kResultTrue);
	EXPECT_EQ (view->onKeyDown (0, kHostTab, 0), kResultFalse) << "Tab belongs to the host";
	EXPECT_EQ (view->onKeyDown ('s', 0, 1 << 2), kResultFalse) << "Ctrl+S belongs to the host";
	EXPECT_EQ (field (kDiffusionText)->getEditedText (), "5");
	EXPECT_EQ (view->onKeyDown (0, kHostReturn, 0), kResultTrue);
	EXPECT_NEAR (effect->getParamNormalized (7), 0.05, 1e-6);
	EXPECT_EQ (view->onKeyDown ('5', 0, 0), kResultFalse) << "the entry has ended";
}

} // namespace
} // namespace QuillmereEditorTest

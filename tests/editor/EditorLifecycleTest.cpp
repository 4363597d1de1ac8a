// The view's life as hosts drive it: creation, the size it reports and accepts, the skin
// file, open and close, and parameter changes reaching every open view.

#include "EditorFixture.h"
#include "SkinConfig.h"
#include "public.sdk/source/common/memorystream.h"
#include "vstgui/lib/canimknob.h"
#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cbuttons.h"
#include "vstgui/lib/coptionmenu.h"
#include "vstgui/lib/ctext.h"

#include <fstream>
#include <string>

namespace QuillmereEditorTest {
namespace {

using VSTGUI::CRect;

CRect frameSize (QuillmereEditorView* view)
{
	return view && view->getFrame () ? view->getFrame ()->getViewSize () : CRect ();
}

const CRect kSkin1Size (0, 0, 1105, 381);
const CRect kSkin2Size (0, 0, 995, 343);

TEST_F (EditorTest, OnlyTheNameEditorMakesAView)
{
	EXPECT_EQ (effect->createView ("Editor"), nullptr);
	EXPECT_EQ (effect->createView (""), nullptr);
	EXPECT_EQ (effect->createView (nullptr), nullptr);
	EXPECT_EQ (effect->createView ("editor2"), nullptr);

	// Hosts make a view to learn that an editor exists and drop it unattached: nothing
	// may happen beyond that.
	IPlugView* view = effect->createView ("editor");
	ASSERT_NE (view, nullptr);
	ViewRect size;
	EXPECT_EQ (view->getSize (&size), kResultOk);
	EXPECT_EQ (size.getWidth (), 1105);
	EXPECT_EQ (size.getHeight (), 381);
	EXPECT_EQ (home.readConfig (), "<none>");
	EXPECT_FALSE (fs::exists (home.path () + "/Documents"));
	EXPECT_TRUE (effect->openEditors ().empty ());
	view->release ();
}

TEST_F (EditorTest, AnswersItsInterfacesAndRefusesResizing)
{
	QuillmereEditorView* view = newView ();
	ASSERT_NE (view, nullptr);
	for (const FUID* iid : {&IParameterFinder::iid, &IContextMenuTarget::iid, &IPlugView::iid,
	                        &FUnknown::iid})
	{
		void* face = nullptr;
		ASSERT_EQ (view->queryInterface (iid->toTUID (), &face), kResultOk);
		ASSERT_NE (face, nullptr);
		static_cast<FUnknown*> (face)->release ();
	}
	void* none = nullptr;
	EXPECT_NE (view->queryInterface (IEditController::iid, &none), kResultOk);

	EXPECT_EQ (view->canResize (), kResultFalse);
	for (int32 tag : {0, 1, 19, 27, -1, 0x7fffffff})
		EXPECT_EQ (view->executeMenuItem (tag), kResultFalse);

	struct Case
	{
		ViewRect proposed, corrected;
	};
	for (const Case& c : {Case {{0, 0, 995, 343}, {0, 0, 1105, 381}},
	                      Case {{0, 0, 2000, 1000}, {0, 0, 1155, 431}},
	                      Case {{0, 0, 1130, 400}, {0, 0, 1130, 400}},
	                      Case {{40, 30, 40, 30}, {40, 30, 1145, 411}},
	                      Case {{10, 10, -5000, -5000}, {10, 10, 1115, 391}}})
	{
		ViewRect rect = c.proposed;
		EXPECT_EQ (view->checkSizeConstraint (&rect), kResultOk);
		EXPECT_EQ (rect.left, c.corrected.left);
		EXPECT_EQ (rect.top, c.corrected.top);
		EXPECT_EQ (rect.right, c.corrected.right);
		EXPECT_EQ (rect.bottom, c.corrected.bottom);
	}
	EXPECT_NE (view->checkSizeConstraint (nullptr), kResultOk);
}

TEST_F (EditorTest, SkinOneWithoutAFileSkinTwoAfterChoosingIt)
{
	QuillmereEditorView* view = openView ();
	ASSERT_NE (view, nullptr);
	EXPECT_EQ (frameSize (view), kSkin1Size);
	EXPECT_EQ (effect->skin, 1);
	EXPECT_EQ (home.readConfig (), "<none>");

	effect->skin = 2;
	writeSkinConfig (effect);
	EXPECT_EQ (home.readConfig (), "QuillmereSkin= 2\n");
	// The open editor keeps its skin until it opens again.
	EXPECT_EQ (frameSize (view), kSkin1Size);
	closeView (view);
	ASSERT_TRUE (openOffscreen (view));
	EXPECT_EQ (frameSize (view), kSkin2Size);
	EXPECT_EQ (effect->skin, 2);
}

TEST_F (EditorTest, SkinFileContents)
{
	const std::string longWord (300, 'Q');
	struct Case
	{
		std::string text;
		int32 skin;
		CRect size;
	};
	const Case cases[] = {
	    {"QuillmereSkin= 1\n", 1, kSkin1Size},
	    {"QuillmereSkin= 2\n", 2, kSkin2Size},
	    {"Anything 2", 2, kSkin2Size},
	    {"\n\t  x\n\n   2   trailing", 2, kSkin2Size},
	    {longWord + " 2\n", 2, kSkin2Size},
	    {"QuillmereSkin=", 0, kSkin1Size},
	    {"QuillmereSkin= abc\n", 0, kSkin1Size},
	    {"", 0, kSkin1Size},
	    {"QuillmereSkin= 7\n", 7, kSkin1Size},
	    {"QuillmereSkin= -2\n", -2, kSkin1Size},
	    {"QuillmereSkin= 99999999999999999999\n", 2147483647, kSkin1Size},
	};
	QuillmereEditorView* view = newView ();
	ASSERT_NE (view, nullptr);
	for (const Case& c : cases)
	{
		SCOPED_TRACE ("file: \"" + c.text.substr (0, 40) + "\"");
		home.writeConfig (c.text);
		effect->skin = 99;
		ASSERT_TRUE (openOffscreen (view));
		EXPECT_EQ (effect->skin, c.skin);
		EXPECT_EQ (frameSize (view), c.size);
		closeView (view);
	}
}

TEST_F (EditorTest, HomeTooLongForThePathReadsSkinOneAndWritesNothing)
{
	// A file does exist under the long HOME; the path buffer cannot name it, so it counts
	// as unreadable.
	const std::string longHome = home.path () + "/" + std::string (240, 'h');
	fs::create_directories (longHome + "/Documents/Quillmere");
	{
		std::ofstream (longHome + "/Documents/Quillmere/QuillmereConfig.txt") << "QuillmereSkin= 2\n";
	}
	setenv ("HOME", longHome.c_str (), 1);
	QuillmereEditorView* view = openView ();
	ASSERT_NE (view, nullptr);
	EXPECT_EQ (effect->skin, 1);
	EXPECT_EQ (frameSize (view), kSkin1Size);

	fs::remove_all (longHome + "/Documents");
	effect->skin = 2;
	writeSkinConfig (effect);
	EXPECT_FALSE (fs::exists (longHome + "/Documents"));
	EXPECT_EQ (effect->skin, 2);

	unsetenv ("HOME");
	readSkinConfig (effect);
	EXPECT_EQ (effect->skin, 1);
	writeSkinConfig (effect); // nowhere to write; must simply return
}

TEST_F (EditorTest, OpeningTwiceKeepsTheFirstFrame)
{
	QuillmereEditorView* view = openView ();
	ASSERT_NE (view, nullptr);
	VSTGUI::CFrame* frame = view->getFrame ();
	VSTGUI::CControl* knob = view->getControl (kDecayKnob);
	home.writeConfig ("QuillmereSkin= 2\n");
	EXPECT_FALSE (openOffscreen (view));
	EXPECT_EQ (view->getFrame (), frame);
	EXPECT_EQ (view->getControl (kDecayKnob), knob);
	EXPECT_EQ (frameSize (view), kSkin1Size);
	EXPECT_EQ (frame->getNbViews (), QuillmereEditorView::kControlCount);
}

TEST_F (EditorTest, CloseEmptiesTheViewAndReopenShowsTheCurrentState)
{
	QuillmereEditorView* view = openView ();
	ASSERT_NE (view, nullptr);
	VSTGUI::CBitmap* background = view->getBackgroundBitmap ();
	ASSERT_NE (background, nullptr);
	background->remember ();
	closeView (view);
	EXPECT_EQ (background->getNbReference (), 1) << "close must drop the view's and frame's holds";
	background->forget ();
	EXPECT_EQ (view->getFrame (), nullptr);
	EXPECT_EQ (view->getBackgroundBitmap (), nullptr);
	for (int32 slot = 0; slot < QuillmereEditorView::kControlCount; ++slot)
		EXPECT_EQ (view->getControl (slot), nullptr) << "slot " << slot;
	closeView (view); // closing a closed view does nothing

	// Changes while closed reach no control and are shown at the next open.
	effect->setParamNormalized (5, 0.8);
	effect->setParamNormalized (3, 1.0);
	effect->setParamNormalized (21, 1.0);
	effect->presetIndex = 7;
	effect->presetLock = true;
	ASSERT_TRUE (openOffscreen (view));
	EXPECT_FLOAT_EQ (view->getControl (kDecayKnob)->getValue (), 0.8f);
	EXPECT_EQ (control<VSTGUI::CTextEdit> (view, kDecayText)->getText (),
	           parameterText (*effect, 5, 0.8));
	auto* variations = control<VSTGUI::COptionMenu> (view, kEarlyVariationMenu);
	ASSERT_NE (variations, nullptr);
	EXPECT_STREQ (variations->getCurrentEntry (), "Variation 12");
	EXPECT_EQ (view->getControl (kEarlyBypass)->getValue (), 1.f);
	auto* presets = control<VSTGUI::COptionMenu> (view, kPresetMenu);
	ASSERT_NE (presets, nullptr);
	EXPECT_STREQ (presets->getCurrentEntry (), "Large Room");
	EXPECT_EQ (view->getControl (kPresetLock)->getValue (), 1.f);
}

TEST_F (EditorTest, EveryOpenViewFollowsParameterChanges)
{
	QuillmereEditorView* first = openView ();
	QuillmereEditorView* second = openView ();
	ASSERT_NE (first, nullptr);
	ASSERT_NE (second, nullptr);
	ASSERT_EQ (effect->openEditors ().size (), 2u);
	handler.clear ();

	effect->setParamNormalized (1, 0.25);
	effect->setParamNormalized (4, 1.0);
	effect->setParamNormalized (22, 0.51);
	effect->setParamNormalized (23, 0.5);
	for (QuillmereEditorView* view : {first, second})
	{
		EXPECT_FLOAT_EQ (view->getControl (kPredelayKnob)->getValue (), 0.25f);
		EXPECT_EQ (control<VSTGUI::CTextEdit> (view, kPredelayText)->getText (),
		           parameterText (*effect, 1, 0.25));
		EXPECT_STREQ (control<VSTGUI::COptionMenu> (view, kReverbVariationMenu)->getCurrentEntry (),
		              "Variation 5");
		EXPECT_EQ (view->getControl (kReverbBypass)->getValue (), 1.f);
		EXPECT_EQ (view->getControl (kWetBypass)->getValue (), 0.f);
	}

	// A closed view ignores changes; the meter and unknown ids touch no control.
	closeView (second);
	effect->setParamNormalized (1, 0.75);
	EXPECT_FLOAT_EQ (first->getControl (kPredelayKnob)->getValue (), 0.75f);
	const std::string before = control<VSTGUI::CTextEdit> (first, kPredelayText)->getText ();
	first->updateParameter (27, 1.0);
	first->updateParameter (26, 1.0);
	first->updateParameter (1000, 1.0);
	EXPECT_EQ (control<VSTGUI::CTextEdit> (first, kPredelayText)->getText (), before);
	for (const auto& call : handler.calls ())
		ADD_FAILURE () << "showing a value is no edit, yet the host heard of id " << call.id
		               << " kind " << static_cast<int> (call.kind);
}

TEST_F (EditorTest, ValuesOutsideTheRangeAreShownAtItsEnds)
{
	QuillmereEditorView* view = openView ();
	ASSERT_NE (view, nullptr);
	view->updateParameter (5, 7.5);
	EXPECT_EQ (view->getControl (kDecayKnob)->getValue (), 1.f);
	view->updateParameter (5, -3.0);
	EXPECT_EQ (view->getControl (kDecayKnob)->getValue (), 0.f);
	view->updateParameter (3, -1.0);
	EXPECT_EQ (view->getControl (kEarlyVariationMenu)->getValue (), 0.f);
	view->updateParameter (3, 1e300);
	EXPECT_EQ (view->getControl (kEarlyVariationMenu)->getValue (), 11.f);
	view->updateParameter (4, 0.79);
	EXPECT_EQ (view->getControl (kReverbVariationMenu)->getValue (), 3.f);
}

} // namespace
} // namespace QuillmereEditorTest

namespace QuillmereEditorTest {

// A host that restores a state without bringing the controller in step hears of it from
// the editor's next tick, never from inside its own setState.
TEST_F (EditorTest, ARestoreReachesTheHostOnTheNextEditorTick)
{
	QuillmereEditorView* view = openView ();
	ASSERT_NE (view, nullptr);
	effect->setParamNormalized (5, 0.8);
	Steinberg::MemoryStream saved;
	ASSERT_EQ (effect->getState (&saved), kResultOk);
	saved.seek (0, Steinberg::IBStream::kIBSeekSet, nullptr);
	effect->setParamNormalized (5, 0.2);
	handler.clear ();

	ASSERT_EQ (effect->setState (&saved), kResultOk);
	EXPECT_TRUE (handler.calls ().empty ());
	EXPECT_FLOAT_EQ (view->getControl (kDecayKnob)->getValue (), 0.8f);
	offscreen (view)->idle ();
	ASSERT_EQ (handler.calls ().size (), 1u);
	EXPECT_EQ (handler.calls ()[0].kind, QuillmereHost::ComponentHandlerRecorder::Kind::kRestartComponent);
	EXPECT_EQ (handler.calls ()[0].flags, kParamValuesChanged);
	offscreen (view)->idle ();
	EXPECT_EQ (handler.calls ().size (), 1u) << "told once";
}

} // namespace QuillmereEditorTest

// What the editor draws, offscreen: knob frames follow values, repaints of changed controls
// match a full drawing, the lock and credits show their states, and missing images leave
// placeholders instead of a crash. Also draws both skins to PNG for the README.

#include "EditorFixture.h"
#include "vstgui/lib/canimknob.h"
#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cbuttons.h"
#include "vstgui/lib/ctext.h"

#include <string>

namespace QuillmereEditorTest {
namespace {

using namespace VSTGUI;

// The image with background and `bitmap`'s part at `offset` drawn into `area`, as the
// frame should draw it where nothing else covers that area.
cairo_surface_t* expectedImage (OffscreenFrame& frame, CBitmap* background, CBitmap* bitmap,
                                const CRect& area, const CPoint& offset)
{
	cairo_surface_t* image = snapshot (frame);
	cairo_t* context = cairo_create (image);
	cairo_rectangle (context, area.left, area.top, area.width (), area.height ());
	cairo_clip (context);
	cairo_set_source_rgb (context, 0, 0, 0);
	cairo_paint (context);
	CDrawContext drawContext (context);
	background->draw (&drawContext, frame.getSize ());
	bitmap->draw (&drawContext, area, offset);
	cairo_destroy (context);
	cairo_surface_flush (image);
	return image;
}

CRect frameOf (QuillmereEditorView* view)
{
	return view->getFrame ()->getViewSize ();
}

class SkinDrawingTest : public EditorTest, public ::testing::WithParamInterface<int32>
{
protected:
	QuillmereEditorView* openSkin ()
	{
		if (GetParam () == 2)
			home.writeConfig ("QuillmereSkin= 2\n");
		return openView ();
	}
};

TEST_P (SkinDrawingTest, KnobsDrawOtherFramesForOtherValues)
{
	QuillmereEditorView* view = openSkin ();
	ASSERT_NE (view, nullptr);
	OffscreenFrame* image = offscreen (view);
	ASSERT_NE (image, nullptr);
	auto* knob = control<CAnimKnob> (view, kDecayKnob);
	ASSERT_NE (knob, nullptr);
	EXPECT_GE (knob->getNumSubPixmaps (), 101) << "strip of " << knob->getBackground ()->getHeight ();
	EXPECT_EQ (knob->getBackground ()->getHeight () % knob->getHeight (), 0);

	effect->setParamNormalized (5, 0.0);
	image->render ();
	cairo_surface_t* atZero = snapshot (*image);
	EXPECT_EQ (knob->getFrameIndex (), 0);
	effect->setParamNormalized (5, 1.0);
	image->render ();
	EXPECT_EQ (knob->getFrameIndex (), knob->getNumSubPixmaps () - 1);
	EXPECT_FALSE (samePixels (*image, atZero, knob->getViewSize ()));
	effect->setParamNormalized (5, 0.0);
	image->render ();
	EXPECT_TRUE (samePixels (*image, atZero, frameOf (view)));
	cairo_surface_destroy (atZero);
}

TEST_P (SkinDrawingTest, ChangedControlsAreRepaintedAtIdleAsAFullDrawingWouldShowThem)
{
	QuillmereEditorView* view = openSkin ();
	ASSERT_NE (view, nullptr);
	OffscreenFrame* image = offscreen (view);
	ASSERT_NE (image, nullptr);
	image->render ();
	effect->setParamNormalized (16, 0.9);
	effect->setParamNormalized (24, 0.1);
	effect->setParamNormalized (19, 1.0);
	// Showing a value schedules nothing by itself; the idle tick does.
	EXPECT_TRUE (image->getInvalidRect ().isEmpty ());
	image->idle ();
	const CRect invalid = image->getInvalidRect ();
	for (int32 slot : {kEarlySlider, kEarlyText, kModSpeedKnob, kModSpeedText, kBypass})
	{
		CRect inside (view->getControl (slot)->getViewSize ());
		CRect united (invalid);
		EXPECT_EQ (united.unite (inside), invalid) << "slot " << slot;
	}
	image->renderInvalidated ();
	cairo_surface_t* partial = snapshot (*image);
	image->render ();
	EXPECT_TRUE (samePixels (*image, partial, frameOf (view)));
	cairo_surface_destroy (partial);
}

TEST_P (SkinDrawingTest, ValueFieldsShowTheirParametersText)
{
	QuillmereEditorView* view = openSkin ();
	ASSERT_NE (view, nullptr);
	for (int32 slot = 0; slot < QuillmereEditorView::kControlCount; ++slot)
	{
		auto* field = control<CTextEdit> (view, slot);
		if (!field)
			continue;
		const ParamID id = static_cast<ParamID> (kControlInfo[slot].parameter);
		EXPECT_EQ (field->getText (), parameterText (*effect, id, effect->getParamNormalized (id)))
		    << "slot " << slot;
		EXPECT_STRNE (field->getText (), "");
	}
	// Text really reaches the image: an emptied field draws differently.
	OffscreenFrame* image = offscreen (view);
	auto* field = control<CTextEdit> (view, kDecayText);
	image->render ();
	cairo_surface_t* withText = snapshot (*image);
	field->setText ("");
	image->render ();
	EXPECT_FALSE (samePixels (*image, withText, field->getViewSize ()));
	cairo_surface_destroy (withText);
}

TEST_P (SkinDrawingTest, LockShowsItsOnStateWhenPresetsAreLocked)
{
	effect->presetLock = true;
	QuillmereEditorView* view = openSkin ();
	ASSERT_NE (view, nullptr);
	auto* lock = control<COnOffButton> (view, kPresetLock);
	ASSERT_NE (lock, nullptr);
	EXPECT_TRUE (lock->isOn ());
	OffscreenFrame* image = offscreen (view);
	image->render ();
	const CRect area = lock->getViewSize ();
	cairo_surface_t* on = expectedImage (*image, view->getBackgroundBitmap (),
	                                     lock->getBackground (), area, CPoint (0, area.height ()));
	cairo_surface_t* off = expectedImage (*image, view->getBackgroundBitmap (),
	                                      lock->getBackground (), area, CPoint (0, 0));
	EXPECT_TRUE (samePixels (*image, on, area));
	EXPECT_FALSE (samePixels (*image, off, area)) << "the two states must look different";
	cairo_surface_destroy (on);
	cairo_surface_destroy (off);
}

TEST_P (SkinDrawingTest, CreditsShowOnAClickAndHideOnTheNext)
{
	QuillmereEditorView* view = openSkin ();
	ASSERT_NE (view, nullptr);
	OffscreenFrame* image = offscreen (view);
	auto* credits = control<CSplashScreen> (view, kCredits);
	ASSERT_NE (credits, nullptr);
	const CRect display = credits->getDisplayRect ();
	image->render ();
	cairo_surface_t* closed = snapshot (*image);

	const CRect area = credits->getViewSize ();
	image->click (CPoint (area.left + 5, area.top + 5));
	EXPECT_TRUE (credits->isShown ());
	image->render ();
	cairo_surface_t* shown = expectedImage (*image, view->getBackgroundBitmap (),
	                                        credits->getBackground (), display, CPoint (0, 0));
	EXPECT_TRUE (samePixels (*image, shown, display)) << "the picture lies above every control";
	// While shown, a click elsewhere does nothing; one on the picture hides it.
	image->click (CPoint (display.right + 20, display.top + 40));
	EXPECT_TRUE (credits->isShown ());
	image->click (CPoint (display.left + 10, display.top + 10));
	EXPECT_FALSE (credits->isShown ());
	image->render ();
	EXPECT_TRUE (samePixels (*image, closed, frameOf (view)));
	cairo_surface_destroy (closed);
	cairo_surface_destroy (shown);
}

TEST_P (SkinDrawingTest, MissingImagesDrawPlaceholders)
{
	const std::string empty = home.path () + "/no-resources";
	fs::create_directories (empty);
	VSTGUI::setResourceFolder (empty);
	QuillmereEditorView* view = openSkin ();
	ASSERT_NE (view, nullptr);
	EXPECT_FALSE (view->getBackgroundBitmap ()->isLoaded ());
	OffscreenFrame* image = offscreen (view);
	effect->setParamNormalized (0, 0.3);
	effect->presetLock = true;
	image->idle ();
	image->render ();
	auto* knob = control<CAnimKnob> (view, kPredelayKnob);
	EXPECT_EQ (knob->getNumSubPixmaps (), 1);
	const CRect knobArea = knob->getViewSize ();
	const uint32_t inside = image->pixel (knobArea.left + knobArea.width () / 2,
	                                      knobArea.top + knobArea.height () / 2);
	EXPECT_EQ (inside >> 24, 0xffu) << "a placeholder fills the knob";
	image->click (CPoint (knobArea.left + 2, knobArea.top + 2));
	image->click (CPoint (view->getControl (kCredits)->getViewSize ().left + 2,
	                      view->getControl (kCredits)->getViewSize ().top + 2));
	image->render ();
}

TEST_P (SkinDrawingTest, DrawsThePictureForTheReadme)
{
	effect->presetIndex = 10;
	QuillmereEditorView* view = openSkin ();
	ASSERT_NE (view, nullptr);
	OffscreenFrame* image = offscreen (view);
	image->render ();
	const std::string path =
	    std::string (QUILLMERE_PICTURE_DIR) + "/editor-skin" + std::to_string (GetParam ()) + ".png";
	EXPECT_TRUE (image->writePNG (path.c_str ())) << path;
}

INSTANTIATE_TEST_SUITE_P (BothSkins, SkinDrawingTest, ::testing::Values (1, 2),
                          [] (const ::testing::TestParamInfo<int32>& info) {
	                          return "Skin" + std::to_string (info.param);
                          });

} // namespace
} // namespace QuillmereEditorTest

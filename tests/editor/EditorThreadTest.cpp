// A host that sets parameters from a thread other than the editor's: the editor must not
// touch its controls from there (ThreadSanitizer watches this in its build), and shows the
// newest value on its next idle tick.

#include "EditorFixture.h"
#include "vstgui/lib/cbuttons.h"
#include "vstgui/lib/ctext.h"

#include <atomic>
#include <thread>

namespace QuillmereEditorTest {
namespace {

using namespace VSTGUI;

TEST_F (EditorTest, ValuesFromAnotherThreadWaitForTheIdleTick)
{
	QuillmereEditorView* view = openView ();
	ASSERT_NE (view, nullptr);
	OffscreenFrame* window = offscreen (view);
	effect->setParamNormalized (5, 0.1);

	std::thread ([&] {
		effect->setParamNormalized (5, 0.9);
		effect->setParamNormalized (21, 1.0);
	}).join ();
	EXPECT_FLOAT_EQ (view->getControl (kDecayKnob)->getValue (), 0.1f) << "not from the host's thread";
	EXPECT_EQ (view->getControl (kEarlyBypass)->getValue (), 0.f);
	window->idle ();
	EXPECT_FLOAT_EQ (view->getControl (kDecayKnob)->getValue (), 0.9f);
	EXPECT_EQ (control<CTextEdit> (view, kDecayText)->getText (), parameterText (*effect, 5, 0.9));
	EXPECT_EQ (view->getControl (kEarlyBypass)->getValue (), 1.f);

	// A newer value from the editor's own thread is not overwritten by an older one waiting.
	std::thread ([&] { effect->setParamNormalized (5, 0.3); }).join ();
	effect->setParamNormalized (5, 0.6);
	window->idle ();
	EXPECT_FLOAT_EQ (view->getControl (kDecayKnob)->getValue (), 0.6f);
}

TEST_F (EditorTest, HostThreadSettingParametersWhileTheEditorIdlesAndDraws)
{
	QuillmereEditorView* view = openView ();
	ASSERT_NE (view, nullptr);
	OffscreenFrame* window = offscreen (view);
	constexpr int kChanges = 400;
	std::atomic<bool> done {false};
	std::thread host ([&] {
		for (int i = 1; i <= kChanges; ++i)
		{
			effect->setParamNormalized (1, static_cast<double> (i) / kChanges);
			effect->setParamNormalized (3, static_cast<double> (i % 12) / 11.0);
			effect->setParamNormalized (22, (i % 2) ? 1.0 : 0.0);
		}
		done.store (true);
	});
	while (!done.load ())
	{
		window->idle ();
		window->renderInvalidated ();
	}
	host.join ();
	window->idle ();
	EXPECT_FLOAT_EQ (view->getControl (kPredelayKnob)->getValue (), 1.f);
	EXPECT_EQ (control<CTextEdit> (view, kPredelayText)->getText (), parameterText (*effect, 1, 1.0));
	EXPECT_EQ (view->getControl (kEarlyVariationMenu)->getValue (), 4.f);
	EXPECT_EQ (view->getControl (kReverbBypass)->getValue (), 0.f);
}

} // namespace
} // namespace QuillmereEditorTest

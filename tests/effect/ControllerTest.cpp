// Controller-side hooks, driven in-process so test views can stand in for editors.

#include "Quillmere.h"
#include "QuillmereEditorView.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {
class RecordingView : public QuillmereEditorView
{
public:
	explicit RecordingView (EditController* controller) : QuillmereEditorView (controller) {}
	void updateParameter (ParamID tag, ParamValue value) override { seen.push_back ({tag, value}); }
	std::vector<std::pair<ParamID, ParamValue>> seen;
};

struct EffectDeleter
{
	void operator() (Quillmere* effect) const
	{
		effect->terminate ();
		effect->release ();
	}
};

class Controller : public ::testing::Test
{
protected:
	void SetUp () override
	{
		effect.reset (new Quillmere ());
		ASSERT_EQ (effect->initialize (nullptr), kResultOk);
	}
	std::unique_ptr<Quillmere, EffectDeleter> effect;
};
} // namespace

TEST_F (Controller, ChangesConvertIntoTheSettingsBlockAtOnce)
{
	effect->setParamNormalized (3, 1.0);
	EXPECT_EQ (effect->currentSettings ().earlyVariation, 11);
	effect->setParamNormalized (4, 0.79);
	EXPECT_EQ (effect->currentSettings ().reverbVariation, 3);
	effect->setParamNormalized (20, 0.5);
	EXPECT_FALSE (effect->currentSettings ().bypassDry);
	effect->setParamNormalized (20, 0.5000001);
	EXPECT_TRUE (effect->currentSettings ().bypassDry);
	effect->setParamNormalized (9, 0.125);
	EXPECT_EQ (effect->currentSettings ().dampFrequency, 0.125);

	const SettingsBlock before = effect->currentSettings ();
	EXPECT_EQ (effect->setParamNormalized (27, 0.7), kResultOk);
	EXPECT_EQ (effect->getParamNormalized (27), 0.7);
	const SettingsBlock after = effect->currentSettings ();
	EXPECT_EQ (std::memcmp (&before, &after, sizeof (SettingsBlock)), 0);
	EXPECT_NE (effect->setParamNormalized (26, 0.5), kResultOk);
}

TEST_F (Controller, EveryAttachedEditorIsToldUntilRemoved)
{
	auto* first = new RecordingView (effect.get ());
	auto* second = new RecordingView (effect.get ());
	effect->editorAttached (first);
	effect->editorAttached (second);
	effect->setParamNormalized (5, 0.25);
	ASSERT_EQ (first->seen.size (), 1u);
	ASSERT_EQ (second->seen.size (), 1u);
	EXPECT_EQ (first->seen[0], std::make_pair (ParamID (5), 0.25));

	effect->editorRemoved (first);
	effect->editorRemoved (first); // not in the list any more: nothing happens
	effect->setParamNormalized (27, 0.5);
	EXPECT_EQ (first->seen.size (), 1u);
	ASSERT_EQ (second->seen.size (), 2u);
	EXPECT_EQ (second->seen[1], std::make_pair (ParamID (27), 0.5));

	// A view of another kind is not listed.
	auto* plain = new EditorView (effect.get ());
	effect->editorAttached (plain);
	EXPECT_EQ (effect->openEditors ().size (), 1u);

	effect->editorRemoved (second);
	first->release ();
	second->release ();
	plain->release ();
}

TEST_F (Controller, KnobModeStaysLinear)
{
	EXPECT_EQ (EditController::getHostKnobMode (), kLinearMode);
	EXPECT_EQ (effect->setKnobMode (kCircularMode), kResultFalse);
	EXPECT_EQ (effect->setKnobMode (kRelativCircularMode), kResultFalse);
	EXPECT_EQ (EditController::getHostKnobMode (), kLinearMode);
	EXPECT_EQ (effect->setKnobMode (kLinearMode), kResultOk);
}

TEST_F (Controller, NoViewForOtherNames)
{
	EXPECT_EQ (effect->createView ("Editor"), nullptr);
	EXPECT_EQ (effect->createView (nullptr), nullptr);
}

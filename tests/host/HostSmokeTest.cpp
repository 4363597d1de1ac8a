// Loads the built bundle the way a DAW does and runs audio through it.
#include "EffectInstance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using namespace QuillmereHost;
using namespace Steinberg;
using namespace Steinberg::Vst;

class HostSmoke : public ::testing::Test
{
protected:
	void SetUp () override
	{
		std::string error;
		module = PluginModule::load (QUILLMERE_BUNDLE_DIR, error);
		ASSERT_TRUE (module) << error;
		fx = EffectInstance::create (module, error);
		ASSERT_TRUE (fx) << error;
	}

	std::shared_ptr<PluginModule> module;
	std::unique_ptr<EffectInstance> fx;
};

TEST_F (HostSmoke, ListsEveryParameterWithAText)
{
	ASSERT_EQ (fx->parameterCount (), 27);
	for (int32 i = 0; i < fx->parameterCount (); ++i)
	{
		auto info = fx->parameterInfo (i);
		ASSERT_TRUE (info);
		EXPECT_FALSE (toUtf8 (info->title).empty ()) << "index " << i;
		EXPECT_FALSE (fx->valueToText (info->id, fx->getParamNormalized (info->id)).empty ())
		    << toUtf8 (info->title);
	}
	auto bypass = fx->findParameterByTitle ("Bypass");
	ASSERT_TRUE (bypass);
	EXPECT_EQ (bypass->id, 19u);
	EXPECT_FALSE (fx->parameterInfo (27));
}

TEST_F (HostSmoke, RunsFloatAndDoubleBlocks)
{
	constexpr int32 n = 256;
	ASSERT_EQ (fx->setupProcessing (44100.0, n), kResultOk);
	EXPECT_EQ (fx->setBusArrangements ({SpeakerArr::kStereo}, {SpeakerArr::kStereo}), kResultTrue);
	ASSERT_EQ (fx->setActive (true), kResultOk);
	fx->setProcessing (true);

	std::vector<float> left (n, 0.0f), right (n, 0.0f);
	left[0] = right[0] = 1.0f;
	float* channels[2] = {left.data (), right.data ()};
	ParameterChanges changes;
	int32 index;
	changes.addParameterData (1, index)->addPoint (0, 0.0, index); // no predelay
	uint64 silence = ~0ull;
	ASSERT_EQ (fx->process (channels, 2, channels, 2, n, &changes, 0, &silence), kResultOk);
	EXPECT_EQ (silence, 0u);
	double energy = 0.0;
	for (int32 s = 0; s < n; ++s)
	{
		ASSERT_TRUE (std::isfinite (left[s]) && std::isfinite (right[s])) << s;
		energy += left[s] * left[s] + right[s] * right[s];
	}
	EXPECT_GT (energy, 0.0);

	fx->setProcessing (false);
	fx->setActive (false);
	ASSERT_EQ (fx->setupProcessing (44100.0, n, kSample64), kResultOk);
	fx->setActive (true);
	std::vector<double> wideLeft (n, 0.5), wideRight (n, -0.5);
	double* wide[2] = {wideLeft.data (), wideRight.data ()};
	EXPECT_EQ (fx->process (wide, 2, wide, 2, n), kResultOk);
	for (int32 s = 0; s < n; ++s)
		ASSERT_TRUE (std::isfinite (wideLeft[s]) && std::isfinite (wideRight[s])) << s;
}

TEST_F (HostSmoke, StateSurvivesARoundTrip)
{
	std::vector<std::uint8_t> state;
	ASSERT_EQ (fx->getState (state), kResultOk);
	EXPECT_FALSE (state.empty ());
	EXPECT_EQ (fx->setState (state), kResultOk);
	std::vector<std::uint8_t> again;
	ASSERT_EQ (fx->getState (again), kResultOk);
	EXPECT_EQ (again, state);
}

} // namespace

// Many effects at once, made, run and destroyed in a loop, with the module's factory
// released and taken again between rounds. Leaks show in the AddressSanitizer build
// (LeakSanitizer runs at exit); shared state shows as instances that stop agreeing with
// their twins.

#include "EffectInstance.h"
#include "ParameterChanges.h"
#include "PluginModule.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

const int kInstances = 64;
const int kSettingsKinds = 4;
const int32 kBlock = 1024;
const int kBlocks = 3;
#if defined(__SANITIZE_THREAD__)
const int kRounds = 2; // each round maps 1.3 GB of delay memory, slow under this sanitizer
#else
const int kRounds = 3;
#endif

std::shared_ptr<QuillmereHost::PluginModule> loadBundle ()
{
	std::string error;
	auto module = QuillmereHost::PluginModule::load (QUILLMERE_BUNDLE_PATH, error);
	EXPECT_TRUE (module) << error;
	return module;
}

// Each kind of settings sounds different: decay, room size, width and the early variation;
// no dry signal and no pre-delay, so the first blocks already differ.
void applyKind (ParameterChanges& changes, int kind)
{
	const std::pair<ParamID, ParamValue> values[] = {
	    {5, 0.2 + 0.2 * kind}, {6, 0.9 - 0.2 * kind}, {2, 0.25 * kind}, {3, kind / 11.0}, {0, 0.0}, {1, 0.0}};
	for (auto [id, value] : values)
	{
		int32 index = 0;
		if (IParamValueQueue* queue = changes.addParameterData (id, index))
			queue->addPoint (0, value, index);
	}
}

using Output = std::vector<float>;

// The same input for every instance: noise from a fixed seed.
std::vector<float> noiseInput ()
{
	std::mt19937 rng (3);
	std::uniform_real_distribution<float> sample (-1.f, 1.f);
	std::vector<float> input (2 * kBlock * kBlocks);
	for (float& value : input)
		value = sample (rng);
	return input;
}

// Runs every instance block by block, interleaved, and returns each one's output.
std::vector<Output> runInterleaved (std::vector<std::unique_ptr<QuillmereHost::EffectInstance>>& effects)
{
	static const std::vector<float> input = noiseInput ();
	std::vector<Output> outputs (effects.size (), Output (2 * kBlock * kBlocks));
	for (int block = 0; block < kBlocks; ++block)
	{
		for (size_t e = 0; e < effects.size (); ++e)
		{
			ParameterChanges changes (8, 1);
			if (block == 0)
				applyKind (changes, static_cast<int> (e % kSettingsKinds));
			float* in[2] = {const_cast<float*> (&input[2 * block * kBlock]),
			                const_cast<float*> (&input[(2 * block + 1) * kBlock])};
			float* out[2] = {&outputs[e][2 * block * kBlock], &outputs[e][(2 * block + 1) * kBlock]};
			EXPECT_EQ (effects[e]->process (in, 2, out, 2, kBlock, &changes), kResultOk);
		}
	}
	return outputs;
}

} // namespace

TEST (ManyInstances, SixtyFourAtOnceAgreeWithTheirTwinsRoundAfterRound)
{
	std::vector<Output> firstRound;
	for (int round = 0; round < kRounds; ++round)
	{
		auto module = loadBundle ();
		ASSERT_TRUE (module);
		std::vector<std::unique_ptr<QuillmereHost::EffectInstance>> effects;
		for (int i = 0; i < kInstances; ++i)
		{
			std::string error;
			auto effect = QuillmereHost::EffectInstance::create (module, error);
			ASSERT_TRUE (effect) << error;
			// Rates differ between rounds only in the order instances were set up.
			ASSERT_EQ (effect->setupProcessing (48000.0, kBlock), kResultOk);
			ASSERT_EQ (effect->setActive (true), kResultOk);
			effect->setProcessing (true);
			effects.push_back (std::move (effect));
		}
		std::vector<Output> outputs = runInterleaved (effects);
		for (int i = 0; i < kInstances; ++i)
		{
			const int kind = i % kSettingsKinds;
			ASSERT_EQ (outputs[i], outputs[kind]) << "instance " << i << " differs from its twin";
			if (i < kSettingsKinds && i > 0)
			{
				ASSERT_NE (outputs[i], outputs[0]) << "kinds " << i << " and 0 sound the same";
			}
		}
		if (round == 0)
			firstRound = outputs;
		else
			ASSERT_EQ (outputs, firstRound) << "round " << round << " differs from the first";
		effects.clear (); // every effect goes before the module that made it
	}
}

// A factory taken and released many times without effects, then with one: each
// acquisition gives a working factory and releasing them all frees it.
TEST (ManyInstances, FactoriesReleasedAndTakenAgain)
{
	for (int round = 0; round < 20; ++round)
	{
		auto module = loadBundle ();
		ASSERT_TRUE (module);
		IPluginFactory* factory = module->factory ();
		ASSERT_NE (factory, nullptr);
		EXPECT_EQ (factory->countClasses (), 1);
		if (round % 5 == 0)
		{
			std::string error;
			auto effect = QuillmereHost::EffectInstance::create (module, error);
			ASSERT_TRUE (effect) << error;
			EXPECT_EQ (effect->setupProcessing (44100.0, 64), kResultOk);
			EXPECT_EQ (effect->setActive (true), kResultOk);
		}
	}
}

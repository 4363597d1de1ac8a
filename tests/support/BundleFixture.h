#pragma once
// Loads the built bundle the way a host does and hands out ready-to-process effects.

#include "EffectInstance.h"
#include "PluginModule.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace QuillmereTest {

inline std::shared_ptr<QuillmereHost::PluginModule> bundle ()
{
	static std::shared_ptr<QuillmereHost::PluginModule> module = [] {
		std::string error;
		auto loaded = QuillmereHost::PluginModule::load (QUILLMERE_BUNDLE_PATH, error);
		if (!loaded)
			ADD_FAILURE () << "cannot load " << QUILLMERE_BUNDLE_PATH << ": " << error;
		return loaded;
	}();
	return module;
}

inline std::unique_ptr<QuillmereHost::EffectInstance> newEffect ()
{
	std::string error;
	auto effect = QuillmereHost::EffectInstance::create (bundle (), error);
	if (!effect)
		ADD_FAILURE () << "cannot create the effect: " << error;
	return effect;
}

// An effect set up and active at the given rate, ready for blocks.
inline std::unique_ptr<QuillmereHost::EffectInstance>
newActiveEffect (double sampleRate = 44100.0, Steinberg::int32 sampleSize = Steinberg::Vst::kSample32,
                 Steinberg::int32 maxBlock = 8192)
{
	auto effect = newEffect ();
	if (!effect)
		return effect;
	EXPECT_EQ (effect->setupProcessing (sampleRate, maxBlock, sampleSize), Steinberg::kResultOk);
	EXPECT_EQ (effect->setActive (true), Steinberg::kResultOk);
	effect->setProcessing (true);
	return effect;
}

// Stereo float buffers for one block.
template <typename Sample>
struct StereoBlock
{
	explicit StereoBlock (size_t frames) : left (frames, 0), right (frames, 0) {}
	std::vector<Sample> left, right;
	Sample* channels[2] = {nullptr, nullptr};
	Sample* const* pointers ()
	{
		channels[0] = left.data ();
		channels[1] = right.data ();
		return channels;
	}
	size_t frames () const { return left.size (); }
};

// Runs input through the effect block by block and returns the output.
template <typename Sample>
StereoBlock<Sample> run (QuillmereHost::EffectInstance& effect, StereoBlock<Sample>& input,
                         Steinberg::Vst::IParameterChanges* changes = nullptr,
                         Steinberg::uint64 inputSilence = 0,
                         Steinberg::uint64* outputSilence = nullptr)
{
	StereoBlock<Sample> output (input.frames ());
	effect.process (input.pointers (), 2, output.pointers (), 2,
	                static_cast<Steinberg::int32> (input.frames ()), changes, inputSilence,
	                outputSilence);
	return output;
}

} // namespace QuillmereTest

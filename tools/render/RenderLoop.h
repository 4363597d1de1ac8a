#pragma once
// Runs audio through an effect instance block by block, as a host does, then lets
// the tail ring out.

#include "EffectInstance.h"
#include "EffectSetup.h"
#include "StereoAudio.h"

#include <functional>

namespace QuillmereRender {

// The tail ends when the output stays below this level (-90 dBFS)...
const float kTailThreshold = 3.16227766e-5f;
// ...for this long; longer than any pre-delay and reflection gap, so the quiet
// before the first reflection does not end it.
const double kTailHoldSeconds = 1.0;
const Steinberg::int32 kRenderBlockFrames = 512;

struct RenderProgress
{
	double inputFraction = 0.0; // 0..1 of the input
	bool inTail = false;
	double tailSeconds = 0.0;   // rendered after the input so far
};
using ProgressCallback = std::function<void (const RenderProgress&)>;

// Sets the effect up at the input's sample rate, sends firstBlock as the first
// block's parameter changes, and returns the input's length plus the tail up to
// its last sample at or above the threshold, no longer than the effect's
// getTailSamples. The effect is left inactive.
StereoAudio renderThroughEffect (QuillmereHost::EffectInstance& effect, const StereoAudio& input,
                                 const std::vector<ParameterSetting>& firstBlock,
                                 const ProgressCallback& progress = nullptr);

} // namespace QuillmereRender

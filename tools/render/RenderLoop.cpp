#include "RenderLoop.h"

#include "ParameterChanges.h"

#include <algorithm>
#include <cmath>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace QuillmereRender {

namespace {

// The most a tail may run when the effect reports an infinite one.
const double kLongestTailSeconds = 60.0;

size_t tailLimitOf (QuillmereHost::EffectInstance& effect, double sampleRate)
{
	const uint32 reported = effect.processor ()->getTailSamples ();
	if (reported == kInfiniteTail)
		return static_cast<size_t> (kLongestTailSeconds * sampleRate);
	return reported;
}

class BlockRunner
{
public:
	BlockRunner (QuillmereHost::EffectInstance& effect, const std::vector<ParameterSetting>& first)
	: effect (effect), changes (std::max<int32> (1, static_cast<int32> (first.size ())), 1)
	{
		for (const auto& setting : first)
		{
			int32 index = 0;
			if (auto* queue = changes.addParameterData (setting.id, index))
				queue->addPoint (0, setting.value, index);
		}
	}

	// Runs one block from input (or silence) into output at the given position.
	void run (const StereoAudio* input, size_t position, StereoAudio& output, int32 frames)
	{
		float* inputs[2] = {inLeft, inRight};
		float* outputs[2] = {outLeft, outRight};
		for (int32 n = 0; n < frames; ++n)
		{
			const size_t at = position + static_cast<size_t> (n);
			const bool fromInput = input && at < input->frames ();
			inLeft[n] = fromInput ? input->left[at] : 0.0f;
			inRight[n] = fromInput ? input->right[at] : 0.0f;
		}
		effect.process (inputs, 2, outputs, 2, frames, firstBlock ? &changes : nullptr);
		firstBlock = false;
		if (output.frames () < position + static_cast<size_t> (frames))
			output.resize (position + static_cast<size_t> (frames));
		std::copy (outLeft, outLeft + frames, output.left.begin () + static_cast<long> (position));
		std::copy (outRight, outRight + frames, output.right.begin () + static_cast<long> (position));
	}

private:
	QuillmereHost::EffectInstance& effect;
	ParameterChanges changes;
	bool firstBlock = true;
	float inLeft[kRenderBlockFrames] {};
	float inRight[kRenderBlockFrames] {};
	float outLeft[kRenderBlockFrames] {};
	float outRight[kRenderBlockFrames] {};
};

bool audible (const StereoAudio& audio, size_t frame)
{
	return std::fabs (audio.left[frame]) >= kTailThreshold || std::fabs (audio.right[frame]) >= kTailThreshold;
}

} // namespace

StereoAudio renderThroughEffect (QuillmereHost::EffectInstance& effect, const StereoAudio& input,
                                 const std::vector<ParameterSetting>& firstBlock,
                                 const ProgressCallback& progress)
{
	if (effect.setupProcessing (input.sampleRate, kRenderBlockFrames) != kResultOk)
		throw ToolError ("the effect refused the sample rate " + std::to_string (static_cast<int> (input.sampleRate)) + " Hz");
	effect.setActive (true);
	effect.setProcessing (true);

	StereoAudio output;
	output.sampleRate = input.sampleRate;
	output.left.reserve (input.frames ());
	output.right.reserve (input.frames ());
	auto runner = std::make_unique<BlockRunner> (effect, firstBlock);
	RenderProgress report;

	size_t position = 0;
	while (position < input.frames ())
	{
		const auto frames = static_cast<int32> (std::min<size_t> (kRenderBlockFrames, input.frames () - position));
		runner->run (&input, position, output, frames);
		position += static_cast<size_t> (frames);
		report.inputFraction = static_cast<double> (position) / static_cast<double> (input.frames ());
		if (progress)
			progress (report);
	}

	// The tail: silence in, until the output has stayed quiet for the hold time.
	const size_t tailLimit = tailLimitOf (effect, input.sampleRate);
	const size_t holdFrames = static_cast<size_t> (kTailHoldSeconds * input.sampleRate);
	size_t lastAudible = 0; // one past the last audible frame of the tail
	size_t tailDone = 0;
	report.inTail = true;
	while (tailDone < tailLimit && tailDone - lastAudible < holdFrames)
	{
		const auto frames = static_cast<int32> (std::min<size_t> (kRenderBlockFrames, tailLimit - tailDone));
		runner->run (nullptr, position + tailDone, output, frames);
		for (int32 n = 0; n < frames; ++n)
			if (audible (output, position + tailDone + static_cast<size_t> (n)))
				lastAudible = tailDone + static_cast<size_t> (n) + 1;
		tailDone += static_cast<size_t> (frames);
		report.tailSeconds = static_cast<double> (tailDone) / input.sampleRate;
		if (progress)
			progress (report);
	}
	output.resize (position + lastAudible);

	effect.setProcessing (false);
	effect.setActive (false);
	return output;
}

} // namespace QuillmereRender

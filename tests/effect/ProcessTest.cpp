// Processing as a host drives it: setup, buses, parameter queues, bypass, silence flags
// and the odd blocks real hosts send.

#include "BundleFixture.h"

#include "pluginterfaces/vst/vstspeaker.h"
#include <cmath>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace QuillmereTest;

namespace {
// One parameter change list with any number of (id, offset, value) points.
struct Changes
{
	Changes () : list (64, 64) {}
	Changes& set (ParamID id, ParamValue value, int32 offset = 0)
	{
		int32 index = 0;
		int32 pointIndex = 0;
		if (IParamValueQueue* queue = list.addParameterData (id, index))
			queue->addPoint (offset, value, pointIndex);
		return *this;
	}
	ParameterChanges list;
};

StereoBlock<float> impulse (size_t frames)
{
	StereoBlock<float> block (frames);
	block.left[0] = 1.0f;
	block.right[0] = 0.5f;
	return block;
}

bool allZero (const std::vector<float>& samples)
{
	for (float s : samples)
		if (s != 0.0f)
			return false;
	return true;
}
} // namespace

TEST (Setup, SampleRateIsClampedForEngineAndTail)
{
	auto effect = newEffect ();
	ASSERT_TRUE (effect);
	EXPECT_EQ (effect->setupProcessing (22050, 512), kResultOk);
	EXPECT_EQ (effect->processor ()->getTailSamples (), 1100000u);
	EXPECT_EQ (effect->setupProcessing (44100, 512), kResultOk);
	EXPECT_EQ (effect->processor ()->getTailSamples (), 1102500u);
	EXPECT_EQ (effect->setupProcessing (384000, 512), kResultOk);
	EXPECT_EQ (effect->processor ()->getTailSamples (), 4800000u);
	EXPECT_EQ (effect->processor ()->canProcessSampleSize (kSample64), kResultTrue);
	EXPECT_EQ (effect->processor ()->canProcessSampleSize (kSample32), kResultTrue);
	EXPECT_EQ (effect->processor ()->canProcessSampleSize (7), kResultFalse);
	// An unsupported sample size fails, yet the engine already runs at the new rate.
	EXPECT_EQ (effect->setupProcessing (96000, 512, 7), kResultFalse);
	EXPECT_EQ (effect->processor ()->getTailSamples (), 2400000u);
}

TEST (Setup, BusArrangementsStayStereoUnlessTwoChannelsBothSides)
{
	auto effect = newEffect ();
	ASSERT_TRUE (effect);
	SpeakerArrangement arrangement = 0;
	EXPECT_EQ (effect->setBusArrangements ({SpeakerArr::kMono}, {SpeakerArr::kMono}), kResultFalse);
	ASSERT_EQ (effect->processor ()->getBusArrangement (kInput, 0, arrangement), kResultTrue);
	EXPECT_EQ (arrangement, SpeakerArr::kStereo);

	EXPECT_EQ (effect->setBusArrangements ({SpeakerArr::kStereoSurround}, {SpeakerArr::kStereoSurround}),
	           kResultTrue);
	ASSERT_EQ (effect->processor ()->getBusArrangement (kOutput, 0, arrangement), kResultTrue);
	EXPECT_EQ (arrangement, SpeakerArr::kStereoSurround);

	EXPECT_EQ (effect->setBusArrangements ({SpeakerArr::kStereo, SpeakerArr::kStereo}, {SpeakerArr::kStereo}),
	           kResultFalse);
	EXPECT_EQ (effect->processor ()->getBusArrangement (kOutput, 0, arrangement), kResultTrue);
	EXPECT_EQ (arrangement, SpeakerArr::kStereoSurround);
	EXPECT_EQ (effect->component ()->getBusCount (kAudio, kInput), 1);
}

TEST (Process, OnlyTheLastPointOfAQueueCounts)
{
	auto queued = newActiveEffect ();
	auto direct = newActiveEffect ();
	ASSERT_TRUE (queued && direct);
	Changes twoPoints, onePoint;
	twoPoints.set (1, 0.2, 0).set (1, 0.6, 100);
	onePoint.set (1, 0.6, 0);
	auto input = impulse (4096);
	auto a = run (*queued, input, &twoPoints.list);
	auto b = run (*direct, input, &onePoint.list);
	EXPECT_EQ (a.left, b.left);
	EXPECT_EQ (a.right, b.right);
	EXPECT_FALSE (allZero (a.left));
}

TEST (Process, NonFiniteValuesFromTheHostAreIgnored)
{
	auto poisoned = newActiveEffect ();
	auto clean = newActiveEffect ();
	ASSERT_TRUE (poisoned && clean);
	Changes bad;
	bad.set (0, std::nan ("")).set (5, INFINITY).set (18, -INFINITY);
	auto input = impulse (2048);
	auto a = run (*poisoned, input, &bad.list);
	auto b = run (*clean, input);
	EXPECT_EQ (a.left, b.left);
	EXPECT_EQ (a.right, b.right);
	EXPECT_NE (poisoned->setParamNormalized (0, std::nan ("")), kResultOk);
	EXPECT_EQ (poisoned->getParamNormalized (0), 1.0);
}

TEST (Process, SwitchesTurnOnStrictlyAboveHalf)
{
	auto effect = newActiveEffect ();
	ASSERT_TRUE (effect);
	StereoBlock<float> input (256);
	for (size_t i = 0; i < input.frames (); ++i)
		input.left[i] = input.right[i] = 0.25f;

	Changes halfway;
	halfway.set (23, 1.0).set (20, 0.5); // wet off, dry switch exactly at 0.5
	auto dryOnly = run (*effect, input, &halfway.list);
	EXPECT_EQ (dryOnly.left, input.left);

	Changes justAbove;
	justAbove.set (20, 0.5000001);
	auto muted = run (*effect, input, &justAbove.list);
	EXPECT_TRUE (allZero (muted.left));
	EXPECT_TRUE (allZero (muted.right));
}

TEST (Process, DoublePrecisionReachesTheEngineUnnarrowed)
{
	auto effect = newActiveEffect (44100, kSample64);
	ASSERT_TRUE (effect);
	StereoBlock<double> input (64);
	for (size_t i = 0; i < input.frames (); ++i)
		input.left[i] = input.right[i] = 0.1 + i * 1e-12;
	Changes wetOff;
	wetOff.set (23, 1.0);
	auto output = run (*effect, input, &wetOff.list);
	EXPECT_EQ (output.left, input.left);
	EXPECT_EQ (output.right, input.right);
}

TEST (Bypass, PassesAudioAndResumesTheHeldTail)
{
	auto bypassed = newActiveEffect ();
	auto straight = newActiveEffect ();
	ASSERT_TRUE (bypassed && straight);
	auto hit = impulse (1024);
	run (*bypassed, hit);
	run (*straight, hit);

	Changes on;
	on.set (19, 1.0);
	StereoBlock<float> music (1024);
	for (size_t i = 0; i < music.frames (); ++i)
		music.left[i] = music.right[i] = std::sin (0.01f * i);
	auto passed = run (*bypassed, music, &on.list);
	EXPECT_EQ (passed.left, music.left);
	EXPECT_EQ (passed.right, music.right);

	Changes off;
	off.set (19, 0.0);
	StereoBlock<float> quiet (2048);
	auto resumed = run (*bypassed, quiet, &off.list);
	auto continued = run (*straight, quiet);
	EXPECT_EQ (resumed.left, continued.left);
	EXPECT_EQ (resumed.right, continued.right);
	EXPECT_FALSE (allZero (resumed.left));
}

TEST (Silence, FlaggedInputLetsTheTailRingThenFlagsTheOutput)
{
	auto effect = newActiveEffect ();
	ASSERT_TRUE (effect);
	Changes shortDecay;
	shortDecay.set (5, 0.0); // 0.2 s decay: the gate closes after 5.2 s of silence
	auto hit = impulse (512);
	run (*effect, hit, &shortDecay.list);

	StereoBlock<float> silent (4096);
	uint64 flags = 99;
	auto tail = run (*effect, silent, nullptr, 3, &flags);
	EXPECT_EQ (flags, 0u);
	EXPECT_FALSE (allZero (tail.left)); // the tail rings on

	// One channel flagged is not silence: that input is still heard.
	StereoBlock<float> oneSided (512);
	oneSided.right[10] = 0.5f;
	run (*effect, oneSided, nullptr, 1, &flags);
	EXPECT_EQ (flags, 0u);

	const int32 holdFrames = static_cast<int32> (5.2 * 44100) + 8192;
	for (int32 done = 0; done < holdFrames; done += 4096)
		run (*effect, silent, nullptr, 3, &flags);
	auto after = run (*effect, silent, nullptr, 3, &flags);
	EXPECT_EQ (flags, 3u);
	EXPECT_TRUE (allZero (after.left));
	EXPECT_TRUE (allZero (after.right));

	// Sound again: the outputs are no longer flagged.
	run (*effect, hit, nullptr, 0, &flags);
	EXPECT_EQ (flags, 0u);
}

TEST (OddBlocks, OneChannelFeedsBothSides)
{
	auto mono = newActiveEffect ();
	auto stereo = newActiveEffect ();
	ASSERT_TRUE (mono && stereo);
	std::vector<float> monoIn (1024, 0.0f);
	monoIn[0] = 1.0f;
	float* monoChannels[1] = {monoIn.data ()};
	StereoBlock<float> out (1024);
	mono->process (monoChannels, 1, out.pointers (), 2, 1024);

	StereoBlock<float> both (1024);
	both.left[0] = both.right[0] = 1.0f;
	auto expected = run (*stereo, both);
	EXPECT_EQ (out.left, expected.left);
	EXPECT_EQ (out.right, expected.right);

	// One output channel: only it is written.
	std::vector<float> single (1024, 7.0f);
	float* singleOut[1] = {single.data ()};
	mono->process (monoChannels, 1, singleOut, 1, 1024);
	EXPECT_NE (single[0], 7.0f);
}

TEST (OddBlocks, NoBuffersOrNoSamplesOnlyApplyParameterChanges)
{
	auto effect = newActiveEffect ();
	auto reference = newActiveEffect ();
	ASSERT_TRUE (effect && reference);
	Changes wetOff;
	wetOff.set (23, 1.0);
	EXPECT_EQ (effect->process (static_cast<float* const*> (nullptr), 0,
	                            static_cast<float* const*> (nullptr), 0, 256, &wetOff.list),
	           kResultOk);
	StereoBlock<float> empty (0);
	EXPECT_EQ (effect->process (empty.pointers (), 2, empty.pointers (), 2, 0), kResultOk);

	// The change arrived: the next block hears only the dry signal.
	StereoBlock<float> input (128);
	input.left[3] = 0.75f;
	auto output = run (*effect, input);
	EXPECT_EQ (output.left, input.left);
	EXPECT_FALSE (allZero (run (*reference, input).right) && allZero (run (*reference, input).left));
}

TEST (OddBlocks, InPlaceBuffersAndLargeBlocks)
{
	auto inPlace = newActiveEffect ();
	auto separate = newActiveEffect ();
	ASSERT_TRUE (inPlace && separate);
	auto input = impulse (8192);
	auto expected = run (*separate, input);
	auto buffers = impulse (8192);
	inPlace->process (buffers.pointers (), 2, buffers.pointers (), 2, 8192);
	EXPECT_EQ (buffers.left, expected.left);
	EXPECT_EQ (buffers.right, expected.right);
}

// An hour of audio through the built bundle, faster than real time: noise bursts and
// silence, a random subset of parameters changed every block (edge values included),
// block sizes from 1 to 8192, in-place buffers, and every sample rate from 22050 to
// 384000 Hz requested between segments while inactive. Seeded, so every run is the same.
//
// QUILLMERE_SOAK_SECONDS sets the amount of audio (default: one hour in optimised
// builds, a few minutes' worth in sanitizer builds).

#include "BundleFixture.h"
#include "ParameterChanges.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <random>

#ifndef QUILLMERE_SOAK_DEFAULT_SECONDS
#define QUILLMERE_SOAK_DEFAULT_SECONDS 3600
#endif

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

const int32 kMaxBlock = 8192;
const ParamID kDecayParam = 5;
const ParamID kBypassParam = 19;
const ParamID kLastSetting = 25;

// The output bound, for inputs within [-1, 1]. Held settings stay small: the dry path
// gives at most 1, the wet path (q + crossfeed * q') * wetGain with crossfeed <= 1 and
// wetGain <= 0.399, q being the early and late sum (gains <= 1 and <= 0.150) after three
// equaliser bands of at most +12 dB; every comb's feedback stays below 1, and a search
// over held extreme settings with noise never passed 25. What lifts the soak's peaks
// far above that is a jump of an equaliser band's design while audio runs: the
// direct-form biquad restarts from the old design's history, and with poles close to
// the unit circle (30 Hz at 192 kHz, or next to the Nyquist frequency) the transient
// peaks at hundreds. One hour of this soak peaks at 401, four hours at 629 (+56 dBFS).
// 4096 (+72 dBFS) leaves room for that and still stops anything that grows without
// limit (an equaliser band designed at the Nyquist frequency once reached 1e10 here).
const double kOutputBound = 4096.0;

// The longest decay the engine offers, and the hold its silence gate adds.
const double kMaxDecaySeconds = 20.0;
const double kGateExtraSeconds = 5.0;

double soakSeconds ()
{
	if (const char* text = std::getenv ("QUILLMERE_SOAK_SECONDS"))
	{
		const double seconds = std::atof (text);
		if (seconds > 0.0)
			return seconds;
	}
	return QUILLMERE_SOAK_DEFAULT_SECONDS;
}

// The engine's own rate for a requested one.
double engineRate (double requested) { return std::min (std::max (requested, 44000.0), 192000.0); }

// Values hosts send, edges included: both ends, the middle where switches and the
// equaliser's two slopes meet, and the values just beside each.
ParamValue edgyValue (std::mt19937_64& rng)
{
	static const ParamValue edges[] = {
	    0.0, 1.0, 0.5, std::nextafter (0.5, 0.0), std::nextafter (0.5, 1.0),
	    std::nextafter (0.0, 1.0), std::nextafter (1.0, 0.0), 1e-9, 1.0 - 1e-9};
	const uint64_t pick = rng () % 16;
	if (pick < std::size (edges))
		return edges[pick];
	return std::uniform_real_distribution<double> (0.0, 1.0) (rng);
}

struct SoakStats
{
	double seconds = 0.0;
	double largest = 0.0;
	long blocks = 0;
	long segments = 0;
	long silentBlocksChecked = 0;
	long failures = 0;
};

template <typename Sample>
class SoakRunner
{
public:
	SoakRunner (QuillmereHost::EffectInstance& effect, std::mt19937_64& rng, SoakStats& stats)
	    : effect (effect), rng (rng), stats (stats), changes (32, 2), in (kMaxBlock), out (kMaxBlock)
	{
	}

	// One segment at one requested rate: bursts of noise between short pauses, then
	// silence until the gate must have closed, and a little past it. The gate counts the
	// engine's frames: below 44000 Hz the engine runs at 44000 Hz, so there the hold lasts
	// longer than decay + 5 s of the host's time (twice as long at 22050 Hz).
	void segment (double rate, bool flagSilence)
	{
		requestedRate = rate;
		const double holdFrames = (kMaxDecaySeconds + kGateExtraSeconds) * engineRate (rate);
		const int bursts = 1 + static_cast<int> (rng () % 4);
		for (int burst = 0; burst < bursts; ++burst)
		{
			runFor (std::uniform_real_distribution<double> (0.05, 12.0) (rng) * rate, true, false);
			runFor (std::uniform_real_distribution<double> (0.0, 3.0) (rng) * rate, false, flagSilence);
		}
		// Frames count towards the gate only while the engine runs, that is, not bypassed.
		engineSilentFrames = 0;
		const double checkedFrames = 0.25 * engineRate (rate);
		while (engineSilentFrames < holdFrames + checkedFrames && !failed ())
		{
			const bool pastHold = engineSilentFrames >= holdFrames;
			runBlock (false, flagSilence, pastHold);
		}
	}

	bool failed () const { return stats.failures > 0; }

private:
	void runFor (double frames, bool noise, bool flagSilence)
	{
		for (double done = 0; done < frames && !failed ();)
			done += runBlock (noise, flagSilence, false);
	}

	int32 randomBlockSize ()
	{
		// A quarter of the blocks are small, the way hosts split blocks at automation points.
		if (rng () % 4 == 0)
			return 1 + static_cast<int32> (rng () % 64);
		return 1 + static_cast<int32> (rng () % kMaxBlock);
	}

	void queueRandomChanges ()
	{
		changes.clear ();
		for (ParamID id = 0; id <= kLastSetting; ++id)
		{
			// The global bypass changes seldom, so most of the audio runs through the engine.
			const uint64_t oneIn = id == kBypassParam ? 64 : 5;
			if (rng () % oneIn != 0)
				continue;
			const ParamValue value = edgyValue (rng);
			int32 index = 0;
			if (IParamValueQueue* queue = changes.addParameterData (id, index))
				queue->addPoint (static_cast<int32> (rng () % 8), value, index);
			if (id == kBypassParam)
				bypassed = value > 0.5;
		}
	}

	// Returns the frames processed.
	int32 runBlock (bool noise, bool flagSilence, bool mustBeSilent)
	{
		const int32 frames = randomBlockSize ();
		if (noise)
		{
			std::uniform_real_distribution<double> sample (-1.0, 1.0);
			for (int32 i = 0; i < frames; ++i)
			{
				in.left[i] = static_cast<Sample> (sample (rng));
				in.right[i] = static_cast<Sample> (sample (rng));
			}
		}
		else
		{
			std::fill (in.left.begin (), in.left.begin () + frames, Sample (0));
			std::fill (in.right.begin (), in.right.begin () + frames, Sample (0));
		}
		queueRandomChanges ();
		const bool inPlace = rng () % 3 == 0;
		Sample* const* inputs = in.pointers ();
		Sample* const* outputs = inPlace ? inputs : out.pointers ();
		uint64 outputSilence = 0;
		const uint64 inputSilence = (!noise && flagSilence) ? 3 : 0;
		effect.process (inputs, 2, outputs, 2, frames, &changes, inputSilence, &outputSilence);
		check (outputs, frames, outputSilence, mustBeSilent, flagSilence);

		if (!noise && !bypassed)
			engineSilentFrames += frames;
		stats.seconds += frames / requestedRate;
		++stats.blocks;
		return frames;
	}

	void check (Sample* const* outputs, int32 frames, uint64 outputSilence, bool mustBeSilent,
	            bool silenceWasFlagged)
	{
		for (int c = 0; c < 2; ++c)
		{
			for (int32 i = 0; i < frames; ++i)
			{
				const double value = outputs[c][i];
				const double size = std::fabs (value);
				if (!(size <= kOutputBound))
					fail ("output beyond the bound or not finite", value, c, i);
				stats.largest = std::max (stats.largest, size);
				if (sizeof (Sample) == sizeof (float) && value != 0.0 && size < FLT_MIN)
					fail ("subnormal float in the output", value, c, i);
				if (mustBeSilent && value != 0.0)
					fail ("output not exactly zero after the gate's hold", value, c, i);
			}
		}
		if (mustBeSilent)
		{
			++stats.silentBlocksChecked;
			if (silenceWasFlagged && outputSilence != 3)
				fail ("output not flagged silent after the gate's hold", double (outputSilence), 0, 0);
		}
	}

	void fail (const char* what, double value, int channel, int32 frame)
	{
		if (++stats.failures > 5)
			return;
		ADD_FAILURE () << what << ": " << value << " on channel " << channel << ", frame " << frame
		               << " of block " << stats.blocks << " (segment " << stats.segments
		               << ", requested rate " << requestedRate << ", " << stats.seconds
		               << " s into the soak, bypass " << bypassed << ")";
	}

	QuillmereHost::EffectInstance& effect;
	std::mt19937_64& rng;
	SoakStats& stats;
	ParameterChanges changes;
	QuillmereTest::StereoBlock<Sample> in;
	QuillmereTest::StereoBlock<Sample> out;
	double requestedRate = 44100.0;
	double engineSilentFrames = 0;
	bool bypassed = false;
};

} // namespace

TEST (Soak, HourOfHostileAudioStaysFiniteBoundedAndEndsInExactSilence)
{
	static const double kRates[] = {22050.0, 24000.0, 32000.0,  44000.0,  44100.0,  48000.0,
	                                64000.0, 88200.0, 96000.0, 176400.0, 192000.0, 352800.0,
	                                384000.0};
	const double target = soakSeconds ();
	std::mt19937_64 rng (0x5eed2024);
	SoakStats stats;

	auto effect = QuillmereTest::newEffect ();
	ASSERT_TRUE (effect);
	std::vector<double> order (std::begin (kRates), std::end (kRates));
	size_t next = order.size ();
	while (stats.seconds < target && stats.failures == 0)
	{
		// Every rate in turn, in a fresh order each round.
		if (next == order.size ())
		{
			std::shuffle (order.begin (), order.end (), rng);
			next = 0;
		}
		const double rate = order[next++];
		const bool doublePrecision = rng () % 4 == 0;
		const bool flagSilence = rng () % 4 != 0;
		effect->setProcessing (false);
		ASSERT_EQ (effect->setActive (false), kResultOk);
		ASSERT_EQ (effect->setupProcessing (rate, kMaxBlock, doublePrecision ? kSample64 : kSample32),
		           kResultOk);
		ASSERT_EQ (effect->setActive (true), kResultOk);
		effect->setProcessing (true);
		++stats.segments;
		if (doublePrecision)
			SoakRunner<double> (*effect, rng, stats).segment (rate, flagSilence);
		else
			SoakRunner<float> (*effect, rng, stats).segment (rate, flagSilence);
	}
	std::printf ("soak: %.0f s of audio in %ld blocks, %ld segments, %ld silent blocks checked, "
	             "largest output %.4f\n",
	             stats.seconds, stats.blocks, stats.segments, stats.silentBlocksChecked, stats.largest);
	RecordProperty ("largest_output", std::to_string (stats.largest));
	EXPECT_EQ (stats.failures, 0);
	EXPECT_GT (stats.silentBlocksChecked, 0);
	EXPECT_GE (stats.seconds, target);
}

// The narrowing to 32 bits flushes what a float can only hold as a subnormal: a short
// decay rings far below the smallest normal float long before the gate closes.
TEST (Soak, TailsBelowTheSmallestNormalFloatReachA32BitOutputAsZero)
{
	auto narrow = QuillmereTest::newActiveEffect (44100.0, kSample32, 4096);
	auto wide = QuillmereTest::newActiveEffect (44100.0, kSample64, 4096);
	ASSERT_TRUE (narrow && wide);
	ParameterChanges changes (4, 1);
	int32 index = 0;
	changes.addParameterData (kDecayParam, index)->addPoint (0, 0.0, index); // 0.2 s
	QuillmereTest::StereoBlock<float> impulse32 (4096);
	QuillmereTest::StereoBlock<double> impulse64 (4096);
	impulse32.left[0] = impulse32.right[0] = 1.0f;
	impulse64.left[0] = impulse64.right[0] = 1.0;
	auto out32 = QuillmereTest::run (*narrow, impulse32, &changes);
	auto out64 = QuillmereTest::run (*wide, impulse64, &changes);

	QuillmereTest::StereoBlock<float> silence32 (4096);
	QuillmereTest::StereoBlock<double> silence64 (4096);
	long flushed = 0;
	for (int block = 0; block < 50; ++block) // about 4.6 s, inside the 5.2 s hold
	{
		for (size_t i = 0; i < out32.frames (); ++i)
		{
			for (int c = 0; c < 2; ++c)
			{
				const double wideValue = c ? out64.right[i] : out64.left[i];
				const float narrowValue = c ? out32.right[i] : out32.left[i];
				if (std::fabs (wideValue) < FLT_MIN)
				{
					ASSERT_EQ (narrowValue, 0.0f) << "block " << block << ", frame " << i;
					flushed += wideValue != 0.0;
				}
				else
					ASSERT_EQ (narrowValue, static_cast<float> (wideValue));
			}
		}
		out32 = QuillmereTest::run (*narrow, silence32);
		out64 = QuillmereTest::run (*wide, silence64);
	}
	EXPECT_GT (flushed, 0) << "the tail never went below the smallest normal float";
}

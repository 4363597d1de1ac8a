// Unusable input samples through the built bundle. One NaN or infinite sample (or a
// square wave at the largest double) used to turn the output into NaN some 25 ms later
// and keep it there until the effect was deactivated. Such samples now count as
// silence: the output is exactly what the same input with zeros in their place gives.

#include "BundleFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

const double kRate = 44100.0;
const int32 kBlockFrames = 512;

template <typename Sample>
struct Signal
{
	std::vector<Sample> left, right;
};

// Noise, then silence, then an impulse whose tail rings out.
template <typename Sample>
Signal<Sample> noiseThenImpulse ()
{
	const size_t noiseFrames = static_cast<size_t> (0.5 * kRate);
	const size_t impulseAt = noiseFrames + static_cast<size_t> (0.3 * kRate);
	Signal<Sample> s;
	s.left.assign (impulseAt + static_cast<size_t> (1.2 * kRate), Sample (0));
	s.right = s.left;
	std::mt19937 random (3);
	std::uniform_real_distribution<double> noise (-0.5, 0.5);
	for (size_t i = 0; i < noiseFrames; ++i)
	{
		s.left[i] = static_cast<Sample> (noise (random));
		s.right[i] = static_cast<Sample> (noise (random));
	}
	s.left[impulseAt] = s.right[impulseAt] = Sample (1);
	return s;
}

template <typename Sample>
Signal<Sample> render (const Signal<Sample>& input)
{
	const int32 sampleSize = sizeof (Sample) == 8 ? kSample64 : kSample32;
	auto effect = QuillmereTest::newActiveEffect (kRate, sampleSize, kBlockFrames);
	EXPECT_TRUE (effect);
	Signal<Sample> output {input.left, input.right};
	if (!effect)
		return output;
	QuillmereTest::StereoBlock<Sample> block (kBlockFrames);
	for (size_t start = 0; start + kBlockFrames <= input.left.size (); start += kBlockFrames)
	{
		std::copy_n (input.left.begin () + start, kBlockFrames, block.left.begin ());
		std::copy_n (input.right.begin () + start, kBlockFrames, block.right.begin ());
		auto out = QuillmereTest::run (*effect, block);
		std::copy (out.left.begin (), out.left.end (), output.left.begin () + start);
		std::copy (out.right.begin (), out.right.end (), output.right.begin () + start);
	}
	return output;
}

// Puts unusable samples into a signal; returns the signal with zeros in their place.
template <typename Sample>
using Spoiler = std::function<void (Signal<Sample>& spoilt, Signal<Sample>& silenced)>;

template <typename Sample>
void expectSpoiltSamplesCountAsSilence (const Spoiler<Sample>& spoil, const char* what)
{
	SCOPED_TRACE (::testing::Message () << what << ", " << 8 * sizeof (Sample) << "-bit");
	Signal<Sample> spoilt = noiseThenImpulse<Sample> ();
	Signal<Sample> silenced = spoilt;
	spoil (spoilt, silenced);
	const Signal<Sample> out = render (spoilt);
	const Signal<Sample> expected = render (silenced);

	size_t nonFinite = 0;
	for (size_t i = 0; i < out.left.size (); ++i)
		nonFinite += !std::isfinite (out.left[i]) + !std::isfinite (out.right[i]);
	EXPECT_EQ (nonFinite, 0u);
	EXPECT_EQ (std::memcmp (out.left.data (), expected.left.data (), out.left.size () * sizeof (Sample)), 0);
	EXPECT_EQ (std::memcmp (out.right.data (), expected.right.data (), out.right.size () * sizeof (Sample)), 0);
	// The impulse near the end still rings: the reverb works.
	double tail = 0.0;
	for (size_t i = out.left.size () - static_cast<size_t> (0.5 * kRate); i < out.left.size (); ++i)
		tail = std::max (tail, std::fabs (static_cast<double> (out.left[i])));
	EXPECT_GT (tail, 1e-4);
}

template <typename Sample>
void checkSingleSamples ()
{
	for (Sample bad : {std::numeric_limits<Sample>::quiet_NaN (), std::numeric_limits<Sample>::infinity (),
	                   -std::numeric_limits<Sample>::infinity (), std::numeric_limits<Sample>::max ()})
	{
		for (size_t at : {size_t (1000), size_t (kBlockFrames * 7 - 1)})
		{
			expectSpoiltSamplesCountAsSilence<Sample> (
			    [&] (Signal<Sample>& spoilt, Signal<Sample>& silenced) {
				    spoilt.left[at] = bad;
				    silenced.left[at] = Sample (0);
			    },
			    "one unusable sample");
		}
	}
}

template <typename Sample>
void checkFullScaleSquareWave ()
{
	expectSpoiltSamplesCountAsSilence<Sample> (
	    [] (Signal<Sample>& spoilt, Signal<Sample>& silenced) {
		    // Half a second at the largest value, in place of the noise.
		    const Sample top = std::numeric_limits<Sample>::max ();
		    for (size_t i = 0; i < static_cast<size_t> (0.5 * kRate); ++i)
		    {
			    spoilt.left[i] = spoilt.right[i] = (i / 50) % 2 == 0 ? top : -top;
			    silenced.left[i] = silenced.right[i] = Sample (0);
		    }
	    },
	    "square wave at the largest value");
}

} // namespace

TEST (BadAudio, OneNonFiniteOrHugeSampleCountsAsSilence)
{
	checkSingleSamples<float> ();
	checkSingleSamples<double> ();
}

TEST (BadAudio, FullScaleSquareWaveCountsAsSilenceAndTheReverbGoesOn)
{
	checkFullScaleSquareWave<float> ();
	checkFullScaleSquareWave<double> ();
}

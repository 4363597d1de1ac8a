// Equaliser bands at the top of their range when the host runs below 44100 Hz: the
// engine then runs at 44000 Hz, whose Nyquist frequency is the bands' top frequency.

#include "BundleFixture.h"
#include "ParameterChanges.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

double runNoise (QuillmereHost::EffectInstance& effect, std::mt19937& rng, int blocks,
                 ParameterChanges* changes)
{
	QuillmereTest::StereoBlock<double> block (4096);
	std::uniform_real_distribution<double> sample (-1.0, 1.0);
	double largest = 0.0;
	for (int b = 0; b < blocks; ++b)
	{
		for (size_t i = 0; i < block.frames (); ++i)
		{
			block.left[i] = sample (rng);
			block.right[i] = sample (rng);
		}
		auto out = QuillmereTest::run (effect, block, b == 0 ? changes : nullptr);
		for (size_t i = 0; i < out.frames (); ++i)
			largest = std::max ({largest, std::fabs (out.left[i]), std::fabs (out.right[i])});
	}
	return largest;
}

void queue (ParameterChanges& changes, ParamID id, ParamValue value)
{
	int32 index = 0;
	changes.addParameterData (id, index)->addPoint (0, value, index);
}

} // namespace

// A band moved to its top frequency while the reverb rings, with a deep cut. Designed at
// the Nyquist frequency, the band's poles were nearly double at -1, and the history of
// the previous design rang up for minutes (to +90 dB within seconds). Whatever the step
// itself does, some seconds later the output must be back to ordinary levels.
TEST (EqualiserEdge, TopFrequencyBelow44100HzStaysBounded)
{
	for (double rate : {22050.0, 32000.0, 44000.0, 44100.0})
	{
		for (ParamID frequencyId : {ParamID (12), ParamID (14)})
		{
			auto effect = QuillmereTest::newActiveEffect (rate, kSample64, 4096);
			ASSERT_TRUE (effect);
			std::mt19937 rng (9);
			ParameterChanges start (4, 1);
			queue (start, frequencyId, 0.5);
			queue (start, frequencyId + 1, 0.0); // -24 dB; the high band turns into a low-pass
			runNoise (*effect, rng, 10, &start);
			ParameterChanges top (4, 1);
			queue (top, frequencyId, 1.0);
			runNoise (*effect, rng, 30, &top);
			EXPECT_LT (runNoise (*effect, rng, 20, nullptr), 4.0)
			    << "band " << frequencyId << " at requested rate " << rate;
		}
	}
}

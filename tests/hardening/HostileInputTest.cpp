// Inputs the fuzzers found mishandled, kept as tests through the built bundle.

#include "BundleFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {
void putDouble (std::vector<uint8_t>& state, size_t field, double value)
{
	std::memcpy (&state[8 + 8 * field], &value, sizeof value); // little-endian, after the version
}
double getDouble (const std::vector<uint8_t>& state, size_t field)
{
	double value = 0.0;
	std::memcpy (&value, &state[8 + 8 * field], sizeof value);
	return value;
}
} // namespace

// A state is untrusted: a finite level far outside 0 to 1 reached the engine unchanged
// (its parameter showed it capped) and a full-scale input came out as infinity.
TEST (HostileInput, StateValuesOutsideZeroToOneAreCappedBeforeTheyReachTheEngine)
{
	auto effect = QuillmereTest::newActiveEffect (48000.0, kSample32, 512);
	ASSERT_TRUE (effect);
	std::vector<uint8_t> state;
	ASSERT_EQ (effect->getState (state), kResultOk);
	putDouble (state, 0, 1e300); // dry
	putDouble (state, 16, -7.0); // wet
	ASSERT_EQ (effect->setState (state), kResultOk);

	std::vector<uint8_t> saved;
	ASSERT_EQ (effect->getState (saved), kResultOk);
	EXPECT_EQ (getDouble (saved, 0), 1.0);
	EXPECT_EQ (getDouble (saved, 16), 0.0);
	EXPECT_EQ (effect->getParamNormalized (0), 1.0);

	QuillmereTest::StereoBlock<float> input (512);
	std::fill (input.left.begin (), input.left.end (), 1.0f);
	std::fill (input.right.begin (), input.right.end (), -1.0f);
	auto output = QuillmereTest::run (*effect, input);
	for (size_t i = 0; i < output.frames (); ++i)
	{
		ASSERT_TRUE (std::isfinite (output.left[i]) && std::fabs (output.left[i]) <= 1.0f) << i;
		ASSERT_TRUE (std::isfinite (output.right[i]) && std::fabs (output.right[i]) <= 1.0f) << i;
	}
}

// The switches and the meter parse text with the SDK's plain parameter, which took any
// number as the normalized value: "5" gave 5.
TEST (HostileInput, ParsedTextsAreNormalizedValuesForEveryParameter)
{
	auto effect = QuillmereTest::newEffect ();
	ASSERT_TRUE (effect);
	for (const char* text : {"5", "-5", "1e300", "-0.5", "2", "nan", "inf"})
	{
		for (int32 index = 0; index < effect->parameterCount (); ++index)
		{
			const ParamID id = effect->parameterInfo (index)->id;
			ParamValue value = -1.0;
			if (effect->textToValue (id, text, value) != kResultOk)
				continue;
			EXPECT_GE (value, 0.0) << "\"" << text << "\" for parameter " << id;
			EXPECT_LE (value, 1.0) << "\"" << text << "\" for parameter " << id;
		}
	}
	ParamValue value = -1.0;
	ASSERT_EQ (effect->textToValue (19, "5", value), kResultOk);
	EXPECT_EQ (value, 1.0);
	ASSERT_EQ (effect->textToValue (19, "-5", value), kResultOk);
	EXPECT_EQ (value, 0.0);
}

// What careless hosts hand the effect: streams whose result codes contradict
// their byte counts, and buses with negative channel counts.
#include "BundleFixture.h"

#include "pluginterfaces/base/ibstream.h"

#include <cmath>
#include <cstring>

namespace {

using namespace QuillmereTest;
using namespace Steinberg;
using namespace Steinberg::Vst;

// A memory stream that moves every byte asked for, but answers call number
// failingCall (counting from 0) with an error result all the same.
class ContradictingStream final : public IBStream
{
public:
	ContradictingStream (std::vector<uint8_t> contents, int failingCall)
	: bytes (std::move (contents)), failingCall (failingCall)
	{
	}

	tresult PLUGIN_API read (void* buffer, int32 numBytes, int32* numBytesRead) SMTG_OVERRIDE
	{
		auto count = static_cast<int32> (
		    std::min<size_t> (static_cast<size_t> (std::max (numBytes, 0)), bytes.size () - position));
		std::memcpy (buffer, bytes.data () + position, static_cast<size_t> (count));
		position += static_cast<size_t> (count);
		if (numBytesRead)
			*numBytesRead = count;
		return answer ();
	}
	tresult PLUGIN_API write (void* buffer, int32 numBytes, int32* numBytesWritten) SMTG_OVERRIDE
	{
		auto* data = static_cast<const uint8_t*> (buffer);
		bytes.insert (bytes.end (), data, data + std::max (numBytes, 0));
		if (numBytesWritten)
			*numBytesWritten = numBytes;
		return answer ();
	}
	tresult PLUGIN_API seek (int64, int32, int64*) SMTG_OVERRIDE { return kNotImplemented; }
	tresult PLUGIN_API tell (int64* pos) SMTG_OVERRIDE
	{
		if (pos)
			*pos = static_cast<int64> (position);
		return kResultOk;
	}

	tresult PLUGIN_API queryInterface (const TUID iid, void** obj) SMTG_OVERRIDE
	{
		QUERY_INTERFACE (iid, obj, FUnknown::iid, IBStream)
		QUERY_INTERFACE (iid, obj, IBStream::iid, IBStream)
		*obj = nullptr;
		return kNoInterface;
	}
	uint32 PLUGIN_API addRef () SMTG_OVERRIDE { return 1; }
	uint32 PLUGIN_API release () SMTG_OVERRIDE { return 1; }

	int calls () const { return callCount; }
	const std::vector<uint8_t>& contents () const { return bytes; }

private:
	tresult answer () { return callCount++ == failingCall ? kResultFalse : kResultOk; }

	std::vector<uint8_t> bytes;
	size_t position = 0;
	int failingCall;
	int callCount = 0;
};

constexpr int kNeverFails = -1;

std::vector<uint8_t> stateOf (QuillmereHost::EffectInstance& effect)
{
	std::vector<uint8_t> bytes;
	EXPECT_EQ (effect.getState (bytes), kResultOk);
	return bytes;
}

TEST (StreamResults, AReadAnsweredWithAnErrorRefusesTheStateWhateverItsCount)
{
	auto donor = newEffect ();
	auto effect = newEffect ();
	ASSERT_TRUE (donor && effect);
	for (ParamID id : {0u, 5u, 9u, 19u, 25u})
		donor->setParamNormalized (id, 0.9);
	const std::vector<uint8_t> donorState = stateOf (*donor);
	const std::vector<uint8_t> before = stateOf (*effect);
	ASSERT_NE (donorState, before);

	ContradictingStream honest (donorState, kNeverFails);
	ASSERT_EQ (effect->component ()->setState (&honest), kResultOk) << "the stream itself is fine";
	const int readCalls = honest.calls ();
	ASSERT_GT (readCalls, 1);
	ASSERT_EQ (effect->setState (before), kResultOk);

	for (int failing = 0; failing < readCalls; ++failing)
	{
		ContradictingStream stream (donorState, failing);
		EXPECT_NE (effect->component ()->setState (&stream), kResultOk) << "read " << failing;
		EXPECT_TRUE (stateOf (*effect) == before) << "changed by a refused read " << failing;
	}
}

TEST (StreamResults, AWriteAnsweredWithAnErrorFailsGetState)
{
	auto effect = newEffect ();
	ASSERT_TRUE (effect);
	const std::vector<uint8_t> expected = stateOf (*effect);

	ContradictingStream honest ({}, kNeverFails);
	ASSERT_EQ (effect->component ()->getState (&honest), kResultOk);
	const int writeCalls = honest.calls ();
	ASSERT_GT (writeCalls, 1);
	EXPECT_EQ (honest.contents (), expected) << "the stream itself is fine";

	for (int failing = 0; failing < writeCalls; ++failing)
	{
		ContradictingStream stream ({}, failing);
		EXPECT_NE (effect->component ()->getState (&stream), kResultOk) << "write " << failing;
	}
}

// A bus with -1 channels has none: nothing is read or written through it and
// no silence flag is raised for channels that are not there.
template <typename Sample>
void expectNegativeCountsMeanNoChannels ()
{
	constexpr int32 frames = 256;
	const int32 sampleSize = sizeof (Sample) == 4 ? kSample32 : kSample64;
	struct Counts
	{
		int32 inputs, outputs;
	};
	for (Counts counts : {Counts {-1, 2}, Counts {2, -1}, Counts {-1, -1}, Counts {-1, 1}})
	{
		SCOPED_TRACE (std::to_string (counts.inputs) + " in, " + std::to_string (counts.outputs) +
		              " out");
		auto effect = newActiveEffect (44100.0, sampleSize, 1024);
		ASSERT_TRUE (effect);
		StereoBlock<Sample> input (frames);
		for (int32 i = 0; i < frames; ++i)
			input.left[static_cast<size_t> (i)] = input.right[static_cast<size_t> (i)] =
			    Sample (std::sin (0.1 * i) * 0.5);
		StereoBlock<Sample> output (frames);
		const Sample untouched = Sample (0.25);
		std::fill (output.left.begin (), output.left.end (), untouched);
		std::fill (output.right.begin (), output.right.end (), untouched);
		uint64 outputSilence = ~uint64 (0);
		ASSERT_EQ (effect->process (input.pointers (), counts.inputs, output.pointers (),
		                            counts.outputs, frames, nullptr, 0, &outputSilence),
		           kResultOk);

		for (int32 c = 0; c < 2; ++c)
		{
			const std::vector<Sample>& channel = c == 0 ? output.left : output.right;
			for (Sample s : channel)
				ASSERT_TRUE (std::isfinite (s));
			const Sample expected = c >= counts.outputs ? untouched : Sample (0);
			if (c >= counts.outputs || counts.inputs < 0)
			{
				EXPECT_TRUE (channel == std::vector<Sample> (frames, expected))
				    << "channel " << c << " should be all " << expected;
			}
		}
		if (counts.outputs < 0)
		{
			EXPECT_EQ (outputSilence, 0u) << "flags for channels that are not there";
		}
	}
}

TEST (NegativeChannelCounts, MeanNoChannelsInBothPrecisions)
{
	expectNegativeCountsMeanNoChannels<float> ();
	expectNegativeCountsMeanNoChannels<double> ();
}

} // namespace

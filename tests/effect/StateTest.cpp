// Saved state: round trips, older versions, refusals, and restores while audio runs.

#include "BundleFixture.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <thread>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace QuillmereTest;

namespace {
using Bytes = std::vector<uint8_t>;

// Builds a state stream field by field, in any version's layout.
struct StreamBuilder
{
	Bytes bytes;
	StreamBuilder& u64 (uint64 v)
	{
		for (int i = 0; i < 8; ++i)
			bytes.push_back (static_cast<uint8_t> (v >> (8 * i)));
		return *this;
	}
	StreamBuilder& f64 (double v)
	{
		uint64 bits;
		std::memcpy (&bits, &v, 8);
		return u64 (bits);
	}
	StreamBuilder& i8 (int v)
	{
		bytes.push_back (static_cast<uint8_t> (v));
		return *this;
	}
};

// The seventeen leading doubles, dry to wet.
struct Leading
{
	double v[17] = {1.0, 0.1, 1.0, 0.5, 0.2, 0.7, 0.8, 0.9, 0.3, 0.5, 0.4, 0.5, 0.6, 0.5, 1.0, 1.0, 0.5};
	enum { kDry, kPredelay, kWidth, kDecay, kRoom, kDiffusion, kDampIntensity, kDamp, kLowShelf,
	       kLowGain, kPeak, kPeakGain, kHighShelf, kHighGain, kEarly, kReverb, kWet };
};

Bytes stream (uint64 version, const Leading& lead, int earlyVar = 2, int reverbVar = 1,
              int bypass = 0, std::vector<int> pathBypasses = {0, 0, 0, 0}, double modSpeed = 0.3,
              double modDepth = 0.406)
{
	StreamBuilder b;
	b.u64 (version);
	for (double d : lead.v)
		b.f64 (d);
	b.i8 (earlyVar).i8 (reverbVar).i8 (bypass);
	if (version >= 3)
		for (int flag : pathBypasses)
			b.i8 (flag);
	if (version >= 4)
		b.f64 (modSpeed).f64 (modDepth);
	return b.bytes;
}

Bytes stateOf (QuillmereHost::EffectInstance& effect)
{
	Bytes bytes;
	EXPECT_EQ (effect.getState (bytes), kResultOk);
	return bytes;
}

double doubleAt (const Bytes& bytes, size_t offset)
{
	double v;
	std::memcpy (&v, bytes.data () + offset, 8);
	return v;
}

StereoBlock<float> noise (size_t frames, uint32_t seed)
{
	StereoBlock<float> block (frames);
	for (size_t i = 0; i < frames; ++i)
	{
		seed = seed * 1664525u + 1013904223u;
		block.left[i] = static_cast<float> (static_cast<int32_t> (seed) / 2147483648.0);
		seed = seed * 1664525u + 1013904223u;
		block.right[i] = static_cast<float> (static_cast<int32_t> (seed) / 2147483648.0);
	}
	return block;
}
} // namespace

TEST (StateRoundTrip, DefaultsAreVersionFiveAndReadBackUnchanged)
{
	auto effect = newEffect ();
	ASSERT_TRUE (effect);
	Bytes saved = stateOf (*effect);
	ASSERT_EQ (saved.size (), 167u);
	const Bytes versionFive = {5, 0, 0, 0, 0, 0, 0, 0};
	EXPECT_TRUE (std::equal (versionFive.begin (), versionFive.end (), saved.begin ()));
	EXPECT_EQ (effect->setState (saved), kResultOk);
	EXPECT_EQ (stateOf (*effect), saved);
}

TEST (StateRoundTrip, EditedSettingsReloadIntoANewInstanceAndSoundTheSame)
{
	auto original = newActiveEffect ();
	ASSERT_TRUE (original);
	// Edits reach the controller and the audio thread, some only the audio thread.
	ParameterChanges changes (8, 4);
	int32 index, point;
	for (auto edit : {std::make_pair (5u, 0.8), std::make_pair (3u, 1.0), std::make_pair (22u, 1.0)})
	{
		original->setParamNormalized (edit.first, edit.second);
		changes.addParameterData (edit.first, index)->addPoint (0, edit.second, point);
	}
	changes.addParameterData (9, index)->addPoint (0, 0.25, point);
	changes.addParameterData (24, index)->addPoint (0, 0.0, point);
	changes.addParameterData (25, index)->addPoint (0, 0.0, point);
	StereoBlock<float> quiet (64);
	run (*original, quiet, &changes);

	Bytes saved = stateOf (*original);
	EXPECT_EQ (doubleAt (saved, 64), 0.25); // the audio-side edit is saved
	EXPECT_EQ (saved[144], 11);

	auto reloaded = newEffect ();
	ASSERT_TRUE (reloaded);
	ASSERT_EQ (reloaded->setState (saved), kResultOk);
	for (const auto& call : reloaded->handler ().calls ()) // a restore is not an edit
		EXPECT_EQ (call.kind, QuillmereHost::ComponentHandlerRecorder::Kind::kRestartComponent);
	EXPECT_EQ (stateOf (*reloaded), saved);
	EXPECT_EQ (reloaded->getParamNormalized (9), 0.25);
	EXPECT_EQ (reloaded->getParamNormalized (22), 1.0);

	// Same settings, same frames processed, cleared memory on both: the same sound.
	reloaded->setupProcessing (44100, 8192);
	reloaded->setActive (true);
	run (*reloaded, quiet);
	original->setActive (false);
	original->setActive (true);
	reloaded->setActive (false);
	reloaded->setActive (true);
	auto input = noise (4096, 7);
	auto a = run (*original, input);
	auto b = run (*reloaded, input);
	EXPECT_EQ (a.left, b.left);
	EXPECT_EQ (a.right, b.right);
}

TEST (StateRoundTrip, OutOfRangeHostValuesAreHeldInRangeSoTheyReadBackUnchanged)
{
	auto effect = newActiveEffect ();
	ASSERT_TRUE (effect);
	effect->setParamNormalized (0, 7.5);
	ParameterChanges changes (4, 4);
	int32 index, point;
	changes.addParameterData (18, index)->addPoint (0, 1e300, point);
	StereoBlock<float> quiet (32);
	run (*effect, quiet, &changes);
	Bytes saved = stateOf (*effect);
	EXPECT_EQ (doubleAt (saved, 8), 1.0);
	EXPECT_EQ (doubleAt (saved, 136), 1.0);
	ASSERT_EQ (effect->setState (saved), kResultOk);
	EXPECT_EQ (stateOf (*effect), saved);
}

TEST (StateOlderVersions, VersionZeroConvertsFrequenciesEarlyLevelAndDecay)
{
	auto effect = newEffect ();
	ASSERT_TRUE (effect);
	Leading lead;
	lead.v[Leading::kDamp] = 0.5;
	lead.v[Leading::kEarly] = 1.0;
	lead.v[Leading::kDecay] = 0.25;
	lead.v[Leading::kLowShelf] = 0.0;
	lead.v[Leading::kHighShelf] = 1.0;
	ASSERT_EQ (effect->setState (stream (0, lead)), kResultOk);
	EXPECT_EQ (effect->valueToText (9, effect->getParamNormalized (9)), "13010.0");
	EXPECT_EQ (effect->valueToText (10, effect->getParamNormalized (10)), "20.0");
	EXPECT_EQ (effect->valueToText (14, effect->getParamNormalized (14)), "22000.0");
	EXPECT_DOUBLE_EQ (effect->getParamNormalized (16), 0.501187);
	EXPECT_DOUBLE_EQ (effect->getParamNormalized (5), 0.5);
	EXPECT_EQ (effect->valueToText (5, effect->getParamNormalized (5)), "5.15");
	EXPECT_EQ (stateOf (*effect).size (), 167u);
}

TEST (StateOlderVersions, VersionOneSquaresDecayOnly)
{
	auto effect = newEffect ();
	ASSERT_TRUE (effect);
	Leading lead;
	lead.v[Leading::kDecay] = 0.25;
	ASSERT_EQ (effect->setState (stream (1, lead)), kResultOk);
	EXPECT_DOUBLE_EQ (effect->getParamNormalized (5), 0.5);
	EXPECT_DOUBLE_EQ (effect->getParamNormalized (9), 0.9);
	EXPECT_DOUBLE_EQ (effect->getParamNormalized (16), 1.0);
}

TEST (StateOlderVersions, VersionsTwoToFourFillMissingFieldsAndConvertEqGains)
{
	auto effect = newEffect ();
	ASSERT_TRUE (effect);
	effect->setParamNormalized (21, 1.0);
	Leading lead;
	lead.v[Leading::kLowGain] = 0.25;
	lead.v[Leading::kPeakGain] = 0.75;
	lead.v[Leading::kHighGain] = 0.0;
	ASSERT_EQ (effect->setState (stream (2, lead)), kResultOk);
	for (ParamID id : {20u, 21u, 22u, 23u, 24u, 25u})
		EXPECT_EQ (effect->getParamNormalized (id), 0.0) << id;
	EXPECT_EQ (effect->getParamNormalized (11), 0.375);
	EXPECT_EQ (effect->getParamNormalized (13), 0.75);
	EXPECT_EQ (effect->getParamNormalized (15), 0.25);
	EXPECT_DOUBLE_EQ (effect->getParamNormalized (5), 0.5);

	ASSERT_EQ (effect->setState (stream (3, lead, 2, 1, 0, {1, 0, 1, 0})), kResultOk);
	EXPECT_EQ (effect->getParamNormalized (20), 1.0);
	EXPECT_EQ (effect->getParamNormalized (21), 0.0);
	EXPECT_EQ (effect->getParamNormalized (22), 1.0);
	EXPECT_EQ (effect->getParamNormalized (24), 0.0);

	ASSERT_EQ (effect->setState (stream (4, lead, 2, 1, 0, {0, 0, 0, 1}, 0.6, 0.2)), kResultOk);
	EXPECT_EQ (effect->getParamNormalized (23), 1.0);
	EXPECT_EQ (effect->getParamNormalized (24), 0.6);
	EXPECT_EQ (effect->getParamNormalized (25), 0.2);
	EXPECT_EQ (effect->getParamNormalized (11), 0.375);

	// Version 5 and later keep the gains as stored.
	ASSERT_EQ (effect->setState (stream (9, lead, 2, 1, 0, {0, 0, 0, 0}, 0.6, 0.2)), kResultOk);
	EXPECT_EQ (effect->getParamNormalized (11), 0.25);
	EXPECT_EQ (stateOf (*effect)[0], 5);
}

TEST (StateRefusals, EveryShortStreamChangesNothing)
{
	auto effect = newEffect ();
	ASSERT_TRUE (effect);
	effect->setParamNormalized (7, 0.33);
	const Bytes before = stateOf (*effect);
	Leading lead;
	lead.v[Leading::kDiffusion] = 0.99;
	for (uint64 version : {0u, 3u, 4u, 5u})
	{
		Bytes full = stream (version, lead, 5, 3, 1, {1, 1, 1, 1}, 0.9, 0.9);
		for (size_t length = 0; length < full.size (); ++length)
		{
			Bytes cut (full.begin (), full.begin () + length);
			ASSERT_EQ (effect->setState (cut), kResultFalse) << "version " << version << " length " << length;
		}
	}
	EXPECT_EQ (stateOf (*effect), before);
	EXPECT_EQ (effect->getParamNormalized (7), 0.33);
}

TEST (StateRefusals, NonFiniteValuesAreRefusedAndIndicesClamped)
{
	auto effect = newEffect ();
	ASSERT_TRUE (effect);
	const Bytes before = stateOf (*effect);
	for (double poison : {std::nan (""), double (INFINITY), -double (INFINITY)})
	{
		for (int field : {0, 3, 8, 16})
		{
			Leading lead;
			lead.v[field] = poison;
			EXPECT_EQ (effect->setState (stream (5, lead)), kResultFalse);
		}
		EXPECT_EQ (effect->setState (stream (5, Leading (), 2, 1, 0, {0, 0, 0, 0}, poison)), kResultFalse);
	}
	// A negative old decay has no square root.
	Leading negativeDecay;
	negativeDecay.v[Leading::kDecay] = -1.0;
	EXPECT_EQ (effect->setState (stream (1, negativeDecay)), kResultFalse);
	EXPECT_EQ (stateOf (*effect), before);

	ASSERT_EQ (effect->setState (stream (5, Leading (), 40, -3, 7, {2, 0, 0, 0})), kResultOk);
	Bytes clamped = stateOf (*effect);
	EXPECT_EQ (clamped[144], 11);
	EXPECT_EQ (clamped[145], 0);
	EXPECT_EQ (clamped[146], 1);
	EXPECT_EQ (clamped[147], 1);
	EXPECT_EQ (effect->valueToText (3, effect->getParamNormalized (3)), "Variation 12");
	EXPECT_EQ (effect->getParamNormalized (19), 1.0);
}

TEST (StateConcurrency, RestoresWhileAudioRunsArriveWholeAndReachTheEngine)
{
	auto effect = newActiveEffect (44100, kSample32, 512);
	ASSERT_TRUE (effect);
	// Distinct states without modulation depth, so the free-running LFO cannot tell them apart.
	std::vector<Bytes> states;
	for (int i = 0; i < 6; ++i)
	{
		Leading lead;
		lead.v[Leading::kDecay] = 0.1 + 0.15 * i;
		lead.v[Leading::kRoom] = 0.9 - 0.1 * i;
		states.push_back (stream (5, lead, i, i % 5, 0, {0, i % 2, 0, 0}, 0.0, 0.0));
	}

	std::atomic<bool> stop {false};
	std::thread audio ([&] {
		auto input = noise (512, 3);
		StereoBlock<float> output (512);
		while (!stop.load ())
			effect->process (input.pointers (), 2, output.pointers (), 2, 512);
	});
	for (int round = 0; round < 300; ++round)
	{
		const Bytes& state = states[round % states.size ()];
		ASSERT_EQ (effect->setState (state), kResultOk);
		Bytes readBack = stateOf (*effect);
		ASSERT_EQ (readBack, state) << "round " << round;
	}
	const Bytes& last = states[299 % states.size ()];
	stop.store (true);
	audio.join ();

	// The last restore is handed to the audio thread at its next block.
	StereoBlock<float> one (16);
	run (*effect, one);
	effect->setActive (false);
	effect->setActive (true);
	auto fresh = newActiveEffect (44100, kSample32, 512);
	ASSERT_TRUE (fresh);
	ASSERT_EQ (fresh->setState (last), kResultOk);
	auto input = noise (512, 11);
	auto a = run (*effect, input);
	auto b = run (*fresh, input);
	EXPECT_EQ (a.left, b.left);
	EXPECT_EQ (a.right, b.right);
}

namespace {
// Keeps the audio thread inside the host's getPoint, as a slow host or a preempting
// scheduler can: until the gate opens, or for a set time.
struct Gate
{
	std::atomic<bool> reached {false};
	std::atomic<bool> open {false};
};

class StallingQueue : public ParameterValueQueue
{
public:
	StallingQueue (ParamID id, ParamValue value, Gate* gate, std::chrono::microseconds stall)
	: ParameterValueQueue (id, 1), gate (gate), stall (stall)
	{
		int32 index;
		addPoint (0, value, index);
	}
	tresult PLUGIN_API getPoint (int32 index, int32& sampleOffset, ParamValue& value) override
	{
		if (gate)
		{
			gate->reached.store (true);
			while (!gate->open.load ())
				std::this_thread::yield ();
		}
		else
		{
			std::this_thread::sleep_for (stall);
		}
		return ParameterValueQueue::getPoint (index, sampleOffset, value);
	}

private:
	Gate* gate;
	std::chrono::microseconds stall;
};

// One block's changes: the global bypass and Wet, each read through a stalling queue.
class StallingChanges : public IParameterChanges
{
public:
	StallingChanges (ParamValue bypass, ParamValue wet, Gate* gate,
	                 std::chrono::microseconds stall = std::chrono::microseconds (0))
	: bypassQueue (19, bypass, gate, stall), wetQueue (18, wet, gate, stall)
	{
	}
	int32 PLUGIN_API getParameterCount () override { return 2; }
	IParamValueQueue* PLUGIN_API getParameterData (int32 index) override
	{
		return index == 0 ? &bypassQueue : index == 1 ? &wetQueue : nullptr;
	}
	IParamValueQueue* PLUGIN_API addParameterData (const ParamID&, int32& index) override
	{
		index = -1;
		return nullptr;
	}
	tresult PLUGIN_API queryInterface (const TUID, void** obj) override
	{
		*obj = nullptr;
		return kNoInterface;
	}
	uint32 PLUGIN_API addRef () override { return 1; }
	uint32 PLUGIN_API release () override { return 1; }

private:
	StallingQueue bypassQueue;
	StallingQueue wetQueue;
};

// A restore without modulation depth (the free-running LFO cannot tell instances apart),
// nor pre-delay (the reverb is heard within a block), Bypass off and the given Wet.
Bytes restoreWithWet (double wet)
{
	Leading lead;
	lead.v[Leading::kPredelay] = 0.0;
	lead.v[Leading::kWet] = wet;
	return stream (5, lead, 2, 1, 0, {0, 0, 0, 0}, 0.0, 0.0);
}

// Checks that the effect plays what its saved state says: with its memory cleared it must
// sound exactly like a reference instance restored from that state, and pass its input
// through unchanged exactly when the saved Bypass is on.
void expectPlaysAsSaved (QuillmereHost::EffectInstance& effect,
                         QuillmereHost::EffectInstance& reference, const Bytes& saved,
                         const std::string& trial)
{
	ASSERT_EQ (reference.setState (saved), kResultOk);
	for (QuillmereHost::EffectInstance* instance : {&effect, &reference})
	{
		instance->setActive (false);
		instance->setActive (true);
	}
	auto input = noise (512, 5);
	auto played = run (effect, input);
	auto expected = run (reference, input);
	const bool audibleBypass = played.left == input.left && played.right == input.right;
	EXPECT_EQ (audibleBypass, saved[146] == 1) << trial;
	EXPECT_TRUE (played.left == expected.left && played.right == expected.right)
	    << trial << ": saved Wet " << doubleAt (saved, 136);
}

#if defined(__SANITIZE_THREAD__)
const int kRaceTrials = 10; // clearing the engine's memory each trial is slow under this sanitizer
#else
const int kRaceTrials = 30;
#endif

void expectRestartsOnlyFromThisThread (QuillmereHost::EffectInstance& effect)
{
	for (const auto& call : effect.handler ().calls ())
		EXPECT_EQ (call.thread, std::this_thread::get_id ());
}
} // namespace

TEST (StateConcurrency, ARestoreDuringAStalledQueueReadWinsInTheSoundAndTheSavedState)
{
	auto effect = newActiveEffect (44100, kSample32, 512);
	auto reference = newActiveEffect (44100, kSample32, 512);
	ASSERT_TRUE (effect && reference);
	auto input = noise (512, 3);
	for (int trial = 0; trial < kRaceTrials; ++trial)
	{
		// The block brings Wet 0.9 and, every other trial, Bypass on; the restore says
		// Bypass off and another Wet.
		Gate gate;
		StallingChanges changes (trial % 2 == 0 ? 1.0 : 0.0, 0.9, &gate);
		std::thread audio ([&] {
			StereoBlock<float> output (512);
			effect->process (input.pointers (), 2, output.pointers (), 2, 512, &changes);
		});
		while (!gate.reached.load ())
			std::this_thread::yield ();
		const Bytes restored = restoreWithWet (0.2 + 0.01 * trial);
		const tresult result = effect->setState (restored);
		gate.open.store (true);
		audio.join ();
		ASSERT_EQ (result, kResultOk);

		const Bytes saved = stateOf (*effect);
		EXPECT_EQ (saved, restored) << "trial " << trial;
		expectPlaysAsSaved (*effect, *reference, saved, "trial " + std::to_string (trial));
		if (HasFailure ())
			break;
	}
	expectRestartsOnlyFromThisThread (*effect);
}

TEST (StateConcurrency, SavedStateMatchesTheSoundWhateverTheRestoreAndQueueTiming)
{
	auto effect = newActiveEffect (44100, kSample32, 512);
	auto reference = newActiveEffect (44100, kSample32, 512);
	ASSERT_TRUE (effect && reference);
	auto input = noise (512, 3);
	std::mt19937 random (13);
	std::uniform_int_distribution<int> micros (0, 300);
	for (int trial = 0; trial < 2 * kRaceTrials; ++trial)
	{
		const bool bypass = trial % 2 == 0;
		StallingChanges changes (bypass ? 1.0 : 0.0, 0.9, nullptr,
		                         std::chrono::microseconds (micros (random)));
		const auto blockAfter = std::chrono::microseconds (micros (random));
		const auto restoreAfter = std::chrono::microseconds (micros (random));
		std::thread audio ([&] {
			std::this_thread::sleep_for (blockAfter);
			StereoBlock<float> output (512);
			effect->process (input.pointers (), 2, output.pointers (), 2, 512, &changes);
		});
		std::this_thread::sleep_for (restoreAfter);
		ASSERT_EQ (effect->setState (restoreWithWet (0.3)), kResultOk);
		audio.join ();

		expectPlaysAsSaved (*effect, *reference, stateOf (*effect), "trial " + std::to_string (trial));
		if (HasFailure ())
			break;
	}
	expectRestartsOnlyFromThisThread (*effect);
}

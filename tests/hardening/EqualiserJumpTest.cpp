// Equaliser settings that jump while audio runs, through the built bundle. A band's
// design used to jump with it, and its direct-form history rang through the new poles:
// Peak frequency from top to bottom at +12 dB raised noise peaks from 0.49 to 12, and
// random state restores reached 371. A jump may now overshoot the louder of the steady
// peaks before and after it by at most 6 dB. Settings that reach the effect before audio
// starts, and settings sent again unchanged, still change nothing.

#include "BundleFixture.h"
#include "ParameterChanges.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

const int32 kBlockFrames = 512;
const double kWindowSeconds = 0.25;
const double kAllowedOvershoot = 2.0; // 6 dB

// Noise through one effect in 64-bit blocks, changes in front of the first block.
class NoisePlayer
{
public:
	explicit NoisePlayer (double rate)
	    : rate (rate), effect (QuillmereTest::newActiveEffect (rate, kSample64, kBlockFrames)),
	      block (kBlockFrames)
	{
	}

	bool ready () const { return effect != nullptr; }
	QuillmereHost::EffectInstance& instance () { return *effect; }

	// The output's peak over the given time.
	double play (double seconds, IParameterChanges* changes = nullptr)
	{
		double peak = 0.0;
		for (int64_t frames = static_cast<int64_t> (seconds * rate); frames > 0; frames -= kBlockFrames)
		{
			for (int32 i = 0; i < kBlockFrames; ++i)
			{
				block.left[i] = noise (random);
				block.right[i] = noise (random);
			}
			auto out = QuillmereTest::run (*effect, block, changes);
			changes = nullptr;
			for (int32 i = 0; i < kBlockFrames; ++i)
				peak = std::max ({peak, std::fabs (out.left[i]), std::fabs (out.right[i])});
		}
		return peak;
	}

private:
	double rate;
	std::unique_ptr<QuillmereHost::EffectInstance> effect;
	QuillmereTest::StereoBlock<double> block;
	std::mt19937 random {17};
	std::uniform_real_distribution<double> noise {-0.25, 0.25};
};

struct BandSetting
{
	double frequency;
	double gain;
};

// Every ordered pair of settings once, as one walk (a circuit through the complete
// directed graph of the settings), so each setting's steady stretch serves two jumps.
std::vector<int> walkThroughEveryPair (int count)
{
	std::vector<std::vector<int>> unused (count);
	for (int a = 0; a < count; ++a)
		for (int b = count - 1; b >= 0; --b)
			if (a != b)
				unused[a].push_back (b);
	std::vector<int> stack {0}, walk;
	while (!stack.empty ())
	{
		const int at = stack.back ();
		if (unused[at].empty ())
		{
			walk.push_back (at);
			stack.pop_back ();
		}
		else
		{
			stack.push_back (unused[at].back ());
			unused[at].pop_back ();
		}
	}
	std::reverse (walk.begin (), walk.end ());
	return walk;
}

void checkJumps (double rate, int band)
{
	const ParamID frequencyId = static_cast<ParamID> (10 + 2 * band);
	const ParamID gainId = frequencyId + 1;
	// Both ends of the frequency; the gain's cut (outer bands), lowest shelf, flat, top.
	std::vector<BandSetting> settings;
	for (double frequency : {0.0, 1.0})
		for (double gain : {0.0, 0.01, 0.5, 1.0})
			settings.push_back ({frequency, gain});

	NoisePlayer player (rate);
	ASSERT_TRUE (player.ready ());
	const auto changesTo = [&] (const BandSetting& s) {
		auto changes = std::make_unique<ParameterChanges> (2, 1);
		int32 index = 0;
		changes->addParameterData (frequencyId, index)->addPoint (0, s.frequency, index);
		changes->addParameterData (gainId, index)->addPoint (0, s.gain, index);
		return changes;
	};
	const std::vector<int> walk = walkThroughEveryPair (static_cast<int> (settings.size ()));
	player.play (1.0, changesTo (settings[walk[0]]).get ());
	double before = player.play (kWindowSeconds);
	double worst = 0.0;
	for (size_t step = 1; step < walk.size (); ++step)
	{
		const BandSetting& from = settings[walk[step - 1]];
		const BandSetting& to = settings[walk[step]];
		const double jump = player.play (kWindowSeconds, changesTo (to).get ());
		const double after = player.play (kWindowSeconds);
		const double overshoot = jump / std::max (before, after);
		worst = std::max (worst, overshoot);
		EXPECT_LE (overshoot, kAllowedOvershoot)
		    << "rate " << rate << ", parameters " << frequencyId << "/" << gainId << " from ("
		    << from.frequency << ", " << from.gain << ") to (" << to.frequency << ", " << to.gain
		    << "): steady peaks " << before << " and " << after << ", " << jump << " after the jump";
		before = after;
	}
	::testing::Test::RecordProperty ("band" + std::to_string (band) + "WorstOvershootDb",
	                                 std::to_string (20.0 * std::log10 (worst)));
}

void putDouble (std::vector<uint8_t>& state, size_t field, double value)
{
	std::memcpy (&state[8 + 8 * field], &value, sizeof value); // little-endian, after the version
}

const size_t kFirstEqField = 8; // low shelf frequency; the gains and frequencies follow
const size_t kEqFields = 6;

} // namespace

TEST (EqualiserJumps, EveryBandJumpsBetweenItsExtremesWithoutOvershootAt44100And192000)
{
	for (double sampleRate : {44100.0, 192000.0})
	{
		SCOPED_TRACE (sampleRate);
		for (int band = 0; band < 3; ++band)
			checkJumps (sampleRate, band);
	}
}

// What a user does when choosing presets while the music plays: whole states with
// random equaliser settings, restored through setState between blocks.
TEST (EqualiserJumps, RandomStateRestoresDuringPlaybackDoNotOvershoot)
{
	for (double rate : {44100.0, 192000.0})
	{
		NoisePlayer player (rate);
		ASSERT_TRUE (player.ready ());
		std::vector<uint8_t> state;
		ASSERT_EQ (player.instance ().getState (state), kResultOk);
		std::mt19937 random (23);
		std::uniform_real_distribution<double> unit (0.0, 1.0);
		player.play (1.0);
		double before = player.play (kWindowSeconds);
		double worst = 0.0;
		for (int restore = 0; restore < 24; ++restore)
		{
			for (size_t field = kFirstEqField; field < kFirstEqField + kEqFields; ++field)
			{
				const double pick = unit (random);
				putDouble (state, field, pick < 0.2 ? 0.0 : pick > 0.8 ? 1.0 : unit (random));
			}
			ASSERT_EQ (player.instance ().setState (state), kResultOk);
			const double jump = player.play (kWindowSeconds);
			const double after = player.play (kWindowSeconds);
			EXPECT_LE (jump, kAllowedOvershoot * std::max (before, after))
			    << "rate " << rate << ", restore " << restore << ": steady peaks " << before
			    << " and " << after << ", " << jump << " after the restore";
			worst = std::max (worst, jump / std::max (before, after));
			before = after;
		}
		::testing::Test::RecordProperty ("worstOvershootDbAt" + std::to_string (static_cast<int> (rate)),
		                                 std::to_string (20.0 * std::log10 (worst)));
	}
}

namespace {

// The output of noise through an effect whose equaliser settings arrive in the given
// way, optionally after it played something and was deactivated and activated again.
// Every way must give the same bits.
enum class Arrival
{
	BeforeActivation,        // setState before the first activation
	InTheFirstBlock,         // parameter changes of the first block after the (last) activation
	BetweenActivations,      // setState while deactivated after playing
	ResentUnchangedEachBlock // as BeforeActivation, then the same values again every block
};

std::vector<double> render (Arrival arrival, const std::vector<double>& values, bool played)
{
	const double rate = 48000.0;
	auto effect = QuillmereTest::newEffect ();
	EXPECT_TRUE (effect);
	if (!effect)
		return {};
	std::vector<uint8_t> state;
	EXPECT_EQ (effect->getState (state), kResultOk);
	for (size_t k = 0; k < kEqFields; ++k)
		putDouble (state, kFirstEqField + k, values[k]);
	ParameterChanges changes (static_cast<int32> (kEqFields), 1);
	for (size_t k = 0; k < kEqFields; ++k)
	{
		int32 index = 0;
		changes.addParameterData (static_cast<ParamID> (10 + k), index)->addPoint (0, values[k], index);
	}
	if (arrival == Arrival::BeforeActivation || arrival == Arrival::ResentUnchangedEachBlock)
	{
		EXPECT_EQ (effect->setState (state), kResultOk);
	}
	EXPECT_EQ (effect->setupProcessing (rate, kBlockFrames, kSample64), kResultOk);
	EXPECT_EQ (effect->setActive (true), kResultOk);
	effect->setProcessing (true);

	std::mt19937 random (5);
	std::uniform_real_distribution<double> noise (-0.5, 0.5);
	QuillmereTest::StereoBlock<double> block (kBlockFrames);
	const auto fill = [&] {
		for (int32 i = 0; i < kBlockFrames; ++i)
		{
			block.left[i] = noise (random);
			block.right[i] = noise (random);
		}
	};
	if (played)
	{
		for (int b = 0; b < 20; ++b)
		{
			fill ();
			QuillmereTest::run (*effect, block);
		}
		effect->setProcessing (false);
		EXPECT_EQ (effect->setActive (false), kResultOk);
		if (arrival == Arrival::BetweenActivations)
		{
			EXPECT_EQ (effect->setState (state), kResultOk);
		}
		EXPECT_EQ (effect->setActive (true), kResultOk);
		effect->setProcessing (true);
	}
	std::vector<double> output;
	for (int b = 0; b < 40; ++b)
	{
		fill ();
		const bool send = arrival == Arrival::ResentUnchangedEachBlock ||
		                  (b == 0 && arrival == Arrival::InTheFirstBlock);
		auto out = QuillmereTest::run (*effect, block, send ? &changes : nullptr);
		output.insert (output.end (), out.left.begin (), out.left.end ());
		output.insert (output.end (), out.right.begin (), out.right.end ());
	}
	return output;
}

} // namespace

TEST (EqualiserJumps, SettingsBeforeAudioStartsAndUnchangedSettingsGiveTheSameBits)
{
	for (const std::vector<double>& values :
	     {std::vector<double> {0.0, 0.0, 1.0, 1.0, 0.0, 1.0}, std::vector<double> {1.0, 1.0, 0.0, 0.0, 1.0, 0.0},
	      std::vector<double> {0.3, 0.6, 0.45, 0.2, 0.7, 0.01}})
	{
		for (bool played : {false, true})
		{
			const std::vector<double> expected = render (Arrival::BeforeActivation, values, played);
			for (Arrival arrival :
			     {Arrival::InTheFirstBlock, Arrival::BetweenActivations, Arrival::ResentUnchangedEachBlock})
			{
				if (arrival == Arrival::BetweenActivations && !played)
					continue;
				const std::vector<double> output = render (arrival, values, played);
				ASSERT_EQ (output.size (), expected.size ());
				EXPECT_EQ (std::memcmp (output.data (), expected.data (), output.size () * sizeof (double)), 0)
				    << "arrival " << static_cast<int> (arrival) << (played ? " after playing" : "");
			}
		}
	}
}

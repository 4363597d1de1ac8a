// Factory presets written into the parameters as edits the host hears about.

#include "ComponentHandlerRecorder.h"
#include "FactoryPresets.h"
#include "LogMapping.h"
#include "Quillmere.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>

using namespace Steinberg;
using namespace Steinberg::Vst;
using Recorder = QuillmereHost::ComponentHandlerRecorder;

namespace {
int presetNumber (const char* name)
{
	for (int i = 0; i < kNumFactoryPresets; ++i)
		if (std::strcmp (kFactoryPresetNames[i], name) == 0)
			return i;
	return -1;
}

float levelGain (float dB) { return expf (logf (10.0f) * dB / 20.0f); }

class Presets : public ::testing::Test
{
protected:
	void SetUp () override
	{
		effect = new Quillmere ();
		ASSERT_EQ (effect->initialize (nullptr), kResultOk);
		effect->setComponentHandler (&recorder);
	}
	void TearDown () override
	{
		effect->setComponentHandler (nullptr);
		effect->terminate ();
		effect->release ();
	}
	SettingsBlock apply (const char* name)
	{
		const int number = presetNumber (name);
		EXPECT_GE (number, 0) << name;
		recorder.clear ();
		effect->applyPreset (kFactoryPresets[number]);
		return effect->currentSettings ();
	}
	std::string shown (ParamID id)
	{
		String128 text;
		effect->getParamStringByValue (id, effect->getParamNormalized (id), text);
		std::string narrow;
		for (int i = 0; text[i]; ++i)
			narrow += static_cast<char> (text[i]);
		return narrow;
	}
	Quillmere* effect = nullptr;
	Recorder recorder;
};
} // namespace

TEST_F (Presets, DefaultWritesTwentyFiveParametersAsEditsInIdOrder)
{
	effect->setParamNormalized (19, 1.0);
	SettingsBlock s = apply ("Default");
	EXPECT_DOUBLE_EQ (s.predelay, 0.1);
	EXPECT_EQ (shown (1), "20.0");
	EXPECT_EQ (shown (5), "3.00");
	EXPECT_NEAR (s.decay, std::sqrt ((3.0 - 0.2) / 19.8), 1e-15);
	EXPECT_EQ (shown (9), "18000.0");
	EXPECT_EQ (s.wet, static_cast<double> (levelGain (-6.02f)));
	EXPECT_EQ (shown (18), "-6.02");
	EXPECT_EQ (shown (24), "0.54");
	EXPECT_EQ (s.earlyVariation, 2);
	EXPECT_EQ (s.reverbVariation, 1);
	EXPECT_TRUE (s.bypass); // the global bypass is never written

	const auto& calls = recorder.calls ();
	ASSERT_EQ (calls.size (), 75u);
	ParamID expectedId = 0;
	for (size_t i = 0; i < calls.size (); i += 3)
	{
		if (expectedId == 19)
			++expectedId;
		EXPECT_EQ (calls[i].kind, Recorder::Kind::kBeginEdit);
		EXPECT_EQ (calls[i + 1].kind, Recorder::Kind::kPerformEdit);
		EXPECT_EQ (calls[i + 2].kind, Recorder::Kind::kEndEdit);
		EXPECT_EQ (calls[i].id, expectedId);
		EXPECT_EQ (calls[i + 1].id, expectedId);
		EXPECT_EQ (calls[i + 1].value, effect->getParamNormalized (expectedId));
		++expectedId;
	}
}

TEST_F (Presets, CorridorUsesTheHighestVariationAndAHighCut)
{
	SettingsBlock s = apply ("Corridor");
	EXPECT_EQ (s.earlyVariation, 10);
	EXPECT_EQ (shown (3), "Variation 11");
	EXPECT_EQ (s.reverbVariation, 0);
	EXPECT_EQ (shown (15), "LPF");
	EXPECT_EQ (s.highGain, 0.0);
	EXPECT_EQ (s.dampFrequency, logToNormalized (4000, 22020, 4600));
	EXPECT_EQ (s.width, 0.87);
	EXPECT_EQ (s.dry, static_cast<double> (levelGain (-4.9f)));
}

TEST_F (Presets, PositiveLevelsAttenuateButEqualiserGainsBoost)
{
	SettingsBlock s = apply ("Dim. expander B");
	EXPECT_EQ (shown (17), "-10.39");
	EXPECT_EQ (s.reverb, static_cast<double> (levelGain (-10.39f)));
	EXPECT_EQ (shown (9), "22020.0");
	EXPECT_EQ (s.dampFrequency, 1.0);
	EXPECT_DOUBLE_EQ (s.decay, 0.0);

	s = apply ("Guitar Room");
	EXPECT_EQ (shown (15), "5.88");
	EXPECT_DOUBLE_EQ (s.highGain, 5.88 / 24 + 0.5);
	EXPECT_EQ (s.lowGain, (-12.0 + 24) / 48);
}

TEST_F (Presets, SilentEarlyLevelShowsAsSilence)
{
	SettingsBlock s = apply ("Chorus A");
	EXPECT_EQ (shown (16), "-oo");
	EXPECT_EQ (s.early, static_cast<double> (levelGain (-120.0f)));
	EXPECT_EQ (s.earlyVariation, 7);
}

TEST_F (Presets, LockKeepsTheMixAndStillWritesTheOtherSwitches)
{
	effect->setParamNormalized (0, 0.3);
	effect->setParamNormalized (18, 0.2);
	effect->setParamNormalized (20, 1.0);
	effect->setParamNormalized (21, 1.0);
	effect->setParamNormalized (22, 1.0);
	effect->setParamNormalized (23, 1.0);
	effect->presetLock = true;
	SettingsBlock s = apply ("Large Hall");
	EXPECT_EQ (s.dry, 0.3);
	EXPECT_EQ (s.wet, 0.2);
	EXPECT_TRUE (s.bypassDry);
	EXPECT_TRUE (s.bypassWet);
	EXPECT_FALSE (s.bypassEarly);
	EXPECT_FALSE (s.bypassReverb);
	EXPECT_EQ (recorder.calls ().size (), 21u * 3);
	for (const auto& call : recorder.calls ())
		EXPECT_TRUE (call.id != 0 && call.id != 18 && call.id != 19 && call.id != 20 && call.id != 23);
}

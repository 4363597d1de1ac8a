// Factory presets written into the parameters as edits the host hears about.

#include "ComponentHandlerRecorder.h"
#include "FactoryPresets.h"
#include "Quillmere.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>

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

// The preset fields by parameter id, as the preset table documents them.
double PresetValues::*const kFieldOfId[26] = {
    &PresetValues::dry,           &PresetValues::predelay,          &PresetValues::width,
    &PresetValues::earlyVariation, &PresetValues::reverbVariation,  &PresetValues::decay,
    &PresetValues::roomSize,      &PresetValues::diffusion,         &PresetValues::dampIntensity,
    &PresetValues::dampFrequency, &PresetValues::lowShelfFrequency, &PresetValues::lowGain,
    &PresetValues::peakFrequency, &PresetValues::peakGain,          &PresetValues::highShelfFrequency,
    &PresetValues::highGain,      &PresetValues::early,             &PresetValues::reverb,
    &PresetValues::wet,           &PresetValues::bypass,            &PresetValues::bypassDry,
    &PresetValues::bypassEarly,   &PresetValues::bypassReverb,      &PresetValues::bypassWet,
    &PresetValues::modSpeed,      &PresetValues::modDepth};

bool isLevel (ParamID id) { return id == 0 || id == 16 || id == 17 || id == 18; }

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
	EXPECT_EQ (shown (1), "20.0");
	EXPECT_EQ (shown (5), "3.00");
	EXPECT_EQ (shown (9), "18000.0");
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

// Anchors for the sign convention the check of every preset below relies on.
TEST_F (Presets, PositiveLevelsAttenuateButEqualiserGainsBoost)
{
	apply ("Dim. expander B");
	EXPECT_EQ (shown (17), "-10.39");
	EXPECT_EQ (shown (9), "22020.0");
	EXPECT_EQ (shown (5), "0.20");

	apply ("Guitar Room");
	EXPECT_EQ (shown (15), "5.88");
	EXPECT_EQ (shown (11), "-12.00");
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

// Whatever the preset says is what the user then sees, and what the state saves agrees.
TEST_F (Presets, EveryPresetShowsItsOwnValues)
{
	for (int number = 0; number < kNumFactoryPresets; ++number)
	{
		SCOPED_TRACE (kFactoryPresetNames[number]);
		recorder.clear ();
		effect->applyPreset (kFactoryPresets[number]);
		const SettingsBlock saved = effect->currentSettings ();
		for (ParamID id = 0; id <= 25; ++id)
		{
			if (id == 19)
				continue;
			SCOPED_TRACE (id);
			const double value = kFactoryPresets[number].*kFieldOfId[id];
			EXPECT_EQ (saved.normalized (id), effect->getParamNormalized (id));
			const std::string text = shown (id);
			if (id == 3 || id == 4)
				EXPECT_EQ (text, "Variation " + std::to_string (static_cast<int> (value) + 1));
			else if (id >= 20 && id <= 23)
				EXPECT_EQ (text, "Off");
			else if (isLevel (id) && value <= -80.0)
				EXPECT_EQ (text, "-oo");
			else if ((id == 11 || id == 15) && value == -24.0)
				EXPECT_EQ (text, id == 11 ? "HPF" : "LPF");
			else
				EXPECT_NEAR (std::strtod (text.c_str (), nullptr),
				             isLevel (id) ? -std::fabs (value) : value, 0.0051)
				    << text;
		}
	}
}

// The 27 parameters as a host lists them, and their value texts both ways.

#include "BundleFixture.h"
#include "DecimalRangeParameter.h"
#include "EqGainParameter.h"
#include "GainParameter.h"
#include "LogParameter.h"
#include "ParabolParameter.h"
#include "SwitchParameter.h"
#include "TextChecks.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <string>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace QuillmereTest;

namespace {
struct ExpectedInfo
{
	ParamID id;
	const char* title;
	const char* units;
	int32 stepCount;
	int32 flags;
	double defaultNormalized;
};

const int32 kAuto = ParameterInfo::kCanAutomate;
const int32 kList = ParameterInfo::kCanAutomate | ParameterInfo::kIsList;

double logNorm (double min, double max, double plain)
{
	return std::log (plain / min) / std::log (max / min);
}

const ExpectedInfo kTable[27] = {
    {0, "Dry", "dB", 0, kAuto, 1.0},
    {1, "Predelay", "ms", 0, kAuto, 0.05},
    {2, "Width", "%", 0, kAuto, 1.0},
    {3, "E.R. variation", "", 11, kList, 0.0},
    {4, "Reverb variation", "", 4, kList, 0.0},
    {5, "Decay time", "sec", 0, kAuto, std::sqrt ((5.0 - 0.2) / 19.8)},
    {6, "Room size", "%", 0, kAuto, 1.0},
    {7, "Diffusion", "%", 0, kAuto, 1.0},
    {8, "Damp intensity", "%", 0, kAuto, 0.8},
    {9, "Damp", "Hz", 0, kAuto, logNorm (4000, 22020, 20000)},
    {10, "Low shelf", "Hz", 0, kAuto, logNorm (20, 1000, 100)},
    {11, "Low gain", "dB", 0, kAuto, 0.5},
    {12, "Peak", "Hz", 0, kAuto, logNorm (30, 22000, 1000)},
    {13, "Peak gain", "dB", 0, kAuto, 0.5},
    {14, "High shelf", "Hz", 0, kAuto, logNorm (1000, 22000, 10000)},
    {15, "High gain", "dB", 0, kAuto, 0.5},
    {16, "Early reflections", "dB", 0, kAuto, 1.0},
    {17, "Reverb", "dB", 0, kAuto, 1.0},
    {18, "Wet", "dB", 0, kAuto, 1.0},
    {20, "Bypass Dry", "", 1, kAuto, 0.0},
    {21, "Bypass E.R.", "", 1, kAuto, 0.0},
    {22, "Bypass Reverb", "", 1, kAuto, 0.0},
    {23, "Bypass Wet", "", 1, kAuto, 0.0},
    {24, "Mod. speed", "Hz", 0, kAuto, std::cbrt (0.8 / 20.0)},
    {25, "Mod. deph", "%", 0, kAuto, 0.5},
    {19, "Bypass", "", 1, ParameterInfo::kCanAutomate | ParameterInfo::kIsBypass, 0.0},
    {27, "VuPPM", "", 0, ParameterInfo::kIsReadOnly, 0.0},
};

class Parameters : public ::testing::Test
{
protected:
	void SetUp () override
	{
		effect = newEffect ();
		ASSERT_TRUE (effect);
	}
	std::string text (ParamID id, double value) { return effect->valueToText (id, value); }
	double parse (ParamID id, const std::string& typed)
	{
		ParamValue value = -1.0;
		EXPECT_EQ (effect->textToValue (id, typed, value), kResultOk) << typed;
		return value;
	}
	bool refuses (ParamID id, const std::string& typed)
	{
		ParamValue value = 0.25;
		return effect->textToValue (id, typed, value) != kResultOk && value == 0.25;
	}
	std::unique_ptr<QuillmereHost::EffectInstance> effect;
};
} // namespace

TEST_F (Parameters, InfosAreExactlyTheTable)
{
	ASSERT_EQ (effect->parameterCount (), 27);
	for (int32 index = 0; index < 27; ++index)
	{
		SCOPED_TRACE (index);
		auto info = effect->parameterInfo (index);
		ASSERT_TRUE (info);
		const ExpectedInfo& expected = kTable[index];
		EXPECT_EQ (info->id, expected.id);
		EXPECT_EQ (QuillmereHost::toUtf8 (info->title), expected.title);
		EXPECT_EQ (QuillmereHost::toUtf8 (info->shortTitle), "");
		EXPECT_EQ (QuillmereHost::toUtf8 (info->units), expected.units);
		EXPECT_EQ (info->stepCount, expected.stepCount);
		EXPECT_EQ (info->flags, expected.flags);
		EXPECT_NEAR (info->defaultNormalizedValue, expected.defaultNormalized, 1e-12);
		EXPECT_EQ (info->unitId, 0);
	}
	EXPECT_FALSE (effect->parameterInfo (27));
}

TEST_F (Parameters, StartFromTheDefaultPresetNotTheInfoDefaults)
{
	EXPECT_EQ (text (5, effect->getParamNormalized (5)), "3.00");
	EXPECT_EQ (text (9, effect->getParamNormalized (9)), "18000.0");
	EXPECT_EQ (text (18, effect->getParamNormalized (18)), "-6.02");
	EXPECT_EQ (text (3, effect->getParamNormalized (3)), "Variation 3");
	EXPECT_EQ (text (4, effect->getParamNormalized (4)), "Variation 2");
	EXPECT_EQ (text (1, effect->getParamNormalized (1)), "20.0");
	EXPECT_EQ (text (24, effect->getParamNormalized (24)), "0.54");
}

TEST_F (Parameters, LevelsShowDecibelsAndSilence)
{
	EXPECT_EQ (text (0, 1.0), "0.00");
	EXPECT_EQ (text (0, 0.5), "-6.02");
	EXPECT_EQ (text (0, 0.0001), "-oo");
	EXPECT_EQ (text (0, 0.0), "-oo");
	// A typed -80 reads as silence, so an audible level never shows -80.00.
	EXPECT_EQ (text (0, 0.000100001), "-79.99");
	EXPECT_EQ (text (0, 0.0001006), "-79.95");
	// Typed levels only attenuate, and land on the same float gain everywhere.
	EXPECT_EQ (parse (18, "6"), static_cast<double> (expf (logf (10.0f) * -6.0f / 20.0f)));
	EXPECT_NEAR (parse (18, "6"), 0.50119, 1e-5);
	EXPECT_EQ (parse (18, "-6"), parse (18, "6"));
	EXPECT_NEAR (parse (16, "-120"), 0.000001, 1e-9);
	EXPECT_EQ (text (16, parse (16, "-120")), "-oo");
	EXPECT_EQ (parse (18, "-oo"), 0.0);
	EXPECT_TRUE (refuses (18, ""));
}

TEST_F (Parameters, EqualiserGainsNameTheirCutFilters)
{
	EXPECT_EQ (text (11, 0.0), "HPF");
	EXPECT_EQ (text (15, 0.0), "LPF");
	EXPECT_EQ (text (13, 0.0), "-24.00");
	// A typed -24 selects the cut, so a shelf just above it never shows -24.00.
	EXPECT_EQ (text (11, 1e-6), "-23.99");
	EXPECT_EQ (text (15, 1e-6), "-23.99");
	EXPECT_EQ (text (13, 1e-6), "-24.00");
	EXPECT_EQ (parse (11, "-24"), 0.0);
	for (ParamID id : {11u, 13u, 15u})
	{
		EXPECT_EQ (text (id, 1.0), "12.00");
		EXPECT_EQ (text (id, 0.5), "0.00");
		EXPECT_EQ (parse (id, "20"), 1.0);
		EXPECT_EQ (parse (id, "-12"), 0.25);
		EXPECT_EQ (parse (id, "6"), 0.75);
		EXPECT_EQ (parse (id, "-100"), 0.0);
	}
	EXPECT_EQ (text (11, 0.25), "-12.00");
	EXPECT_EQ (parse (11, "HPF"), 0.0);
	EXPECT_EQ (parse (15, "LPF"), 0.0);
	// Each shelf names only its own cut.
	EXPECT_TRUE (refuses (11, "LPF"));
	EXPECT_TRUE (refuses (15, "HPF"));
	EXPECT_TRUE (refuses (13, "HPF"));
}

TEST_F (Parameters, FrequenciesTimesAndPercentages)
{
	EXPECT_EQ (text (9, 0.0), "4000.0");
	EXPECT_EQ (text (9, 1.0), "22020.0");
	EXPECT_EQ (parse (9, "3000"), 0.0);
	EXPECT_NEAR (parse (9, "18000 Hz"), logNorm (4000, 22020, 18000), 1e-12);
	EXPECT_EQ (text (5, 0.0), "0.20");
	EXPECT_EQ (text (5, 1.0), "20.00");
	EXPECT_EQ (text (5, 0.5), "5.15");
	EXPECT_NEAR (parse (5, "5.15"), std::sqrt ((5.15 - 0.2) / 19.8), 1e-12);
	EXPECT_EQ (text (24, 0.3), "0.54");
	EXPECT_EQ (text (1, 0.1), "20.0");
	EXPECT_EQ (text (2, 1.0), "100.00");
	EXPECT_NEAR (parse (1, "50"), 0.25, 1e-12);
	EXPECT_EQ (parse (1, "500"), 1.0);
	// A comma works as the decimal point; text before the number is skipped.
	EXPECT_NEAR (parse (9, "5000,5"), logNorm (4000, 22020, 5000.5), 1e-12);
	EXPECT_NEAR (parse (5, "about 5.15 s"), std::sqrt ((5.15 - 0.2) / 19.8), 1e-12);
	// Malformed UTF-16 from a host is refused, never thrown.
	ParamValue value = 0.25;
	Steinberg::Vst::String128 broken = {0xD800, '5', 0};
	for (ParamID id : {1u, 3u, 9u, 11u, 18u})
		effect->controller ()->getParamValueByString (id, broken, value);
	EXPECT_TRUE (refuses (9, "fast"));
	EXPECT_TRUE (refuses (9, "nan"));
}

TEST_F (Parameters, ListsAndSwitches)
{
	EXPECT_EQ (text (3, 1.0), "Variation 12");
	EXPECT_EQ (text (3, 0.0), "Variation 1");
	EXPECT_EQ (text (4, 1.0), "Variation 5");
	EXPECT_EQ (parse (4, "Variation 3"), 0.5);
	EXPECT_EQ (effect->plainToNormalized (3, 5), 5.0 / 11);
	EXPECT_EQ (text (19, 1.0), "On");
	EXPECT_EQ (text (20, 0.5), "Off");
	EXPECT_EQ (text (20, 0.51), "On");
}

namespace {
// Values a sloppy host may hand to a text conversion.
const double kHostileValues[] = {1e308,
                                 -1e308,
                                 std::nan (""),
                                 -std::nan (""),
                                 HUGE_VAL,
                                 -HUGE_VAL,
                                 1e124,
                                 -1e124,
                                 2.0,
                                 -1.0,
                                 1.0 + 1e-12,
                                 -4.9e-324,
                                 DBL_MAX};

double clamped (double value) { return value > 0.0 ? std::min (value, 1.0) : 0.0; }

// Display text, parsed back, shown again: the text a user saw reads back to what it showed.
std::string reshown (QuillmereHost::EffectInstance& effect, ParamID id, const std::string& text)
{
	ParamValue value = -1.0;
	if (effect.textToValue (id, text, value) != kResultOk)
		return "(refused)";
	return effect.valueToText (id, value);
}
} // namespace

TEST_F (Parameters, HostileValuesShowTheNearestEndWithinTheHostsText)
{
	const TChar kCanary = 0xA5A5;
	for (int32 index = 0; index < 27; ++index)
	{
		const ParamID id = kTable[index].id;
		for (double value : kHostileValues)
		{
			SCOPED_TRACE (testing::Message () << "id " << id << " value " << value);
			TChar guarded[128 + 256];
			std::fill (std::begin (guarded), std::end (guarded), kCanary);
			effect->controller ()->getParamStringByValue (id, value, guarded);
			const TChar* end = std::find (guarded, guarded + 128, 0);
			ASSERT_NE (end, guarded + 128) << "no terminator in the 128 units";
			EXPECT_EQ (std::count (guarded + 128, std::end (guarded), kCanary), 256)
			    << "wrote past the host's String128";
			const std::string shown = QuillmereHost::toUtf8 (guarded);
			EXPECT_FALSE (showsANonNumber (shown)) << shown;
			EXPECT_EQ (shown, text (id, clamped (value)));
		}
	}
}

TEST_F (Parameters, EveryDisplayTextReadsBackToItself)
{
	std::vector<double> values = {1e-6, 0.0001, 0.000100001, 0.49999, 0.50001, 0.99999};
	for (int k = 0; k <= 500; ++k)
		values.push_back (k / 500.0);
	for (const ExpectedInfo& parameter : kTable)
	{
		int failures = 0;
		for (double value : values)
		{
			const std::string shown = text (parameter.id, value);
			const std::string again = reshown (*effect, parameter.id, shown);
			if (!sameReading (again, shown) && ++failures <= 3)
				ADD_FAILURE () << parameter.title << " at " << value << " shows \"" << shown
				               << "\", which reads back as \"" << again << "\"";
		}
	}
}

TEST_F (Parameters, TheWordsOnDisplayReadBack)
{
	for (ParamID id : {19u, 20u, 21u, 22u, 23u})
	{
		EXPECT_EQ (parse (id, "On"), 1.0);
		EXPECT_EQ (parse (id, "Off"), 0.0);
		EXPECT_EQ (parse (id, " off "), 0.0);
		EXPECT_TRUE (refuses (id, "Onward"));
	}
	for (ParamID id : {0u, 16u, 17u, 18u})
		EXPECT_EQ (parse (id, "-oo"), 0.0);
}

TEST_F (Parameters, RangesReadACommaAndRefuseInfiniteNumbers)
{
	for (ParamID id : {1u, 2u, 6u, 7u, 8u, 25u})
	{
		SCOPED_TRACE (id);
		const double max = id == 1 ? 200.0 : 100.0;
		EXPECT_NEAR (parse (id, "12,5"), 12.5 / max, 1e-12);
		EXPECT_NEAR (parse (id, "12.5"), 12.5 / max, 1e-12);
		for (const char* typed : {"inf", "-inf", "1e309", "nan", "Infinity"})
			EXPECT_TRUE (refuses (id, typed)) << typed;
	}
}

TEST_F (Parameters, TextsDoNotFollowTheHostsLocale)
{
	const std::string inC = text (2, 0.125);
	CommaLocale locale;
	if (!locale.active ())
		GTEST_SKIP () << "no locale with a decimal comma is installed";
	EXPECT_EQ (text (2, 0.125), inC);
	for (const ExpectedInfo& parameter : kTable)
		EXPECT_EQ (text (parameter.id, 0.3).find (','), std::string::npos) << parameter.title;
	EXPECT_EQ (text (1, 0.0625), "12.5");
	EXPECT_NEAR (parse (1, "12.5"), 0.0625, 1e-12);
	EXPECT_NEAR (parse (1, "12,5"), 0.0625, 1e-12);
	EXPECT_EQ (reshown (*effect, 7, text (7, 0.3)), text (7, 0.3));
}

TEST (ParameterClasses, ShowTheNearestEndOfAnyValue)
{
	LogParameter damp (STR16 ("Damp"), 9, STR16 ("Hz"), 0, 0, 4000, 22020, 20000);
	ParabolParameter decay (STR16 ("Decay time"), 5, STR16 ("sec"), 0, 0, 0.2, 20, 5, 2);
	DecimalRangeParameter width (STR16 ("Width"), 2, STR16 ("%"), 0, 100, 100);
	EqGainParameter lowGain (0, 11, "Low gain", EqGainParameter::kHighPassLabel);
	GainParameter wet (0, 18, "Wet");
	SwitchParameter bypass (STR16 ("Bypass"), 19, 0);
	for (const Parameter* parameter :
	     std::initializer_list<const Parameter*> {&damp, &decay, &width, &lowGain, &wet, &bypass})
	{
		for (double value : kHostileValues)
		{
			SCOPED_TRACE (testing::Message ()
			              << QuillmereHost::toUtf8 (parameter->getInfo ().title) << " " << value);
			TChar guarded[128 + 256];
			std::fill (std::begin (guarded), std::end (guarded), TChar (0xA5A5));
			parameter->toString (value, guarded);
			EXPECT_EQ (std::count (guarded + 128, std::end (guarded), TChar (0xA5A5)), 256);
			String128 nearest;
			parameter->toString (clamped (value), nearest);
			EXPECT_EQ (QuillmereHost::toUtf8 (guarded), QuillmereHost::toUtf8 (nearest));
		}
	}
}

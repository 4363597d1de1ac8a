#pragma once
// Every parameter in one row: what the host sees of it, the value the effect starts with,
// the "Default" preset's value, how the settings block keeps it, how it reaches the
// engine, how older saved states held it and which editor controls show it. The rows are
// in registration order, which is the host's index order.

#include "QuillmereIds.h"
#include "ReverbEngine.h"
#include "SettingsBlock.h"
#include "editor/FactoryPresets.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

namespace Steinberg {
namespace Vst {

// The parameter class and with it the mapping from normalized value to plain value.
enum class ParameterKind : int8
{
	kLevel,       // GainParameter: the normalized value is the linear gain, shown in dB
	kLinear,      // DecimalRangeParameter: min to max, linear
	kParabola,    // ParabolParameter: min to max along a power of the normalized value
	kLogarithmic, // LogParameter: min to max in equal frequency ratios
	kEqGain,      // EqGainParameter: -24 to +12 dB, 0 dB in the middle
	kList,        // StringListParameter: entries 0 to max
	kSwitch,      // SwitchParameter: on strictly above 0.5
	kMeter,       // read-only, never written
};

// The settings block's field: a normalized value, a list entry or a switch; none for the
// parameters it does not keep.
struct SettingsField
{
	double SettingsBlock::*number = nullptr;
	int8 SettingsBlock::*entry = nullptr;
	bool SettingsBlock::*flag = nullptr;

	constexpr bool kept () const { return number || entry || flag; }
};

constexpr SettingsField keptIn (double SettingsBlock::*field) { return {field, nullptr, nullptr}; }
constexpr SettingsField keptIn (int8 SettingsBlock::*field) { return {nullptr, field, nullptr}; }
constexpr SettingsField keptIn (bool SettingsBlock::*field) { return {nullptr, nullptr, field}; }

// What the engine setter takes, made from the normalized value.
enum class EngineConversion : int8
{
	kNone,        // no setter: the global bypass is read by process itself
	kAsIs,        // the normalized value
	kSquared,     // its square
	kHertz,       // the plain frequency of the logarithmic range
	kEqHertz,     // the same, kept clear of the engine's Nyquist frequency
	kEntryNumber, // the list entry counted from 1
	kOnOff,       // the switch
};

struct EngineInput
{
	EngineConversion conversion = EngineConversion::kNone;
	void (ReverbEngine::*number) (double) = nullptr;
	void (ReverbEngine::*band) (int32_t, double) = nullptr;
	int32 bandIndex = 0;
	void (ReverbEngine::*entry) (int32_t) = nullptr;
	void (ReverbEngine::*onOff) (bool) = nullptr;
};

constexpr EngineInput drives (void (ReverbEngine::*setter) (double),
                              EngineConversion conversion = EngineConversion::kAsIs)
{
	return {conversion, setter, nullptr, 0, nullptr, nullptr};
}
constexpr EngineInput drivesBand (void (ReverbEngine::*setter) (int32_t, double), int32 band,
                                  EngineConversion conversion = EngineConversion::kAsIs)
{
	return {conversion, nullptr, setter, band, nullptr, nullptr};
}
constexpr EngineInput drives (void (ReverbEngine::*setter) (int32_t))
{
	return {EngineConversion::kEntryNumber, nullptr, nullptr, 0, setter, nullptr};
}
constexpr EngineInput drives (void (ReverbEngine::*setter) (bool))
{
	return {EngineConversion::kOnOff, nullptr, nullptr, 0, nullptr, setter};
}

// How saved states older than today's held a value; the reader converts it.
enum class OlderStates : int8
{
	kAsToday,
	kLinearHertzInVersion0,   // linear over the frequency range
	kSixDecibelsHotInVersion0, // the level 6 dB above today's meaning
	kSquaredBeforeVersion2,   // the square of today's value
	kNarrowCutBeforeVersion5, // linear over +-12 dB, so the cut half was half as deep
	kAbsentBeforeVersion3,    // not saved: off
	kAbsentBeforeVersion4,    // not saved: 0
};

// Where the effect starts a parameter: at the "Default" preset's value, or at a normalized
// value that the preset's two decimals only approximate.
struct StartValue
{
	bool fromDefaultPreset = true;
	double normalized = 0.0;
};
constexpr StartValue kStartAtDefaultPreset {};
constexpr StartValue startAt (double normalized) { return {false, normalized}; }

struct ParameterSpec
{
	ParamID id = 0;
	const char* title = "";
	const char* units = "";
	ParameterKind kind = ParameterKind::kSwitch;
	double min = 0.0; // the plain range; a list's entries are 0 to max
	double max = 1.0;
	double exponent = 1.0;       // kParabola
	int32 bottomLabel = 0;       // kEqGain: EqGainParameter::BottomLabel
	int32 precision = 4;         // decimals of the text; 4 is the SDK's own
	int32 flags = ParameterInfo::kCanAutomate;
	double infoDefault = 0.0;    // plain; the default the host is told about
	double defaultPreset = 0.0;  // the "Default" preset's value, in the preset's units
	StartValue start = kStartAtDefaultPreset;
	SettingsField settings {};
	double PresetValues::*presetValue = nullptr;
	EngineInput engine {};
	OlderStates olderStates = OlderStates::kAsToday;
	const char* controlTag = nullptr; // knob, fader, switch or menu
	const char* fieldTag = nullptr;   // the value field under a knob or fader
};

namespace ParameterRows {
using K = ParameterKind;
using C = EngineConversion;
using E = ReverbEngine;
using S = SettingsBlock;
using P = PresetValues;

inline constexpr ParameterSpec kParameters[] = {
    {.id = kDryId, .title = "Dry", .units = "dB", .kind = K::kLevel, .infoDefault = 1.0,
     .defaultPreset = 0, .settings = keptIn (&S::dry), .presetValue = &P::dry,
     .engine = drives (&E::setDryLevel), .controlTag = "drSl", .fieldTag = "drTx"},
    {.id = kPredelayId, .title = "Predelay", .units = "ms", .kind = K::kLinear, .max = 200,
     .precision = 1, .infoDefault = 10, .defaultPreset = 20, .settings = keptIn (&S::predelay),
     .presetValue = &P::predelay, .engine = drives (&E::setPredelay), .controlTag = "prKn",
     .fieldTag = "prTx"},
    {.id = kWidthId, .title = "Width", .units = "%", .kind = K::kLinear, .max = 100,
     .precision = 2, .infoDefault = 100, .defaultPreset = 100, .settings = keptIn (&S::width),
     .presetValue = &P::width, .engine = drives (&E::setWidth), .controlTag = "wdKn",
     .fieldTag = "wdTx"},
    {.id = kEarlyVariationId, .title = "E.R. variation", .kind = K::kList, .max = 11,
     .flags = ParameterInfo::kCanAutomate | ParameterInfo::kIsList, .defaultPreset = 2,
     .settings = keptIn (&S::earlyVariation), .presetValue = &P::earlyVariation,
     .engine = drives (&E::setEarlyVariation), .controlTag = "erMn"},
    {.id = kReverbVariationId, .title = "Reverb variation", .kind = K::kList, .max = 4,
     .flags = ParameterInfo::kCanAutomate | ParameterInfo::kIsList, .defaultPreset = 1,
     .settings = keptIn (&S::reverbVariation), .presetValue = &P::reverbVariation,
     .engine = drives (&E::setReverbVariation), .controlTag = "rvMn"},
    {.id = kDecayId, .title = "Decay time", .units = "sec", .kind = K::kParabola, .min = 0.2,
     .max = 20, .exponent = 2, .precision = 2, .infoDefault = 5.0, .defaultPreset = 3,
     .settings = keptIn (&S::decay), .presetValue = &P::decay,
     .engine = drives (&E::setDecayTime, C::kSquared),
     .olderStates = OlderStates::kSquaredBeforeVersion2, .controlTag = "dtKn", .fieldTag = "dtTx"},
    {.id = kRoomSizeId, .title = "Room size", .units = "%", .kind = K::kLinear, .max = 100,
     .precision = 2, .infoDefault = 100, .defaultPreset = 20, .settings = keptIn (&S::roomSize),
     .presetValue = &P::roomSize, .engine = drives (&E::setRoomSize), .controlTag = "rsKn",
     .fieldTag = "rsTx"},
    {.id = kDiffusionId, .title = "Diffusion", .units = "%", .kind = K::kLinear, .max = 100,
     .precision = 2, .infoDefault = 100, .defaultPreset = 70, .settings = keptIn (&S::diffusion),
     .presetValue = &P::diffusion, .engine = drives (&E::setDiffusion), .controlTag = "dfKn",
     .fieldTag = "dfTx"},
    {.id = kDampIntensityId, .title = "Damp intensity", .units = "%", .kind = K::kLinear,
     .max = 100, .precision = 2, .infoDefault = 80, .defaultPreset = 80,
     .settings = keptIn (&S::dampIntensity), .presetValue = &P::dampIntensity,
     .engine = drives (&E::setDampIntensity), .controlTag = "diKn", .fieldTag = "diTx"},
    {.id = kDampFrequencyId, .title = "Damp", .units = "Hz", .kind = K::kLogarithmic, .min = 4000,
     .max = 22020, .precision = 1, .infoDefault = 20000, .defaultPreset = 18000,
     .settings = keptIn (&S::dampFrequency), .presetValue = &P::dampFrequency,
     .engine = drives (&E::setDampFrequency, C::kHertz),
     .olderStates = OlderStates::kLinearHertzInVersion0, .controlTag = "dmKn", .fieldTag = "dmTx"},
    {.id = kLowShelfFrequencyId, .title = "Low shelf", .units = "Hz", .kind = K::kLogarithmic,
     .min = 20, .max = 1000, .precision = 1, .infoDefault = 100, .defaultPreset = 100,
     .settings = keptIn (&S::lowShelfFrequency), .presetValue = &P::lowShelfFrequency,
     .engine = drivesBand (&E::setEqFrequency, 0, C::kEqHertz),
     .olderStates = OlderStates::kLinearHertzInVersion0, .controlTag = "lsKn", .fieldTag = "lsTx"},
    {.id = kLowGainId, .title = "Low gain", .units = "dB", .kind = K::kEqGain, .bottomLabel = 1,
     .infoDefault = 0.5, .defaultPreset = 0, .settings = keptIn (&S::lowGain),
     .presetValue = &P::lowGain, .engine = drivesBand (&E::setEqGain, 0),
     .olderStates = OlderStates::kNarrowCutBeforeVersion5, .controlTag = "lgKn", .fieldTag = "lgTx"},
    {.id = kPeakFrequencyId, .title = "Peak", .units = "Hz", .kind = K::kLogarithmic, .min = 30,
     .max = 22000, .precision = 1, .infoDefault = 1000, .defaultPreset = 1000,
     .settings = keptIn (&S::peakFrequency), .presetValue = &P::peakFrequency,
     .engine = drivesBand (&E::setEqFrequency, 1, C::kEqHertz),
     .olderStates = OlderStates::kLinearHertzInVersion0, .controlTag = "piKn", .fieldTag = "piTx"},
    {.id = kPeakGainId, .title = "Peak gain", .units = "dB", .kind = K::kEqGain, .bottomLabel = 0,
     .infoDefault = 0.5, .defaultPreset = 0, .settings = keptIn (&S::peakGain),
     .presetValue = &P::peakGain, .engine = drivesBand (&E::setEqGain, 1),
     .olderStates = OlderStates::kNarrowCutBeforeVersion5, .controlTag = "pgKn", .fieldTag = "pgTx"},
    {.id = kHighShelfFrequencyId, .title = "High shelf", .units = "Hz", .kind = K::kLogarithmic,
     .min = 1000, .max = 22000, .precision = 1, .infoDefault = 10000, .defaultPreset = 8000,
     .settings = keptIn (&S::highShelfFrequency), .presetValue = &P::highShelfFrequency,
     .engine = drivesBand (&E::setEqFrequency, 2, C::kEqHertz),
     .olderStates = OlderStates::kLinearHertzInVersion0, .controlTag = "hsKn", .fieldTag = "hsTx"},
    {.id = kHighGainId, .title = "High gain", .units = "dB", .kind = K::kEqGain, .bottomLabel = 2,
     .infoDefault = 0.5, .defaultPreset = 0, .settings = keptIn (&S::highGain),
     .presetValue = &P::highGain, .engine = drivesBand (&E::setEqGain, 2),
     .olderStates = OlderStates::kNarrowCutBeforeVersion5, .controlTag = "hgKn", .fieldTag = "hgTx"},
    {.id = kEarlyId, .title = "Early reflections", .units = "dB", .kind = K::kLevel,
     .infoDefault = 1.0, .defaultPreset = 0, .settings = keptIn (&S::early),
     .presetValue = &P::early, .engine = drives (&E::setEarlyLevel),
     .olderStates = OlderStates::kSixDecibelsHotInVersion0, .controlTag = "erSl",
     .fieldTag = "erTx"},
    {.id = kReverbId, .title = "Reverb", .units = "dB", .kind = K::kLevel, .infoDefault = 1.0,
     .defaultPreset = 0, .settings = keptIn (&S::reverb), .presetValue = &P::reverb,
     .engine = drives (&E::setReverbLevel), .controlTag = "reSl", .fieldTag = "reTx"},
    // -6.02 dB shows the start value, half the gain.
    {.id = kWetId, .title = "Wet", .units = "dB", .kind = K::kLevel, .infoDefault = 1.0,
     .defaultPreset = -6.02, .start = startAt (0.5), .settings = keptIn (&S::wet),
     .presetValue = &P::wet, .engine = drives (&E::setWetLevel), .controlTag = "weSl",
     .fieldTag = "weTx"},
    {.id = kBypassDryId, .title = "Bypass Dry", .settings = keptIn (&S::bypassDry),
     .presetValue = &P::bypassDry, .engine = drives (&E::setDryBypass),
     .olderStates = OlderStates::kAbsentBeforeVersion3, .controlTag = "drbp"},
    {.id = kBypassEarlyId, .title = "Bypass E.R.", .settings = keptIn (&S::bypassEarly),
     .presetValue = &P::bypassEarly, .engine = drives (&E::setEarlyBypass),
     .olderStates = OlderStates::kAbsentBeforeVersion3, .controlTag = "erbp"},
    {.id = kBypassReverbId, .title = "Bypass Reverb", .settings = keptIn (&S::bypassReverb),
     .presetValue = &P::bypassReverb, .engine = drives (&E::setReverbBypass),
     .olderStates = OlderStates::kAbsentBeforeVersion3, .controlTag = "rebp"},
    {.id = kBypassWetId, .title = "Bypass Wet", .settings = keptIn (&S::bypassWet),
     .presetValue = &P::bypassWet, .engine = drives (&E::setWetBypass),
     .olderStates = OlderStates::kAbsentBeforeVersion3, .controlTag = "webp"},
    // 0.54 Hz shows the start value.
    {.id = kModSpeedId, .title = "Mod. speed", .units = "Hz", .kind = K::kParabola, .max = 20,
     .exponent = 3, .precision = 2, .infoDefault = 0.8, .defaultPreset = 0.54,
     .start = startAt (0.3), .settings = keptIn (&S::modSpeed), .presetValue = &P::modSpeed,
     .engine = drives (&E::setModulationSpeed), .olderStates = OlderStates::kAbsentBeforeVersion4,
     .controlTag = "fmKn", .fieldTag = "fmTx"},
    {.id = kModDepthId, .title = "Mod. deph", .units = "%", .kind = K::kLinear, .max = 100,
     .precision = 2, .infoDefault = 50, .defaultPreset = 40.6, .settings = keptIn (&S::modDepth),
     .presetValue = &P::modDepth, .engine = drives (&E::setModulationDepth),
     .olderStates = OlderStates::kAbsentBeforeVersion4, .controlTag = "pmKn", .fieldTag = "pmTx"},
    // Presets never write the global bypass, and it has no engine setter.
    {.id = kBypassId, .title = "Bypass",
     .flags = ParameterInfo::kCanAutomate | ParameterInfo::kIsBypass,
     .settings = keptIn (&S::bypass), .controlTag = "bpbp"},
    {.id = kVuPpmId, .title = "VuPPM", .kind = K::kMeter, .flags = ParameterInfo::kIsReadOnly},
};
} // namespace ParameterRows
using ParameterRows::kParameters;

constexpr int32 kParameterCount = sizeof (kParameters) / sizeof (kParameters[0]);

namespace ParameterTableDetail {
struct RowsById
{
	int32 row[kVuPpmId + 1] {};
};
constexpr RowsById rowsById ()
{
	RowsById index {};
	for (int32& row : index.row)
		row = -1;
	for (int32 i = 0; i < kParameterCount; ++i)
		index.row[kParameters[i].id] = i;
	return index;
}
inline constexpr RowsById kRowsById = rowsById ();
} // namespace ParameterTableDetail

// The row of a parameter id, or null for an id without a parameter.
constexpr const ParameterSpec* findParameterSpec (ParamID id)
{
	return id <= kVuPpmId && ParameterTableDetail::kRowsById.row[id] >= 0
	           ? &kParameters[ParameterTableDetail::kRowsById.row[id]]
	           : nullptr;
}

// The row of an id that has one.
constexpr const ParameterSpec& parameterSpec (ParamID id) { return *findParameterSpec (id); }

constexpr int32 listEntries (const ParameterSpec& row) { return static_cast<int32> (row.max) + 1; }

constexpr int32 kNumEarlyVariations = listEntries (parameterSpec (kEarlyVariationId));
constexpr int32 kNumReverbVariations = listEntries (parameterSpec (kReverbVariationId));

// The "Default" preset, as the preset menu applies it.
constexpr PresetValues defaultPresetValues ()
{
	PresetValues values {};
	for (const ParameterSpec& row : kParameters)
		if (row.presetValue)
			values.*row.presetValue = row.defaultPreset;
	return values;
}

// The value the effect starts with, in the settings block's terms: the normalized value,
// the list entry, or 0 or 1 for a switch.
double startValue (const ParameterSpec& row);

} // namespace Vst
} // namespace Steinberg

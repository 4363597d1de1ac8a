#pragma once
// The 36 factory presets, in menu order. The names stand alone so that tools can list the
// presets without the effect.

#include "pluginterfaces/base/ftypes.h"

namespace Steinberg {
namespace Vst {

const int32 kNumFactoryPresets = 36;

inline constexpr const char* kFactoryPresetNames[kNumFactoryPresets] = {
    "Default",
    "Ambience",
    "Dark Room",
    "Studio A",
    "Studio B",
    "Little Room",
    "Presence",
    "Large Room",
    "Guitar Room",
    "Kick Ambience",
    "Plate",
    "Vocal Hall",
    "Percussion Room",
    "Small Hall",
    "Medium Hall A",
    "Medium Hall B",
    "Vocal predelay",
    "Piano Hall",
    "Snare Hall",
    "Space synthesizers",
    "Hall modulation A",
    "Hall modulation B",
    "Large Chamber",
    "Cathedral 1",
    "Cathedral 2",
    "Large Hall",
    "Deep cave",
    "Mega Hall 1",
    "Mega Hall 2",
    "Corridor",
    "Vibration 1",
    "Vibration 2",
    "Dim. expander A",
    "Dim. expander B",
    "Chorus A",
    "Chorus B",
};

// One preset's values, in the units each parameter shows: dB, ms, %, s, Hz, and list entry
// numbers counted from 0. The switches are 0 unless a preset names them.
struct PresetValues
{
	double dry = 0;
	double predelay = 0;
	double width = 0;
	double earlyVariation = 0;
	double reverbVariation = 0;
	double decay = 0;
	double roomSize = 0;
	double diffusion = 0;
	double dampIntensity = 0;
	double dampFrequency = 0;
	double lowShelfFrequency = 0;
	double lowGain = 0;
	double peakFrequency = 0;
	double peakGain = 0;
	double highShelfFrequency = 0;
	double highGain = 0;
	double early = 0;
	double reverb = 0;
	double wet = 0;
	double bypass = 0;
	double bypassDry = 0;
	double bypassEarly = 0;
	double bypassReverb = 0;
	double bypassWet = 0;
	double modSpeed = 0;
	double modDepth = 0;
};

extern const PresetValues kFactoryPresets[kNumFactoryPresets];

} // namespace Vst
} // namespace Steinberg

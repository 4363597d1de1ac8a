#pragma once
// The effect's own copy of every setting (ids 0 to 25). It drives the engine and is what
// the saved state holds, field for field in this order.

#include "QuillmereIds.h"
#include "pluginterfaces/base/ftypes.h"
#include "pluginterfaces/vst/vsttypes.h"

namespace Steinberg {
namespace Vst {

struct SettingsBlock
{
	double dry;
	double predelay;
	double width;
	double decay;
	double roomSize;
	double diffusion;
	double dampIntensity;
	double dampFrequency;
	double lowShelfFrequency;
	double lowGain;
	double peakFrequency;
	double peakGain;
	double highShelfFrequency;
	double highGain;
	double early;
	double reverb;
	double wet;
	int8 earlyVariation;
	int8 reverbVariation;
	bool bypass;
	bool bypassDry;
	bool bypassEarly;
	bool bypassReverb;
	bool bypassWet;
	double modSpeed;
	double modDepth;

	// Where every parameter starts: the "Default" factory preset.
	static SettingsBlock defaults ();

	// Stores a normalized value the way the parameter means it (list index, switch, or
	// the value itself). Ids above 25 are ignored; returns whether the id is a setting.
	bool store (ParamID id, ParamValue value);

	// The normalized value a parameter shows for the stored setting.
	ParamValue normalized (ParamID id) const;

	// The list entry a normalized value selects, kept inside the list.
	static int8 listIndex (ParamValue value, int32 entries);
};

// The parameter of each field above, in field order: the saved state's order too.
constexpr ParamID kSettingsOrder[] = {
    kDryId,           kPredelayId,         kWidthId,       kDecayId,
    kRoomSizeId,      kDiffusionId,        kDampIntensityId, kDampFrequencyId,
    kLowShelfFrequencyId, kLowGainId,      kPeakFrequencyId, kPeakGainId,
    kHighShelfFrequencyId, kHighGainId,    kEarlyId,       kReverbId,
    kWetId,           kEarlyVariationId,   kReverbVariationId, kBypassId,
    kBypassDryId,     kBypassEarlyId,      kBypassReverbId, kBypassWetId,
    kModSpeedId,      kModDepthId};

} // namespace Vst
} // namespace Steinberg

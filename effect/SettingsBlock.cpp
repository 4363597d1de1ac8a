#include "SettingsBlock.h"

#include "LogMapping.h"
#include "QuillmereIds.h"

namespace Steinberg {
namespace Vst {

int8 SettingsBlock::listIndex (ParamValue value, int32 entries)
{
	const double scaled = value * entries;
	if (!(scaled > 0.0))
		return 0;
	if (scaled >= entries - 1)
		return static_cast<int8> (entries - 1);
	return static_cast<int8> (scaled);
}

SettingsBlock SettingsBlock::defaults ()
{
	SettingsBlock s {};
	s.dry = 1.0;
	s.predelay = 0.1;
	s.width = 1.0;
	s.decay = 0.37605071654517747;
	s.roomSize = 0.2;
	s.diffusion = 0.7;
	s.dampIntensity = 0.8;
	s.dampFrequency = logToNormalized (4000, 22020, 18000);
	s.lowShelfFrequency = logToNormalized (20, 1000, 100);
	s.lowGain = 0.5;
	s.peakFrequency = logToNormalized (30, 22000, 1000);
	s.peakGain = 0.5;
	s.highShelfFrequency = logToNormalized (1000, 22000, 8000);
	s.highGain = 0.5;
	s.early = 1.0;
	s.reverb = 1.0;
	s.wet = 0.5;
	s.earlyVariation = 2;
	s.reverbVariation = 1;
	s.bypass = false;
	s.bypassDry = false;
	s.bypassEarly = false;
	s.bypassReverb = false;
	s.bypassWet = false;
	s.modSpeed = 0.3;
	s.modDepth = 0.406;
	return s;
}

bool SettingsBlock::store (ParamID id, ParamValue v)
{
	switch (id)
	{
		case kDryId: dry = v; break;
		case kPredelayId: predelay = v; break;
		case kWidthId: width = v; break;
		case kEarlyVariationId: earlyVariation = listIndex (v, kNumEarlyVariations); break;
		case kReverbVariationId: reverbVariation = listIndex (v, kNumReverbVariations); break;
		case kDecayId: decay = v; break;
		case kRoomSizeId: roomSize = v; break;
		case kDiffusionId: diffusion = v; break;
		case kDampIntensityId: dampIntensity = v; break;
		case kDampFrequencyId: dampFrequency = v; break;
		case kLowShelfFrequencyId: lowShelfFrequency = v; break;
		case kLowGainId: lowGain = v; break;
		case kPeakFrequencyId: peakFrequency = v; break;
		case kPeakGainId: peakGain = v; break;
		case kHighShelfFrequencyId: highShelfFrequency = v; break;
		case kHighGainId: highGain = v; break;
		case kEarlyId: early = v; break;
		case kReverbId: reverb = v; break;
		case kWetId: wet = v; break;
		case kBypassId: bypass = v > 0.5; break;
		case kBypassDryId: bypassDry = v > 0.5; break;
		case kBypassEarlyId: bypassEarly = v > 0.5; break;
		case kBypassReverbId: bypassReverb = v > 0.5; break;
		case kBypassWetId: bypassWet = v > 0.5; break;
		case kModSpeedId: modSpeed = v; break;
		case kModDepthId: modDepth = v; break;
		default: return false;
	}
	return true;
}

ParamValue SettingsBlock::normalized (ParamID id) const
{
	switch (id)
	{
		case kDryId: return dry;
		case kPredelayId: return predelay;
		case kWidthId: return width;
		case kEarlyVariationId: return earlyVariation / static_cast<double> (kNumEarlyVariations - 1);
		case kReverbVariationId: return reverbVariation / static_cast<double> (kNumReverbVariations - 1);
		case kDecayId: return decay;
		case kRoomSizeId: return roomSize;
		case kDiffusionId: return diffusion;
		case kDampIntensityId: return dampIntensity;
		case kDampFrequencyId: return dampFrequency;
		case kLowShelfFrequencyId: return lowShelfFrequency;
		case kLowGainId: return lowGain;
		case kPeakFrequencyId: return peakFrequency;
		case kPeakGainId: return peakGain;
		case kHighShelfFrequencyId: return highShelfFrequency;
		case kHighGainId: return highGain;
		case kEarlyId: return early;
		case kReverbId: return reverb;
		case kWetId: return wet;
		case kBypassId: return bypass ? 1.0 : 0.0;
		case kBypassDryId: return bypassDry ? 1.0 : 0.0;
		case kBypassEarlyId: return bypassEarly ? 1.0 : 0.0;
		case kBypassReverbId: return bypassReverb ? 1.0 : 0.0;
		case kBypassWetId: return bypassWet ? 1.0 : 0.0;
		case kModSpeedId: return modSpeed;
		case kModDepthId: return modDepth;
		default: return 0.0;
	}
}

} // namespace Vst
} // namespace Steinberg

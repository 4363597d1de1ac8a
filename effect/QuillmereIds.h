#pragma once
#include "pluginterfaces/base/funknown.h"
#include "pluginterfaces/vst/vsttypes.h"

namespace Steinberg {
namespace Vst {

static const FUID QuillmereClassId (0xD6FAE8EB, 0xF87044EF, 0x9AAB360B, 0xB521FC19);

// Parameter ids. There is no id 26. What each parameter is: ParameterTable.h.
enum QuillmereParamId : ParamID
{
	kDryId = 0,
	kPredelayId = 1,
	kWidthId = 2,
	kEarlyVariationId = 3,
	kReverbVariationId = 4,
	kDecayId = 5,
	kRoomSizeId = 6,
	kDiffusionId = 7,
	kDampIntensityId = 8,
	kDampFrequencyId = 9,
	kLowShelfFrequencyId = 10,
	kLowGainId = 11,
	kPeakFrequencyId = 12,
	kPeakGainId = 13,
	kHighShelfFrequencyId = 14,
	kHighGainId = 15,
	kEarlyId = 16,
	kReverbId = 17,
	kWetId = 18,
	kBypassId = 19,
	kBypassDryId = 20,
	kBypassEarlyId = 21,
	kBypassReverbId = 22,
	kBypassWetId = 23,
	kModSpeedId = 24,
	kModDepthId = 25,
	kVuPpmId = 27,

	kLastSettingId = kModDepthId
};

} // namespace Vst
} // namespace Steinberg

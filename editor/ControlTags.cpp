#include "ControlTags.h"

#include "ParameterTable.h"

namespace Steinberg {
namespace Vst {

using CC = ControlClass;

namespace {
// The class a parameter's control has, by the kind its tag names.
constexpr ControlClass classOfTag (const char* tag)
{
	return tag[2] == 'S' ? CC::kVerticalSlider
	     : tag[2] == 'K' ? CC::kAnimKnob
	     : tag[2] == 'M' ? CC::kOptionMenu
	                     : CC::kOnOffButton;
}

// The knob, fader, switch or menu of a parameter.
constexpr ControlInfo parameterControl (ParamID id)
{
	const char* tag = parameterSpec (id).controlTag;
	return {controlTag (tag), classOfTag (tag), static_cast<int32> (id)};
}

// The value field under a parameter's knob or fader.
constexpr ControlInfo valueField (ParamID id)
{
	return {controlTag (parameterSpec (id).fieldTag), CC::kTextEdit, static_cast<int32> (id)};
}
} // namespace

const ControlInfo kControlInfo[kControlSlotCount] = {
    parameterControl (kDryId),
    valueField (kDryId),
    parameterControl (kEarlyId),
    valueField (kEarlyId),
    parameterControl (kReverbId),
    valueField (kReverbId),
    parameterControl (kWetId),
    valueField (kWetId),
    parameterControl (kPredelayId),
    valueField (kPredelayId),
    parameterControl (kWidthId),
    valueField (kWidthId),
    parameterControl (kDecayId),
    valueField (kDecayId),
    parameterControl (kRoomSizeId),
    valueField (kRoomSizeId),
    parameterControl (kDiffusionId),
    valueField (kDiffusionId),
    parameterControl (kDampIntensityId),
    valueField (kDampIntensityId),
    parameterControl (kDampFrequencyId),
    valueField (kDampFrequencyId),
    parameterControl (kLowGainId),
    valueField (kLowGainId),
    parameterControl (kLowShelfFrequencyId),
    valueField (kLowShelfFrequencyId),
    parameterControl (kPeakGainId),
    valueField (kPeakGainId),
    parameterControl (kPeakFrequencyId),
    valueField (kPeakFrequencyId),
    parameterControl (kHighGainId),
    valueField (kHighGainId),
    parameterControl (kHighShelfFrequencyId),
    valueField (kHighShelfFrequencyId),
    parameterControl (kEarlyVariationId),
    parameterControl (kReverbVariationId),
    parameterControl (kModSpeedId),
    valueField (kModSpeedId),
    parameterControl (kModDepthId),
    valueField (kModDepthId),
    parameterControl (kBypassDryId),
    parameterControl (kBypassEarlyId),
    parameterControl (kBypassReverbId),
    parameterControl (kBypassWetId),
    parameterControl (kBypassId),
    {controlTag ("lodw"), CC::kOnOffButton, kNoParameter},
    {controlTag ("nepr"), CC::kKickButton, kNoParameter},
    {controlTag ("lapr"), CC::kKickButton, kNoParameter},
    {controlTag ("prMn"), CC::kOptionMenu, kNoParameter},
    {controlTag ("spsn"), CC::kSplashScreen, kNoParameter},
    {kNoTag, CC::kTextLabel, kNoParameter},
    {controlTag ("guMn"), CC::kOptionMenu, kNoParameter},
};

int32 valueControlSlot (uint32 parameter)
{
	for (int32 slot = 0; slot < kControlSlotCount; ++slot)
	{
		const ControlInfo& info = kControlInfo[slot];
		if (info.parameter == static_cast<int32> (parameter) &&
		    (info.controlClass == ControlClass::kVerticalSlider ||
		     info.controlClass == ControlClass::kAnimKnob))
			return slot;
	}
	return -1;
}

} // namespace Vst
} // namespace Steinberg

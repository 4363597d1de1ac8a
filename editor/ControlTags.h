#pragma once
// The editor's 52 controls: their slots in the view's control table, their tags and the
// parameter each one edits or shows. Both skins use the same slots and tags.

#include "pluginterfaces/base/ftypes.h"

namespace Steinberg {
namespace Vst {

// A control tag: four characters, the first in the most significant byte.
constexpr int32 controlTag (const char* code)
{
	return static_cast<int32> ((static_cast<uint32> (static_cast<uint8> (code[0])) << 24) |
	                           (static_cast<uint32> (static_cast<uint8> (code[1])) << 16) |
	                           (static_cast<uint32> (static_cast<uint8> (code[2])) << 8) |
	                           static_cast<uint32> (static_cast<uint8> (code[3])));
}

// The control classes, as the layouts name them.
enum class ControlClass
{
	kVerticalSlider,
	kTextEdit,
	kAnimKnob,
	kOptionMenu,
	kOnOffButton,
	kKickButton,
	kSplashScreen,
	kTextLabel,
};

// Slots of the control table, in table order.
enum ControlSlot : int32
{
	kDrySlider, kDryText, kEarlySlider, kEarlyText, kReverbSlider, kReverbText,
	kWetSlider, kWetText, kPredelayKnob, kPredelayText, kWidthKnob, kWidthText,
	kDecayKnob, kDecayText, kRoomSizeKnob, kRoomSizeText, kDiffusionKnob, kDiffusionText,
	kDampIntensityKnob, kDampIntensityText, kDampKnob, kDampText, kLowGainKnob, kLowGainText,
	kLowShelfKnob, kLowShelfText, kPeakGainKnob, kPeakGainText, kPeakKnob, kPeakText,
	kHighGainKnob, kHighGainText, kHighShelfKnob, kHighShelfText, kEarlyVariationMenu,
	kReverbVariationMenu, kModSpeedKnob, kModSpeedText, kModDepthKnob, kModDepthText,
	kDryBypass, kEarlyBypass, kReverbBypass, kWetBypass, kBypass, kPresetLock, kNextPreset,
	kPreviousPreset, kPresetMenu, kCredits, kVersionLabel, kSkinMenu,
	kControlSlotCount
};

constexpr int32 kNoParameter = -1;
constexpr int32 kNoTag = 0;

struct ControlInfo
{
	int32 tag;
	ControlClass controlClass;
	int32 parameter; // kNoParameter for controls that edit no parameter
};

// Indexed by ControlSlot.
extern const ControlInfo kControlInfo[kControlSlotCount];

// The slot of the knob or fader showing `parameter`, or -1 when it has none.
int32 valueControlSlot (uint32 parameter);

} // namespace Vst
} // namespace Steinberg

#pragma once
// The 36 factory presets, in menu order.

#include "pluginterfaces/base/ftypes.h"

namespace Steinberg {
namespace Vst {

const int32 kNumFactoryPresets = 36;
const int32 kNumPresetValues = 26;

extern const char* const kFactoryPresetNames[kNumFactoryPresets];
extern const double kFactoryPresets[kNumFactoryPresets][kNumPresetValues];

} // namespace Vst
} // namespace Steinberg

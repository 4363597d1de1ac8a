#pragma once
// Text handling shared by the range-mapped parameter classes.

#include "TextScan.h"
#include "pluginterfaces/base/ustring.h"
#include "public.sdk/source/vst/vstparameters.h"

namespace Steinberg {
namespace Vst {

// Fills the descriptive part of a continuous parameter's info (step count 0).
inline void describeContinuous (ParameterInfo& info, const TChar* title, ParamID tag,
                                const TChar* units, int32 flags, UnitID unitID)
{
	UString (info.title, str16BufferSize (String128)).assign (title);
	if (units)
		UString (info.units, str16BufferSize (String128)).assign (units);
	info.stepCount = 0;
	info.flags = flags;
	info.id = tag;
	info.unitId = unitID;
}

} // namespace Vst
} // namespace Steinberg

#pragma once
// A level whose normalized value is the linear gain (0 to 1), shown in dB. Every step is
// done in float so a typed or preset level lands on the same gain on every build.

#include "public.sdk/source/vst/vstparameters.h"

namespace Steinberg {
namespace Vst {

class GainParameter : public Parameter
{
public:
	GainParameter (int32 flags, ParamID tag, const char8* title);

	void toString (ParamValue normalized, String128 string) const SMTG_OVERRIDE;
	bool fromString (const TChar* string, ParamValue& normalized) const SMTG_OVERRIDE;

	// The linear gain of a level in dB.
	static double gainOfDecibels (double dB);
};

} // namespace Vst
} // namespace Steinberg

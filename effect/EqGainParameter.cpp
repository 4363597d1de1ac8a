#include "EqGainParameter.h"

#include "RangedParameterText.h"
#include "pluginterfaces/base/ustring.h"

namespace Steinberg {
namespace Vst {

EqGainParameter::EqGainParameter (int32 flags, ParamID tag, const char8* title, int32 label)
: bottomLabel (label < kNoLabel ? kNoLabel : (label > kLowPassLabel ? kLowPassLabel : label))
{
	describeContinuous (info, UString128 (title), tag, STR16 ("dB"), flags, kRootUnitId);
	info.defaultNormalizedValue = valueNormalized = 0.5;
}

double EqGainParameter::toDecibels (ParamValue x)
{
	if (x >= 0.5)
		return (x - 0.5) * 24.0;
	return (0.5 - x) * (-48.0);
}

void EqGainParameter::toString (ParamValue normalized, String128 string) const
{
	const double dB = toDecibels (normalized);
	if (dB == -24.0 && bottomLabel == kHighPassLabel)
		UString (string, str16BufferSize (String128)).assign (STR16 ("HPF"));
	else if (dB == -24.0 && bottomLabel == kLowPassLabel)
		UString (string, str16BufferSize (String128)).assign (STR16 ("LPF"));
	else
		printNumber (string, "%.2f", dB);
}

bool EqGainParameter::fromString (const TChar* string, ParamValue& normalized) const
{
	double dB = 0.0;
	if (!scanNumber (string, dB))
		return false;
	if (dB < -24.0)
		dB = -24.0;
	else if (dB > 12.0)
		dB = 12.0;
	normalized = dB >= 0.0 ? dB / 24.0 + 0.5 : (dB + 24.0) / 48.0;
	return true;
}

} // namespace Vst
} // namespace Steinberg

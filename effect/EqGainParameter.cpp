#include "EqGainParameter.h"

#include "RangedParameterText.h"
#include "pluginterfaces/base/ustring.h"
#include <algorithm>

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

namespace {
// The bottom's name for each label, none for kNoLabel.
const char* const kBottomTexts[] = {nullptr, "HPF", "LPF"};
// A typed -24.00 selects the cut, so a shelf just above it shows the next step up.
const double kLowestShelfShown = -23.99;
} // namespace

void EqGainParameter::toString (ParamValue normalized, String128 string) const
{
	const double dB = toDecibels (clampNormalized (normalized));
	if (!kBottomTexts[bottomLabel])
		printNumber (string, "%.2f", dB);
	else if (dB == -24.0)
		printWord (string, kBottomTexts[bottomLabel]);
	else
		printNumber (string, "%.2f", std::max (dB, kLowestShelfShown));
}

bool EqGainParameter::fromString (const TChar* string, ParamValue& normalized) const
{
	if (kBottomTexts[bottomLabel] && textIsWord (string, kBottomTexts[bottomLabel]))
	{
		normalized = 0.0;
		return true;
	}
	double dB = 0.0;
	if (!scanNumber (string, dB))
		return false;
	normalized = normalizedOf (dB);
	return true;
}

ParamValue EqGainParameter::normalizedOf (double dB)
{
	if (dB < -24.0)
		dB = -24.0;
	else if (dB > 12.0)
		dB = 12.0;
	return dB >= 0.0 ? dB / 24.0 + 0.5 : (dB + 24.0) / 48.0;
}

} // namespace Vst
} // namespace Steinberg

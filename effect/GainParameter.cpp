#include "GainParameter.h"

#include "RangedParameterText.h"
#include "pluginterfaces/base/ustring.h"
#include <cmath>

namespace Steinberg {
namespace Vst {

namespace {
// Below this gain the level shows as silence.
const double kSilentGain = 0.0001;
}

GainParameter::GainParameter (int32 flags, ParamID tag, const char8* title)
{
	describeContinuous (info, UString128 (title), tag, STR16 ("dB"), flags, kRootUnitId);
	info.defaultNormalizedValue = valueNormalized = 1.0;
}

void GainParameter::toString (ParamValue normalized, String128 string) const
{
	if (normalized > kSilentGain)
		printNumber (string, "%.2f", 20.0f * log10f (static_cast<float> (normalized)));
	else
		UString (string, str16BufferSize (String128)).assign (STR16 ("-oo"));
}

bool GainParameter::fromString (const TChar* string, ParamValue& normalized) const
{
	double dB = 0.0;
	if (!scanNumber (string, dB))
		return false;
	// Levels only attenuate: a typed 6 means 6 dB down.
	if (dB > 0.0)
		dB = -dB;
	normalized = expf (logf (10.0f) * static_cast<float> (dB) / 20.0f);
	return true;
}

} // namespace Vst
} // namespace Steinberg

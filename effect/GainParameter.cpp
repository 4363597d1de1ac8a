#include "GainParameter.h"

#include "RangedParameterText.h"
#include "pluginterfaces/base/ustring.h"
#include <algorithm>
#include <cmath>

namespace Steinberg {
namespace Vst {

namespace {
// At and below this gain (-80 dB) the level shows as silence.
const double kSilentGain = 0.0001;
const char* const kSilenceText = "-oo";
// A typed -80.00 reads back as silence, so a level just above it shows the next step up.
const double kQuietestShownDecibels = -79.99;
} // namespace

GainParameter::GainParameter (int32 flags, ParamID tag, const char8* title)
{
	describeContinuous (info, UString128 (title), tag, STR16 ("dB"), flags, kRootUnitId);
	info.defaultNormalizedValue = valueNormalized = 1.0;
}

void GainParameter::toString (ParamValue normalized, String128 string) const
{
	normalized = clampNormalized (normalized);
	if (normalized > kSilentGain)
		printNumber (string, "%.2f",
		             std::max<double> (20.0f * log10f (static_cast<float> (normalized)),
		                               kQuietestShownDecibels));
	else
		printWord (string, kSilenceText);
}

bool GainParameter::fromString (const TChar* string, ParamValue& normalized) const
{
	if (textIsWord (string, kSilenceText))
	{
		normalized = 0.0;
		return true;
	}
	double dB = 0.0;
	if (!scanNumber (string, dB))
		return false;
	// Levels only attenuate: a typed 6 means 6 dB down.
	if (dB > 0.0)
		dB = -dB;
	normalized = gainOfDecibels (dB);
	return true;
}

double GainParameter::gainOfDecibels (double dB)
{
	return expf (logf (10.0f) * static_cast<float> (dB) / 20.0f);
}

} // namespace Vst
} // namespace Steinberg

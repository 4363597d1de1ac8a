#include "SwitchParameter.h"

#include "TextScan.h"

namespace Steinberg {
namespace Vst {

namespace {
const char* const kOnText = "On";
const char* const kOffText = "Off";
} // namespace

SwitchParameter::SwitchParameter (const TChar* title, ParamID tag, int32 flags)
: Parameter (title, tag, nullptr, 0.0, 1, flags)
{
}

void SwitchParameter::toString (ParamValue normalized, String128 string) const
{
	printWord (string, clampNormalized (normalized) > 0.5 ? kOnText : kOffText);
}

bool SwitchParameter::fromString (const TChar* string, ParamValue& normalized) const
{
	if (textIsWord (string, kOnText) || textIsWord (string, kOffText))
	{
		normalized = textIsWord (string, kOnText) ? 1.0 : 0.0;
		return true;
	}
	// A number is taken as the normalized value itself.
	return scanNumber (string, normalized);
}

} // namespace Vst
} // namespace Steinberg

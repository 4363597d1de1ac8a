#include "DecimalRangeParameter.h"

#include "TextScan.h"

namespace Steinberg {
namespace Vst {

DecimalRangeParameter::DecimalRangeParameter () = default;

DecimalRangeParameter::DecimalRangeParameter (const ParameterInfo& info, ParamValue min,
                                              ParamValue max)
: RangeParameter (info, min, max)
{
}

DecimalRangeParameter::DecimalRangeParameter (const TChar* title, ParamID tag,
                                              const TChar* units, ParamValue min, ParamValue max,
                                              ParamValue defaultPlain, int32 flags)
: RangeParameter (title, tag, units, min, max, defaultPlain, 0, flags)
{
}

void DecimalRangeParameter::toString (ParamValue normalized, String128 string) const
{
	printNumber (string, "%.*lf", precision, toPlain (clampNormalized (normalized)));
}

bool DecimalRangeParameter::fromString (const TChar* string, ParamValue& normalized) const
{
	double plain = 0.0;
	if (!scanNumber (string, plain))
		return false;
	if (getMin () > plain)
		plain = getMin ();
	else if (plain > getMax ())
		plain = getMax ();
	normalized = toNormalized (plain);
	return true;
}

} // namespace Vst
} // namespace Steinberg

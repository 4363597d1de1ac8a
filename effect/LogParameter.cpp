#include "LogParameter.h"

#include "LogMapping.h"
#include "RangedParameterText.h"
#include "pluginterfaces/base/ustring.h"

namespace Steinberg {
namespace Vst {

LogParameter::LogParameter () : min (0.0), max (1.0) {}

LogParameter::LogParameter (const ParameterInfo& info, ParamValue min, ParamValue max)
: Parameter (info), min (min), max (max)
{
}

LogParameter::LogParameter (const TChar* title, ParamID tag, const TChar* units, int32 flags,
                            UnitID unitID, ParamValue min, ParamValue max, ParamValue defaultPlain)
: min (min), max (max)
{
	describeContinuous (info, title, tag, units, flags, unitID);
	info.defaultNormalizedValue = valueNormalized = toNormalized (defaultPlain);
}

void LogParameter::toString (ParamValue normalized, String128 string) const
{
	printNumber (string, "%.*lf", precision, toPlain (normalized));
}

bool LogParameter::fromString (const TChar* string, ParamValue& normalized) const
{
	return fromClampedPlainText (*this, string, normalized);
}

ParamValue LogParameter::toPlain (ParamValue normalized) const
{
	return logToPlain (min, max, normalized);
}

ParamValue LogParameter::toNormalized (ParamValue plain) const
{
	return logToNormalized (min, max, plain);
}

} // namespace Vst
} // namespace Steinberg

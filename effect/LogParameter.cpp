#include "LogParameter.h"

#include "LogMapping.h"
#include "RangedParameterText.h"
#include "pluginterfaces/base/ustring.h"

namespace Steinberg {
namespace Vst {

LogParameter::LogParameter () = default;

LogParameter::LogParameter (const ParameterInfo& info, ParamValue min, ParamValue max)
: DecimalRangeParameter (info, min, max)
{
}

LogParameter::LogParameter (const TChar* title, ParamID tag, const TChar* units, int32 flags,
                            UnitID unitID, ParamValue min, ParamValue max, ParamValue defaultPlain)
{
	minPlain = min;
	maxPlain = max;
	describeContinuous (info, title, tag, units, flags, unitID);
	info.defaultNormalizedValue = valueNormalized = toNormalized (defaultPlain);
}

ParamValue LogParameter::toPlain (ParamValue normalized) const
{
	return logToPlain (minPlain, maxPlain, normalized);
}

ParamValue LogParameter::toNormalized (ParamValue plain) const
{
	return logToNormalized (minPlain, maxPlain, plain);
}

} // namespace Vst
} // namespace Steinberg

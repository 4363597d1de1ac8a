#include "ParabolParameter.h"

#include "RangedParameterText.h"
#include "pluginterfaces/base/ustring.h"
#include <cmath>

namespace Steinberg {
namespace Vst {

ParabolParameter::ParabolParameter () : exponent (2.0) {}

ParabolParameter::ParabolParameter (const ParameterInfo& info, ParamValue min, ParamValue max)
: DecimalRangeParameter (info, min, max), exponent (2.0)
{
}

ParabolParameter::ParabolParameter (const TChar* title, ParamID tag, const TChar* units,
                                    int32 flags, UnitID unitID, ParamValue min, ParamValue max,
                                    ParamValue defaultPlain, ParamValue exponent)
: exponent (exponent)
{
	minPlain = min;
	maxPlain = max;
	describeContinuous (info, title, tag, units, flags, unitID);
	info.defaultNormalizedValue = valueNormalized = toNormalized (defaultPlain);
}

ParamValue ParabolParameter::toPlain (ParamValue normalized) const
{
	return std::pow (normalized, exponent) * (maxPlain - minPlain) + minPlain;
}

ParamValue ParabolParameter::toNormalized (ParamValue plain) const
{
	return normalizedOf (minPlain, maxPlain, exponent, plain);
}

ParamValue ParabolParameter::normalizedOf (ParamValue min, ParamValue max, ParamValue exponent,
                                           ParamValue plain)
{
	return std::pow ((plain - min) / (max - min), 1.0 / exponent);
}

} // namespace Vst
} // namespace Steinberg

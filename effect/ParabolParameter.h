#pragma once
// A parameter whose plain value grows with a power of the normalized value, so the low end
// of a wide range gets most of the travel.

#include "DecimalRangeParameter.h"

namespace Steinberg {
namespace Vst {

class ParabolParameter : public DecimalRangeParameter
{
public:
	ParabolParameter ();
	ParabolParameter (const ParameterInfo& info, ParamValue min, ParamValue max);
	ParabolParameter (const TChar* title, ParamID tag, const TChar* units, int32 flags,
	                  UnitID unitID, ParamValue min, ParamValue max, ParamValue defaultPlain,
	                  ParamValue exponent);

	ParamValue toPlain (ParamValue normalized) const SMTG_OVERRIDE;
	ParamValue toNormalized (ParamValue plain) const SMTG_OVERRIDE;

	static ParamValue normalizedOf (ParamValue min, ParamValue max, ParamValue exponent,
	                                ParamValue plain);

	OBJ_METHODS (ParabolParameter, DecimalRangeParameter)

protected:
	ParamValue exponent;
};

} // namespace Vst
} // namespace Steinberg

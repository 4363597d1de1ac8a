#pragma once
// A parameter whose plain value grows with a power of the normalized value, so the low end
// of a wide range gets most of the travel.

#include "public.sdk/source/vst/vstparameters.h"

namespace Steinberg {
namespace Vst {

class ParabolParameter : public RangeParameter
{
public:
	ParabolParameter ();
	ParabolParameter (const ParameterInfo& info, ParamValue min, ParamValue max);
	ParabolParameter (const TChar* title, ParamID tag, const TChar* units, int32 flags,
	                  UnitID unitID, ParamValue min, ParamValue max, ParamValue defaultPlain,
	                  ParamValue exponent);

	void toString (ParamValue normalized, String128 string) const SMTG_OVERRIDE;
	bool fromString (const TChar* string, ParamValue& normalized) const SMTG_OVERRIDE;
	ParamValue toPlain (ParamValue normalized) const SMTG_OVERRIDE;
	ParamValue toNormalized (ParamValue plain) const SMTG_OVERRIDE;

	OBJ_METHODS (ParabolParameter, RangeParameter)

protected:
	ParamValue exponent;
};

} // namespace Vst
} // namespace Steinberg

#pragma once
// A parameter whose plain value grows with a power of the normalized value, so the low end
// of a wide range gets most of the travel.

#include "public.sdk/source/vst/vstparameters.h"

namespace Steinberg {
namespace Vst {

class ParabolParameter : public Parameter
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

	virtual ParamValue getMin () const { return min; }
	virtual void setMin (ParamValue value) { min = value; }
	virtual ParamValue getMax () const { return max; }
	virtual void setMax (ParamValue value) { max = value; }

	OBJ_METHODS (ParabolParameter, Parameter)

protected:
	ParamValue min;
	ParamValue max;
	ParamValue exponent;
};

} // namespace Vst
} // namespace Steinberg

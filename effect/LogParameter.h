#pragma once
// A frequency parameter on a logarithmic scale between min and max.

#include "public.sdk/source/vst/vstparameters.h"

namespace Steinberg {
namespace Vst {

class LogParameter : public Parameter
{
public:
	LogParameter ();
	LogParameter (const ParameterInfo& info, ParamValue min, ParamValue max);
	LogParameter (const TChar* title, ParamID tag, const TChar* units, int32 flags, UnitID unitID,
	              ParamValue min, ParamValue max, ParamValue defaultPlain);

	void toString (ParamValue normalized, String128 string) const SMTG_OVERRIDE;
	bool fromString (const TChar* string, ParamValue& normalized) const SMTG_OVERRIDE;
	ParamValue toPlain (ParamValue normalized) const SMTG_OVERRIDE;
	ParamValue toNormalized (ParamValue plain) const SMTG_OVERRIDE;

	virtual ParamValue getMin () const { return min; }
	virtual void setMin (ParamValue value) { min = value; }
	virtual ParamValue getMax () const { return max; }
	virtual void setMax (ParamValue value) { max = value; }

	OBJ_METHODS (LogParameter, Parameter)

protected:
	ParamValue min;
	ParamValue max;
};


} // namespace Vst
} // namespace Steinberg

#pragma once
// A frequency parameter on a logarithmic scale between the range's min and max.

#include "public.sdk/source/vst/vstparameters.h"

namespace Steinberg {
namespace Vst {

class LogParameter : public RangeParameter
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

	OBJ_METHODS (LogParameter, RangeParameter)
};

} // namespace Vst
} // namespace Steinberg

#pragma once
// A frequency parameter on a logarithmic scale between the range's min and max.

#include "DecimalRangeParameter.h"

namespace Steinberg {
namespace Vst {

class LogParameter : public DecimalRangeParameter
{
public:
	LogParameter ();
	LogParameter (const ParameterInfo& info, ParamValue min, ParamValue max);
	LogParameter (const TChar* title, ParamID tag, const TChar* units, int32 flags, UnitID unitID,
	              ParamValue min, ParamValue max, ParamValue defaultPlain);

	ParamValue toPlain (ParamValue normalized) const SMTG_OVERRIDE;
	ParamValue toNormalized (ParamValue plain) const SMTG_OVERRIDE;

	OBJ_METHODS (LogParameter, DecimalRangeParameter)
};

} // namespace Vst
} // namespace Steinberg

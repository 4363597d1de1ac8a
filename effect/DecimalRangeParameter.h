#pragma once
// A parameter with a plain range (linear here; subclasses bend the mapping) whose texts are
// decimals with the parameter's precision. Texts use a point whatever the host's locale, and
// a typed value is clamped into the range.

#include "public.sdk/source/vst/vstparameters.h"

namespace Steinberg {
namespace Vst {

class DecimalRangeParameter : public RangeParameter
{
public:
	DecimalRangeParameter ();
	DecimalRangeParameter (const ParameterInfo& info, ParamValue min, ParamValue max);
	DecimalRangeParameter (const TChar* title, ParamID tag, const TChar* units, ParamValue min,
	                       ParamValue max, ParamValue defaultPlain,
	                       int32 flags = ParameterInfo::kCanAutomate);

	void toString (ParamValue normalized, String128 string) const SMTG_OVERRIDE;
	bool fromString (const TChar* string, ParamValue& normalized) const SMTG_OVERRIDE;

	OBJ_METHODS (DecimalRangeParameter, RangeParameter)
};

} // namespace Vst
} // namespace Steinberg

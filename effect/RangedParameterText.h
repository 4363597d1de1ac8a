#pragma once
// Text handling shared by the range-mapped parameter classes.

#include "TextScan.h"
#include "public.sdk/source/vst/vstparameters.h"

namespace Steinberg {
namespace Vst {

// Reads a typed plain value, clamps it into [getMin, getMax] and converts it to normalized.
template <class RangedParameter>
bool fromClampedPlainText (const RangedParameter& parameter, const TChar* string,
                           ParamValue& normalized)
{
	double plain = 0.0;
	if (!scanNumber (string, plain))
		return false;
	if (parameter.getMin () > plain)
		plain = parameter.getMin ();
	else if (plain > parameter.getMax ())
		plain = parameter.getMax ();
	normalized = parameter.toNormalized (plain);
	return true;
}

} // namespace Vst
} // namespace Steinberg

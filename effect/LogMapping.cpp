#include "LogMapping.h"

#include <cmath>

namespace Steinberg {
namespace Vst {

namespace {
// Both ends are taken in octaves relative to this frequency.
const double kReferenceFrequency = 624.375;
}

double logToPlain (double min, double max, double normalized)
{
	if (min == 0.0 || max == 0.0)
		return 0.0;
	const double a = std::log2 (min / kReferenceFrequency);
	const double b = std::log2 (max / kReferenceFrequency);
	return kReferenceFrequency * std::pow (2.0, a + (b - a) * normalized);
}

double logToNormalized (double min, double max, double plain)
{
	if (min == 0.0 || max == 0.0)
		return 0.0;
	const double a = std::log2 (min / kReferenceFrequency);
	const double b = std::log2 (max / kReferenceFrequency);
	return (std::log2 (plain / kReferenceFrequency) - a) / (b - a);
}

} // namespace Vst
} // namespace Steinberg

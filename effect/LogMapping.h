#pragma once
// Logarithmic frequency mapping: min * (max / min)^x and its inverse.

namespace Steinberg {
namespace Vst {

double logToPlain (double min, double max, double normalized);
double logToNormalized (double min, double max, double plain);

} // namespace Vst
} // namespace Steinberg

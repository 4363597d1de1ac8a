#include "EqualiserGlide.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.141592653589793;
// A cut glides as the shelf of its band at the bottom of the shelf range,
// which passes sound much like it; only the last step designs the cut.
constexpr double kShelfFloorDb = -24.0;

BiquadFilter::Design asGlidable (BiquadFilter::Design d)
{
    if (d.type == BiquadFilter::kHighPass || d.type == BiquadFilter::kLowPass)
    {
        d.type = d.type == BiquadFilter::kHighPass ? BiquadFilter::kLowShelf : BiquadFilter::kHighShelf;
        d.q = 0.7;
        d.gainDb = kShelfFloorDb;
    }
    return d;
}

// The frequency a fraction t of the way from a to b, evenly in the octaves
// of the designs' own frequency scale (the bilinear transform's): near the
// Nyquist frequency a few hertz move the poles as much as an octave does
// lower down, and even steps in plain octaves there still ring up.
double glideFrequency (double a, double b, double t, double rate)
{
    if (!(a > 0.0 && b > 0.0 && rate > 0.0))
        return a + (b - a) * t;
    const auto warp = [rate] (double hz) { return std::tan (kPi * std::min (hz / rate, 0.4999)); };
    const double wa = warp (a);
    return std::atan (wa * std::pow (warp (b) / wa, t)) / kPi * rate;
}

} // namespace

void BandGlide::start (BiquadFilter& band, const BiquadFilter::Design& target)
{
    from = band.getDesign ();
    to = target;
    stepsLeft = kSteps;
    step (band);
}

void BandGlide::step (BiquadFilter& band)
{
    if (stepsLeft <= 0)
        return;
    if (--stepsLeft == 0)
    {
        band.setDesign (to);
        return;
    }
    const bool sameType = from.type == to.type;
    const BiquadFilter::Design a = sameType ? from : asGlidable (from);
    const BiquadFilter::Design b = sameType ? to : asGlidable (to);
    const double t = static_cast<double> (kSteps - stepsLeft) / kSteps;
    BiquadFilter::Design d = b;
    d.frequency = glideFrequency (a.frequency, b.frequency, t, band.getSampleRate ());
    d.gainDb = a.gainDb + (b.gainDb - a.gainDb) * t;
    d.q = a.q + (b.q - a.q) * t;
    band.setDesign (d);
}

void BandGlide::finish (BiquadFilter& band)
{
    if (stepsLeft > 0)
        band.setDesign (to);
    stepsLeft = 0;
}

#include "DampedComb.h"

#include "DelayLength.h"

#include <cmath>
#include <cstring>

DampedComb::DampedComb ()
    : inputGain {1.0, 1.0}, time {40.0, 50.0}, decay {5.0, 5.0}, feedback {0.0, 0.0}, dampFrequency {1600.0, 1600.0},
      lowpassState {0.0, 0.0}, lowpassA {0.0, 0.0}, lowpassB {0.0, 0.0}, dampShare {1.0, 1.0}, directShare {0.0, 0.0},
      sampleRate (44100.0), position {2, 2}, length {2, 2}
{
    updateFeedback ();
    updateDamping ();
    updateLengths ();
    clear ();
}

void DampedComb::setDelays (double msLeft, double msRight)
{
    time[0] = clampTo (msLeft, kMinMs, kMaxMs);
    time[1] = clampTo (msRight, kMinMs, kMaxMs);
    updateLengths ();
    updateFeedback ();
}

void DampedComb::setInputGains (double gainLeft, double gainRight)
{
    inputGain[0] = gainLeft;
    inputGain[1] = gainRight;
}

void DampedComb::setDecay (double seconds)
{
    decay[0] = seconds;
    decay[1] = seconds;
    updateFeedback ();
}

void DampedComb::setDampFrequency (double hzLeft, double hzRight)
{
    dampFrequency[0] = clampTo (hzLeft, kMinDampHz, kMaxDampHz);
    dampFrequency[1] = clampTo (hzRight, kMinDampHz, kMaxDampHz);
    updateDamping ();
}

void DampedComb::setDampIntensity (double intensity)
{
    const double x = clampTo (intensity, 0.0, 1.0);
    const double share = x * x;
    dampShare[0] = dampShare[1] = share;
    directShare[0] = directShare[1] = 1.0 - share;
}

void DampedComb::setSampleRate (double rate)
{
    sampleRate = rate < kMaxStageSampleRate ? rate : kMaxStageSampleRate;
    updateDamping ();
    updateLengths ();
}

void DampedComb::clear ()
{
    std::memset (lineLeft, 0, sizeof (lineLeft));
    std::memset (lineRight, 0, sizeof (lineRight));
    lowpassState[0] = lowpassState[1] = 0.0;
}

double DampedComb::feedbackFor (double timeMs, double decaySeconds)
{
    return std::pow (10.0, timeMs * -0.003 / decaySeconds);
}

DampedComb::LowPass DampedComb::lowPassFor (double hz, double sampleRate)
{
    const double w = 2.0 - std::cos (6.283185307179586 * hz / sampleRate);
    const double v = std::sqrt (w * w - 1.0) - w;
    return {1.0 + v, v};
}

void DampedComb::updateFeedback ()
{
    for (int32_t c = 0; c < 2; ++c)
        feedback[c] = feedbackFor (time[c], decay[c]);
}

void DampedComb::updateDamping ()
{
    for (int32_t c = 0; c < 2; ++c)
    {
        const LowPass l = lowPassFor (dampFrequency[c], sampleRate);
        lowpassA[c] = l.a;
        lowpassB[c] = l.b;
    }
}

void DampedComb::updateLengths ()
{
    length[0] = delayLengthFromMs (time[0], sampleRate, kCapacity);
    length[1] = delayLengthFromMs (time[1], sampleRate, kCapacity);
}

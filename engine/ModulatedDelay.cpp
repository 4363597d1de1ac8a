#include "ModulatedDelay.h"

#include "DelayLength.h"

#include <cmath>
#include <cstring>

ModulatedDelay::ModulatedDelay ()
    : length (4), writeIndex (2), half (2), phase (0.0), phaseStep (0.0), rate (20.0), depth (1.0), sampleRate (44100.0),
      delayMs (10.0), centre (0.0), tableLength (kTableSize), swing {0.0, 0.0}
{
    // Accumulated angle, not k * step: the table follows the running sum.
    double x = 0.0;
    for (int32_t k = 0; k < kTableSize; ++k)
    {
        sineTable[k] = std::sin (x);
        x += 0.01227184630308513;
    }
    sineTable[kTableSize] = 0.0;
    sineTable[kTableSize + 1] = sineTable[1];
    update ();
    clear ();
}

void ModulatedDelay::setDelay (double ms)
{
    delayMs = clampTo (ms, kMinMs, kMaxMs);
    update ();
}

void ModulatedDelay::setDepth (double d)
{
    depth = clampTo (d, 0.0, 1.0);
    update ();
}

void ModulatedDelay::setRate (double hz)
{
    rate = hz;
    update ();
}

void ModulatedDelay::setSampleRate (double r)
{
    sampleRate = clampTo (r, kMinSampleRate, kMaxSampleRate);
    update ();
}

void ModulatedDelay::clear ()
{
    std::memset (frames, 0, sizeof (frames));
    writeIndex = 2;
}

void ModulatedDelay::update ()
{
    int32_t n = static_cast<int32_t> (std::trunc (delayMs * sampleRate * 0.001)) + 1;
    if (n < 4)
        n = 4;
    length = n;
    half = n / 2;
    centre = static_cast<double> (n + half);
    const double depthSamples = half * 0.48 * depth;
    swing[0] = depthSamples;
    swing[1] = -depthSamples;
    phaseStep = rate * kTableSize / sampleRate;
    tableLength = kTableSize;
}

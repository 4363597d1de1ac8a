#include "ModulatedDelay.h"

#include "DelayLength.h"

#include <cmath>
#include <cstring>

ModulatedDelay::ModulatedDelay ()
    : length (4), writeIndex (2), half (2), phase (0.0), phaseStep (0.0), rate (20.0), depth (1.0), sampleRate (44100.0),
      delayMs (10.0), centre (0.0), tableLength (kTableSize), swing {0.0, 0.0}
{
    fillSineTable (sineTable);
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

void ModulatedDelay::fillSineTable (double* table)
{
    // Accumulated angle, not k * step: the table follows the running sum.
    double x = 0.0;
    for (int32_t k = 0; k < kTableSize; ++k)
    {
        table[k] = std::sin (x);
        x += 0.01227184630308513;
    }
    table[kTableSize] = 0.0;
    table[kTableSize + 1] = table[1];
}

ModulatedDelay::Geometry ModulatedDelay::geometryFor (double delayMs, double depth, double rate, double sampleRate)
{
    int32_t n = static_cast<int32_t> (std::trunc (delayMs * sampleRate * 0.001)) + 1;
    if (n < 4)
        n = 4;
    const int32_t half = n / 2;
    return {n, half, static_cast<double> (n + half), half * 0.48 * depth, rate * kTableSize / sampleRate};
}

void ModulatedDelay::update ()
{
    const Geometry g = geometryFor (delayMs, depth, rate, sampleRate);
    length = g.length;
    half = g.half;
    centre = g.centre;
    swing[0] = g.depthSamples;
    swing[1] = -g.depthSamples;
    phaseStep = g.phaseStep;
    tableLength = kTableSize;
}

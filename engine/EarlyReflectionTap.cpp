#include "EarlyReflectionTap.h"

#include "DelayLength.h"

#include <cstring>

EarlyReflectionTap::EarlyReflectionTap () : gain {1.0, 1.0}, position {2, 2}, length {2, 2}, sampleRate (44100.0), time {40.0, 50.0}
{
    updateLengths ();
    clear ();
}

void EarlyReflectionTap::setDelays (double msLeft, double msRight)
{
    time[0] = clampTo (msLeft, kMinMs, kMaxMs);
    time[1] = clampTo (msRight, kMinMs, kMaxMs);
    updateLengths ();
}

void EarlyReflectionTap::setGains (double gainLeft, double gainRight)
{
    gain[0] = gainLeft;
    gain[1] = gainRight;
}

void EarlyReflectionTap::setSampleRate (double rate)
{
    sampleRate = rate < kMaxStageSampleRate ? rate : kMaxStageSampleRate;
    updateLengths ();
}

void EarlyReflectionTap::clear ()
{
    std::memset (lineLeft, 0, sizeof (lineLeft));
    std::memset (lineRight, 0, sizeof (lineRight));
    position[0] = 2;
    position[1] = 2;
}

void EarlyReflectionTap::updateLengths ()
{
    length[0] = delayLengthFromMs (time[0], sampleRate, kCapacity);
    length[1] = delayLengthFromMs (time[1], sampleRate, kCapacity);
}

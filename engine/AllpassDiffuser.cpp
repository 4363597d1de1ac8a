#include "AllpassDiffuser.h"

#include "DelayLength.h"

#include <cstring>

AllpassDiffuser::AllpassDiffuser () : coefficient {0.5, 0.5}, position (2), length (2), sampleRate (44100.0), time (20.0)
{
    updateLength ();
    clear ();
}

void AllpassDiffuser::setDelay (double ms)
{
    time = clampTo (ms, kMinMs, kMaxMs);
    updateLength ();
}

void AllpassDiffuser::setCoefficients (double left, double right)
{
    coefficient[0] = left;
    coefficient[1] = right;
}

void AllpassDiffuser::setSampleRate (double rate)
{
    sampleRate = rate < kMaxStageSampleRate ? rate : kMaxStageSampleRate;
    updateLength ();
}

void AllpassDiffuser::clear ()
{
    std::memset (frames, 0, sizeof (frames));
}

void AllpassDiffuser::updateLength ()
{
    length = delayLengthFromMs (time, sampleRate, kCapacity);
}

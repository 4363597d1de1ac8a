#include "StereoPreDelay.h"

#include "DelayLength.h"

#include <cstring>

StereoPreDelay::StereoPreDelay () : sampleRate (44100.0), position (2), length (2), time (20.0)
{
    updateLength ();
    clear ();
}

void StereoPreDelay::setSampleRate (double rate)
{
    sampleRate = rate < kMaxStageSampleRate ? rate : kMaxStageSampleRate;
    updateLength ();
}

void StereoPreDelay::setTime (double ms)
{
    time = clampTo (ms, kMinMs, kMaxMs);
    updateLength ();
}

void StereoPreDelay::clear ()
{
    std::memset (frames, 0, sizeof (frames));
}

void StereoPreDelay::updateLength ()
{
    length = delayLengthFromMs (time, sampleRate, kCapacity);
}

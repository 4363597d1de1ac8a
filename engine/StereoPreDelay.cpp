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

void StereoPreDelay::processBlock (const double* inLeft, const double* inRight, StereoFrame* out, int32_t numFrames)
{
    int32_t done = 0;
    while (done < numFrames)
    {
        // Slots position, position-1, ..., 1 are contiguous until the reload.
        const int32_t remaining = numFrames - done;
        const int32_t run = remaining < position ? remaining : position;
        StereoFrame* slot = frames + position;
        for (int32_t i = 0; i < run; ++i)
        {
            const StereoPair x = pairOf (inLeft[done + i], inRight[done + i]);
            const StereoPair delayed = loadFrame (slot[-i]);
            storeFrame (slot[-i], x);
            storeFrame (out[done + i], delayed);
        }
        done += run;
        position -= run;
        if (position <= 0)
            position = length;
    }
}

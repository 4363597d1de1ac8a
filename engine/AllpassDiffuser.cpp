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

void AllpassDiffuser::processBlock (StereoFrame* inOut, int32_t numFrames)
{
    const StereoPair g = loadPair (coefficient);
    int32_t done = 0;
    while (done < numFrames)
    {
        const int32_t remaining = numFrames - done;
        const int32_t run = remaining < position ? remaining : position;
        StereoFrame* slot = frames + position;
        for (int32_t i = 0; i < run; ++i)
        {
            const StereoPair delayed = loadFrame (slot[-i]);
            const StereoPair w = loadFrame (inOut[done + i]) - g * delayed;
            storeFrame (slot[-i], w);
            storeFrame (inOut[done + i], g * w + delayed);
        }
        done += run;
        position -= run;
        if (position <= 0)
            position = length;
    }
}

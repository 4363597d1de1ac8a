#pragma once

#include "StereoPair.h"

#include <cstdint>

// Plain stereo delay in front of the whole reverb; both channels share one
// interleaved line and one countdown position.
class StereoPreDelay
{
public:
    static constexpr int32_t kCapacity = 38748; // frames; 200 ms at 192 kHz uses 1..38400
    static constexpr double kMinMs = 0.01;
    static constexpr double kMaxMs = 200.0;

    StereoPreDelay ();

    void setSampleRate (double rate);
    void setTime (double ms);
    void clear (); // zeroes the line; the position runs on

    StereoPair process (StereoPair in)
    {
        StereoFrame& slot = frames[position];
        const StereoPair out = loadFrame (slot);
        storeFrame (slot, in);
        if (--position <= 0)
            position = length;
        return out;
    }

private:
    template <typename Build>
    friend struct ChunkPasses;

    void updateLength ();

    double sampleRate;
    int32_t position;
    int32_t length;
    double time;
    StereoFrame frames[kCapacity];
};

#pragma once

#include "StereoPair.h"

#include <cstdint>

// Schroeder allpass (g + z^-N) / (1 + g z^-N); both channels share the delay.
class AllpassDiffuser
{
public:
    static constexpr int32_t kCapacity = 19200; // frames
    static constexpr double kMinMs = 0.01;
    static constexpr double kMaxMs = 50.0;

    AllpassDiffuser ();

    void setDelay (double ms);
    void setCoefficients (double left, double right);
    void setSampleRate (double rate);
    void clear (); // zeroes the line; the position runs on

    StereoPair process (StereoPair in)
    {
        const StereoPair out = step (frames[position], loadAligned (coefficient), in);
        advance (1);
        return out;
    }

    // The allpass arithmetic on one line slot.
    static StereoPair step (StereoFrame& slot, StereoPair g, StereoPair in)
    {
        const StereoPair delayed = loadFrame (slot);
        const StereoPair w = in - g * delayed;
        storeFrame (slot, w);
        return g * w + delayed;
    }

private:
    template <typename Build>
    friend struct ChunkPasses;

    // Moves past frameCount frames; the next `position` frames use the slots
    // position, position - 1, ... before the position reloads.
    void advance (int32_t frameCount)
    {
        position -= frameCount;
        if (position <= 0)
            position = length;
    }
    void updateLength ();

    alignas (16) double coefficient[2];
    int32_t position;
    int32_t length;
    double sampleRate;
    double time;
    StereoFrame frames[kCapacity];
};

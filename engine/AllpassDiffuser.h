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

    // Block helpers: the next `position` frames use the slots
    // currentSlot(), currentSlot() - 1, ... before the position reloads.
    StereoFrame* currentSlot () { return frames + position; }
    StereoPair coefficientPair () const { return loadAligned (coefficient); }
    void advance (int32_t frameCount)
    {
        position -= frameCount;
        if (position <= 0)
            position = length;
    }

    int32_t getPosition () const { return position; }

private:
    void updateLength ();

    alignas (16) double coefficient[2];
    int32_t position;
    int32_t length;
    double sampleRate;
    double time;
    StereoFrame frames[kCapacity];
};

#pragma once

#include "StereoPair.h"

#include <cstdint>

// One stereo echo: a delay line per channel, read with a signed gain.
class EarlyReflectionTap
{
public:
    static constexpr int32_t kCapacity = 76800; // samples per channel
    static constexpr double kMinMs = 0.01;
    static constexpr double kMaxMs = 200.0;

    EarlyReflectionTap ();

    void setDelays (double msLeft, double msRight);
    void setGains (double gainLeft, double gainRight);
    void setSampleRate (double rate);
    void clear (); // zeroes both lines and restarts both positions at 2

    StereoPair process (StereoPair in)
    {
        double* left = lineLeft + position[0];
        double* right = lineRight + position[1];
        const StereoPair delayed = loadSplit (left, right);
        storeSplit (left, right, in);
        if (--position[0] <= 0)
            position[0] = length[0];
        if (--position[1] <= 0)
            position[1] = length[1];
        return loadAligned (gain) * delayed;
    }

private:
    template <typename Build>
    friend struct ChunkPasses;

    void updateLengths ();

    alignas (16) double gain[2];
    int32_t position[2];
    int32_t length[2];
    double sampleRate;
    double time[2];
    double lineLeft[kCapacity];
    double lineRight[kCapacity];
};

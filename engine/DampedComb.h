#pragma once

#include "StereoPair.h"

#include <cstdint>

// Stereo feedback comb with a one-pole low-pass in the loop. The output is the
// fed-back signal (after damping and feedback gain), not the raw line content.
class DampedComb
{
public:
    static constexpr int32_t kCapacity = 38400; // samples per channel
    static constexpr double kMinMs = 0.01;
    static constexpr double kMaxMs = 100.0;
    static constexpr double kMinDampHz = 20.0;
    static constexpr double kMaxDampHz = 22049.9;

    DampedComb ();

    void setDelays (double msLeft, double msRight);
    void setInputGains (double gainLeft, double gainRight);
    void setDecay (double seconds);
    void setDampFrequency (double hzLeft, double hzRight);
    void setDampIntensity (double intensity);
    void setSampleRate (double rate);
    void clear (); // zeroes lines and filter memory; positions run on

    // Loop gain for 60 dB of loss after decaySeconds.
    static double feedbackFor (double timeMs, double decaySeconds);
    // The damping low-pass state' = a x - b state, for a cut-off at hz.
    struct LowPass
    {
        double a, b;
    };
    static LowPass lowPassFor (double hz, double sampleRate);

    StereoPair process (StereoPair in)
    {
        double* left = lineLeft + position[0];
        double* right = lineRight + position[1];
        const StereoPair x = loadSplit (left, right);
        const StereoPair state = loadAligned (lowpassA) * x - loadAligned (lowpassB) * loadAligned (lowpassState);
        storePair (lowpassState, state);
        const StereoPair y = (state * loadAligned (dampShare) + x * loadAligned (directShare)) * loadAligned (feedback);
        storeSplit (left, right, loadAligned (inputGain) * in + y);
        if (--position[0] <= 0)
            position[0] = length[0];
        if (--position[1] <= 0)
            position[1] = length[1];
        return y;
    }

private:
    template <typename Build>
    friend struct ChunkPasses;

    void updateFeedback ();
    void updateDamping ();
    void updateLengths ();

    alignas (16) double inputGain[2];
    alignas (16) double time[2];
    alignas (16) double decay[2];
    alignas (16) double feedback[2];
    alignas (16) double dampFrequency[2];
    alignas (16) double lowpassState[2];
    alignas (16) double lowpassA[2];
    alignas (16) double lowpassB[2];
    alignas (16) double dampShare[2];
    alignas (16) double directShare[2];
    double sampleRate;
    int32_t position[2];
    int32_t length[2];
    double lineLeft[kCapacity];
    double lineRight[kCapacity];
};

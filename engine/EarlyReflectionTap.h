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

    // For each frame in order: sum[i] += taps[0].process(in[i]), then taps[1],
    // ... taps[count - 1]; the partial sum stays in a register.
    template <int32_t count>
    static void accumulateGroup (EarlyReflectionTap* taps, const StereoFrame* in, StereoFrame* sum, int32_t numFrames);

    double getGain (int32_t channel) const { return gain[channel]; }
    int32_t getPosition (int32_t channel) const { return position[channel]; }
    int32_t getLength (int32_t channel) const { return length[channel]; }
    double getTime (int32_t channel) const { return time[channel]; }
    double getSampleRate () const { return sampleRate; }

private:
    void updateLengths ();

    alignas (16) double gain[2];
    int32_t position[2];
    int32_t length[2];
    double sampleRate;
    double time[2];
    double lineLeft[kCapacity];
    double lineRight[kCapacity];
};

template <int32_t count>
void EarlyReflectionTap::accumulateGroup (EarlyReflectionTap* taps, const StereoFrame* in, StereoFrame* sum, int32_t numFrames)
{
    int32_t done = 0;
    while (done < numFrames)
    {
        // Run until the first line of the group reaches its reload.
        int32_t run = numFrames - done;
        for (int32_t k = 0; k < count; ++k)
        {
            if (taps[k].position[0] < run)
                run = taps[k].position[0];
            if (taps[k].position[1] < run)
                run = taps[k].position[1];
        }
        double* left[count];
        double* right[count];
        for (int32_t k = 0; k < count; ++k)
        {
            left[k] = taps[k].lineLeft + taps[k].position[0];
            right[k] = taps[k].lineRight + taps[k].position[1];
        }
        for (int32_t i = 0; i < run; ++i)
        {
            const StereoPair input = loadFrame (in[done + i]);
            StereoPair acc = loadFrame (sum[done + i]);
            for (int32_t k = 0; k < count; ++k)
            {
                const StereoPair delayed = loadSplit (left[k] - i, right[k] - i);
                storeSplit (left[k] - i, right[k] - i, input);
                acc = acc + loadAligned (taps[k].gain) * delayed;
            }
            storeFrame (sum[done + i], acc);
        }
        done += run;
        for (int32_t k = 0; k < count; ++k)
        {
            EarlyReflectionTap& t = taps[k];
            t.position[0] -= run;
            t.position[1] -= run;
            if (t.position[0] <= 0)
                t.position[0] = t.length[0];
            if (t.position[1] <= 0)
                t.position[1] = t.length[1];
        }
    }
}

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

    // For each frame in order: sum[i] += combs[0].process(in[i]), then
    // combs[1], ... combs[count - 1]. Several combs per pass keep their
    // low-pass recursions running side by side. alongside(i) runs after
    // frame i: independent work placed here fills the issue slots the comb
    // arithmetic leaves free.
    template <int32_t count, typename Alongside>
    static void accumulateGroup (DampedComb* combs, const StereoFrame* in, StereoFrame* sum, int32_t numFrames,
                                 Alongside&& alongside);

    double getInputGain (int32_t channel) const { return inputGain[channel]; }
    double getTime (int32_t channel) const { return time[channel]; }
    double getDecay (int32_t channel) const { return decay[channel]; }
    double getFeedback (int32_t channel) const { return feedback[channel]; }
    double getDampFrequency (int32_t channel) const { return dampFrequency[channel]; }
    double getLowpassState (int32_t channel) const { return lowpassState[channel]; }
    double getLowpassA (int32_t channel) const { return lowpassA[channel]; }
    double getLowpassB (int32_t channel) const { return lowpassB[channel]; }
    double getDampShare (int32_t channel) const { return dampShare[channel]; }
    double getDirectShare (int32_t channel) const { return directShare[channel]; }
    double getSampleRate () const { return sampleRate; }
    int32_t getPosition (int32_t channel) const { return position[channel]; }
    int32_t getLength (int32_t channel) const { return length[channel]; }

private:
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

template <int32_t count, typename Alongside>
void DampedComb::accumulateGroup (DampedComb* combs, const StereoFrame* in, StereoFrame* sum, int32_t numFrames,
                                  Alongside&& alongside)
{
    StereoPair state[count];
    for (int32_t k = 0; k < count; ++k)
        state[k] = loadAligned (combs[k].lowpassState);

    int32_t done = 0;
    while (done < numFrames)
    {
        // Run until the first line of the group reaches its reload.
        int32_t run = numFrames - done;
        for (int32_t k = 0; k < count; ++k)
        {
            if (combs[k].position[0] < run)
                run = combs[k].position[0];
            if (combs[k].position[1] < run)
                run = combs[k].position[1];
        }
        double* left[count];
        double* right[count];
        for (int32_t k = 0; k < count; ++k)
        {
            left[k] = combs[k].lineLeft + combs[k].position[0];
            right[k] = combs[k].lineRight + combs[k].position[1];
        }
        for (int32_t i = 0; i < run; ++i)
        {
            const StereoPair input = loadFrame (in[done + i]);
            StereoPair acc = loadFrame (sum[done + i]);
            for (int32_t k = 0; k < count; ++k)
            {
                const DampedComb& c = combs[k];
                const StereoPair x = loadSplit (left[k] - i, right[k] - i);
                state[k] = loadAligned (c.lowpassA) * x - loadAligned (c.lowpassB) * state[k];
                const StereoPair y =
                    (state[k] * loadAligned (c.dampShare) + x * loadAligned (c.directShare)) * loadAligned (c.feedback);
                storeSplit (left[k] - i, right[k] - i, loadAligned (c.inputGain) * input + y);
                acc = acc + y;
            }
            storeFrame (sum[done + i], acc);
            alongside (done + i);
        }
        done += run;
        for (int32_t k = 0; k < count; ++k)
        {
            DampedComb& c = combs[k];
            c.position[0] -= run;
            c.position[1] -= run;
            if (c.position[0] <= 0)
                c.position[0] = c.length[0];
            if (c.position[1] <= 0)
                c.position[1] = c.length[1];
        }
    }

    for (int32_t k = 0; k < count; ++k)
        storePair (combs[k].lowpassState, state[k]);
}

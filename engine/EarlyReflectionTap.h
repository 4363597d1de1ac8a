#pragma once

#include "LineRuns.h"
#include "StereoPair.h"

#include <cstdint>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

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

    struct Nothing
    {
        void operator() (int32_t, int32_t) const {}
    };

    // For each frame in order: sum[i] += taps[0].process(in[i]), then taps[1],
    // ... taps[count - 1]; the partial sum stays in a register. With
    // fresh, sum starts from +0 instead of its contents.
    template <int32_t count, bool fresh = false>
    static void accumulateGroup (EarlyReflectionTap* taps, const StereoFrame* in, StereoFrame* sum, int32_t numFrames);

#if defined(__x86_64__) && defined(__GNUC__)
    // accumulateGroup with four frames per 256-bit register, channels apart;
    // only for callers that checked the processor has AVX2. After each pass
    // it calls alongside(first frame, frames): the line traffic leaves the
    // arithmetic units idle enough for independent work to ride along.
    template <int32_t count, bool fresh = false, typename Alongside = Nothing>
    __attribute__ ((target ("avx2"))) static void accumulateGroupWide (EarlyReflectionTap* taps, const StereoFrame* in,
                                                                      StereoFrame* sum, int32_t numFrames,
                                                                      Alongside&& alongside = Alongside ());
#endif


private:
    template <typename, int32_t>
    friend struct LineRuns;

    // Frame i of a run through every tap of a group: acc plus their echoes.
    template <int32_t count>
    static StereoPair frameThrough (const EarlyReflectionTap* taps, double* const* left, double* const* right,
                                    int32_t i, StereoPair input, StereoPair acc)
    {
        for (int32_t k = 0; k < count; ++k)
        {
            const StereoPair delayed = loadSplit (left[k] - i, right[k] - i);
            storeSplit (left[k] - i, right[k] - i, input);
            acc = acc + loadAligned (taps[k].gain) * delayed;
        }
        return acc;
    }

#if defined(__x86_64__) && defined(__GNUC__)
    // Frames f[0..3] as one channel per register, latest frame first.
    __attribute__ ((target ("avx2"), always_inline)) static void framesToLines (const StereoFrame* f, __m256d& left,
                                                                                 __m256d& right)
    {
        const __m256d a = _mm256_loadu_pd (&f[0].left);
        const __m256d b = _mm256_loadu_pd (&f[2].left);
        left = _mm256_permute4x64_pd (_mm256_unpacklo_pd (a, b), 0x27);
        right = _mm256_permute4x64_pd (_mm256_unpackhi_pd (a, b), 0x27);
    }
#endif

public:

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

template <int32_t count, bool fresh>
void EarlyReflectionTap::accumulateGroup (EarlyReflectionTap* taps, const StereoFrame* in, StereoFrame* sum, int32_t numFrames)
{
    LineRuns<EarlyReflectionTap, count> lines;
    int32_t done = 0;
    while (done < numFrames)
    {
        const int32_t run = lines.start (taps, numFrames - done);
        double* const* left = lines.left;
        double* const* right = lines.right;
        for (int32_t i = 0; i < run; ++i)
        {
            storeFrame (sum[done + i], frameThrough<count> (taps, left, right, i, loadFrame (in[done + i]),
                                                              fresh ? pairZero () : loadFrame (sum[done + i])));
        }
        done += run;
        LineRuns<EarlyReflectionTap, count>::advance (taps, run);
    }
}

#if defined(__x86_64__) && defined(__GNUC__)
template <int32_t count, bool fresh, typename Alongside>
__attribute__ ((target ("avx2"))) void EarlyReflectionTap::accumulateGroupWide (EarlyReflectionTap* taps, const StereoFrame* in,
                                                                               StereoFrame* sum, int32_t numFrames,
                                                                               Alongside&& alongside)
{
    // Four frames as one channel each, latest frame first: the order the
    // line slots have in memory. Each lane does the pair code's operations.
    LineRuns<EarlyReflectionTap, count> lines;
    int32_t done = 0;
    while (done < numFrames)
    {
        const int32_t run = lines.start (taps, numFrames - done);
        double* const* left = lines.left;
        double* const* right = lines.right;
        int32_t i = 0;
        for (; i + 3 < run; i += 4)
        {
            __m256d inLeft, inRight, accLeft, accRight;
            framesToLines (in + done + i, inLeft, inRight);
            if constexpr (fresh)
                accLeft = accRight = _mm256_setzero_pd ();
            else
                framesToLines (sum + done + i, accLeft, accRight);
            for (int32_t k = 0; k < count; ++k)
            {
                double* l = left[k] - i - 3;
                double* r = right[k] - i - 3;
                const __m256d delayedLeft = _mm256_loadu_pd (l);
                const __m256d delayedRight = _mm256_loadu_pd (r);
                _mm256_storeu_pd (l, inLeft);
                _mm256_storeu_pd (r, inRight);
                // Broadcasts straight from memory: no shuffle.
                const __m256d gainLeft = _mm256_broadcast_sd (&taps[k].gain[0]);
                const __m256d gainRight = _mm256_broadcast_sd (&taps[k].gain[1]);
                accLeft = _mm256_add_pd (accLeft, _mm256_mul_pd (gainLeft, delayedLeft));
                accRight = _mm256_add_pd (accRight, _mm256_mul_pd (gainRight, delayedRight));
            }
            const __m256d l = _mm256_permute4x64_pd (accLeft, 0x1B);
            const __m256d r = _mm256_permute4x64_pd (accRight, 0x1B);
            const __m256d lo = _mm256_unpacklo_pd (l, r);
            const __m256d hi = _mm256_unpackhi_pd (l, r);
            _mm256_storeu_pd (&sum[done + i].left, _mm256_permute2f128_pd (lo, hi, 0x20));
            _mm256_storeu_pd (&sum[done + i + 2].left, _mm256_permute2f128_pd (lo, hi, 0x31));
            alongside (done + i, 4);
        }
        for (; i < run; ++i)
        {
            storeFrame (sum[done + i], frameThrough<count> (taps, left, right, i, loadFrame (in[done + i]),
                                                              fresh ? pairZero () : loadFrame (sum[done + i])));
            alongside (done + i, 1);
        }
        done += run;
        LineRuns<EarlyReflectionTap, count>::advance (taps, run);
    }
}
#endif

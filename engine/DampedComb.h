#pragma once

#include "StereoPair.h"

#include <cstdint>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

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

#if defined(__x86_64__) && defined(__GNUC__)
    // accumulateGroup with the line traffic and the non-recursive arithmetic
    // done four frames at a time, one channel per 256-bit register; only the
    // low-pass recursion stays frame by frame. Callers check for AVX2.
    template <int32_t count, typename Alongside>
    __attribute__ ((target ("avx2"))) static void accumulateGroupWide (DampedComb* combs, const StereoFrame* in,
                                                                      StereoFrame* sum, int32_t numFrames,
                                                                      Alongside&& alongside);
#endif

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

#if defined(__x86_64__) && defined(__GNUC__)
template <int32_t count, typename Alongside>
__attribute__ ((target ("avx2"))) void DampedComb::accumulateGroupWide (DampedComb* combs, const StereoFrame* in,
                                                                       StereoFrame* sum, int32_t numFrames,
                                                                       Alongside&& alongside)
{
    // Lanes of a channel register hold frames i+3, i+2, i+1, i: the order of
    // their line slots in memory. Every lane does the pair code's operations.
    __m128d state[count];
    for (int32_t k = 0; k < count; ++k)
        state[k] = _mm_load_pd (combs[k].lowpassState);

    // Coefficients spread over whole registers once per call, so that the
    // loop can take them straight from memory as operands.
    enum Coefficient
    {
        kALeft, kARight, kDampLeft, kDampRight, kDirectLeft, kDirectRight,
        kFeedbackLeft, kFeedbackRight, kGainLeft, kGainRight, kCoefficientCount
    };
    __m256d coef[count][kCoefficientCount];
    for (int32_t k = 0; k < count; ++k)
    {
        const DampedComb& c = combs[k];
        for (int32_t channel = 0; channel < 2; ++channel)
        {
            coef[k][kALeft + channel] = _mm256_set1_pd (c.lowpassA[channel]);
            coef[k][kDampLeft + channel] = _mm256_set1_pd (c.dampShare[channel]);
            coef[k][kDirectLeft + channel] = _mm256_set1_pd (c.directShare[channel]);
            coef[k][kFeedbackLeft + channel] = _mm256_set1_pd (c.feedback[channel]);
            coef[k][kGainLeft + channel] = _mm256_set1_pd (c.inputGain[channel]);
        }
    }

    int32_t done = 0;
    while (done < numFrames)
    {
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
        int32_t i = 0;
        for (; i + 3 < run; i += 4)
        {
            const StereoFrame* f = in + done + i;
            const __m256d a = _mm256_loadu_pd (&f[0].left);
            const __m256d b = _mm256_loadu_pd (&f[2].left);
            const __m256d inLeft = _mm256_permute4x64_pd (_mm256_unpacklo_pd (a, b), 0x27);
            const __m256d inRight = _mm256_permute4x64_pd (_mm256_unpackhi_pd (a, b), 0x27);
            StereoFrame* s = sum + done + i;
            const __m256d sa = _mm256_loadu_pd (&s[0].left);
            const __m256d sb = _mm256_loadu_pd (&s[2].left);
            __m256d accLeft = _mm256_permute4x64_pd (_mm256_unpacklo_pd (sa, sb), 0x27);
            __m256d accRight = _mm256_permute4x64_pd (_mm256_unpackhi_pd (sa, sb), 0x27);
            for (int32_t k = 0; k < count; ++k)
            {
                const DampedComb& c = combs[k];
                double* l = left[k] - i - 3;
                double* r = right[k] - i - 3;
                const __m256d xLeft = _mm256_loadu_pd (l);
                const __m256d xRight = _mm256_loadu_pd (r);
                const __m256d axLeft = _mm256_mul_pd (coef[k][kALeft], xLeft);
                const __m256d axRight = _mm256_mul_pd (coef[k][kARight], xRight);
                // Per-frame pairs: odd holds frames i+3 | i+1, even i+2 | i.
                const __m256d axOdd = _mm256_unpacklo_pd (axLeft, axRight);
                const __m256d axEven = _mm256_unpackhi_pd (axLeft, axRight);
                const __m128d bCoef = _mm_load_pd (c.lowpassB);
                const __m128d s0 = _mm_sub_pd (_mm256_extractf128_pd (axEven, 1), _mm_mul_pd (bCoef, state[k]));
                const __m128d s1 = _mm_sub_pd (_mm256_extractf128_pd (axOdd, 1), _mm_mul_pd (bCoef, s0));
                const __m128d s2 = _mm_sub_pd (_mm256_castpd256_pd128 (axEven), _mm_mul_pd (bCoef, s1));
                const __m128d s3 = _mm_sub_pd (_mm256_castpd256_pd128 (axOdd), _mm_mul_pd (bCoef, s2));
                state[k] = s3;
                const __m256d sOdd = _mm256_insertf128_pd (_mm256_castpd128_pd256 (s3), s1, 1);
                const __m256d sEven = _mm256_insertf128_pd (_mm256_castpd128_pd256 (s2), s0, 1);
                const __m256d stateLeft = _mm256_unpacklo_pd (sOdd, sEven);
                const __m256d stateRight = _mm256_unpackhi_pd (sOdd, sEven);
                const __m256d yLeft = _mm256_mul_pd (
                    _mm256_add_pd (_mm256_mul_pd (stateLeft, coef[k][kDampLeft]),
                                   _mm256_mul_pd (xLeft, coef[k][kDirectLeft])),
                    coef[k][kFeedbackLeft]);
                const __m256d yRight = _mm256_mul_pd (
                    _mm256_add_pd (_mm256_mul_pd (stateRight, coef[k][kDampRight]),
                                   _mm256_mul_pd (xRight, coef[k][kDirectRight])),
                    coef[k][kFeedbackRight]);
                _mm256_storeu_pd (l, _mm256_add_pd (_mm256_mul_pd (coef[k][kGainLeft], inLeft), yLeft));
                _mm256_storeu_pd (r, _mm256_add_pd (_mm256_mul_pd (coef[k][kGainRight], inRight), yRight));
                accLeft = _mm256_add_pd (accLeft, yLeft);
                accRight = _mm256_add_pd (accRight, yRight);
            }
            const __m256d l = _mm256_permute4x64_pd (accLeft, 0x1B);
            const __m256d r = _mm256_permute4x64_pd (accRight, 0x1B);
            const __m256d lo = _mm256_unpacklo_pd (l, r);
            const __m256d hi = _mm256_unpackhi_pd (l, r);
            _mm256_storeu_pd (&s[0].left, _mm256_permute2f128_pd (lo, hi, 0x20));
            _mm256_storeu_pd (&s[2].left, _mm256_permute2f128_pd (lo, hi, 0x31));
            alongside (done + i);
            alongside (done + i + 1);
            alongside (done + i + 2);
            alongside (done + i + 3);
        }
        for (; i < run; ++i)
        {
            const StereoPair input = loadFrame (in[done + i]);
            StereoPair acc = loadFrame (sum[done + i]);
            for (int32_t k = 0; k < count; ++k)
            {
                const DampedComb& c = combs[k];
                const StereoPair x = loadSplit (left[k] - i, right[k] - i);
                const StereoPair st = loadAligned (c.lowpassA) * x - loadAligned (c.lowpassB) * StereoPair {state[k]};
                state[k] = st.v;
                const StereoPair y =
                    (st * loadAligned (c.dampShare) + x * loadAligned (c.directShare)) * loadAligned (c.feedback);
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
        _mm_store_pd (combs[k].lowpassState, state[k]);
}
#endif

#pragma once

#include "LineRuns.h"
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

    // For each frame in order: sum[i] = start[i] + combs[0].process(in[i]),
    // then + combs[1], ... + combs[count - 1]; start may be sum itself. Several combs per pass keep their
    // low-pass recursions running side by side. alongside(i) runs after
    // frame i: independent work placed here fills the issue slots the comb
    // arithmetic leaves free.
    template <int32_t count, typename Alongside>
    static void accumulateGroup (DampedComb* combs, const StereoFrame* in, const StereoFrame* start,
                                 StereoFrame* sum, int32_t numFrames,
                                 Alongside&& alongside);

#if defined(__x86_64__) && defined(__GNUC__)
    // accumulateGroup with two combs per 256-bit register (left and right of
    // one comb, then of the next), so that even the low-pass recursions run
    // four lanes wide. Callers check for AVX2; count must be even.
    template <int32_t count, typename Alongside>
    __attribute__ ((target ("avx2"))) static void accumulatePairs (DampedComb* combs, const StereoFrame* in,
                                                                  const StereoFrame* start, StereoFrame* sum,
                                                                  int32_t numFrames,
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
    template <typename, int32_t>
    friend struct LineRuns;

#if defined(__x86_64__) && defined(__GNUC__)
    // Two left/right pairs side by side in one register.
    __attribute__ ((target ("avx2"), always_inline)) static __m256d spread (const double* first, const double* second)
    {
        return _mm256_insertf128_pd (_mm256_castpd128_pd256 (_mm_load_pd (first)), _mm_load_pd (second), 1);
    }
#endif

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
void DampedComb::accumulateGroup (DampedComb* combs, const StereoFrame* in, const StereoFrame* start,
                                  StereoFrame* sum, int32_t numFrames,
                                  Alongside&& alongside)
{
    StereoPair state[count];
    for (int32_t k = 0; k < count; ++k)
        state[k] = loadAligned (combs[k].lowpassState);

    LineRuns<DampedComb, count> lines;
    int32_t done = 0;
    while (done < numFrames)
    {
        const int32_t run = lines.start (combs, numFrames - done);
        double* const* left = lines.left;
        double* const* right = lines.right;
        for (int32_t i = 0; i < run; ++i)
        {
            const StereoPair input = loadFrame (in[done + i]);
            StereoPair acc = loadFrame (start[done + i]);
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
        LineRuns<DampedComb, count>::advance (combs, run);
    }

    for (int32_t k = 0; k < count; ++k)
        storePair (combs[k].lowpassState, state[k]);
}

#if defined(__x86_64__) && defined(__GNUC__)
template <int32_t count, typename Alongside>
__attribute__ ((target ("avx2"))) void DampedComb::accumulatePairs (DampedComb* combs, const StereoFrame* in,
                                                                   const StereoFrame* start, StereoFrame* sum,
                                                                   int32_t numFrames,
                                                                   Alongside&& alongside)
{
    static_assert (count % 2 == 0, "combs go in pairs");
    constexpr int32_t pairs = count / 2;
    // Lanes: left and right of comb 2p, then left and right of comb 2p + 1.
    enum Coefficient
    {
        kA, kB, kDamp, kDirect, kFeedback, kGain, kCoefficientCount
    };
    __m256d coef[pairs][kCoefficientCount];
    __m256d state[pairs];
    for (int32_t p = 0; p < pairs; ++p)
    {
        const DampedComb& c0 = combs[2 * p];
        const DampedComb& c1 = combs[2 * p + 1];
        coef[p][kA] = spread (c0.lowpassA, c1.lowpassA);
        coef[p][kB] = spread (c0.lowpassB, c1.lowpassB);
        coef[p][kDamp] = spread (c0.dampShare, c1.dampShare);
        coef[p][kDirect] = spread (c0.directShare, c1.directShare);
        coef[p][kFeedback] = spread (c0.feedback, c1.feedback);
        coef[p][kGain] = spread (c0.inputGain, c1.inputGain);
        state[p] = spread (c0.lowpassState, c1.lowpassState);
    }

    LineRuns<DampedComb, count> lines;
    int32_t done = 0;
    while (done < numFrames)
    {
        const int32_t run = lines.start (combs, numFrames - done);
        double* const* left = lines.left;
        double* const* right = lines.right;
        for (int32_t i = 0; i < run; ++i)
        {
            const __m256d input = _mm256_broadcast_pd (reinterpret_cast<const __m128d*> (&in[done + i].left));
            __m128d acc = _mm_load_pd (&start[done + i].left);
            for (int32_t p = 0; p < pairs; ++p)
            {
                const int32_t k = 2 * p;
                const __m128d x0 = _mm_loadh_pd (_mm_load_sd (left[k] - i), right[k] - i);
                const __m128d x1 = _mm_loadh_pd (_mm_load_sd (left[k + 1] - i), right[k + 1] - i);
                const __m256d x = _mm256_insertf128_pd (_mm256_castpd128_pd256 (x0), x1, 1);
                state[p] = _mm256_sub_pd (_mm256_mul_pd (coef[p][kA], x), _mm256_mul_pd (coef[p][kB], state[p]));
                const __m256d y = _mm256_mul_pd (
                    _mm256_add_pd (_mm256_mul_pd (state[p], coef[p][kDamp]), _mm256_mul_pd (x, coef[p][kDirect])),
                    coef[p][kFeedback]);
                const __m256d w = _mm256_add_pd (_mm256_mul_pd (coef[p][kGain], input), y);
                const __m128d w0 = _mm256_castpd256_pd128 (w);
                __m128d w1 = _mm256_extractf128_pd (w, 1);
                // Opaque to the optimiser: for AVX-512 GCC would otherwise
                // fetch the top lane from w with one more shuffle.
                __asm__ ("" : "+x"(w1));
                _mm_storel_pd (left[k] - i, w0);
                _mm_storeh_pd (right[k] - i, w0);
                _mm_storel_pd (left[k + 1] - i, w1);
                _mm_storeh_pd (right[k + 1] - i, w1);
                acc = _mm_add_pd (acc, _mm256_castpd256_pd128 (y));
                acc = _mm_add_pd (acc, _mm256_extractf128_pd (y, 1));
            }
            _mm_store_pd (&sum[done + i].left, acc);
            alongside (done + i);
        }
        done += run;
        LineRuns<DampedComb, count>::advance (combs, run);
    }

    for (int32_t p = 0; p < pairs; ++p)
    {
        _mm_store_pd (combs[2 * p].lowpassState, _mm256_castpd256_pd128 (state[p]));
        _mm_store_pd (combs[2 * p + 1].lowpassState, _mm256_extractf128_pd (state[p], 1));
    }
}
#endif

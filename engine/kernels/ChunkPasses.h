#pragma once

// The block form of ReverbEngine::processFrame: each stage runs over a whole
// chunk before the next stage starts, which gives the same numbers as frame by
// frame because each stage only touches its own state. Included only by the
// kernel translation units; each instantiates ChunkPasses with a build type of
// its own (internal linkage), so no instantiation is shared between builds.
//
// Build provides:
//   kWide        true where the processor has AVX2: several frames or combs
//                go through one 256-bit register, each lane doing exactly the
//                operations of the pair code (no FMA), so the bits stay equal.
//   kEqualiserIn the pass whose loop carries the previous chunk's equaliser.

#include "EngineChunk.h"
#include "ReverbEngine.h"

#include <immintrin.h>

#include <cstdint>

namespace {

// The instruction set this translation unit is compiled for, from the
// compiler's own macros (each kernel unit has its own flags).
ReverbEngine::Kernel instructionSetOfThisUnit ()
{
#if defined(__AVX512VL__) && defined(__AVX512F__)
    return ReverbEngine::Kernel::Avx512;
#elif defined(__AVX2__)
    return ReverbEngine::Kernel::Avx2;
#else
    return ReverbEngine::Kernel::Sse2;
#endif
}

} // namespace

// Where the previous chunk's equaliser steps ride. Its divisions form long
// dependency chains, so they run inside another stage's loop, which keeps the
// processor busy meanwhile.
enum class EqualiserRide
{
    kLateCombs, // one step per frame of the second comb group
    kDiffusers  // one step per frame of the diffuser loop
};

template <typename Build>
struct ChunkPasses
{
    static constexpr bool kWide = Build::kWide;
    static constexpr int32_t kFrames = EngineChunk::kFrames;

    static void render (ReverbEngine& e, EngineChunk* chunk, EngineChunk* previous)
    {
        if (chunk == nullptr || chunk->active == 0)
        {
            if (previous != nullptr)
                finishAlone (e, *previous);
            return;
        }
        const int32_t numFrames = chunk->active;

        alignas (16) StereoFrame delayed[kFrames];
        alignas (16) StereoFrame early[kFrames];
        alignas (16) StereoFrame combInput[kFrames];
        alignas (16) StereoFrame late[kFrames];
        ModulatedDelay::ReadPoint readPoints[kFrames];
        ModulatedDelay::Runner modulation (e.modDelay);
        EqualiserSteps equaliser (e, previous);
        const auto noWork = [] (int32_t) {};
        const auto equaliserStep = [&] (int32_t) { equaliser.step (); };

        preDelayPass (e.preDelay, chunk->inLeft, chunk->inRight, delayed, numFrames);

        // The modulated delay's read points depend on its LFO alone: the wide
        // builds sweep them alongside the first tap group's line traffic.
        static_assert (kEarlyTapCount == 10, "tap groups below assume ten taps");
        if constexpr (kWide)
        {
            tapPass<5, true> (e.earlyTaps, delayed, early, numFrames, [&] (int32_t first, int32_t frames) {
                sweep (modulation, readPoints + first, frames);
            });
            tapPass<5> (e.earlyTaps + 5, delayed, early, numFrames);
        }
        else
        {
            tapPass<5, true> (e.earlyTaps, delayed, early, numFrames);
            tapPass<5> (e.earlyTaps + 5, delayed, early, numFrames);
            modulation.sweep (numFrames, readPoints);
        }

        combInputPass (delayed, combInput, numFrames);
        static_assert (kCombCount == 10, "comb groups below assume ten combs");
        combPass<4> (e.combs, combInput, early, late, numFrames, noWork);
        if constexpr (Build::kEqualiserIn == EqualiserRide::kLateCombs)
            combPass<6> (e.combs + 4, combInput, late, late, numFrames, equaliserStep);
        else
            combPass<6> (e.combs + 4, combInput, late, late, numFrames, noWork);

        if constexpr (Build::kEqualiserIn == EqualiserRide::kDiffusers)
            diffuserPass (e, *chunk, modulation, readPoints, late, early, equaliserStep);
        else
            diffuserPass (e, *chunk, modulation, readPoints, late, early, noWork);
        modulation.storeState (e.modDelay);
        equaliser.finish (e);
    }

private:
    // Block kernels walk a group of stereo delay lines (taps or combs) in runs:
    // stretches of frames in which no line of the group reaches its reload, so
    // frame i of a run uses slot left[k] - i of line k. Line needs position[2],
    // length[2], lineLeft and lineRight, counting down as in its per-frame code.
    template <typename Line, int32_t count>
    struct LineRuns
    {
        // Length of the run that starts now, at most `limit`; points left and
        // right at each line's current slot.
        int32_t start (Line* lines, int32_t limit)
        {
            int32_t run = limit;
            for (int32_t k = 0; k < count; ++k)
            {
                if (lines[k].position[0] < run)
                    run = lines[k].position[0];
                if (lines[k].position[1] < run)
                    run = lines[k].position[1];
                left[k] = lines[k].lineLeft + lines[k].position[0];
                right[k] = lines[k].lineRight + lines[k].position[1];
            }
            return run;
        }

        // Moves every line past a finished run, reloading those that reached 0.
        static void advance (Line* lines, int32_t run)
        {
            for (int32_t k = 0; k < count; ++k)
            {
                Line& line = lines[k];
                line.position[0] -= run;
                line.position[1] -= run;
                if (line.position[0] <= 0)
                    line.position[0] = line.length[0];
                if (line.position[1] <= 0)
                    line.position[1] = line.length[1];
            }
        }

        // body (done, run, left, right) for each run of numFrames frames,
        // moving the lines past each run after it.
        template <typename Body>
        static void walk (Line* lines, int32_t numFrames, Body&& body)
        {
            LineRuns runs;
            for (int32_t done = 0; done < numFrames;)
            {
                const int32_t run = runs.start (lines, numFrames - done);
                body (done, run, static_cast<double* const*> (runs.left), static_cast<double* const*> (runs.right));
                done += run;
                advance (lines, run);
            }
        }

        double* left[count];
        double* right[count];
    };

    struct Nothing
    {
        void operator() (int32_t, int32_t) const {}
    };

    // The equaliser bands and the final mix with the band histories held in
    // registers, run as staggered steps: step j is the low band of frame j,
    // the mid band of frame j - 1 and the high band and mix of frame j - 2,
    // so that the three division chains overlap. Steps 0 .. count + 1 finish
    // `count` frames.
    struct EqualiserSteps
    {
        EqualiserSteps (const ReverbEngine& e, EngineChunk* pending)
            : chunk (pending), count (pending != nullptr ? pending->active : 0), steps (pending != nullptr ? count + 2 : 0),
              low (e.eqBands[0]), mid (e.eqBands[1]), high (e.eqBands[2]), dryG (loadAligned (e.dryGain)),
              wetG (loadAligned (e.wetGain)), cross (loadAligned (e.crossfeed))
        {
        }

        void step ()
        {
            if (done >= steps)
                return;
            const int32_t j = done++;
            if (j >= 2 && j < count)
            {
                const StereoPair q = high.process (midOut);
                midOut = mid.process (lowOut);
                lowOut = low.process (loadFrame (chunk->mix[j]));
                mixOut (j - 2, q);
                return;
            }
            if (j >= 2 && j - 2 < count)
                mixOut (j - 2, high.process (midOut));
            if (j >= 1 && j - 1 < count)
                midOut = mid.process (lowOut);
            if (j < count)
                lowOut = low.process (loadFrame (chunk->mix[j]));
        }

        // Runs the steps left, keeps the band histories and marks the chunk.
        void finish (ReverbEngine& e)
        {
            while (done < steps)
                step ();
            low.storeHistory (e.eqBands[0]);
            mid.storeHistory (e.eqBands[1]);
            high.storeHistory (e.eqBands[2]);
            if (chunk != nullptr)
                chunk->outputFinite = leftOf (spoilt) == 0.0 && rightOf (spoilt) == 0.0;
        }

        void mixOut (int32_t i, StereoPair q)
        {
            const StereoPair wet = (q + cross * swapped (q)) * wetG;
            const StereoPair out = pairOf (chunk->inLeft[i], chunk->inRight[i]) * dryG + wet;
            storeSplit (chunk->outLeft + i, chunk->outRight + i, out);
            spoilt = spoilt + (out - out); // stays 0 while every output is finite
        }

        EngineChunk* chunk;
        int32_t count;
        int32_t steps;
        int32_t done = 0;
        BiquadFilter::Runner low;
        BiquadFilter::Runner mid;
        BiquadFilter::Runner high;
        StereoPair lowOut = pairZero ();
        StereoPair midOut = pairZero ();
        StereoPair spoilt = pairZero ();
        StereoPair dryG;
        StereoPair wetG;
        StereoPair cross;
    };

    // The last chunk of a call, with nothing to ride along.
    static void finishAlone (ReverbEngine& e, EngineChunk& chunk)
    {
        EqualiserSteps equaliser (e, &chunk);
        equaliser.finish (e);
    }

    static void preDelayPass (StereoPreDelay& pre, const double* inLeft, const double* inRight, StereoFrame* out,
                              int32_t numFrames)
    {
        int32_t done = 0;
        while (done < numFrames)
        {
            // Slots position, position - 1, ..., 1 are contiguous until the reload.
            const int32_t remaining = numFrames - done;
            const int32_t run = remaining < pre.position ? remaining : pre.position;
            StereoFrame* slot = pre.frames + pre.position;
            for (int32_t i = 0; i < run; ++i)
            {
                const StereoPair x = pairOf (inLeft[done + i], inRight[done + i]);
                const StereoPair delayed = loadFrame (slot[-i]);
                storeFrame (slot[-i], x);
                storeFrame (out[done + i], delayed);
            }
            done += run;
            pre.position -= run;
            if (pre.position <= 0)
                pre.position = pre.length;
        }
    }

    // The wide builds' modulation sweep, four frames to a register where it can.
    static void sweep (ModulatedDelay::Runner& modulation, ModulatedDelay::ReadPoint* points, int32_t frames)
    {
        if constexpr (kWide)
        {
            if (frames == 4)
            {
                sweepFour (modulation, points);
                return;
            }
        }
        modulation.sweep (frames, points);
    }

    // modulation.sweep (4, points) with the four frames side by side in a
    // register: the same operations on each lane, only the phase advancing
    // frame by frame.
    static void sweepFour (ModulatedDelay::Runner& m, ModulatedDelay::ReadPoint* points)
    {
        // Separate values, kept in registers: loading a vector just stored
        // one element at a time would stall on store forwarding.
        const double phase0 = m.advancePhase ();
        const double phase1 = m.advancePhase ();
        const double phase2 = m.advancePhase ();
        const double phase3 = m.advancePhase ();
        const __m256d at = _mm256_set_pd (phase3, phase2, phase1, phase0);
        const __m256d stepped = _mm256_cvtepi32_pd (_mm256_cvttpd_epi32 (at));
        // Each frame's two table entries sit side by side. Frames 0 and 2 go
        // in one register, 1 and 3 in the other, so that unpacking gives each
        // entry in frame order.
        const __m256d entries02 =
            _mm256_insertf128_pd (_mm256_castpd128_pd256 (_mm_loadu_pd (m.table + static_cast<int32_t> (phase0))),
                                  _mm_loadu_pd (m.table + static_cast<int32_t> (phase2)), 1);
        const __m256d entries13 =
            _mm256_insertf128_pd (_mm256_castpd128_pd256 (_mm_loadu_pd (m.table + static_cast<int32_t> (phase1))),
                                  _mm_loadu_pd (m.table + static_cast<int32_t> (phase3)), 1);
        const __m256d below = _mm256_unpacklo_pd (entries02, entries13);
        const __m256d above = _mm256_unpackhi_pd (entries02, entries13);
        const __m256d lfo = _mm256_add_pd (below, _mm256_mul_pd (_mm256_sub_pd (at, stepped), _mm256_sub_pd (above, below)));

        const __m256d middle = _mm256_set1_pd (leftOf (m.centre));
        const __m256d tLeft = _mm256_add_pd (middle, _mm256_mul_pd (_mm256_set1_pd (leftOf (m.swing)), lfo));
        const __m256d tRight = _mm256_add_pd (middle, _mm256_mul_pd (_mm256_set1_pd (rightOf (m.swing)), lfo));
        const __m128i partsLeft = _mm256_cvttpd_epi32 (tLeft);
        const __m128i partsRight = _mm256_cvttpd_epi32 (tRight);
        const __m256d fractionLeft = _mm256_sub_pd (tLeft, _mm256_cvtepi32_pd (partsLeft));
        const __m256d fractionRight = _mm256_sub_pd (tRight, _mm256_cvtepi32_pd (partsRight));

        // Back to one left-right pair per frame.
        const __m256d fractions02 = _mm256_unpacklo_pd (fractionLeft, fractionRight);
        const __m256d fractions13 = _mm256_unpackhi_pd (fractionLeft, fractionRight);
        _mm_store_pd (&points[0].fraction.left, _mm256_castpd256_pd128 (fractions02));
        _mm_store_pd (&points[1].fraction.left, _mm256_castpd256_pd128 (fractions13));
        _mm_store_pd (&points[2].fraction.left, _mm256_extractf128_pd (fractions02, 1));
        _mm_store_pd (&points[3].fraction.left, _mm256_extractf128_pd (fractions13, 1));
        const __m128i ringLength = _mm_set1_epi32 (m.length);
        const __m128i whole01 = _mm_sub_epi32 (_mm_unpacklo_epi32 (partsLeft, partsRight), ringLength);
        const __m128i whole23 = _mm_sub_epi32 (_mm_unpackhi_epi32 (partsLeft, partsRight), ringLength);
        _mm_storel_epi64 (reinterpret_cast<__m128i*> (points[0].whole), whole01);
        _mm_storeh_pd (reinterpret_cast<double*> (points[1].whole), _mm_castsi128_pd (whole01));
        _mm_storel_epi64 (reinterpret_cast<__m128i*> (points[2].whole), whole23);
        _mm_storeh_pd (reinterpret_cast<double*> (points[3].whole), _mm_castsi128_pd (whole23));
    }

    // Frame i of a run through every tap of a group: acc plus their echoes.
    template <int32_t count>
    static StereoPair frameThroughTaps (const EarlyReflectionTap* taps, double* const* left, double* const* right,
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

    // Frames f[0..3] as one channel per register, latest frame first.
    static void framesToLines (const StereoFrame* f, __m256d& left, __m256d& right)
    {
        const __m256d a = _mm256_loadu_pd (&f[0].left);
        const __m256d b = _mm256_loadu_pd (&f[2].left);
        left = _mm256_permute4x64_pd (_mm256_unpacklo_pd (a, b), 0x27);
        right = _mm256_permute4x64_pd (_mm256_unpackhi_pd (a, b), 0x27);
    }

    // For each frame in order: sum[i] += taps[0].process (in[i]), then taps[1],
    // ... taps[count - 1]; with fresh, sum starts from +0 instead of its
    // contents. The wide builds take four frames per register, channels apart,
    // and after each pass call alongside (first frame, frames): the line
    // traffic leaves the arithmetic units idle enough for independent work.
    template <int32_t count, bool fresh = false, typename Alongside = Nothing>
    static void tapPass (EarlyReflectionTap* taps, const StereoFrame* in, StereoFrame* sum, int32_t numFrames,
                         Alongside&& alongside = Alongside ())
    {
        LineRuns<EarlyReflectionTap, count>::walk (taps, numFrames, [&] (int32_t done, int32_t run, double* const* left,
                                                                          double* const* right) {
            int32_t i = 0;
            if constexpr (kWide)
            {
                // Four frames as one channel each, latest frame first: the
                // order the line slots have in memory.
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
            }
            for (; i < run; ++i)
            {
                storeFrame (sum[done + i], frameThroughTaps<count> (taps, left, right, i, loadFrame (in[done + i]),
                                                                    fresh ? pairZero () : loadFrame (sum[done + i])));
                alongside (done + i, 1);
            }
        });
    }

    // The combs' input, 2 * own channel + other channel.
    static void combInputPass (const StereoFrame* delayed, StereoFrame* combInput, int32_t numFrames)
    {
        int32_t i = 0;
        if constexpr (kWide)
        {
            // Two frames at once.
            for (; i + 1 < numFrames; i += 2)
            {
                const __m256d p = _mm256_loadu_pd (&delayed[i].left);
                const __m256d swappedPairs = _mm256_permute_pd (p, 0b0101);
                _mm256_storeu_pd (&combInput[i].left,
                                  _mm256_add_pd (_mm256_mul_pd (_mm256_set1_pd (2.0), p), swappedPairs));
            }
        }
        const StereoPair two = pairSplat (2.0);
        for (; i < numFrames; ++i)
        {
            const StereoPair p = loadFrame (delayed[i]);
            storeFrame (combInput[i], two * p + swapped (p));
        }
    }

    // Two left/right pairs side by side in one register.
    static __m256d spread (const double* first, const double* second)
    {
        return _mm256_insertf128_pd (_mm256_castpd128_pd256 (_mm_load_pd (first)), _mm_load_pd (second), 1);
    }

    // For each frame in order: sum[i] = start[i] + combs[0].process (in[i]),
    // then + combs[1], ... + combs[count - 1]; start may be sum itself.
    // Several combs per pass keep their low-pass recursions running side by
    // side. alongside (i) runs after frame i: independent work placed here
    // fills the issue slots the comb arithmetic leaves free.
    template <int32_t count, typename Alongside>
    static void combPass (DampedComb* combs, const StereoFrame* in, const StereoFrame* start, StereoFrame* sum,
                          int32_t numFrames, Alongside&& alongside)
    {
        if constexpr (kWide)
            combPairsPass<count> (combs, in, start, sum, numFrames, alongside);
        else
            combPairPass<count> (combs, in, start, sum, numFrames, alongside);
    }

    template <int32_t count, typename Alongside>
    static void combPairPass (DampedComb* combs, const StereoFrame* in, const StereoFrame* start, StereoFrame* sum,
                              int32_t numFrames, Alongside& alongside)
    {
        StereoPair state[count];
        for (int32_t k = 0; k < count; ++k)
            state[k] = loadAligned (combs[k].lowpassState);

        LineRuns<DampedComb, count>::walk (combs, numFrames, [&] (int32_t done, int32_t run, double* const* left,
                                                                  double* const* right) {
            for (int32_t i = 0; i < run; ++i)
            {
                const StereoPair input = loadFrame (in[done + i]);
                StereoPair acc = loadFrame (start[done + i]);
                for (int32_t k = 0; k < count; ++k)
                {
                    const DampedComb& c = combs[k];
                    const StereoPair x = loadSplit (left[k] - i, right[k] - i);
                    state[k] = loadAligned (c.lowpassA) * x - loadAligned (c.lowpassB) * state[k];
                    const StereoPair y = (state[k] * loadAligned (c.dampShare) + x * loadAligned (c.directShare)) *
                                         loadAligned (c.feedback);
                    storeSplit (left[k] - i, right[k] - i, loadAligned (c.inputGain) * input + y);
                    acc = acc + y;
                }
                storeFrame (sum[done + i], acc);
                alongside (done + i);
            }
        });

        for (int32_t k = 0; k < count; ++k)
            storePair (combs[k].lowpassState, state[k]);
    }

    // Two combs per 256-bit register (left and right of one comb, then of the
    // next), so that even the low-pass recursions run four lanes wide.
    template <int32_t count, typename Alongside>
    static void combPairsPass (DampedComb* combs, const StereoFrame* in, const StereoFrame* start, StereoFrame* sum,
                               int32_t numFrames, Alongside& alongside)
    {
        static_assert (count % 2 == 0, "combs go in pairs");
        constexpr int32_t pairs = count / 2;
        enum Coefficient
        {
            kA,
            kB,
            kDamp,
            kDirect,
            kFeedback,
            kGain,
            kCoefficientCount
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

        LineRuns<DampedComb, count>::walk (combs, numFrames, [&] (int32_t done, int32_t run, double* const* left,
                                                                  double* const* right) {
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
        });

        for (int32_t p = 0; p < pairs; ++p)
        {
            _mm_store_pd (combs[2 * p].lowpassState, _mm256_castpd256_pd128 (state[p]));
            _mm_store_pd (combs[2 * p + 1].lowpassState, _mm256_extractf128_pd (state[p], 1));
        }
    }

    // Diffusers from..to-1 on two consecutive frames in one 256-bit register.
    // Within a run the later frame's slot sits just below the earlier one's,
    // so both load and store as one piece; the frames never share a slot, so
    // the order between them does not matter.
    static void diffuseTwoFrames (StereoFrame* const* slot, const StereoPair* gain, int32_t i, StereoPair& first,
                                  StereoPair& second, int32_t from, int32_t to)
    {
        __m256d d = _mm256_set_m128d (first.v, second.v);
        for (int32_t k = from; k < to; ++k)
        {
            const __m256d g = _mm256_set_m128d (gain[k].v, gain[k].v);
            double* at = &slot[k][-i - 1].left;
            const __m256d delayed = _mm256_loadu_pd (at);
            const __m256d w = _mm256_sub_pd (d, _mm256_mul_pd (g, delayed));
            _mm256_storeu_pd (at, w);
            d = _mm256_add_pd (_mm256_mul_pd (g, w), delayed);
        }
        second.v = _mm256_castpd256_pd128 (d);
        first.v = _mm256_extractf128_pd (d, 1);
    }

    // Modulated delay, diffusers and the reverb mix, up to the equaliser
    // input; alongside (frame) runs after each frame's mix is stored.
    template <typename Alongside>
    static void diffuserPass (ReverbEngine& e, EngineChunk& chunk, ModulatedDelay::Runner& modulation,
                              const ModulatedDelay::ReadPoint* readPoints, const StereoFrame* late,
                              const StereoFrame* early, Alongside&& alongside)
    {
        const int32_t numFrames = chunk.active;
        StereoPair diffuserGain[kDiffuserCount];
        for (int32_t k = 0; k < kDiffuserCount; ++k)
            diffuserGain[k] = loadAligned (e.diffusers[k].coefficient);
        const StereoPair reverbG = loadAligned (e.reverbGain);
        const StereoPair earlyG = loadAligned (e.earlyGain);
        int32_t done = 0;
        while (done < numFrames)
        {
            int32_t run = numFrames - done;
            StereoFrame* slot[kDiffuserCount];
            for (int32_t k = 0; k < kDiffuserCount; ++k)
            {
                if (e.diffusers[k].position < run)
                    run = e.diffusers[k].position;
                slot[k] = e.diffusers[k].frames + e.diffusers[k].position;
            }
            int32_t i = 0;
            if constexpr (kWide)
            {
                // Software-pipelined: the first diffusers of one frame pair run
                // beside the last diffusers of the pair before, which halves the
                // dependency chain each pass has to wait for.
                constexpr int32_t split = 2;
                const auto finishPair = [&] (int32_t at, StereoPair first, StereoPair second) {
                    diffuseTwoFrames (slot, diffuserGain, at, first, second, split, kDiffuserCount);
                    const int32_t frame = done + at;
                    storeFrame (chunk.mix[frame], first * reverbG + loadFrame (early[frame]) * earlyG);
                    storeFrame (chunk.mix[frame + 1], second * reverbG + loadFrame (early[frame + 1]) * earlyG);
                    alongside (frame);
                    alongside (frame + 1);
                };
                StereoPair heldFirst = pairZero ();
                StereoPair heldSecond = pairZero ();
                int32_t held = -1;
                for (; i + 1 < run; i += 2)
                {
                    const int32_t frame = done + i;
                    StereoPair first = modulation.process (loadFrame (late[frame]), readPoints[frame]);
                    StereoPair second = modulation.process (loadFrame (late[frame + 1]), readPoints[frame + 1]);
                    diffuseTwoFrames (slot, diffuserGain, i, first, second, 0, split);
                    if (held >= 0)
                        finishPair (held, heldFirst, heldSecond);
                    heldFirst = first;
                    heldSecond = second;
                    held = i;
                }
                if (held >= 0)
                    finishPair (held, heldFirst, heldSecond);
            }
            for (; i < run; ++i)
            {
                const int32_t frame = done + i;
                StereoPair d = modulation.process (loadFrame (late[frame]), readPoints[frame]);
                for (int32_t k = 0; k < kDiffuserCount; ++k)
                    d = AllpassDiffuser::step (slot[k][-i], diffuserGain[k], d);
                storeFrame (chunk.mix[frame], d * reverbG + loadFrame (early[frame]) * earlyG);
                alongside (frame);
            }
            for (auto& diffuser : e.diffusers)
                diffuser.advance (run);
            done += run;
        }
    }
};

#include "ReverbEngine.h"

#include "DelayLength.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

inline bool usableInput (double x)
{
    return std::fabs (x) <= ReverbEngine::kInputLimit; // false for NaN
}

inline bool isFinite (double x)
{
    return std::fabs (x) <= DBL_MAX; // false for NaN
}

// Whether every sample of both arrays lies within limit (NaN does not).
// Runs over every chunk's input, so two samples a step.
bool allWithin (const double* left, const double* right, int32_t count, double limit)
{
    int32_t i = 0;
    bool within = true;
#if defined(__SSE2__)
    const __m128d magnitude = _mm_castsi128_pd (_mm_set1_epi64x (0x7fffffffffffffff));
    const __m128d top = _mm_set1_pd (limit);
    __m128d all = _mm_cmpeq_pd (top, top);
    for (; i + 1 < count; i += 2)
    {
        all = _mm_and_pd (all, _mm_cmple_pd (_mm_and_pd (_mm_loadu_pd (left + i), magnitude), top));
        all = _mm_and_pd (all, _mm_cmple_pd (_mm_and_pd (_mm_loadu_pd (right + i), magnitude), top));
    }
    within = _mm_movemask_pd (all) == 3;
#endif
    for (; i < count; ++i)
        within &= (std::fabs (left[i]) <= limit) & (std::fabs (right[i]) <= limit);
    return within;
}

// Zeroes the samples that are not finite.
void zeroNonFinite (double* samples, int32_t count)
{
    for (int32_t i = 0; i < count; ++i)
        if (!isFinite (samples[i]))
            samples[i] = 0.0;
}

} // namespace

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define QUILLMERE_WIDE_KERNEL 1
#define QUILLMERE_AVX512_KERNEL 1

namespace {

// Two consecutive frames through the diffusers in one 256-bit register. Within
// a run the later frame's slot sits just below the earlier one's, so both
// load and store as one piece; the frames never share a slot, so the order
// between them does not matter. Same operations per lane as the pair code.
__attribute__ ((target ("avx2"))) void diffuseTwoFrames (StereoFrame* const* slot, const StereoPair* gain, int32_t i,
                                                         StereoPair& first, StereoPair& second, int32_t from, int32_t to)
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

// The combs' input, 2 * own channel + other channel, of two frames at once.
// Same operations per lane as the pair code.
__attribute__ ((target ("avx2"))) void combInputsTwoFrames (const StereoFrame* delayed, StereoFrame* combInput)
{
    const __m256d p = _mm256_loadu_pd (&delayed->left);
    const __m256d swappedPairs = _mm256_permute_pd (p, 0b0101);
    _mm256_storeu_pd (&combInput->left, _mm256_add_pd (_mm256_mul_pd (_mm256_set1_pd (2.0), p), swappedPairs));
}

} // namespace
#endif

ReverbEngine::ReverbEngine ()
    : dryGain {0.0, 0.0}, earlyGain {0.0, 0.0}, reverbGain {0.0, 0.0}, wetGain {0.0, 0.0}, crossfeed {0.0, 0.0},
      roomScale (0.5), diffuserScale (1.0), diffusion (1.0), earlyDelayTable (kEarlyDelayTables[0]),
      earlyGainTable (kEarlyGainTables[0]), combInputGainTable {kCombInputGainTables[0][0], kCombInputGainTables[0][1]},
      combDelayTable {kCombDelayTables[0][0], kCombDelayTables[0][1]},
      diffuserCoefTable {kDiffuserCoefTables[0], kDiffuserCoefTables[1]}, diffuserDelayTable (kDiffuserDelayTable),
      dryLevel (0.0), dryBypass (false), earlyLevel (0.0), earlyBypass (false), reverbLevel (0.0), reverbBypass (false),
      wetLevel (0.0), wetBypass (false), sampleRate (44100.0), decayTime (1.0), holdSamples (0),
      silenceCountdown (44100), lastFrameIdle (false), eqGlideEnabled (false), eqGlideActive (false),
      eqGlideStepFrames (1), eqGlideCountdown (0), kernel (Kernel::Sse2)
{
    selectKernel (Kernel::Avx512);
    eqBands[0].setType (BiquadFilter::kLowShelf);
    eqBands[1].setType (BiquadFilter::kPeak);
    eqBands[2].setType (BiquadFilter::kHighShelf);

    // A usable sound until the owner pushes its own settings.
    setDryLevel (1.0);
    setEarlyLevel (1.0);
    setReverbLevel (1.0);
    setWetLevel (0.5);
    setWidth (1.0);
    setPredelay (0.1);
    setEarlyVariation (3);
    setReverbVariation (2);
    setDecayTime (0.37605071654517747 * 0.37605071654517747);
    setRoomSize (0.2);
    setDiffusion (0.7);
    setDampIntensity (0.8);
    setDampFrequency (18000.0);
    setEqFrequency (0, 100.0);
    setEqFrequency (1, 1000.0);
    setEqFrequency (2, 8000.0);
    for (int32_t band = 0; band < kEqBandCount; ++band)
        setEqGain (band, 0.5);
    setModulationSpeed (0.3);
    setModulationDepth (0.406);
    setSampleRate (44100.0);
    reset ();
}

ReverbEngine::Kernel ReverbEngine::selectKernel (Kernel widest)
{
    kernel = Kernel::Sse2;
#if QUILLMERE_WIDE_KERNEL
    if (widest >= Kernel::Avx2 && __builtin_cpu_supports ("avx2"))
        kernel = Kernel::Avx2;
#endif
#if QUILLMERE_AVX512_KERNEL
    if (widest >= Kernel::Avx512 && __builtin_cpu_supports ("avx512f") && __builtin_cpu_supports ("avx512vl"))
        kernel = Kernel::Avx512;
#endif
    return kernel;
}

void ReverbEngine::setSampleRate (double hz)
{
    sampleRate = hz;
    preDelay.setSampleRate (hz);
    for (auto& tap : earlyTaps)
        tap.setSampleRate (hz);
    for (auto& comb : combs)
        comb.setSampleRate (hz);
    modDelay.setSampleRate (hz);
    for (auto& diffuser : diffusers)
        diffuser.setSampleRate (hz);
    finishEqGlides ();
    for (auto& band : eqBands)
        band.setSampleRate (hz);
    eqGlideStepFrames = std::max (1, static_cast<int32_t> (hz * kEqGlideStepSeconds + 0.5));
    holdSamples = static_cast<int32_t> ((decayTime + 5.0) * sampleRate);
}

void ReverbEngine::reset ()
{
    preDelay.clear ();
    for (auto& tap : earlyTaps)
        tap.clear ();
    for (auto& comb : combs)
        comb.clear ();
    for (auto& diffuser : diffusers)
        diffuser.clear ();
    modDelay.clear ();
    finishEqGlides ();
    for (auto& band : eqBands)
        band.clear ();
}

inline bool ReverbEngine::gateAdmits (double left, double right)
{
    if (left == 0.0 && right == 0.0)
    {
        if (--silenceCountdown < 1)
        {
            // The tail has had decay + 5 s to die away: stop all work.
            silenceCountdown = 1;
            return false;
        }
    }
    else
    {
        silenceCountdown = holdSamples;
    }
    return true;
}

void ReverbEngine::processFrame (const double in[2], double out[2])
{
    const double inLeft = usableInput (in[0]) ? in[0] : 0.0;
    const double inRight = usableInput (in[1]) ? in[1] : 0.0;
    lastFrameIdle = !gateAdmits (inLeft, inRight);
    if (lastFrameIdle)
    {
        out[0] = 0.0;
        out[1] = 0.0;
        if (eqGlideActive)
            advanceEqGlides (1);
        return;
    }

    const StereoPair x = pairOf (inLeft, inRight);
    const StereoPair dry = x * loadAligned (dryGain);
    const StereoPair p = preDelay.process (x);

    StereoPair early = pairZero ();
    for (auto& tap : earlyTaps)
        early = early + tap.process (p);

    const StereoPair combInput = pairSplat (2.0) * p + swapped (p);
    StereoPair late = early;
    for (auto& comb : combs)
        late = late + comb.process (combInput);

    StereoPair d = modDelay.process (late);
    for (auto& diffuser : diffusers)
        d = diffuser.process (d);

    const StereoPair r = d * loadAligned (reverbGain) + early * loadAligned (earlyGain);
    const StereoPair q = eqBands[2].process (eqBands[1].process (eqBands[0].process (r)));
    const StereoPair wet = (q + loadAligned (crossfeed) * swapped (q)) * loadAligned (wetGain);
    storePair (out, dry + wet);
    if (!(isFinite (out[0]) && isFinite (out[1])))
    {
        zeroNonFinite (out, 2);
        reset ();
    }
    if (eqGlideActive)
        advanceEqGlides (1);
}

void ReverbEngine::processBlock (const double* inL, const double* inR, double* outL, double* outR, int32_t numFrames)
{
    // While the equaliser glides, the block is cut at the glide's steps.
    while (eqGlideActive && numFrames > 0)
    {
        const int32_t frames = std::min (numFrames, eqGlideCountdown);
        renderBlock (inL, inR, outL, outR, frames);
        advanceEqGlides (frames);
        inL += frames;
        inR += frames;
        outL += frames;
        outR += frames;
        numFrames -= frames;
    }
    if (numFrames > 0)
        renderBlock (inL, inR, outL, outR, numFrames);
}

void ReverbEngine::renderBlock (const double* inL, const double* inR, double* outL, double* outR, int32_t numFrames)
{
    // The equaliser's divisions form long dependency chains. Each chunk's
    // equaliser therefore runs inside the loops of the chunk after it, where
    // the other stages keep the processor busy meanwhile. Only the last
    // chunk of the call is finished on its own, so it is kept short.
    Chunk chunks[2];
    Chunk* previous = nullptr;
    int32_t which = 0;
    for (int32_t start = 0; start < numFrames;)
    {
        Chunk& chunk = chunks[which];
        which ^= 1;
        const int32_t remaining = numFrames - start;
        chunk.start = start;
        chunk.count = remaining <= kLastChunkFrames ? remaining
                      : remaining <= kChunkFrames + kLastChunkFrames ? remaining - kLastChunkFrames
                                                                     : kChunkFrames;
        start += chunk.count;
        gatherChunk (inL, inR, outL, outR, chunk);
        switch (kernel)
        {
        case Kernel::Avx512: renderChunkAvx512 (chunk, previous); break;
        case Kernel::Avx2: renderChunkAvx2 (chunk, previous); break;
        default: renderChunk (chunk, previous); break;
        }
        if (previous != nullptr)
        {
            ensureFiniteOutput (*previous, &chunk);
            if (previous->anyIdle)
                scatterChunk (*previous, outL, outR);
        }
        previous = &chunk;
    }
    if (previous != nullptr)
    {
        finishChunk (*previous);
        ensureFiniteOutput (*previous, nullptr);
        if (previous->anyIdle)
            scatterChunk (*previous, outL, outR);
    }
}

void ReverbEngine::gatherChunk (const double* inL, const double* inR, double* outL, double* outR, Chunk& chunk)
{
    const double* left = inL + chunk.start;
    const double* right = inR + chunk.start;
    if (!allWithin (left, right, chunk.count, kInputLimit))
    {
        for (int32_t i = 0; i < chunk.count; ++i)
        {
            chunk.cleanLeft[i] = usableInput (left[i]) ? left[i] : 0.0;
            chunk.cleanRight[i] = usableInput (right[i]) ? right[i] : 0.0;
        }
        left = chunk.cleanLeft;
        right = chunk.cleanRight;
    }
    if (silenceCountdown > chunk.count && holdSamples > chunk.count)
    {
        // Neither the running countdown nor a reload can run out within the
        // chunk, so every frame passes; only the final count needs working out.
        int32_t lastSounding = chunk.count - 1;
        while (lastSounding >= 0 && left[lastSounding] == 0.0 && right[lastSounding] == 0.0)
            --lastSounding;
        silenceCountdown = lastSounding >= 0 ? holdSamples - (chunk.count - 1 - lastSounding)
                                             : silenceCountdown - chunk.count;
        chunk.active = chunk.count;
        chunk.anyIdle = false;
        lastFrameIdle = false;
    }
    else
    {
        // Idle frames advance nothing, so the stages only ever see the
        // admitted frames, in order.
        int32_t active = 0;
        bool anyIdle = false;
        for (int32_t i = 0; i < chunk.count; ++i)
        {
            const bool idle = !gateAdmits (left[i], right[i]);
            chunk.idle[i] = idle;
            anyIdle = anyIdle || idle;
            chunk.gatheredLeft[active] = left[i];
            chunk.gatheredRight[active] = right[i];
            active += idle ? 0 : 1;
        }
        chunk.active = active;
        chunk.anyIdle = anyIdle;
        lastFrameIdle = chunk.idle[chunk.count - 1];
    }
    // The stages read the caller's input directly when no frame is idle. A
    // frame's output is written only after its input was last read (by the
    // dry mix), so the caller may pass the same arrays for input and output.
    if (chunk.anyIdle)
    {
        chunk.inLeft = chunk.gatheredLeft;
        chunk.inRight = chunk.gatheredRight;
        chunk.outLeft = chunk.mixedLeft;
        chunk.outRight = chunk.mixedRight;
    }
    else
    {
        chunk.inLeft = left;
        chunk.inRight = right;
        chunk.outLeft = outL + chunk.start;
        chunk.outRight = outR + chunk.start;
    }
}

void ReverbEngine::ensureFiniteOutput (Chunk& done, Chunk* pending)
{
    if (done.outputFinite)
        return;
    zeroNonFinite (done.outLeft, done.active);
    zeroNonFinite (done.outRight, done.active);
    reset ();
    if (pending != nullptr)
        for (int32_t i = 0; i < pending->active; ++i)
            if (!(isFinite (pending->mix[i].left) && isFinite (pending->mix[i].right)))
                pending->mix[i] = StereoFrame {0.0, 0.0};
}

void ReverbEngine::scatterChunk (const Chunk& chunk, double* outL, double* outR)
{
    double* left = outL + chunk.start;
    double* right = outR + chunk.start;
    int32_t next = 0;
    for (int32_t i = 0; i < chunk.count; ++i)
    {
        if (chunk.idle[i])
        {
            left[i] = 0.0;
            right[i] = 0.0;
        }
        else
        {
            left[i] = chunk.mixedLeft[next];
            right[i] = chunk.mixedRight[next];
            ++next;
        }
    }
}

// Equaliser bands and the final mix, one frame at a time, with the band
// histories held in registers.
struct ReverbEngine::OutputRunner
{
    explicit OutputRunner (const ReverbEngine& e)
        : low (e.eqBands[0]), mid (e.eqBands[1]), high (e.eqBands[2]), dryG (loadAligned (e.dryGain)),
          wetG (loadAligned (e.wetGain)), cross (loadAligned (e.crossfeed))
    {
    }

    void lowBand (Chunk& c, int32_t i) { storeFrame (c.mix[i], low.process (loadFrame (c.mix[i]))); }

    void midBand (Chunk& c, int32_t i) { storeFrame (c.mix[i], mid.process (loadFrame (c.mix[i]))); }

    void highBandAndMix (Chunk& c, int32_t i) { mixOut (c, i, high.process (loadFrame (c.mix[i]))); }

    void mixOut (Chunk& c, int32_t i, StereoPair q)
    {
        const StereoPair wet = (q + cross * swapped (q)) * wetG;
        const StereoPair out = pairOf (c.inLeft[i], c.inRight[i]) * dryG + wet;
        storeSplit (c.outLeft + i, c.outRight + i, out);
        spoilt = spoilt + (out - out); // stays 0 while every output is finite
    }

    bool outputFinite () const { return leftOf (spoilt) == 0.0 && rightOf (spoilt) == 0.0; }

    // Step j of the three bands staggered by a frame each, so that the
    // band recursions run side by side: low band of frame j, mid band of
    // frame j - 1, high band and mix of frame j - 2. A band's output reaches
    // the next band a step later, in a register. Steps 0 .. count + 1 finish
    // `count` frames.
    void staggeredStep (Chunk& c, int32_t j, int32_t count)
    {
        if (j >= 2 && j < count)
        {
            const StereoPair q = high.process (midOut);
            midOut = mid.process (lowOut);
            lowOut = low.process (loadFrame (c.mix[j]));
            mixOut (c, j - 2, q);
            return;
        }
        if (j >= 2 && j - 2 < count)
            mixOut (c, j - 2, high.process (midOut));
        if (j >= 1 && j - 1 < count)
            midOut = mid.process (lowOut);
        if (j < count)
            lowOut = low.process (loadFrame (c.mix[j]));
    }

    void storeHistory (ReverbEngine& e) const
    {
        low.storeHistory (e.eqBands[0]);
        mid.storeHistory (e.eqBands[1]);
        high.storeHistory (e.eqBands[2]);
    }

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

void ReverbEngine::finishChunk (Chunk& chunk)
{
    OutputRunner output (*this);
    for (int32_t i = 0; i < chunk.active; ++i)
    {
        output.lowBand (chunk, i);
        output.midBand (chunk, i);
        output.highBandAndMix (chunk, i);
    }
    output.storeHistory (*this);
    chunk.outputFinite = output.outputFinite ();
}

void ReverbEngine::renderChunk (Chunk& chunk, Chunk* previous)
{
    renderChunkBody<Kernel::Sse2> (chunk, previous);
}

#if QUILLMERE_WIDE_KERNEL
// The same kernel with every callee inlined and compiled for AVX2: the
// three-operand forms drop most register copies. No FMA, so every operation
// still rounds exactly as in the SSE2 build. Nothing is emitted out of line
// for this target, so no shared inline function ever carries AVX code.
__attribute__ ((target ("avx2"), flatten)) void ReverbEngine::renderChunkAvx2 (Chunk& chunk, Chunk* previous)
{
    renderChunkBody<Kernel::Avx2> (chunk, previous);
}
#else
void ReverbEngine::renderChunkAvx2 (Chunk& chunk, Chunk* previous)
{
    renderChunkBody<Kernel::Sse2> (chunk, previous);
}
#endif

#if QUILLMERE_AVX512_KERNEL
// The AVX2 kernel again, built for AVX-512VL but kept to 256-bit operations:
// 32 vector registers hold the equaliser's and the combs' state that the
// AVX2 build has to keep in memory. Still no FMA, so the same roundings.
#if defined(__clang__)
#define QUILLMERE_AVX512_TARGET "avx512f,avx512vl" // clang has no per-function vector width
#else
#define QUILLMERE_AVX512_TARGET "avx512f,avx512vl,prefer-vector-width=256"
#endif
__attribute__ ((target (QUILLMERE_AVX512_TARGET), flatten)) void
ReverbEngine::renderChunkAvx512 (Chunk& chunk, Chunk* previous)
{
    renderChunkBody<Kernel::Avx512> (chunk, previous);
}
#else
void ReverbEngine::renderChunkAvx512 (Chunk& chunk, Chunk* previous)
{
    renderChunkAvx2 (chunk, previous);
}
#endif

template <ReverbEngine::Kernel build>
__attribute__ ((always_inline)) inline void ReverbEngine::renderChunkBody (Chunk& chunk, Chunk* previous)
{
    const int32_t numFrames = chunk.active;
    if (numFrames == 0)
    {
        if (previous != nullptr)
            finishChunk (*previous);
        return;
    }

    alignas (16) StereoFrame delayed[kChunkFrames];
    alignas (16) StereoFrame early[kChunkFrames];
    alignas (16) StereoFrame combInput[kChunkFrames];
    alignas (16) StereoFrame late[kChunkFrames];

    // Each stage only touches its own state, so running one stage over the
    // whole chunk before the next gives the same numbers as frame by frame.
    preDelay.processBlock (chunk.inLeft, chunk.inRight, delayed, numFrames);

    // The modulated delay's read points depend on its LFO alone. The wider
    // kernels sweep them alongside the first tap group's line traffic.
    ModulatedDelay::Runner modulation (modDelay);
    ModulatedDelay::ReadPoint readPoints[kChunkFrames];
    static_assert (kEarlyTapCount == 10, "tap groups below assume ten taps");
#if QUILLMERE_WIDE_KERNEL
    if constexpr (build != Kernel::Sse2)
    {
        EarlyReflectionTap::accumulateGroupWide<5, true> (
            earlyTaps, delayed, early, numFrames,
            [&] (int32_t first, int32_t frames) {
                if (frames == 4)
                    modulation.sweepFour (readPoints + first);
                else
                    modulation.sweep (frames, readPoints + first);
            });
        EarlyReflectionTap::accumulateGroupWide<5> (earlyTaps + 5, delayed, early, numFrames);
    }
    else
#endif
    {
        EarlyReflectionTap::accumulateGroup<5, true> (earlyTaps, delayed, early, numFrames);
        EarlyReflectionTap::accumulateGroup<5> (earlyTaps + 5, delayed, early, numFrames);
        modulation.sweep (numFrames, readPoints);
    }

    const StereoPair two = pairSplat (2.0);
    int32_t twoFramesDone = 0;
#if QUILLMERE_WIDE_KERNEL
    if constexpr (build != Kernel::Sse2)
    {
        for (; twoFramesDone + 1 < numFrames; twoFramesDone += 2)
            combInputsTwoFrames (delayed + twoFramesDone, combInput + twoFramesDone);
    }
#endif
    for (int32_t i = twoFramesDone; i < numFrames; ++i)
    {
        const StereoPair p = loadFrame (delayed[i]);
        storeFrame (combInput[i], two * p + swapped (p));
    }

    // Each band's division chain sets a floor under the loop it rides in.
    // The SSE2 kernel spreads the bands one per loop. The wider kernels run
    // them staggered, so that the chains overlap each other: the AVX2 build
    // a step every frame of its larger comb loop, where they meet plenty of
    // comb arithmetic, the AVX-512VL build a step every frame of its
    // diffuser loop, which its extra registers let it carry without spills.
    OutputRunner output (*this);
    const int32_t pendingFrames = previous != nullptr ? previous->active : 0;
    const int32_t equaliserSteps = previous != nullptr ? pendingFrames + 2 : 0;
    int32_t equaliserStep = 0;
    const auto advanceEqualiser = [&] () {
        if (equaliserStep < equaliserSteps)
            output.staggeredStep (*previous, equaliserStep++, pendingFrames);
    };
    static_assert (kCombCount == 10, "comb groups below assume ten combs");
#if QUILLMERE_WIDE_KERNEL
    if constexpr (build != Kernel::Sse2)
    {
        const auto equaliserInAvx2 = [&] (int32_t) {
            if (build == Kernel::Avx2)
                advanceEqualiser ();
        };
        DampedComb::accumulatePairs<4> (combs, combInput, early, late, numFrames, [] (int32_t) {});
        DampedComb::accumulatePairs<6> (combs + 4, combInput, late, late, numFrames, equaliserInAvx2);
    }
    else
#endif
    {
        DampedComb::accumulateGroup<5> (combs, combInput, early, late, numFrames, [&] (int32_t i) {
            if (i < pendingFrames)
                output.lowBand (*previous, i);
        });
        for (int32_t i = numFrames; i < pendingFrames; ++i)
            output.lowBand (*previous, i);
        DampedComb::accumulateGroup<5> (combs + 5, combInput, late, late, numFrames, [&] (int32_t i) {
            if (i < pendingFrames)
                output.midBand (*previous, i);
        });
        for (int32_t i = numFrames; i < pendingFrames; ++i)
            output.midBand (*previous, i);
    }

    // Modulated delay, diffusers and the reverb mix, up to the equaliser.
    StereoPair diffuserGain[kDiffuserCount];
    for (int32_t k = 0; k < kDiffuserCount; ++k)
        diffuserGain[k] = diffusers[k].coefficientPair ();
    const StereoPair reverbG = loadAligned (reverbGain);
    const StereoPair earlyG = loadAligned (earlyGain);
    int32_t done = 0;
    while (done < numFrames)
    {
        int32_t run = numFrames - done;
        StereoFrame* slot[kDiffuserCount];
        for (int32_t k = 0; k < kDiffuserCount; ++k)
        {
            if (diffusers[k].getPosition () < run)
                run = diffusers[k].getPosition ();
            slot[k] = diffusers[k].currentSlot ();
        }
        int32_t i = 0;
#if QUILLMERE_WIDE_KERNEL
        if constexpr (build != Kernel::Sse2)
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
                advanceEqualiser ();
                advanceEqualiser ();
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
#endif
        for (; i < run; ++i)
        {
            const int32_t frame = done + i;
            StereoPair d = modulation.process (loadFrame (late[frame]), readPoints[frame]);
            for (int32_t k = 0; k < kDiffuserCount; ++k)
                d = AllpassDiffuser::step (slot[k][-i], diffuserGain[k], d);
            storeFrame (chunk.mix[frame], d * reverbG + loadFrame (early[frame]) * earlyG);
            if constexpr (build != Kernel::Sse2)
                advanceEqualiser ();
            else if (frame < pendingFrames)
                output.highBandAndMix (*previous, frame);
        }
        for (auto& diffuser : diffusers)
            diffuser.advance (run);
        done += run;
    }
    modulation.storeState (modDelay);
    if constexpr (build != Kernel::Sse2)
    {
        while (equaliserStep < equaliserSteps)
            advanceEqualiser ();
    }
    else
    {
        for (int32_t i = numFrames; i < pendingFrames; ++i)
            output.highBandAndMix (*previous, i);
    }
    output.storeHistory (*this);
    if (previous != nullptr)
        previous->outputFinite = output.outputFinite ();
}

void ReverbEngine::applyBypass (double gain[2], double level, bool bypass)
{
    gain[0] = gain[1] = bypass ? 0.0 : level;
}

void ReverbEngine::setDryLevel (double gain)
{
    dryLevel = gain;
    applyBypass (dryGain, dryLevel, dryBypass);
}

void ReverbEngine::setEarlyLevel (double gain)
{
    earlyLevel = gain;
    applyBypass (earlyGain, earlyLevel, earlyBypass);
}

void ReverbEngine::setReverbLevel (double gain)
{
    reverbLevel = gain * kReverbOutputScale;
    applyBypass (reverbGain, reverbLevel, reverbBypass);
}

void ReverbEngine::setWetLevel (double gain)
{
    wetLevel = gain * kWetOutputScale;
    applyBypass (wetGain, wetLevel, wetBypass);
}

void ReverbEngine::setDryBypass (bool bypass)
{
    dryBypass = bypass;
    applyBypass (dryGain, dryLevel, dryBypass);
}

void ReverbEngine::setEarlyBypass (bool bypass)
{
    earlyBypass = bypass;
    applyBypass (earlyGain, earlyLevel, earlyBypass);
}

void ReverbEngine::setReverbBypass (bool bypass)
{
    reverbBypass = bypass;
    applyBypass (reverbGain, reverbLevel, reverbBypass);
}

void ReverbEngine::setWetBypass (bool bypass)
{
    wetBypass = bypass;
    applyBypass (wetGain, wetLevel, wetBypass);
}

void ReverbEngine::setWidth (double normalized)
{
    crossfeed[0] = crossfeed[1] = 1.0 - clampTo (normalized, 0.0, 1.0);
}

void ReverbEngine::setPredelay (double normalized)
{
    preDelay.setTime (clampTo (normalized, 0.0, 1.0) * 200.0);
}

void ReverbEngine::setEarlyVariation (int32_t variation)
{
    const int32_t index = earlyVariationIndex (variation);
    earlyDelayTable = kEarlyDelayTables[index];
    earlyGainTable = kEarlyGainTables[index];
    applyEarlyTables ();
}

void ReverbEngine::applyEarlyTables ()
{
    const double stretch = roomScale + 0.2;
    for (int32_t k = 0; k < kEarlyTapCount; ++k)
    {
        earlyTaps[k].setDelays (stretch * earlyDelayTable[2 * k], stretch * earlyDelayTable[2 * k + 1]);
        earlyTaps[k].setGains (earlyGainTable[2 * k], earlyGainTable[2 * k + 1]);
    }
}

void ReverbEngine::setReverbVariation (int32_t variation)
{
    const int32_t gains = combGainSetIndex (variation);
    const int32_t delays = combDelaySetIndex (variation);
    for (int32_t c = 0; c < 2; ++c)
    {
        combInputGainTable[c] = kCombInputGainTables[gains][c];
        combDelayTable[c] = kCombDelayTables[delays][c];
    }
    for (int32_t k = 0; k < kCombCount; ++k)
    {
        combs[k].setDelays (combDelayTable[0][k], combDelayTable[1][k]);
        combs[k].setInputGains (combInputGainTable[0][k], combInputGainTable[1][k]);
    }
}

void ReverbEngine::setDecayTime (double x)
{
    decayTime = clampTo (x, 0.0, 1.0) * 19.8 + 0.2;
    diffuserScale = decayTime < 1.2 ? (decayTime - 0.2) * 0.6 + 0.4 : 1.0;
    // Each comb rings a little longer than the one before.
    double combDecay = decayTime;
    for (auto& comb : combs)
    {
        comb.setDecay (combDecay);
        combDecay = combDecay + 0.0093335;
    }
    applyDiffuserCoefficients ();
    holdSamples = static_cast<int32_t> ((decayTime + 5.0) * sampleRate);
}

void ReverbEngine::setRoomSize (double normalized)
{
    roomScale = clampTo (normalized, 0.0, 1.0) * 1.1 + 0.5;
    applyEarlyTables ();
    applyDiffuserDelays ();
}

void ReverbEngine::applyDiffuserDelays ()
{
    for (int32_t k = 0; k < kDiffuserCount; ++k)
        diffusers[k].setDelay (diffuserDelayTable[k] * roomScale);
}

void ReverbEngine::setDiffusion (double normalized)
{
    diffusion = clampTo (normalized, 0.0, 1.0);
    applyDiffuserCoefficients ();
}

void ReverbEngine::applyDiffuserCoefficients ()
{
    // Diffusion only scales the last three; the first two always diffuse.
    for (int32_t k = 0; k < kDiffuserCount; ++k)
    {
        double left = diffuserCoefTable[0][k] * diffuserScale;
        double right = diffuserCoefTable[1][k] * diffuserScale;
        if (k >= 2)
        {
            left = left * diffusion;
            right = right * diffusion;
        }
        diffusers[k].setCoefficients (left, right);
    }
}

void ReverbEngine::setDampIntensity (double normalized)
{
    for (auto& comb : combs)
        comb.setDampIntensity (normalized);
}

void ReverbEngine::setDampFrequency (double hz)
{
    // Each comb 11 Hz darker than the one before.
    double frequency = hz;
    for (auto& comb : combs)
    {
        comb.setDampFrequency (frequency, frequency);
        frequency = frequency - 11.0;
    }
}

void ReverbEngine::setEqFrequency (int32_t band, double hz)
{
    if (band < 0 || band >= kEqBandCount)
        return;
    BiquadFilter::Design target = eqTarget (band);
    target.frequency = hz;
    moveEqBand (band, target);
}

void ReverbEngine::setEqGain (int32_t band, double normalized)
{
    if (band < 0 || band >= kEqBandCount)
        return;
    const double dB = normalized >= 0.5 ? normalized * 24.0 - 12.0 : normalized * 48.0 - 24.0;
    BiquadFilter::Design target = eqTarget (band);
    target.q = 0.7;
    target.gainDb = dB;
    if (band != 1)
    {
        // The bottom of the shelf range turns the outer bands into cuts.
        const bool cut = dB <= -24.0;
        target.type = band == 0 ? (cut ? BiquadFilter::kHighPass : BiquadFilter::kLowShelf)
                                : (cut ? BiquadFilter::kLowPass : BiquadFilter::kHighShelf);
        if (cut)
        {
            target.q = 0.5;
            target.gainDb = -80.0;
        }
    }
    moveEqBand (band, target);
}

void ReverbEngine::setEqGlide (bool on)
{
    eqGlideEnabled = on;
    if (!on)
        finishEqGlides ();
}

BiquadFilter::Design ReverbEngine::eqTarget (int32_t band) const
{
    return eqGlides[band].isActive () ? eqGlides[band].getTarget () : eqBands[band].getDesign ();
}

void ReverbEngine::moveEqBand (int32_t band, const BiquadFilter::Design& target)
{
    if (target == eqTarget (band))
        return; // an unchanged setting leaves the band, and any glide, as they are
    if (!eqGlideEnabled || eqBands[band].isQuiet ())
    {
        eqGlides[band].finish (eqBands[band]);
        eqBands[band].setDesign (target);
        return;
    }
    if (!eqGlideActive)
        eqGlideCountdown = eqGlideStepFrames;
    eqGlides[band].start (eqBands[band], target);
    eqGlideActive = true;
}

void ReverbEngine::finishEqGlides ()
{
    for (int32_t band = 0; band < kEqBandCount; ++band)
        eqGlides[band].finish (eqBands[band]);
    eqGlideActive = false;
}

void ReverbEngine::advanceEqGlides (int32_t frames)
{
    eqGlideCountdown -= frames;
    if (eqGlideCountdown > 0)
        return;
    eqGlideActive = false;
    for (int32_t band = 0; band < kEqBandCount; ++band)
    {
        eqGlides[band].step (eqBands[band]);
        eqGlideActive = eqGlideActive || eqGlides[band].isActive ();
    }
    eqGlideCountdown = eqGlideStepFrames;
}

void ReverbEngine::setModulationSpeed (double normalized)
{
    const double x = clampTo (normalized, 0.0, 1.0);
    modDelay.setRate (20.0 * (x * x * x));
}

void ReverbEngine::setModulationDepth (double normalized)
{
    const double x = clampTo (normalized, 0.0, 1.0);
    const double x4 = x * x * x * x;
    const double ms = 20.0 * x4;
    if (ms < 0.1)
    {
        // Below the shortest size the swing shrinks instead, continuous at 0.1 ms.
        modDelay.setDelay (0.1);
        modDelay.setDepth (x4 / 0.005);
    }
    else
    {
        modDelay.setDelay (ms);
        modDelay.setDepth (1.0);
    }
}

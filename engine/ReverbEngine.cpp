#include "ReverbEngine.h"

#include "DefaultSettings.h"
#include "DelayLength.h"
#include "kernels/EngineChunk.h"

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
    applyDefaultSettings (*this);
    setSampleRate (44100.0);
    reset ();
}

ReverbEngine::Kernel ReverbEngine::selectKernel (Kernel widest)
{
    kernel = Kernel::Sse2;
    if (widest >= Kernel::Avx2 && __builtin_cpu_supports ("avx2"))
        kernel = Kernel::Avx2;
    if (widest >= Kernel::Avx512 && __builtin_cpu_supports ("avx512f") && __builtin_cpu_supports ("avx512vl"))
        kernel = Kernel::Avx512;
    return kernel;
}

ReverbEngine::Kernel ReverbEngine::compiledInstructionSet (Kernel build)
{
    switch (build)
    {
    case Kernel::Avx512: return compiledForAvx512 ();
    case Kernel::Avx2: return compiledForAvx2 ();
    default: return compiledForSse2 ();
    }
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
    const auto render = kernel == Kernel::Avx512 ? renderChunkAvx512
                        : kernel == Kernel::Avx2 ? renderChunkAvx2
                                                 : renderChunkSse2;
    EngineChunk chunks[2];
    EngineChunk* previous = nullptr;
    int32_t which = 0;
    for (int32_t start = 0; start < numFrames;)
    {
        EngineChunk& chunk = chunks[which];
        which ^= 1;
        const int32_t remaining = numFrames - start;
        chunk.start = start;
        chunk.count = remaining <= kLastChunkFrames ? remaining
                      : remaining <= EngineChunk::kFrames + kLastChunkFrames ? remaining - kLastChunkFrames
                                                                             : EngineChunk::kFrames;
        start += chunk.count;
        gatherChunk (inL, inR, outL, outR, chunk);
        render (*this, &chunk, previous);
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
        render (*this, nullptr, previous);
        ensureFiniteOutput (*previous, nullptr);
        if (previous->anyIdle)
            scatterChunk (*previous, outL, outR);
    }
}

void ReverbEngine::gatherChunk (const double* inL, const double* inR, double* outL, double* outR, EngineChunk& chunk)
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

void ReverbEngine::ensureFiniteOutput (EngineChunk& done, EngineChunk* pending)
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

void ReverbEngine::scatterChunk (const EngineChunk& chunk, double* outL, double* outR)
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

#include "ReverbEngine.h"

#include "DelayLength.h"

ReverbEngine::ReverbEngine ()
    : dryGain {0.0, 0.0}, earlyGain {0.0, 0.0}, reverbGain {0.0, 0.0}, wetGain {0.0, 0.0}, crossfeed {0.0, 0.0},
      roomScale (0.5), diffuserScale (1.0), diffusion (1.0), earlyDelayTable (kEarlyDelayTables[0]),
      earlyGainTable (kEarlyGainTables[0]), combInputGainTable {kCombInputGainTables[0][0], kCombInputGainTables[0][1]},
      combDelayTable {kCombDelayTables[0][0], kCombDelayTables[0][1]},
      diffuserCoefTable {kDiffuserCoefTables[0], kDiffuserCoefTables[1]}, diffuserDelayTable (kDiffuserDelayTable),
      dryLevel (0.0), dryBypass (false), earlyLevel (0.0), earlyBypass (false), reverbLevel (0.0), reverbBypass (false),
      wetLevel (0.0), wetBypass (false), sampleRate (44100.0), decayTime (1.0), holdSamples (0),
      silenceCountdown (44100), lastFrameIdle (false)
{
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
    for (auto& band : eqBands)
        band.setSampleRate (hz);
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
    for (auto& band : eqBands)
        band.clear ();
}

bool ReverbEngine::gateAdmits (double left, double right)
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
    const double inLeft = in[0];
    const double inRight = in[1];
    lastFrameIdle = !gateAdmits (inLeft, inRight);
    if (lastFrameIdle)
    {
        out[0] = 0.0;
        out[1] = 0.0;
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
}

void ReverbEngine::processBlock (const double* inL, const double* inR, double* outL, double* outR, int32_t numFrames)
{
    alignas (16) StereoFrame admitted[kChunkFrames];
    alignas (16) StereoFrame rendered[kChunkFrames];
    bool idle[kChunkFrames];

    for (int32_t start = 0; start < numFrames; start += kChunkFrames)
    {
        const int32_t count = numFrames - start < kChunkFrames ? numFrames - start : kChunkFrames;

        // Idle frames advance nothing, so the stages only ever see the
        // admitted frames, in order; gather them before any output is written.
        int32_t active = 0;
        bool anyIdle = false;
        for (int32_t i = 0; i < count; ++i)
        {
            const double left = inL[start + i];
            const double right = inR[start + i];
            idle[i] = !gateAdmits (left, right);
            anyIdle = anyIdle || idle[i];
            admitted[active].left = left;
            admitted[active].right = right;
            active += idle[i] ? 0 : 1;
        }
        lastFrameIdle = idle[count - 1];

        if (active > 0)
            renderBlock (admitted, rendered, active);

        if (!anyIdle)
        {
            for (int32_t i = 0; i < count; ++i)
            {
                outL[start + i] = rendered[i].left;
                outR[start + i] = rendered[i].right;
            }
            continue;
        }
        int32_t next = 0;
        for (int32_t i = 0; i < count; ++i)
        {
            if (idle[i])
            {
                outL[start + i] = 0.0;
                outR[start + i] = 0.0;
            }
            else
            {
                outL[start + i] = rendered[next].left;
                outR[start + i] = rendered[next].right;
                ++next;
            }
        }
    }
}

void ReverbEngine::renderBlock (const StereoFrame* in, StereoFrame* out, int32_t numFrames)
{
    alignas (16) StereoFrame delayed[kChunkFrames];
    alignas (16) StereoFrame early[kChunkFrames];
    alignas (16) StereoFrame combInput[kChunkFrames];
    alignas (16) StereoFrame late[kChunkFrames];

    // Each stage only touches its own state, so running one stage over the
    // whole block before the next gives the same numbers as frame by frame.
    preDelay.processBlock (in, delayed, numFrames);

    for (int32_t i = 0; i < numFrames; ++i)
        storeFrame (early[i], pairZero ());
    static_assert (kEarlyTapCount == 10, "tap groups below assume ten taps");
    EarlyReflectionTap::accumulateGroup<5> (earlyTaps, delayed, early, numFrames);
    EarlyReflectionTap::accumulateGroup<5> (earlyTaps + 5, delayed, early, numFrames);

    const StereoPair two = pairSplat (2.0);
    for (int32_t i = 0; i < numFrames; ++i)
    {
        const StereoPair p = loadFrame (delayed[i]);
        storeFrame (combInput[i], two * p + swapped (p));
        late[i] = early[i];
    }
    static_assert (kCombCount == 10, "comb groups below assume ten combs");
    DampedComb::accumulateGroup<5> (combs, combInput, late, numFrames);
    DampedComb::accumulateGroup<5> (combs + 5, combInput, late, numFrames);

    // The rest runs frame by frame in one loop: the equaliser's divisions form
    // long dependency chains that overlap with the diffusers' work this way.
    ModulatedDelay::Runner modulation (modDelay);
    BiquadFilter::Runner low (eqBands[0]);
    BiquadFilter::Runner mid (eqBands[1]);
    BiquadFilter::Runner high (eqBands[2]);
    StereoPair diffuserGain[kDiffuserCount];
    for (int32_t k = 0; k < kDiffuserCount; ++k)
        diffuserGain[k] = diffusers[k].coefficientPair ();
    const StereoPair reverbG = loadAligned (reverbGain);
    const StereoPair earlyG = loadAligned (earlyGain);
    const StereoPair dryG = loadAligned (dryGain);
    const StereoPair wetG = loadAligned (wetGain);
    const StereoPair cross = loadAligned (crossfeed);

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
        for (int32_t i = 0; i < run; ++i)
        {
            const int32_t frame = done + i;
            StereoPair d = modulation.process (loadFrame (late[frame]));
            for (int32_t k = 0; k < kDiffuserCount; ++k)
                d = AllpassDiffuser::step (slot[k][-i], diffuserGain[k], d);
            const StereoPair r = d * reverbG + loadFrame (early[frame]) * earlyG;
            const StereoPair q = high.process (mid.process (low.process (r)));
            const StereoPair wet = (q + cross * swapped (q)) * wetG;
            storeFrame (out[frame], loadFrame (in[frame]) * dryG + wet);
        }
        for (auto& diffuser : diffusers)
            diffuser.advance (run);
        done += run;
    }
    modulation.storeState (modDelay);
    low.storeHistory (eqBands[0]);
    mid.storeHistory (eqBands[1]);
    high.storeHistory (eqBands[2]);
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
    if (band >= 0 && band < kEqBandCount)
        eqBands[band].setFrequency (hz);
}

void ReverbEngine::setEqGain (int32_t band, double normalized)
{
    if (band < 0 || band >= kEqBandCount)
        return;
    const double dB = normalized >= 0.5 ? normalized * 24.0 - 12.0 : normalized * 48.0 - 24.0;
    BiquadFilter& filter = eqBands[band];
    if (band == 1)
    {
        filter.setQ (0.7);
        filter.setGain (dB);
        return;
    }
    // The bottom of the shelf range turns the outer bands into cuts.
    const uint32_t shelf = band == 0 ? BiquadFilter::kLowShelf : BiquadFilter::kHighShelf;
    const uint32_t cut = band == 0 ? BiquadFilter::kHighPass : BiquadFilter::kLowPass;
    if (dB <= -24.0)
    {
        filter.setQ (0.5);
        filter.setGain (-80.0);
        filter.setType (cut);
    }
    else
    {
        filter.setType (shelf);
        filter.setQ (0.7);
        filter.setGain (dB);
    }
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

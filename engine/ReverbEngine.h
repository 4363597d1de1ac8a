#pragma once

#include "AllpassDiffuser.h"
#include "BiquadFilter.h"
#include "DampedComb.h"
#include "EarlyReflectionTap.h"
#include "EqualiserGlide.h"
#include "ModulatedDelay.h"
#include "ReverbTables.h"
#include "StereoPair.h"
#include "StereoPreDelay.h"

#include <cstdint>

struct EngineChunk;

// The whole stereo reverb in double precision: pre-delay, early reflections,
// comb bank, modulated delay, diffusers and output equaliser, mixed with the
// dry signal. All delay memory lives inside the object (tens of MB), so keep
// it on the heap or inside another heap object, never on the stack.
class ReverbEngine
{
public:
    static constexpr double kReverbOutputScale = 0.15035610000000002;
    static constexpr double kWetOutputScale = 0.39905264901124726;
    static constexpr int32_t kEqBandCount = 3;
    // Input samples beyond this size (+360 dBFS), and NaN and infinity,
    // count as silence: far beyond any audio, far below where the reverb's
    // sums could overflow.
    static constexpr double kInputLimit = 1e18;

    ReverbEngine ();

    void setSampleRate (double hz);
    void reset ();

    // One frame; in and out must be distinct arrays. The output is always
    // finite: should the reverb's state ever stop being finite, its audio
    // memory is cleared (as by reset) and the affected samples come out as 0.
    void processFrame (const double in[2], double out[2]);
    // numFrames frames from separate channel arrays, bit-identical to as many
    // processFrame calls (for input within kInputLimit whose reverb stays
    // finite). outL/outR may be the same arrays as inL/inR.
    void processBlock (const double* inL, const double* inR, double* outL, double* outR, int32_t numFrames);
    bool isIdle () const { return lastFrameIdle; }

    // Builds of the block form's kernel, narrowest first. All give the same
    // IEEE results; the later ones need fewer instructions. Avx512 is the
    // AVX2 kernel with AVX-512VL's extra registers, still 256 bits wide.
    enum class Kernel : int32_t
    {
        Sse2,
        Avx2,
        Avx512
    };
    // Picks the widest kernel up to `widest` that the processor runs and
    // returns it. The engine starts with the widest available; tests narrow
    // it to cover the others.
    Kernel selectKernel (Kernel widest);
    // The instruction set a kernel build was compiled for, as seen by the
    // compiler inside its own translation unit.
    static Kernel compiledInstructionSet (Kernel build);

    void setDryLevel (double gain);
    void setEarlyLevel (double gain);
    void setReverbLevel (double gain);
    void setWetLevel (double gain);
    void setDryBypass (bool bypass);
    void setEarlyBypass (bool bypass);
    void setReverbBypass (bool bypass);
    void setWetBypass (bool bypass);
    void setWidth (double normalized);
    void setPredelay (double normalized);
    void setEarlyVariation (int32_t variation);
    void setReverbVariation (int32_t variation);
    void setDecayTime (double x);
    void setRoomSize (double normalized);
    void setDiffusion (double normalized);
    void setDampIntensity (double normalized);
    void setDampFrequency (double hz);
    void setEqFrequency (int32_t band, double hz);
    void setEqGain (int32_t band, double normalized);
    // On: an equaliser change that meets a band with sound in its history
    // glides there over a few milliseconds instead of jumping. A band that
    // has not carried sound since the last reset always changes at once.
    void setEqGlide (bool on);
    bool isEqGliding () const { return eqGlideActive; }
    void setModulationSpeed (double normalized);
    void setModulationDepth (double normalized);

    double getSampleRate () const { return sampleRate; }
    int32_t getSilenceCountdown () const { return silenceCountdown; }
    const BiquadFilter& getEqBand (int32_t band) const { return eqBands[band]; }

private:
    template <typename Build>
    friend struct ChunkPasses;

    // Longest last chunk of a call: its equaliser runs on its own.
    static constexpr int32_t kLastChunkFrames = 16;
    // Time between the steps of an equaliser glide.
    static constexpr double kEqGlideStepSeconds = 0.0003;

    void applyEarlyTables ();
    void applyDiffuserDelays ();
    void applyDiffuserCoefficients ();
    static void applyBypass (double gain[2], double level, bool bypass);
    BiquadFilter::Design eqTarget (int32_t band) const;
    void moveEqBand (int32_t band, const BiquadFilter::Design& target);
    void finishEqGlides ();
    // Counts frames off the glide clock and steps the gliding bands on its ticks.
    void advanceEqGlides (int32_t frames);
    void renderBlock (const double* inL, const double* inR, double* outL, double* outR, int32_t numFrames);
    // Advances the gate by one input frame; false when the frame is idle.
    bool gateAdmits (double left, double right);
    void gatherChunk (const double* inL, const double* inR, double* outL, double* outR, EngineChunk& chunk);
    static void scatterChunk (const EngineChunk& chunk, double* outL, double* outR);
    // After a chunk's output is complete: if any of it is not finite, zeroes
    // those samples, clears the audio memory and drops what the state had
    // already passed on to the pending chunk's equaliser.
    void ensureFiniteOutput (EngineChunk& done, EngineChunk* pending);

    StereoPreDelay preDelay;
    alignas (16) double dryGain[2];
    EarlyReflectionTap earlyTaps[kEarlyTapCount];
    alignas (16) double earlyGain[2];
    DampedComb combs[kCombCount];
    ModulatedDelay modDelay;
    AllpassDiffuser diffusers[kDiffuserCount];
    alignas (16) double reverbGain[2];
    BiquadFilter eqBands[kEqBandCount];
    BandGlide eqGlides[kEqBandCount];
    alignas (16) double wetGain[2];
    alignas (16) double crossfeed[2];
    double roomScale;
    double diffuserScale;
    double diffusion;
    const double* earlyDelayTable;
    const double* earlyGainTable;
    const double* combInputGainTable[2];
    const double* combDelayTable[2];
    const double* diffuserCoefTable[2];
    const double* diffuserDelayTable;
    double dryLevel;
    bool dryBypass;
    double earlyLevel;
    bool earlyBypass;
    double reverbLevel;
    bool reverbBypass;
    double wetLevel;
    bool wetBypass;
    double sampleRate;
    double decayTime;
    int32_t holdSamples;
    int32_t silenceCountdown;
    bool lastFrameIdle;
    bool eqGlideEnabled;
    bool eqGlideActive;
    int32_t eqGlideStepFrames;
    int32_t eqGlideCountdown;
    Kernel kernel;
};

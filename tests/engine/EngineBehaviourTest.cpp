// The silence gate, and stability over preset-like settings.

#include "DefaultSettings.h"
#include "ReverbEngine.h"
#include "StereoSignals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <random>
#include <vector>

namespace {

using namespace EngineTest;

void processZeros (ReverbEngine& engine, int64_t frames)
{
    const double in[2] = {0.0, 0.0};
    double out[2];
    for (int64_t i = 0; i < frames; ++i)
        engine.processFrame (in, out);
}

TEST (EngineGate, CountdownClosesAfterTheHoldAndAnyNonZeroSampleReopens)
{
    auto engine = std::make_unique<ReverbEngine> ();
    // A fresh engine goes idle on the 44100th silent frame.
    processZeros (*engine, 44099);
    EXPECT_FALSE (engine->isIdle ());
    processZeros (*engine, 1);
    EXPECT_TRUE (engine->isIdle ());
    EXPECT_EQ (engine->getSilenceCountdown (), 1);

    engine->setDecayTime (0.0); // 0.2 s
    const int32_t hold = static_cast<int32_t> (5.2 * 44100.0); // decay + 5 s

    double out[2];
    const double tiny[2] = {0.0, 1e-300};
    engine->processFrame (tiny, out);
    EXPECT_FALSE (engine->isIdle ());
    EXPECT_EQ (engine->getSilenceCountdown (), hold);

    processZeros (*engine, hold - 1);
    EXPECT_FALSE (engine->isIdle ());
    const double negativeZero[2] = {-0.0, 0.0};
    engine->processFrame (negativeZero, out);
    EXPECT_TRUE (engine->isIdle ());
    EXPECT_EQ (out[0], 0.0);
    EXPECT_EQ (out[1], 0.0);

    // Unusable input is silence: it neither reopens the gate nor reaches the output.
    const double unusable[2] = {std::nan (""), -std::numeric_limits<double>::infinity ()};
    engine->processFrame (unusable, out);
    EXPECT_TRUE (engine->isIdle ());
    EXPECT_EQ (out[0], 0.0);
    EXPECT_EQ (out[1], 0.0);
}

TEST (EngineGate, IdleFramesFreezeTheTailUntilInputReturns)
{
    // Engine a sits idle for a while before the next input; engine b gets the
    // same input without the idle stretch. Idle frames advance nothing, so
    // both continue the same held tail.
    auto a = std::make_unique<ReverbEngine> ();
    auto b = std::make_unique<ReverbEngine> ();
    for (ReverbEngine* e : {a.get (), b.get ()})
    {
        e->setDecayTime (0.0);
        e->setSampleRate (44100.0);
    }
    const int32_t hold = static_cast<int32_t> (5.2 * 44100.0);
    const Stereo burst = noise (2000, 21);
    run (*a, burst);
    run (*b, burst);
    processZeros (*a, hold - 1);
    processZeros (*b, hold - 1);
    EXPECT_FALSE (a->isIdle ());
    processZeros (*a, 5000);
    EXPECT_TRUE (a->isIdle ());

    const Stereo next = impulse (3000, 0.25, -0.5);
    const Stereo outA = run (*a, next);
    const Stereo outB = run (*b, next);
    EXPECT_EQ (outA.left, outB.left);
    EXPECT_EQ (outA.right, outB.right);
}

struct PresetCase
{
    const char* name;
    int32_t earlyVariation;
    int32_t reverbVariation;
    double decay; // normalized; the engine gets its square
    double room;
    double diffusion;
    double dampIntensity;
    double dampHz;
    double eqGain[3];
    double speed;
    double depth;
};

TEST (EngineStability, PresetLikeSettingsStayFiniteAndDecay)
{
    const PresetCase cases[] = {
        {"default", 3, 2, kDefaultDecay, 0.2, 0.7, 0.8, 18000.0, {0.5, 0.5, 0.5}, 0.3, 0.406},
        {"long hall", 11, 3, 1.0, 1.0, 1.0, 0.3, 6000.0, {1.0, 0.75, 0.0}, 1.0, 1.0},
        {"small dark room", 6, 5, 0.1, 0.0, 0.0, 1.0, 20.0, {0.0, 0.0, 1.0}, 0.0, 0.0},
        {"plate", 12, 6, 0.6, 0.5, 0.5, 0.0, 22000.0, {0.25, 1.0, 0.9}, 0.6, 0.2},
    };
    for (double rate : {44100.0, 192000.0})
    {
        for (const PresetCase& c : cases)
        {
            auto engine = std::make_unique<ReverbEngine> ();
            engine->setEarlyVariation (c.earlyVariation);
            engine->setReverbVariation (c.reverbVariation);
            engine->setDecayTime (c.decay * c.decay);
            engine->setRoomSize (c.room);
            engine->setDiffusion (c.diffusion);
            engine->setDampIntensity (c.dampIntensity);
            engine->setDampFrequency (c.dampHz);
            for (int32_t band = 0; band < 3; ++band)
                engine->setEqGain (band, c.eqGain[band]);
            engine->setModulationSpeed (c.speed);
            engine->setModulationDepth (c.depth);
            engine->setDryLevel (0.0);
            engine->setSampleRate (rate);

            const size_t burst = static_cast<size_t> (0.3 * rate);
            const size_t window = static_cast<size_t> (0.05 * rate);
            Stereo input = noise (burst + 20 * window, 51);
            std::fill (input.left.begin () + burst, input.left.end (), 0.0);
            std::fill (input.right.begin () + burst, input.right.end (), 0.0);
            Stereo out {input.left, input.right};
            engine->processBlock (out.left.data (), out.right.data (), out.left.data (), out.right.data (),
                                  static_cast<int32_t> (out.left.size ()));
            for (size_t i = 0; i < out.left.size (); ++i)
                ASSERT_TRUE (std::isfinite (out.left[i]) && std::isfinite (out.right[i])) << c.name << " @ " << rate;
            const double early = rms (out.left, burst + window, window);
            const double late = rms (out.left, burst + 19 * window, window);
            EXPECT_GT (early, 0.0) << c.name << " @ " << rate;
            EXPECT_LT (late, early) << c.name << " @ " << rate;
        }
    }
}

} // namespace

// The engine as the effect drives it: mixing, bypass, width, the silence gate,
// reset, setting changes while audio runs, and stability over preset-like
// settings.

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

TEST (EngineMix, ImpulseThroughEarlyReflectionsOnlyGivesTheTenTaps)
{
    auto engine = std::make_unique<ReverbEngine> ();
    engine->setSampleRate (44100.0);
    engine->setEarlyVariation (1);
    engine->setRoomSize (0.2);
    engine->setPredelay (0.05); // 10 ms
    engine->setReverbLevel (0.0);
    engine->setEarlyLevel (1.0);
    engine->setDryLevel (1.0);
    engine->setWetLevel (1.0);
    engine->setWidth (1.0);
    for (int32_t band = 0; band < 3; ++band)
        engine->setEqGain (band, 0.5);
    engine->reset ();

    const int32_t preLength = engine->getPreDelay ().getLength ();
    ASSERT_EQ (preLength, 441);
    std::vector<double> expected (8000, 0.0);
    expected[0] = 1.0;
    for (int32_t k = 0; k < 10; ++k)
        expected[preLength + engine->getEarlyTap (k).getLength (0)] += engine->getWetGain (0) * engine->getEarlyTap (k).getGain (0);

    const Stereo out = run (*engine, impulse (expected.size (), 1.0, 0.0));
    int32_t echoes = 0;
    for (size_t i = 0; i < expected.size (); ++i)
    {
        ASSERT_NEAR (out.left[i], expected[i], 1e-12) << "frame " << i;
        ASSERT_EQ (out.right[i], 0.0) << "frame " << i;
        echoes += (i > 0 && expected[i] != 0.0) ? 1 : 0;
    }
    EXPECT_EQ (echoes, 10);
}

TEST (EngineMix, BypassFlagsZeroTheAppliedGainsAndKeepTheLevels)
{
    auto engine = std::make_unique<ReverbEngine> ();
    engine->setDryBypass (true);
    engine->setDryLevel (0.7);
    EXPECT_EQ (engine->getDryGain (0), 0.0);
    EXPECT_EQ (engine->getDryGain (1), 0.0);
    engine->setDryBypass (false);
    EXPECT_EQ (engine->getDryGain (0), 0.7);
    EXPECT_EQ (engine->getDryGain (1), 0.7);

    engine->setWetLevel (1.0);
    EXPECT_EQ (engine->getWetGain (0), 0.39905264901124726);
    engine->setWetBypass (true);
    EXPECT_EQ (engine->getWetGain (1), 0.0);
    engine->setWetLevel (0.5);
    engine->setWetBypass (false);
    EXPECT_EQ (engine->getWetGain (0), 0.5 * 0.39905264901124726);

    engine->setReverbLevel (1.0);
    EXPECT_EQ (engine->getReverbGain (1), 0.15035610000000002);
    engine->setReverbBypass (true);
    EXPECT_EQ (engine->getReverbGain (0), 0.0);
    engine->setReverbBypass (false);
    EXPECT_EQ (engine->getReverbGain (0), 0.15035610000000002);

    engine->setEarlyBypass (true);
    engine->setEarlyLevel (0.3);
    EXPECT_EQ (engine->getEarlyGain (0), 0.0);
    engine->setEarlyBypass (false);
    EXPECT_EQ (engine->getEarlyGain (1), 0.3);

    // Levels are not clamped: a gain above 1 amplifies.
    engine->setDryLevel (2.0);
    EXPECT_EQ (engine->getDryGain (0), 2.0);
}

TEST (EngineMix, EarlyBypassStillFeedsTheLateChain)
{
    // With the direct early path and the dry signal off, the first sound
    // still arrives well before any comb could answer: the taps reach the
    // diffusers through the late sum.
    auto engine = std::make_unique<ReverbEngine> ();
    engine->setEarlyBypass (true);
    engine->setDryLevel (0.0);
    engine->setReverbVariation (3); // combs of 45 ms and more
    engine->setEarlyVariation (1);
    engine->reset ();
    EXPECT_EQ (engine->getEarlyGain (0), 0.0);

    const Stereo out = run (*engine, impulse (6000, 1.0, 1.0));
    size_t first = 0;
    while (first < out.left.size () && out.left[first] == 0.0)
        ++first;
    int32_t shortestComb = engine->getComb (0).getLength (0);
    for (int32_t k = 0; k < 10; ++k)
        shortestComb = std::min ({shortestComb, engine->getComb (k).getLength (0), engine->getComb (k).getLength (1)});
    const size_t pre = static_cast<size_t> (engine->getPreDelay ().getLength ());
    EXPECT_GE (first, pre + static_cast<size_t> (engine->getEarlyTap (0).getLength (0)));
    EXPECT_LT (first, pre + static_cast<size_t> (shortestComb));
}

TEST (EngineMix, WidthZeroMakesBothWetOutputsEqualAndWidthOneKeepsThemApart)
{
    auto engine = std::make_unique<ReverbEngine> ();
    engine->setDryLevel (0.0);
    engine->setWidth (0.0);
    EXPECT_EQ (engine->getCrossfeed (0), 1.0);
    const Stereo mono = run (*engine, noise (5000, 11));
    for (size_t i = 0; i < mono.left.size (); ++i)
        ASSERT_EQ (mono.left[i], mono.right[i]) << i;

    engine->setWidth (1.0);
    EXPECT_EQ (engine->getCrossfeed (1), 0.0);
    engine->setWidth (-3.0); // clamped to 0
    EXPECT_EQ (engine->getCrossfeed (0), 1.0);
    engine->setWidth (1.0);
    const Stereo wide = run (*engine, noise (5000, 12));
    bool differs = false;
    for (size_t i = 0; i < wide.left.size (); ++i)
        differs = differs || wide.left[i] != wide.right[i];
    EXPECT_TRUE (differs);
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
    const int32_t hold = engine->getHoldSamples ();
    EXPECT_EQ (hold, static_cast<int32_t> (5.2 * 44100.0));

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
    const int32_t hold = a->getHoldSamples ();
    const Stereo burst = noise (2000, 21);
    run (*a, burst);
    run (*b, burst);
    processZeros (*a, hold - 1);
    processZeros (*b, hold - 1);
    EXPECT_FALSE (a->isIdle ());
    processZeros (*a, 5000);
    EXPECT_TRUE (a->isIdle ());
    EXPECT_EQ (a->getModulatedDelay ().getPhase (), b->getModulatedDelay ().getPhase ());

    const Stereo next = impulse (3000, 0.25, -0.5);
    const Stereo outA = run (*a, next);
    const Stereo outB = run (*b, next);
    EXPECT_EQ (outA.left, outB.left);
    EXPECT_EQ (outA.right, outB.right);
}

TEST (EngineState, ResetClearsAudioKeepsSettingsPositionsAndPhase)
{
    auto engine = std::make_unique<ReverbEngine> ();
    engine->setModulationSpeed (0.7);
    run (*engine, noise (7000, 31));

    const int32_t prePosition = engine->getPreDelay ().getPosition ();
    const int32_t combPosition = engine->getComb (4).getPosition (1);
    const int32_t diffuserPosition = engine->getDiffuser (2).getPosition ();
    const double phase = engine->getModulatedDelay ().getPhase ();
    const double feedback = engine->getComb (6).getFeedback (0);
    const int32_t tapLength = engine->getEarlyTap (7).getLength (1);
    const int32_t countdown = engine->getSilenceCountdown ();
    const double b0 = engine->getEqBand (1).getB0 ();

    engine->reset ();

    EXPECT_EQ (engine->getPreDelay ().getPosition (), prePosition);
    EXPECT_EQ (engine->getComb (4).getPosition (1), combPosition);
    EXPECT_EQ (engine->getDiffuser (2).getPosition (), diffuserPosition);
    EXPECT_EQ (engine->getModulatedDelay ().getPhase (), phase);
    EXPECT_EQ (engine->getModulatedDelay ().getWriteIndex (), 2);
    for (int32_t k = 0; k < 10; ++k)
    {
        EXPECT_EQ (engine->getEarlyTap (k).getPosition (0), 2);
        EXPECT_EQ (engine->getEarlyTap (k).getPosition (1), 2);
        EXPECT_EQ (engine->getComb (k).getLowpassState (0), 0.0);
    }
    EXPECT_EQ (engine->getComb (6).getFeedback (0), feedback);
    EXPECT_EQ (engine->getEarlyTap (7).getLength (1), tapLength);
    EXPECT_EQ (engine->getSilenceCountdown (), countdown);
    EXPECT_EQ (engine->getEqBand (1).getB0 (), b0);

    // Nothing of the earlier audio comes out any more.
    const Stereo out = run (*engine, impulse (20000, 0.0, 0.0));
    for (size_t i = 0; i < out.left.size (); ++i)
    {
        ASSERT_EQ (out.left[i], 0.0) << i;
        ASSERT_EQ (out.right[i], 0.0) << i;
    }
}

TEST (EngineState, RoomAndVariationChangesKeepTheLinesRunning)
{
    auto changed = std::make_unique<ReverbEngine> ();
    auto cleared = std::make_unique<ReverbEngine> ();
    run (*changed, noise (4000, 41));
    run (*cleared, noise (4000, 41));

    const int32_t tapPosition = changed->getEarlyTap (2).getPosition (0);
    const int32_t combPosition = changed->getComb (2).getPosition (0);
    const int32_t diffuserPosition = changed->getDiffuser (0).getPosition ();
    const int32_t tapLength = changed->getEarlyTap (2).getLength (0);
    for (ReverbEngine* e : {changed.get (), cleared.get ()})
    {
        e->setRoomSize (0.9);
        e->setEarlyVariation (7);
        e->setReverbVariation (5);
    }
    cleared->reset ();

    EXPECT_NE (changed->getEarlyTap (2).getLength (0), tapLength);
    EXPECT_EQ (changed->getEarlyTap (2).getPosition (0), tapPosition);
    EXPECT_EQ (changed->getComb (2).getPosition (0), combPosition);
    EXPECT_EQ (changed->getDiffuser (0).getPosition (), diffuserPosition);

    // The old tail keeps sounding after the change.
    const Stereo silence = impulse (2000, 0.0, 0.0);
    const Stereo tail = run (*changed, silence);
    const Stereo none = run (*cleared, silence);
    double tailEnergy = 0.0;
    for (size_t i = 0; i < tail.left.size (); ++i)
    {
        tailEnergy += tail.left[i] * tail.left[i];
        ASSERT_EQ (none.left[i], 0.0);
    }
    EXPECT_GT (tailEnergy, 1e-3);
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

double rms (const std::vector<double>& x, size_t from, size_t count)
{
    double sum = 0.0;
    for (size_t i = from; i < from + count; ++i)
        sum += x[i] * x[i];
    return std::sqrt (sum / static_cast<double> (count));
}

TEST (EngineStability, PresetLikeSettingsStayFiniteAndDecay)
{
    const PresetCase cases[] = {
        {"default", 3, 2, 0.37605071654517747, 0.2, 0.7, 0.8, 18000.0, {0.5, 0.5, 0.5}, 0.3, 0.406},
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

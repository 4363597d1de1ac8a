// Numbers of the individual stages: lengths, feedback, tables, filter designs.

#include "AllpassDiffuser.h"
#include "BiquadFilter.h"
#include "DampedComb.h"
#include "DelayLength.h"
#include "ModulatedDelay.h"
#include "ReverbEngine.h"
#include "StereoPreDelay.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>

namespace {

TEST (DelayLength, TruncatesRoundsHalvesUpAndKeepsTwoSamples)
{
    EXPECT_EQ (delayLengthFromMs (2.968 * 0.92, 44100.0, 76800), 120); // x = 120.417696
    EXPECT_EQ (delayLengthFromMs (0.21875, 48000.0, 76800), 11);      // x = 10.5 exactly: half goes up
    EXPECT_EQ (delayLengthFromMs (0.25, 44100.0, 76800), 11);         // x = 11.025
    EXPECT_EQ (delayLengthFromMs (0.21875, 44100.0, 76800), 10);      // x = 9.646875
    EXPECT_EQ (delayLengthFromMs (0.01, 44100.0, 76800), 2);
    EXPECT_EQ (delayLengthFromMs (0.01, 192000.0, 76800), 2);
    EXPECT_EQ (delayLengthFromMs (200.0, 192000.0, 38748), 38400);
}

TEST (DampedComb, FeedbackFollowsTheSixtyDecibelRuleAndDampingStaysStable)
{
    auto comb = std::make_unique<DampedComb> ();
    comb->setDelays (22.05472, 20.42415);
    comb->setDecay (3.0);
    EXPECT_DOUBLE_EQ (comb->getFeedback (0), 0.9504850274156242);
    EXPECT_DOUBLE_EQ (comb->getFeedback (1), std::pow (10.0, 20.42415 * -0.003 / 3.0));
    EXPECT_EQ (comb->getLength (0), 973); // 972.613152 samples

    comb->setDampFrequency (5.0, 30000.0); // clamped to 20 and 22049.9 Hz
    EXPECT_EQ (comb->getDampFrequency (0), 20.0);
    EXPECT_EQ (comb->getDampFrequency (1), 22049.9);
    for (int32_t c = 0; c < 2; ++c)
    {
        EXPECT_LT (comb->getLowpassB (c), 0.0);
        EXPECT_GT (comb->getLowpassB (c), -1.0);
        EXPECT_DOUBLE_EQ (comb->getLowpassA (c), 1.0 + comb->getLowpassB (c));
    }
    comb->setDampIntensity (0.5);
    EXPECT_EQ (comb->getDampShare (0), 0.25);
    EXPECT_EQ (comb->getDirectShare (1), 0.75);
}

TEST (DampedComb, EngineDecayAndDampingSpreadAcrossTheBank)
{
    auto engine = std::make_unique<ReverbEngine> ();
    engine->setReverbVariation (1);
    engine->setDecayTime (2.8 / 19.8); // 3 s
    EXPECT_EQ (engine->getDecayTime (), 3.0);
    EXPECT_DOUBLE_EQ (engine->getComb (0).getFeedback (0), 0.9504850274156242);
    EXPECT_DOUBLE_EQ (engine->getComb (3).getDecay (0), 3.0 + 3 * 0.0093335);
    EXPECT_EQ (engine->getHoldSamples (), 352800);

    engine->setDampFrequency (40.0);
    EXPECT_EQ (engine->getComb (0).getDampFrequency (0), 40.0);
    EXPECT_EQ (engine->getComb (1).getDampFrequency (1), 29.0);
    for (int32_t k = 2; k < 10; ++k)
        EXPECT_EQ (engine->getComb (k).getDampFrequency (0), 20.0) << k;

    engine->setDecayTime (0.0);
    EXPECT_DOUBLE_EQ (engine->getDecayTime (), 0.2);
    EXPECT_DOUBLE_EQ (engine->getDiffuserScale (), 0.4);
    engine->setDecayTime (0.5 / 19.8);
    EXPECT_NEAR (engine->getDiffuserScale (), 0.7, 1e-12);
    engine->setDecayTime (1.0 / 19.8);
    EXPECT_EQ (engine->getDiffuserScale (), 1.0);
}

TEST (EarlyReflections, RoomSizeStretchesTapsAndUnknownVariationsFallBack)
{
    auto engine = std::make_unique<ReverbEngine> ();
    engine->setSampleRate (44100.0);
    engine->setRoomSize (0.2);
    engine->setEarlyVariation (1);
    EXPECT_EQ (engine->getEarlyTap (0).getLength (0), 120);
    EXPECT_DOUBLE_EQ (engine->getEarlyTap (0).getTime (0), 2.968 * 0.92);
    EXPECT_EQ (engine->getEarlyTap (3).getGain (0), -0.3123);
    EXPECT_EQ (engine->getEarlyTap (5).getGain (1), -0.2707);

    // Longest stretched time stays inside the 200 ms clamp.
    engine->setRoomSize (1.0);
    engine->setEarlyVariation (11);
    EXPECT_DOUBLE_EQ (engine->getEarlyTap (9).getTime (1), 92.822 * 1.8);

    const double* variationOne = nullptr;
    engine->setEarlyVariation (1);
    variationOne = engine->getEarlyDelayTable ();
    for (int32_t v : {0, 13, -5})
    {
        engine->setEarlyVariation (v);
        EXPECT_EQ (engine->getEarlyDelayTable (), variationOne) << v;
        EXPECT_EQ (engine->getEarlyTap (0).getGain (0), 0.4675) << v;
    }
    engine->setEarlyVariation (12);
    for (int32_t k = 0; k < 10; ++k)
        EXPECT_EQ (engine->getEarlyTap (k).getLength (0), engine->getEarlyTap (k).getLength (1));
}

TEST (LateReverb, VariationTablesAndFallBack)
{
    auto engine = std::make_unique<ReverbEngine> ();
    engine->setReverbVariation (3);
    const double* delaysThree = engine->getCombDelayTable (0);
    const double* gainsA = engine->getCombInputGainTable (1);
    EXPECT_EQ (engine->getComb (9).getTime (0), 92.66604);
    EXPECT_EQ (engine->getComb (1).getInputGain (1), -0.997);
    for (int32_t v : {0, 7, 100})
    {
        engine->setReverbVariation (v);
        EXPECT_EQ (engine->getCombDelayTable (0), delaysThree) << v;
        EXPECT_EQ (engine->getCombInputGainTable (1), gainsA) << v;
    }
    engine->setReverbVariation (5);
    EXPECT_EQ (engine->getComb (7).getTime (0), 22.7220651);
    EXPECT_EQ (engine->getComb (0).getInputGain (0), -1.0); // table B
}

TEST (Diffusers, RoomSizeScalesDelaysAndDiffusionOnlyTheLastThree)
{
    auto engine = std::make_unique<ReverbEngine> ();
    engine->setSampleRate (44100.0);
    engine->setRoomSize (1.0);
    const double expectedMs[5] = {10.688, 22.048, 30.784, 37.152, 3.968};
    const int32_t expectedLength[5] = {471, 972, 1358, 1638, 175};
    for (int32_t k = 0; k < 5; ++k)
    {
        EXPECT_DOUBLE_EQ (engine->getDiffuser (k).getTime (), expectedMs[k]) << k;
        EXPECT_EQ (engine->getDiffuser (k).getLength (), expectedLength[k]) << k;
    }

    engine->setDecayTime (1.0); // diffuser scale 1
    engine->setDiffusion (0.0);
    EXPECT_EQ (engine->getDiffuser (0).getCoefficient (0), -0.61);
    EXPECT_EQ (engine->getDiffuser (1).getCoefficient (1), -0.61);
    for (int32_t k = 2; k < 5; ++k)
    {
        EXPECT_EQ (engine->getDiffuser (k).getCoefficient (0), 0.0) << k;
        EXPECT_EQ (engine->getDiffuser (k).getCoefficient (1), 0.0) << k;
    }
}

TEST (Diffusers, ZeroCoefficientIsAPureDelayAndOtherwiseAllpass)
{
    auto diffuser = std::make_unique<AllpassDiffuser> ();
    diffuser->setDelay (1.0); // 44 frames at 44100
    ASSERT_EQ (diffuser->getLength (), 44);
    diffuser->setCoefficients (0.0, 0.0);
    for (int32_t i = 0; i < 200; ++i)
    {
        const StereoPair out = diffuser->process (pairOf (i == 0 ? 1.0 : 0.0, i == 3 ? -0.5 : 0.0));
        EXPECT_EQ (leftOf (out), i == 44 ? 1.0 : 0.0) << i;
        EXPECT_EQ (rightOf (out), i == 47 ? -0.5 : 0.0) << i;
    }

    // With a coefficient the impulse response keeps unit energy.
    diffuser->clear ();
    diffuser->setCoefficients (0.6, -0.6);
    double energy = 0.0;
    for (int32_t i = 0; i < 20000; ++i)
    {
        const double y = leftOf (diffuser->process (pairOf (i == 0 ? 1.0 : 0.0, 0.0)));
        energy += y * y;
    }
    EXPECT_NEAR (energy, 1.0, 1e-9);
}

TEST (ModulatedDelay, SizeAndSwingFollowDepth)
{
    auto engine = std::make_unique<ReverbEngine> ();
    engine->setSampleRate (44100.0);

    engine->setModulationDepth (0.0);
    const ModulatedDelay& m = engine->getModulatedDelay ();
    EXPECT_EQ (m.getLength (), 5);
    EXPECT_EQ (m.getHalf (), 2);
    EXPECT_EQ (m.getSwing (0), 0.0);

    engine->setModulationDepth (0.406);
    EXPECT_EQ (m.getDelayMs (), 0.5434181379200002);
    EXPECT_EQ (m.getLength (), 24);
    EXPECT_EQ (m.getHalf (), 12);
    EXPECT_EQ (m.getCentre (), 36.0);
    EXPECT_DOUBLE_EQ (m.getSwing (0), 5.76);
    EXPECT_DOUBLE_EQ (m.getSwing (1), -5.76);

    engine->setModulationDepth (1.0);
    EXPECT_EQ (m.getLength (), 883);
    EXPECT_EQ (m.getHalf (), 441);
    EXPECT_DOUBLE_EQ (m.getSwing (0), 211.68);

    // Just below the 0.1 ms threshold the swing shrinks instead of the size.
    engine->setModulationDepth (0.2);
    EXPECT_EQ (m.getDelayMs (), 0.1);
    EXPECT_DOUBLE_EQ (m.getDepth (), 0.2 * 0.2 * 0.2 * 0.2 / 0.005);

    engine->setModulationSpeed (0.3);
    EXPECT_NEAR (m.getRate (), 0.54, 1e-12);
    EXPECT_DOUBLE_EQ (m.getPhaseStep (), m.getRate () * 512.0 / 44100.0);

    engine->setSampleRate (32000.0);
    EXPECT_EQ (m.getSampleRate (), 44100.0);
}

TEST (ModulatedDelay, DepthZeroDelaysByThreeFramesAndTableHasGuards)
{
    auto delay = std::make_unique<ModulatedDelay> ();
    delay->setDelay (0.1);
    delay->setDepth (0.0);
    delay->setRate (3.0);
    ASSERT_EQ (delay->getLength (), 5);
    for (int32_t i = 0; i < 40; ++i)
    {
        const double x = i < 20 ? static_cast<double> (i + 1) : 0.0;
        const StereoPair out = delay->process (pairOf (x, -x));
        const double expected = i >= 3 && i - 3 < 20 ? static_cast<double> (i - 2) : 0.0;
        EXPECT_EQ (leftOf (out), expected) << i;
        EXPECT_EQ (rightOf (out), -expected) << i;
    }

    EXPECT_EQ (delay->sineAt (0), 0.0);
    EXPECT_EQ (delay->sineAt (512), 0.0);
    EXPECT_EQ (delay->sineAt (513), delay->sineAt (1));
    EXPECT_NEAR (delay->sineAt (128), 1.0, 1e-12);
    EXPECT_NEAR (delay->sineAt (384), -1.0, 1e-12);
}

TEST (Equaliser, ZeroDecibelsPassesTheSignal)
{
    auto engine = std::make_unique<ReverbEngine> ();
    engine->setEqFrequency (0, 100.0);
    engine->setEqFrequency (1, 1000.0);
    engine->setEqFrequency (2, 8000.0);
    for (int32_t band = 0; band < 3; ++band)
        engine->setEqGain (band, 0.5);
    for (int32_t band = 0; band < 3; ++band)
    {
        const BiquadFilter& f = engine->getEqBand (band);
        EXPECT_EQ (f.getGain (), 0.0);
        EXPECT_DOUBLE_EQ (f.getB0 (), f.getA0 ());
        EXPECT_DOUBLE_EQ (f.getB1 (), f.getA1 ());
        EXPECT_DOUBLE_EQ (f.getB2 (), f.getA2 ());
    }

    BiquadFilter filter = engine->getEqBand (0);
    BiquadFilter mid = engine->getEqBand (1);
    BiquadFilter high = engine->getEqBand (2);
    std::mt19937 random (3);
    std::uniform_real_distribution<double> noise (-1.0, 1.0);
    for (int32_t i = 0; i < 5000; ++i)
    {
        const double x = noise (random);
        const StereoPair y = high.process (mid.process (filter.process (pairOf (x, -x))));
        ASSERT_NEAR (leftOf (y), x, 1e-12) << i;
        ASSERT_NEAR (rightOf (y), -x, 1e-12) << i;
    }
}

TEST (Equaliser, GainMappingAndCutSwitchOver)
{
    auto engine = std::make_unique<ReverbEngine> ();
    engine->setEqGain (0, 0.25);
    EXPECT_EQ (engine->getEqBand (0).getGain (), -12.0);
    engine->setEqGain (0, 0.75);
    EXPECT_EQ (engine->getEqBand (0).getGain (), 6.0);
    engine->setEqGain (2, 1.0);
    EXPECT_EQ (engine->getEqBand (2).getGain (), 12.0);

    engine->setEqGain (0, 0.0);
    EXPECT_EQ (engine->getEqBand (0).getType (), BiquadFilter::kHighPass);
    EXPECT_EQ (engine->getEqBand (0).getQ (), 0.5);
    EXPECT_EQ (engine->getEqBand (0).getGain (), -80.0);
    engine->setEqGain (0, 0.01);
    EXPECT_EQ (engine->getEqBand (0).getType (), BiquadFilter::kLowShelf);
    EXPECT_EQ (engine->getEqBand (0).getQ (), 0.7);
    EXPECT_DOUBLE_EQ (engine->getEqBand (0).getGain (), -23.52);

    engine->setEqGain (2, 0.0);
    EXPECT_EQ (engine->getEqBand (2).getType (), BiquadFilter::kLowPass);
    EXPECT_EQ (engine->getEqBand (2).getQ (), 0.5);
    engine->setEqGain (2, 0.6);
    EXPECT_EQ (engine->getEqBand (2).getType (), BiquadFilter::kHighShelf);

    engine->setEqGain (1, 0.0);
    EXPECT_EQ (engine->getEqBand (1).getType (), BiquadFilter::kPeak);
    EXPECT_EQ (engine->getEqBand (1).getGain (), -24.0);

    // Unknown bands change nothing.
    const double before = engine->getEqBand (0).getB0 ();
    engine->setEqGain (3, 0.2);
    engine->setEqFrequency (-1, 100.0);
    EXPECT_EQ (engine->getEqBand (0).getB0 (), before);
}

TEST (Equaliser, CutsBlockTheirEndOfTheSpectrum)
{
    // High-pass (low band at the bottom) removes DC; low-pass (high band at
    // the bottom) keeps DC and removes the Nyquist tone.
    BiquadFilter highPass;
    highPass.setFrequency (200.0);
    highPass.setQ (0.5);
    highPass.setType (BiquadFilter::kHighPass);
    BiquadFilter lowPass;
    lowPass.setFrequency (2000.0);
    lowPass.setQ (0.5);
    lowPass.setType (BiquadFilter::kLowPass);
    StereoPair hp = pairZero ();
    StereoPair lp = pairZero ();
    for (int32_t i = 0; i < 20000; ++i)
    {
        hp = highPass.process (pairOf (1.0, 1.0));
        lp = lowPass.process (pairOf (1.0, i % 2 == 0 ? 1.0 : -1.0));
    }
    EXPECT_NEAR (leftOf (hp), 0.0, 1e-9);
    EXPECT_NEAR (leftOf (lp), 1.0, 1e-9);
    EXPECT_NEAR (rightOf (lp), 0.0, 1e-9);

    // Unknown types design as a low-pass.
    BiquadFilter odd;
    odd.setFrequency (2000.0);
    odd.setQ (0.5);
    odd.setType (9);
    EXPECT_EQ (odd.getB0 (), lowPass.getB0 ());
    EXPECT_EQ (odd.getB1 (), lowPass.getB1 ());
    EXPECT_EQ (odd.getA0 (), lowPass.getA0 ());
    EXPECT_EQ (odd.getA2 (), lowPass.getA2 ());
}

TEST (PreDelay, LengthRuleAndReloadOnlyAtWrap)
{
    auto pre = std::make_unique<StereoPreDelay> ();
    EXPECT_EQ (pre->getLength (), 882);
    pre->setTime (0.0); // clamped to 0.01 ms
    EXPECT_EQ (pre->getLength (), 2);
    pre->setSampleRate (192000.0);
    pre->setTime (200.0);
    EXPECT_EQ (pre->getLength (), 38400);
    pre->setTime (0.21875);
    pre->setSampleRate (48000.0);
    EXPECT_EQ (pre->getLength (), 11);

    // A new length waits for the running countdown to reach its reload.
    pre->setTime (1.0); // 48 frames
    for (int32_t i = 0; i < 30; ++i)
        pre->process (pairZero ());
    const int32_t position = pre->getPosition ();
    pre->setTime (0.5); // 24 frames
    EXPECT_EQ (pre->getPosition (), position);
    while (pre->getPosition () != 1)
        pre->process (pairZero ());
    pre->process (pairZero ());
    EXPECT_EQ (pre->getPosition (), 24);
}

} // namespace

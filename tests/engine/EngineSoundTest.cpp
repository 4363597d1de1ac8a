// What the settings do to the sound, measured on the output: the tail's decay
// time, the equaliser's response, and changes that must leave the reverb's
// lines running.

#include "DecayAnalysis.h"
#include "ReverbEngine.h"
#include "StereoSignals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <functional>
#include <memory>
#include <vector>

namespace {

using namespace EngineTest;

constexpr double kRate = 44100.0;

// The decay setting that asks for a tail of `seconds`.
double decaySetting (double seconds)
{
    return (seconds - 0.2) / 19.8;
}

double rt60Of (ReverbEngine& engine, double seconds)
{
    engine.setDryLevel (0.0);
    engine.setEarlyLevel (0.0);
    const Stereo out = renderBlocks (engine, impulse (static_cast<size_t> (kRate * (0.7 * seconds + 0.3)), 1.0, 1.0));
    const std::vector<float> left (out.left.begin (), out.left.end ());
    return QuillmereRender::analyseDecay (left, kRate).rt60;
}

TEST (EngineSound, DecaySettingIsTheTailsRt60)
{
    for (double seconds : {0.5, 2.0, 5.0})
    {
        auto plain = std::make_unique<ReverbEngine> ();
        plain->setDecayTime (decaySetting (seconds));
        plain->setDampIntensity (0.0);
        const double undamped = rt60Of (*plain, seconds);
        EXPECT_NEAR (undamped, seconds, 0.1 * seconds) << seconds << " s";

        // Damping takes the highs out faster, so the whole tail falls sooner.
        auto damped = std::make_unique<ReverbEngine> ();
        damped->setDecayTime (decaySetting (seconds));
        damped->setDampIntensity (0.8);
        const double rt60 = rt60Of (*damped, seconds);
        EXPECT_LE (rt60, undamped) << seconds << " s";
        EXPECT_GT (rt60, 0.8 * seconds) << seconds << " s";
    }
}

// The equaliser's response: the output's spectrum over that of the same
// engine with the band flat. Only the early reflections reach the output, so
// the impulse response is short, and the equaliser, the last stage, is the
// only difference between the two.
class EqualiserResponse
{
public:
    EqualiserResponse (int32_t band, double hz, double gain)
    {
        const Stereo flat = render (band, hz, 0.5);
        const Stereo shaped = render (band, hz, gain);
        flatLeft = flat.left;
        shapedLeft = shaped.left;
    }

    double dbAt (double hz) const { return 20.0 * std::log10 (std::abs (spectrumAt (shapedLeft, hz) / spectrumAt (flatLeft, hz))); }

private:
    static Stereo render (int32_t band, double hz, double gain)
    {
        auto engine = std::make_unique<ReverbEngine> ();
        engine->setDryLevel (0.0);
        engine->setReverbLevel (0.0);
        engine->setEqFrequency (band, hz);
        engine->setEqGain (band, gain);
        return renderBlocks (*engine, impulse (static_cast<size_t> (kRate), 1.0, 1.0));
    }

    static std::complex<double> spectrumAt (const std::vector<double>& x, double hz)
    {
        std::complex<double> sum = 0.0;
        const double step = -2.0 * M_PI * hz / kRate;
        for (size_t i = 0; i < x.size (); ++i)
            sum += x[i] * std::polar (1.0, step * static_cast<double> (i));
        return sum;
    }

    std::vector<double> flatLeft;
    std::vector<double> shapedLeft;
};

TEST (EngineSound, EqualiserBandsReachTheirGainAtTheirFrequency)
{
    // Shelves reach half their gain at their frequency and all of it far beyond.
    const EqualiserResponse lowBoost (0, 100.0, 1.0);
    EXPECT_NEAR (lowBoost.dbAt (100.0), 6.0, 0.05);
    EXPECT_NEAR (lowBoost.dbAt (25.0), 12.0, 0.2);
    EXPECT_NEAR (lowBoost.dbAt (2000.0), 0.0, 0.05);

    const EqualiserResponse midBoost (1, 1000.0, 1.0);
    EXPECT_NEAR (midBoost.dbAt (1000.0), 12.0, 0.05);
    EXPECT_NEAR (midBoost.dbAt (20.0), 0.0, 0.1);
    const EqualiserResponse midCut (1, 1000.0, 0.25);
    EXPECT_NEAR (midCut.dbAt (1000.0), -12.0, 0.05);
    const EqualiserResponse midBottom (1, 1000.0, 0.0); // stays a peak band
    EXPECT_NEAR (midBottom.dbAt (1000.0), -24.0, 0.05);

    const EqualiserResponse highBoost (2, 8000.0, 1.0);
    EXPECT_NEAR (highBoost.dbAt (8000.0), 6.0, 0.05);
    EXPECT_NEAR (highBoost.dbAt (20000.0), 12.0, 0.2);
    EXPECT_NEAR (highBoost.dbAt (500.0), 0.0, 0.05);
}

TEST (EngineSound, OuterBandsTurnIntoCutsAtTheBottomOfTheirRange)
{
    // Just above the bottom: shelves of -23.5 dB. At the bottom: a high-pass
    // (low band) or low-pass (high band) at the band's frequency, q 0.5,
    // which keeps falling beyond it.
    const EqualiserResponse lowShelf (0, 100.0, 0.01);
    const EqualiserResponse lowCut (0, 100.0, 0.0);
    EXPECT_NEAR (lowShelf.dbAt (10.0), -23.5, 0.2);
    EXPECT_LT (lowCut.dbAt (10.0), -38.0);
    EXPECT_NEAR (lowCut.dbAt (100.0), -6.02, 0.05); // q 0.5 at its frequency
    EXPECT_NEAR (lowCut.dbAt (5000.0), 0.0, 0.05);

    const EqualiserResponse highShelf (2, 1000.0, 0.01);
    const EqualiserResponse highCut (2, 1000.0, 0.0);
    EXPECT_NEAR (highShelf.dbAt (10000.0), -23.5, 0.2);
    EXPECT_LT (highCut.dbAt (10000.0), -40.0);
    EXPECT_NEAR (highCut.dbAt (1000.0), -6.02, 0.05);
    EXPECT_NEAR (highCut.dbAt (20.0), 0.0, 0.05);
}

// Runs noise, then silence, through two engines; `change` is applied to the
// first one at `at` frames. Returns both outputs.
std::pair<Stereo, Stereo> twoRenders (size_t at, const std::function<void (ReverbEngine&)>& change,
                                      const std::function<void (ReverbEngine&)>& changeBack = nullptr,
                                      size_t backAt = 0)
{
    Stereo input = noise (static_cast<size_t> (0.6 * kRate), 5);
    std::fill (input.left.begin () + input.left.size () / 2, input.left.end (), 0.0);
    std::fill (input.right.begin () + input.right.size () / 2, input.right.end (), 0.0);
    auto changed = std::make_unique<ReverbEngine> ();
    auto steady = std::make_unique<ReverbEngine> ();
    const Stereo steadyOut = renderBlocks (*steady, input);
    Stereo out;
    const size_t end = input.left.size ();
    const auto part = [&] (size_t from, size_t to) {
        Stereo piece {std::vector<double> (input.left.begin () + from, input.left.begin () + to),
                      std::vector<double> (input.right.begin () + from, input.right.begin () + to)};
        const Stereo o = renderBlocks (*changed, piece);
        out.left.insert (out.left.end (), o.left.begin (), o.left.end ());
        out.right.insert (out.right.end (), o.right.begin (), o.right.end ());
    };
    part (0, at);
    change (*changed);
    if (changeBack)
    {
        part (at, backAt);
        changeBack (*changed);
        part (backAt, end);
    }
    else
    {
        part (at, end);
    }
    return {out, steadyOut};
}

// A bypass only gates what reaches the output: the lines run on behind it, so
// when it ends the sound is that of an engine never bypassed, with no stale
// tail starting up again. (The flat equaliser after the early and reverb
// bypasses still holds the bypassed mix in its history, which shows only as
// rounding.)
TEST (EngineSound, BypassesGateTheOutputWhileTheLinesRunOn)
{
    using Switch = void (ReverbEngine::*) (bool);
    for (Switch bypass : {&ReverbEngine::setDryBypass, &ReverbEngine::setEarlyBypass, &ReverbEngine::setReverbBypass,
                          &ReverbEngine::setWetBypass})
    {
        const size_t on = static_cast<size_t> (0.2 * kRate);
        const size_t off = static_cast<size_t> (0.4 * kRate);
        const auto [out, steady] = twoRenders (
            on, [&] (ReverbEngine& e) { (e.*bypass) (true); }, [&] (ReverbEngine& e) { (e.*bypass) (false); }, off);
        double differenceWhileOn = 0.0;
        for (size_t i = on; i < off; ++i)
            differenceWhileOn = std::max (differenceWhileOn, std::fabs (out.left[i] - steady.left[i]));
        EXPECT_GT (differenceWhileOn, 1e-3);
        for (size_t i = off; i < out.left.size (); ++i)
        {
            ASSERT_NEAR (out.left[i], steady.left[i], 1e-12) << i;
            ASSERT_NEAR (out.right[i], steady.right[i], 1e-12) << i;
        }
    }
}

double largestStep (const std::vector<double>& x, size_t from, size_t to)
{
    double step = 0.0;
    for (size_t i = from; i < to; ++i)
        step = std::max (step, std::fabs (x[i] - x[i - 1]));
    return step;
}

// Variation and room changes move the lines' lengths, not their contents: the
// ringing tail goes on at its level, with no jump where the change falls.
TEST (EngineSound, VariationAndRoomChangesKeepTheTailRunningWithoutAJump)
{
    const std::function<void (ReverbEngine&)> changes[] = {
        [] (ReverbEngine& e) { e.setReverbVariation (5); },
        [] (ReverbEngine& e) { e.setEarlyVariation (9); },
        [] (ReverbEngine& e) { e.setRoomSize (0.9); },
        [] (ReverbEngine& e) { e.setModulationDepth (0.8); },
    };
    const size_t at = static_cast<size_t> (0.35 * kRate); // in the tail, after the input stopped
    const size_t window = static_cast<size_t> (0.02 * kRate);
    for (size_t k = 0; k < std::size (changes); ++k)
    {
        const Stereo out = twoRenders (at, changes[k]).first;
        const double before = rms (out.left, at - window, window);
        EXPECT_GT (rms (out.left, at, window), 0.5 * before) << "change " << k;
        EXPECT_LT (largestStep (out.left, at, at + window), 2.0 * largestStep (out.left, at - window, at))
            << "change " << k;
    }
}

TEST (EngineSound, UnknownVariationsAndBandsSoundLikeTheirFallback)
{
    const Stereo input = noise (6000, 7);
    const auto soundOf = [&] (const std::function<void (ReverbEngine&)>& set) {
        auto engine = std::make_unique<ReverbEngine> ();
        set (*engine);
        return renderBlocks (*engine, input).left;
    };
    const auto early = [&] (int32_t v) { return soundOf ([v] (ReverbEngine& e) { e.setEarlyVariation (v); }); };
    const auto late = [&] (int32_t v) { return soundOf ([v] (ReverbEngine& e) { e.setReverbVariation (v); }); };
    for (int32_t v : {0, 13, -5})
        EXPECT_EQ (early (v), early (1)) << v;
    for (int32_t v : {0, 7, 100})
        EXPECT_EQ (late (v), late (3)) << v;
    EXPECT_NE (late (2), late (3));

    const auto unchanged = soundOf ([] (ReverbEngine&) {});
    EXPECT_EQ (soundOf ([] (ReverbEngine& e) {
                   e.setEqGain (3, 0.2);
                   e.setEqFrequency (-1, 100.0);
               }),
               unchanged);
}

TEST (EngineSound, WidthZeroGivesBothOutputsTheSameWetSound)
{
    auto engine = std::make_unique<ReverbEngine> ();
    engine->setDryLevel (0.0);
    engine->setWidth (-3.0); // clamped to 0
    const Stereo mono = renderBlocks (*engine, noise (5000, 11));
    EXPECT_EQ (mono.left, mono.right);
    engine->setWidth (1.0);
    const Stereo wide = renderBlocks (*engine, noise (5000, 12));
    EXPECT_NE (wide.left, wide.right);
}

TEST (EngineSound, ResetLeavesNothingOfEarlierAudio)
{
    auto engine = std::make_unique<ReverbEngine> ();
    renderBlocks (*engine, noise (7000, 31));
    engine->reset ();
    const Stereo out = renderBlocks (*engine, impulse (20000, 0.0, 0.0));
    EXPECT_EQ (out.left, std::vector<double> (out.left.size (), 0.0));
    EXPECT_EQ (out.right, std::vector<double> (out.right.size (), 0.0));
}

} // namespace

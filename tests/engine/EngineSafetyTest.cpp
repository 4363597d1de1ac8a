// What the engine does with unusable input, with a state that stops being finite, and
// with equaliser changes while sound passes.

#include "ReverbEngine.h"
#include "StereoSignals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <vector>

namespace {

using namespace EngineTest;

bool allFinite (const Stereo& s)
{
    for (size_t i = 0; i < s.left.size (); ++i)
        if (!std::isfinite (s.left[i]) || !std::isfinite (s.right[i]))
            return false;
    return true;
}

class EngineSafety : public ::testing::TestWithParam<Form>
{
};

} // namespace

TEST_P (EngineSafety, UnusableInputSamplesAreExactlySilence)
{
    const double inf = std::numeric_limits<double>::infinity ();
    const double unusable[] = {std::nan (""), inf, -inf, std::numeric_limits<double>::max (), -2e18};
    auto engine = std::make_unique<ReverbEngine> ();
    auto twin = std::make_unique<ReverbEngine> ();
    QUILLMERE_USE_FORM (*engine, GetParam ());
    useForm (*twin, GetParam ());
    Stereo spoilt = noise (6000, 1);
    Stereo silenced = spoilt;
    // Single samples, a whole chunk of them, and both channels at once.
    size_t k = 0;
    for (size_t at : {10, 11, 700, 1500, 4095})
    {
        spoilt.left[at] = unusable[k++ % 5];
        silenced.left[at] = 0.0;
    }
    for (size_t at = 2000; at < 2200; ++at)
    {
        spoilt.right[at] = unusable[at % 5];
        silenced.right[at] = 0.0;
    }
    spoilt.left[3000] = spoilt.right[3000] = std::nan ("");
    silenced.left[3000] = silenced.right[3000] = 0.0;
    const Stereo out = render (*engine, spoilt, GetParam ());
    const Stereo expected = render (*twin, silenced, GetParam ());
    ASSERT_TRUE (allFinite (out));
    EXPECT_EQ (std::memcmp (out.left.data (), expected.left.data (), out.left.size () * sizeof (double)), 0);
    EXPECT_EQ (std::memcmp (out.right.data (), expected.right.data (), out.right.size () * sizeof (double)), 0);
}

// A band designed above the Nyquist frequency is unstable and overflows within a
// thousand frames. The output must stay finite, and once the design is sane again the
// reverb must work on, which it cannot with a non-finite value left in its memory.
TEST_P (EngineSafety, StateThatOverflowsIsClearedAndTheOutputStaysFinite)
{
    auto engine = std::make_unique<ReverbEngine> ();
    QUILLMERE_USE_FORM (*engine, GetParam ());
    engine->setEqFrequency (1, 0.7 * engine->getSampleRate ());
    engine->setEqGain (1, 1.0);
    const Stereo wild = render (*engine, noise (20000, 2), GetParam ());
    EXPECT_TRUE (allFinite (wild));
    engine->setEqFrequency (1, 1000.0);
    const Stereo calm = render (*engine, noise (20000, 3), GetParam ());
    EXPECT_TRUE (allFinite (calm));
    double late = 0.0;
    for (size_t i = 10000; i < calm.left.size (); ++i)
        late = std::max (late, std::fabs (calm.left[i]));
    EXPECT_GT (late, 0.1);
    EXPECT_LT (late, 4.0);
}

INSTANTIATE_TEST_SUITE_P (Forms, EngineSafety,
                          ::testing::Values (Form::kPerFrame, Form::kSse2, Form::kAvx2, Form::kAvx512), formName);

namespace {

void expectSameDesign (const BiquadFilter& a, const BiquadFilter& b)
{
    EXPECT_TRUE (a.getDesign () == b.getDesign ());
}

void moveAllBands (ReverbEngine& engine)
{
    engine.setEqFrequency (0, 20.0);
    engine.setEqGain (0, 0.0); // the low cut
    engine.setEqFrequency (1, 22000.0);
    engine.setEqGain (1, 1.0);
    engine.setEqFrequency (2, 1000.0);
    engine.setEqGain (2, 0.01);
}

} // namespace

TEST (EngineSafety, EqualiserGlidesOnlyWhileSoundPassesAndEndsOnTheExactDesign)
{
    auto gliding = std::make_unique<ReverbEngine> ();
    auto jumping = std::make_unique<ReverbEngine> ();
    gliding->setEqGlide (true);

    // No sound has passed yet: the bands change at once.
    moveAllBands (*gliding);
    moveAllBands (*jumping);
    EXPECT_FALSE (gliding->isEqGliding ());
    for (int32_t band = 0; band < ReverbEngine::kEqBandCount; ++band)
        expectSameDesign (gliding->getEqBand (band), jumping->getEqBand (band));

    // With sound in the bands they glide, and end on the design a jump gives.
    renderBlocks (*gliding, noise (2000, 4));
    gliding->setEqGain (0, 1.0);
    gliding->setEqFrequency (1, 30.0);
    gliding->setEqFrequency (2, 22000.0);
    gliding->setEqGain (2, 0.0); // the high cut
    jumping->setEqGain (0, 1.0);
    jumping->setEqFrequency (1, 30.0);
    jumping->setEqFrequency (2, 22000.0);
    jumping->setEqGain (2, 0.0);
    EXPECT_TRUE (gliding->isEqGliding ());
    EXPECT_NE (gliding->getEqBand (1).getDesign ().frequency, 30.0);
    renderBlocks (*gliding, noise (1000, 5));
    EXPECT_FALSE (gliding->isEqGliding ());
    for (int32_t band = 0; band < ReverbEngine::kEqBandCount; ++band)
        expectSameDesign (gliding->getEqBand (band), jumping->getEqBand (band));

    // A setting sent again unchanged starts nothing; reset ends a glide on its target.
    gliding->setEqFrequency (1, 30.0);
    EXPECT_FALSE (gliding->isEqGliding ());
    gliding->setEqFrequency (1, 5000.0);
    jumping->setEqFrequency (1, 5000.0);
    EXPECT_TRUE (gliding->isEqGliding ());
    gliding->reset ();
    EXPECT_FALSE (gliding->isEqGliding ());
    expectSameDesign (gliding->getEqBand (1), jumping->getEqBand (1));
}

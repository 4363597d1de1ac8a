// The delay-length rule, and the stages whose output is known exactly.

#include "AllpassDiffuser.h"
#include "DelayLength.h"
#include "ModulatedDelay.h"

#include <gtest/gtest.h>

#include <memory>

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

TEST (Diffusers, ZeroCoefficientIsAPureDelayAndOtherwiseAllpass)
{
    auto diffuser = std::make_unique<AllpassDiffuser> ();
    diffuser->setDelay (1.0); // 44 frames at 44100
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

TEST (ModulatedDelay, DepthZeroDelaysByThreeFrames)
{
    auto delay = std::make_unique<ModulatedDelay> ();
    delay->setDelay (0.1);
    delay->setDepth (0.0);
    delay->setRate (3.0); // a ring of 5 frames at 44100 Hz
    for (int32_t i = 0; i < 40; ++i)
    {
        const double x = i < 20 ? static_cast<double> (i + 1) : 0.0;
        const StereoPair out = delay->process (pairOf (x, -x));
        const double expected = i >= 3 && i - 3 < 20 ? static_cast<double> (i - 2) : 0.0;
        EXPECT_EQ (leftOf (out), expected) << i;
        EXPECT_EQ (rightOf (out), -expected) << i;
    }
}

} // namespace

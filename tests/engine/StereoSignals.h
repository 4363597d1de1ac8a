#pragma once
// Test signals for the engine and the per-frame way of running them.

#include "ReverbEngine.h"

#include <cstdint>
#include <random>
#include <vector>

namespace EngineTest {

struct Stereo
{
    std::vector<double> left;
    std::vector<double> right;
};

inline Stereo impulse (size_t frames, double left, double right)
{
    Stereo s {std::vector<double> (frames, 0.0), std::vector<double> (frames, 0.0)};
    s.left[0] = left;
    s.right[0] = right;
    return s;
}

// Uniform white noise in [-1, 1) on both channels.
inline Stereo noise (size_t frames, uint32_t seed)
{
    std::mt19937 random (seed);
    std::uniform_real_distribution<double> u (-1.0, 1.0);
    Stereo s {std::vector<double> (frames), std::vector<double> (frames)};
    for (size_t i = 0; i < frames; ++i)
    {
        s.left[i] = u (random);
        s.right[i] = u (random);
    }
    return s;
}

// Runs frames through processFrame; input is (left[i], right[i]).
inline Stereo run (ReverbEngine& engine, const Stereo& input)
{
    Stereo out {std::vector<double> (input.left.size ()), std::vector<double> (input.left.size ())};
    for (size_t i = 0; i < input.left.size (); ++i)
    {
        const double in[2] = {input.left[i], input.right[i]};
        double o[2];
        engine.processFrame (in, o);
        out.left[i] = o[0];
        out.right[i] = o[1];
    }
    return out;
}

} // namespace EngineTest

#pragma once
// Test signals for the engine, and the forms that run them: frame by frame,
// and blocks through each kernel build.

#include "ReverbEngine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <ostream>
#include <random>
#include <string>
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

// Root mean square of count samples from `from` on.
inline double rms (const std::vector<double>& x, size_t from, size_t count)
{
    double sum = 0.0;
    for (size_t i = from; i < from + count; ++i)
        sum += x[i] * x[i];
    return std::sqrt (sum / static_cast<double> (count));
}

// Runs the signal through processBlock in place, in blocks of varying size.
inline Stereo renderBlocks (ReverbEngine& engine, Stereo signal)
{
    const int32_t sizes[] = {500, 64, 3, 97, 256, 17};
    for (size_t at = 0, k = 0; at < signal.left.size (); ++k)
    {
        const int32_t n = static_cast<int32_t> (std::min<size_t> (sizes[k % 6], signal.left.size () - at));
        engine.processBlock (signal.left.data () + at, signal.right.data () + at, signal.left.data () + at,
                             signal.right.data () + at, n);
        at += n;
    }
    return signal;
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

// Renders through the chosen form.
enum class Form
{
    kPerFrame,
    kSse2,
    kAvx2,
    kAvx512
};

inline ReverbEngine::Kernel kernelOf (Form form)
{
    return static_cast<ReverbEngine::Kernel> (static_cast<int32_t> (form) - 1);
}

// Sets the engine up for the form; false when the processor lacks its kernel.
inline bool useForm (ReverbEngine& engine, Form form)
{
    return form == Form::kPerFrame || engine.selectKernel (kernelOf (form)) == kernelOf (form);
}

inline Stereo render (ReverbEngine& engine, const Stereo& signal, Form form)
{
    return form == Form::kPerFrame ? run (engine, signal) : renderBlocks (engine, signal);
}

inline const char* nameOf (Form form)
{
    const char* names[] = {"PerFrame", "Sse2", "Avx2", "Avx512"};
    return names[static_cast<int32_t> (form)];
}

inline std::string formName (const ::testing::TestParamInfo<Form>& info)
{
    return nameOf (info.param);
}

// For GoogleTest's messages and test names.
inline void PrintTo (Form form, std::ostream* out)
{
    *out << nameOf (form);
}

#define QUILLMERE_USE_FORM(engine, form)                                                                          \
    do                                                                                                           \
    {                                                                                                            \
        if (!::EngineTest::useForm (engine, form))                                                               \
            GTEST_SKIP () << "this processor does not run the " << ::EngineTest::nameOf (form) << " kernel"; \
    } while (false)

} // namespace EngineTest

// The shipped engine against the plain reference rendering, and its block
// form, in every kernel build, against its per-frame form: every output
// sample must match exactly.

#include "ReferenceReverb.h"
#include "ReverbEngine.h"
#include "StereoSignals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace {

bool sameBits (double a, double b)
{
    return std::memcmp (&a, &b, sizeof (double)) == 0;
}

// One step of a scripted session: a parameter change followed by a block.
template <typename Target>
void applyChange (Target& t, int32_t step)
{
    switch (step % 12)
    {
        case 0: t.setEarlyVariation (1 + step % 13); break;
        case 1: t.setReverbVariation (step % 8); break;
        case 2: t.setRoomSize ((step % 7) / 6.0); break;
        case 3: t.setDecayTime ((step % 3) * 0.005); break;
        case 4: t.setDiffusion ((step % 3) / 2.0); break;
        case 5: t.setDampFrequency (500.0 + 1000.0 * (step % 9)); t.setDampIntensity ((step % 4) / 3.0); break;
        case 6: t.setEqGain (step % 3, (step % 5) / 4.0); t.setEqFrequency (step % 3, 80.0 + 300.0 * (step % 4)); break;
        case 7: t.setModulationSpeed ((step % 6) / 5.0); t.setModulationDepth ((step % 4) / 3.0); break;
        case 8: t.setPredelay ((step % 5) / 4.0 * 0.02); t.setWidth ((step % 3) / 2.0); break;
        case 9: t.setEarlyBypass (step % 2 == 0); t.setReverbLevel (0.8); t.setWetLevel (0.9); break;
        case 10: t.setDryBypass (step % 4 == 2); t.setDryLevel (0.7); t.setWetBypass (step % 6 == 4); break;
        case 11: t.setEarlyLevel (0.6); t.setReverbBypass (step % 4 == 3); break;
    }
}

struct Session
{
    std::vector<double> left;
    std::vector<double> right;
    std::vector<int32_t> blockSizes;
};

// Noise bursts separated by exact silence long enough to close the gate
// (short decay), plus frames of -0.0 and of tiny values.
Session makeSession (double sampleRate, bool crossGate)
{
    Session s;
    std::mt19937 random (1234);
    std::uniform_real_distribution<double> noise (-1.0, 1.0);
    // Longest hold the scripted decay changes can set: (0.01 * 19.8 + 0.2 + 5) s.
    const int32_t hold = crossGate ? static_cast<int32_t> (5.4 * sampleRate) : 3000;
    auto burst = [&] (int32_t n) {
        for (int32_t i = 0; i < n; ++i)
        {
            s.left.push_back (noise (random));
            s.right.push_back (noise (random) * 0.5);
        }
    };
    burst (3000);
    s.left.push_back (-0.0);
    s.right.push_back (0.0);
    s.left.push_back (0.0);
    s.right.push_back (1e-300);
    burst (2000);
    for (int32_t i = 0; i < hold + 500; ++i)
    {
        s.left.push_back (i % 2 == 0 ? -0.0 : 0.0);
        s.right.push_back (0.0);
    }
    burst (1500);
    std::uniform_int_distribution<int32_t> size (1, 300);
    size_t total = 0;
    while (total < s.left.size ())
    {
        int32_t n = size (random);
        if (total + n > s.left.size ())
            n = static_cast<int32_t> (s.left.size () - total);
        s.blockSizes.push_back (n);
        total += n;
    }
    return s;
}

struct Renders
{
    std::vector<double> left;
    std::vector<double> right;
    std::vector<bool> idleAfterBlock;
};

template <typename Target, typename Render>
Renders renderSession (Target& t, const Session& s, double sampleRate, Render render)
{
    t.setSampleRate (sampleRate);
    t.setDecayTime (0.0);
    Renders r;
    r.left = s.left;
    r.right = s.right;
    size_t at = 0;
    int32_t step = 0;
    for (int32_t n : s.blockSizes)
    {
        if (step % 3 == 0)
            applyChange (t, step / 3);
        ++step;
        render (t, r.left.data () + at, r.right.data () + at, n);
        at += n;
    }
    return r;
}

// n frames in place through processFrame, one at a time.
template <typename Target>
void renderFrames (Target& t, double* l, double* r, int32_t n)
{
        for (int32_t i = 0; i < n; ++i)
        {
            const double in[2] = {l[i], r[i]};
            double out[2];
            t.processFrame (in, out);
            l[i] = out[0];
            r[i] = out[1];
        }
}

void expectIdentical (const Renders& a, const Renders& b, const char* what)
{
    ASSERT_EQ (a.left.size (), b.left.size ());
    size_t mismatches = 0;
    for (size_t i = 0; i < a.left.size () && mismatches < 5; ++i)
    {
        if (!sameBits (a.left[i], b.left[i]) || !sameBits (a.right[i], b.right[i]))
        {
            ADD_FAILURE () << what << " differs at frame " << i << ": (" << a.left[i] << ", " << a.right[i] << ") vs ("
                           << b.left[i] << ", " << b.right[i] << ")";
            ++mismatches;
        }
    }
}

using EngineTest::Form;

// The session frame by frame, noting after each block whether the gate is shut.
Renders renderPerFrame (ReverbEngine& engine, const Session& s, double sampleRate, std::vector<bool>& idle)
{
    return renderSession (engine, s, sampleRate, [&] (ReverbEngine& t, double* l, double* r, int32_t n) {
        renderFrames (t, l, r, n);
        idle.push_back (t.isIdle ());
    });
}

void checkPerFrameAgainstReference (double sampleRate, bool crossGate)
{
    const Session s = makeSession (sampleRate, crossGate);
    auto perFrame = std::make_unique<ReverbEngine> ();
    std::vector<bool> frameIdle;
    const Renders frames = renderPerFrame (*perFrame, s, sampleRate, frameIdle);
    auto reference = std::make_unique<ReferenceReverb> ();
    const Renders expected = renderSession (*reference, s, sampleRate, [] (ReferenceReverb& t, double* l, double* r, int32_t n) {
        renderFrames (t, l, r, n);
    });
    expectIdentical (expected, frames, "per-frame engine vs reference");
    if (crossGate)
    {
        // The session must really have crossed the gate both ways.
        EXPECT_NE (std::count (frameIdle.begin (), frameIdle.end (), true), 0);
        EXPECT_FALSE (frameIdle.back ());
    }
}

// eqGlide: the equaliser glides, which the reference does not do; the forms
// of the engine must still agree with each other.
void checkBlockAgainstPerFrame (ReverbEngine::Kernel kernel, double sampleRate, bool crossGate, bool eqGlide = false)
{
    const Session s = makeSession (sampleRate, crossGate);
    auto perFrame = std::make_unique<ReverbEngine> ();
    perFrame->setEqGlide (eqGlide);
    std::vector<bool> frameIdle;
    const Renders frames = renderPerFrame (*perFrame, s, sampleRate, frameIdle);
    auto block = std::make_unique<ReverbEngine> ();
    block->selectKernel (kernel);
    block->setEqGlide (eqGlide);
    std::vector<bool> blockIdle;
    const Renders blocks = renderSession (*block, s, sampleRate, [&] (ReverbEngine& t, double* l, double* r, int32_t n) {
        t.processBlock (l, r, l, r, n); // in place
        blockIdle.push_back (t.isIdle ());
    });
    expectIdentical (frames, blocks, "block form vs per-frame form");
    EXPECT_EQ (frameIdle, blockIdle);
    EXPECT_EQ (perFrame->getSilenceCountdown (), block->getSilenceCountdown ());
}

TEST (EngineEquivalence, PerFrameFormMatchesTheReference)
{
    checkPerFrameAgainstReference (44100.0, true);
    checkPerFrameAgainstReference (192000.0, false);
}

class EngineKernel : public ::testing::TestWithParam<Form>
{
protected:
    ReverbEngine::Kernel kernel () const { return EngineTest::kernelOf (GetParam ()); }
};

// Each build's translation unit must have been compiled for its own
// instruction set (a lost flag would leave a wide kernel running narrow
// code), whatever this processor runs.
TEST_P (EngineKernel, IsCompiledForItsInstructionSet)
{
    EXPECT_EQ (ReverbEngine::compiledInstructionSet (kernel ()), kernel ());
}

TEST_P (EngineKernel, BlockFormMatchesThePerFrameForm)
{
    auto probe = std::make_unique<ReverbEngine> ();
    QUILLMERE_USE_FORM (*probe, GetParam ());
    checkBlockAgainstPerFrame (kernel (), 44100.0, true);
    checkBlockAgainstPerFrame (kernel (), 192000.0, false);
    // Glide steps fall on the same frames whatever the block sizes.
    checkBlockAgainstPerFrame (kernel (), 44100.0, true, true);
}

// The block form reads the caller's input arrays while it writes the output,
// so every way a host may alias them must give the same result.
TEST_P (EngineKernel, GivesTheSameOutputWhateverArraysAlias)
{
    auto a = std::make_unique<ReverbEngine> ();
    auto b = std::make_unique<ReverbEngine> ();
    auto c = std::make_unique<ReverbEngine> ();
    for (ReverbEngine* e : {a.get (), b.get (), c.get ()})
        QUILLMERE_USE_FORM (*e, GetParam ());
    const EngineTest::Stereo in = EngineTest::noise (4000, 7);
    std::vector<double> outL (in.left.size ()), outR (in.left.size ());
    std::vector<double> ioL = in.left, ioR = in.right;
    std::vector<double> crossL = in.left, crossR = in.right;
    const int32_t n = static_cast<int32_t> (in.left.size ());
    a->processBlock (in.left.data (), in.right.data (), outL.data (), outR.data (), n);
    b->processBlock (ioL.data (), ioR.data (), ioL.data (), ioR.data (), n);
    c->processBlock (crossL.data (), crossR.data (), crossR.data (), crossL.data (), n); // channels crossed
    for (size_t i = 0; i < outL.size (); ++i)
    {
        ASSERT_TRUE (sameBits (outL[i], ioL[i]) && sameBits (outR[i], ioR[i])) << "in place, frame " << i;
        ASSERT_TRUE (sameBits (outL[i], crossR[i]) && sameBits (outR[i], crossL[i])) << "crossed, frame " << i;
    }
}

INSTANTIATE_TEST_SUITE_P (Builds, EngineKernel, ::testing::Values (Form::kSse2, Form::kAvx2, Form::kAvx512),
                          EngineTest::formName);

// FNV-1a over the bits of every output sample.
uint64_t checksum (const EngineTest::Stereo& s)
{
    uint64_t hash = 1469598103934665603ull;
    for (size_t i = 0; i < s.left.size (); ++i)
        for (const double* sample : {&s.left[i], &s.right[i]})
        {
            unsigned char bytes[sizeof (double)];
            std::memcpy (bytes, sample, sizeof bytes);
            for (unsigned char b : bytes)
                hash = (hash ^ b) * 1099511628211ull;
        }
    return hash;
}

class EngineForm : public ::testing::TestWithParam<Form>
{
};

// Two seconds of the "Default" sound's impulse response, pinned bit for bit:
// any change to what the engine computes shows here, in every form.
TEST_P (EngineForm, DefaultImpulseResponseKeepsItsChecksum)
{
    const struct
    {
        double rate;
        uint64_t checksum;
    } golden[] = {{44100.0, 0xe8bcf2138dccbfbeull}, {192000.0, 0x3d7c476491d144a8ull}};
    for (const auto& g : golden)
    {
        auto engine = std::make_unique<ReverbEngine> ();
        QUILLMERE_USE_FORM (*engine, GetParam ());
        engine->setSampleRate (g.rate);
        const EngineTest::Stereo in = EngineTest::impulse (static_cast<size_t> (2.0 * g.rate), 1.0, 0.5);
        EXPECT_EQ (checksum (EngineTest::render (*engine, in, GetParam ())), g.checksum) << g.rate << " Hz";
    }
}

INSTANTIATE_TEST_SUITE_P (Forms, EngineForm,
                          ::testing::Values (Form::kPerFrame, Form::kSse2, Form::kAvx2, Form::kAvx512),
                          EngineTest::formName);

} // namespace

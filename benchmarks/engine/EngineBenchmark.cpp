// Cost per stereo frame of the engine (block and per-frame forms) against the
// plain reference rendering, on white noise so the silence gate never helps.

#include "BenchmarkSettings.h"
#include "ReferenceReverb.h"
#include "ReverbEngine.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int32_t kBlockFrames = 512;
constexpr int32_t kNoiseFrames = 1 << 16;

struct Noise
{
    std::vector<double> left;
    std::vector<double> right;
    Noise () : left (kNoiseFrames), right (kNoiseFrames)
    {
        std::mt19937 random (99);
        std::uniform_real_distribution<double> u (-1.0, 1.0);
        for (int32_t i = 0; i < kNoiseFrames; ++i)
        {
            left[i] = u (random);
            right[i] = u (random);
        }
    }
};

const Noise& noise ()
{
    static const Noise n;
    return n;
}

// Reports nanoseconds per stereo frame next to the per-block time.
void reportPerFrame (benchmark::State& state)
{
    const double frames = static_cast<double> (state.iterations ()) * kBlockFrames;
    state.counters["ns_per_frame"] = benchmark::Counter (frames * 1e-9, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

template <typename Target>
void perFrame (benchmark::State& state, Target& t)
{
    const Noise& n = noise ();
    std::vector<double> outL (kBlockFrames), outR (kBlockFrames);
    int32_t at = 0;
    for (auto _ : state)
    {
        for (int32_t i = 0; i < kBlockFrames; ++i)
        {
            const double in[2] = {n.left[at + i], n.right[at + i]};
            double out[2];
            t.processFrame (in, out);
            outL[i] = out[0];
            outR[i] = out[1];
        }
        benchmark::DoNotOptimize (outL.data ());
        benchmark::DoNotOptimize (outR.data ());
        at = (at + kBlockFrames) % kNoiseFrames;
    }
    reportPerFrame (state);
}

void renderBlocks (benchmark::State& state, ReverbEngine& engine)
{
    const Noise& n = noise ();
    std::vector<double> outL (kBlockFrames), outR (kBlockFrames);
    int32_t at = 0;
    for (auto _ : state)
    {
        engine.processBlock (n.left.data () + at, n.right.data () + at, outL.data (), outR.data (), kBlockFrames);
        benchmark::DoNotOptimize (outL.data ());
        benchmark::DoNotOptimize (outR.data ());
        at = (at + kBlockFrames) % kNoiseFrames;
    }
    reportPerFrame (state);
}

void BM_EngineBlock (benchmark::State& state)
{
    auto engine = std::make_unique<ReverbEngine> ();
    applySetting (*engine, static_cast<Setting> (state.range (0)), static_cast<double> (state.range (1)));
    renderBlocks (state, *engine);
}

// The block form with each kernel build the processor runs, Default settings.
void BM_EngineKernel (benchmark::State& state)
{
    auto engine = std::make_unique<ReverbEngine> ();
    const auto wanted = static_cast<ReverbEngine::Kernel> (state.range (0));
    if (engine->selectKernel (wanted) != wanted)
    {
        state.SkipWithError ("kernel not supported by this processor");
        return;
    }
    applySetting (*engine, kDefault, 44100.0);
    renderBlocks (state, *engine);
}

void BM_EngineFrame (benchmark::State& state)
{
    auto engine = std::make_unique<ReverbEngine> ();
    applySetting (*engine, static_cast<Setting> (state.range (0)), static_cast<double> (state.range (1)));
    perFrame (state, *engine);
}

void BM_Reference (benchmark::State& state)
{
    auto reference = std::make_unique<ReferenceReverb> ();
    applySetting (*reference, static_cast<Setting> (state.range (0)), static_cast<double> (state.range (1)));
    perFrame (state, *reference);
}

void cases (benchmark::internal::Benchmark* b)
{
    b->ArgNames ({"setting", "rate"});
    for (int64_t rate : {44100, 192000})
        for (int64_t setting : {kDefault, kLongDecay, kMaxDepth})
            b->Args ({setting, rate});
}

} // namespace

// Interleaved registration so that repetitions alternate between kernels.
BENCHMARK (BM_Reference)->Apply (cases);
BENCHMARK (BM_EngineFrame)->Apply (cases);
BENCHMARK (BM_EngineBlock)->Apply (cases);
BENCHMARK (BM_EngineKernel)->ArgName ("kernel")->DenseRange (0, 2);

BENCHMARK_MAIN ();

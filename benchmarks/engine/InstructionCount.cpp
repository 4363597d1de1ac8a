// Renders a number of white-noise frames through one kernel, for instruction
// counting under callgrind (see scripts/bench.sh):
//   engine_instruction_count block|block-sse2|frame|reference FRAMES [RATE [SETTING]]
// SETTING is the benchmark's: 0 "Default", 1 long decay, 2 deepest modulation.
// Counting once with 0 frames and once with N frames gives instructions per
// frame without the set-up.

#include "BenchmarkSettings.h"
#include "ReferenceReverb.h"
#include "ReverbEngine.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int32_t kBlockFrames = 512;

template <typename Target>
double renderFrames (Target& t, const std::vector<double>& l, const std::vector<double>& r, int64_t frames)
{
    double check = 0.0;
    for (int64_t done = 0; done < frames; done += kBlockFrames)
        for (int32_t i = 0; i < kBlockFrames; ++i)
        {
            const double in[2] = {l[i], r[i]};
            double out[2];
            t.processFrame (in, out);
            check += out[0];
        }
    return check;
}

} // namespace

int main (int argc, char** argv)
{
    if (argc < 3)
    {
        std::fprintf (stderr, "usage: %s block|block-sse2|frame|reference FRAMES [RATE [SETTING]]\n", argv[0]);
        return 2;
    }
    const char* kernel = argv[1];
    const int64_t frames = std::atoll (argv[2]);
    const double rate = argc > 3 ? std::atof (argv[3]) : 44100.0;
    const Setting setting = argc > 4 ? static_cast<Setting> (std::atoi (argv[4])) : kDefault;

    std::vector<double> l (kBlockFrames), r (kBlockFrames), outL (kBlockFrames), outR (kBlockFrames);
    std::mt19937 random (99);
    std::uniform_real_distribution<double> u (-1.0, 1.0);
    for (int32_t i = 0; i < kBlockFrames; ++i)
    {
        l[i] = u (random);
        r[i] = u (random);
    }

    double check = 0.0;
    if (std::strcmp (kernel, "reference") == 0)
    {
        auto t = std::make_unique<ReferenceReverb> ();
        applySetting (*t, setting, rate);
        check = renderFrames (*t, l, r, frames);
    }
    else
    {
        auto t = std::make_unique<ReverbEngine> ();
        applySetting (*t, setting, rate);
        // "block-sse2" pins the block form to its SSE2 build.
        if (std::strcmp (kernel, "block-sse2") == 0)
            t->selectKernel (ReverbEngine::Kernel::Sse2);
        if (std::strcmp (kernel, "frame") == 0)
            check = renderFrames (*t, l, r, frames);
        else
            for (int64_t done = 0; done < frames; done += kBlockFrames)
            {
                t->processBlock (l.data (), r.data (), outL.data (), outR.data (), kBlockFrames);
                check += outL[0];
            }
    }
    std::printf ("%g\n", check);
    return 0;
}

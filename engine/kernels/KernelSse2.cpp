// The block kernel every x86_64 processor runs: stereo pairs in SSE2 registers.

#include "ChunkPasses.h"

namespace {

struct Sse2Build
{
    static constexpr bool kWide = false;
    static constexpr EqualiserRide kEqualiserIn = EqualiserRide::kLateCombs;
};

} // namespace

void renderChunkSse2 (ReverbEngine& engine, EngineChunk* chunk, EngineChunk* previous)
{
    ChunkPasses<Sse2Build>::render (engine, chunk, previous);
}

ReverbEngine::Kernel compiledForSse2 ()
{
    return instructionSetOfThisUnit ();
}

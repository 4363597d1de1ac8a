// The AVX2 kernel again, compiled for AVX-512VL but kept to 256-bit operations
// (see engine/CMakeLists.txt): its 32 vector registers hold the equaliser's
// and the combs' state that the AVX2 build keeps in memory. AVX-512 brings
// FMA along; the engine is compiled with -ffp-contract=off, so no multiply
// and add are ever fused and the roundings stay those of the SSE2 build.

#include "ChunkPasses.h"

namespace {

struct Avx512Build
{
    static constexpr bool kWide = true;
    // Its extra registers carry the equaliser through the diffuser loop without spills.
    static constexpr EqualiserRide kEqualiserIn = EqualiserRide::kDiffusers;
};

} // namespace

// Flattened for the same reason as the AVX2 build.
__attribute__ ((flatten)) void renderChunkAvx512 (ReverbEngine& engine, EngineChunk* chunk, EngineChunk* previous)
{
    ChunkPasses<Avx512Build>::render (engine, chunk, previous);
}

ReverbEngine::Kernel compiledForAvx512 ()
{
    return instructionSetOfThisUnit ();
}

// The block kernel for processors with AVX2, compiled with -mavx2 (see
// engine/CMakeLists.txt): the three-operand forms drop most register copies.
// No FMA, so every operation still rounds exactly as in the SSE2 build.

#include "ChunkPasses.h"

namespace {

struct Avx2Build
{
    static constexpr bool kWide = true;
    // Its sixteen registers: the equaliser meets plenty of comb arithmetic there.
    static constexpr EqualiserRide kEqualiserIn = EqualiserRide::kLateCombs;
};

} // namespace

// Flattened: every inline function the passes call is compiled into this one
// function, so none is emitted out of line with AVX code for other callers to
// pick up (the EngineKernelSymbols test checks).
__attribute__ ((flatten)) void renderChunkAvx2 (ReverbEngine& engine, EngineChunk* chunk, EngineChunk* previous)
{
    ChunkPasses<Avx2Build>::render (engine, chunk, previous);
}

ReverbEngine::Kernel compiledForAvx2 ()
{
    return instructionSetOfThisUnit ();
}

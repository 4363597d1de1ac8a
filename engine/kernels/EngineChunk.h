#pragma once

// What the block form hands its kernels: one chunk of frames that passed the
// silence gate, where they come from and where their results go.

#include "ReverbEngine.h"
#include "StereoPair.h"

#include <cstdint>

struct EngineChunk
{
    // Frames rendered per pass; small enough for L1.
    static constexpr int32_t kFrames = 64;

    int32_t start;  // first frame in the caller's arrays
    int32_t count;  // frames of the caller's arrays in this chunk
    int32_t active; // frames that passed the gate
    bool anyIdle;
    bool outputFinite; // set once the chunk's output is mixed
    bool idle[kFrames];
    // Input and output of the admitted frames: the caller's own arrays when
    // every frame passes, else the gathered arrays below, whose output is
    // spread back around the idle frames afterwards.
    const double* inLeft;
    const double* inRight;
    double* outLeft;
    double* outRight;
    alignas (16) double cleanLeft[kFrames]; // the input with unusable samples silenced
    alignas (16) double cleanRight[kFrames];
    alignas (16) double gatheredLeft[kFrames];
    alignas (16) double gatheredRight[kFrames];
    alignas (16) double mixedLeft[kFrames];
    alignas (16) double mixedRight[kFrames];
    alignas (16) StereoFrame mix[kFrames]; // equaliser input
};

// One kernel build per instruction set, each in its own translation unit with
// its own compiler flags. A call renders `chunk` up to its equaliser input and,
// alongside, the equaliser and mix of `previous`; either may be null.
void renderChunkSse2 (ReverbEngine& engine, EngineChunk* chunk, EngineChunk* previous);
void renderChunkAvx2 (ReverbEngine& engine, EngineChunk* chunk, EngineChunk* previous);
void renderChunkAvx512 (ReverbEngine& engine, EngineChunk* chunk, EngineChunk* previous);

// The instruction set each build's translation unit was compiled for, as its
// compiler's macros tell.
ReverbEngine::Kernel compiledForSse2 ();
ReverbEngine::Kernel compiledForAvx2 ();
ReverbEngine::Kernel compiledForAvx512 ();

#pragma once

// Eight stereo frames as one 512-bit register per channel, for the AVX-512
// kernels. Lane m holds frame 7 - m: a delay line counts its positions down,
// so that is the order the frames' slots have in memory. A short group (a
// run's tail) keeps its frames in the top lanes and masks the rest.

#include "StereoPair.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define QUILLMERE_AVX512_KERNEL 1

#define QUILLMERE_AVX512 __attribute__ ((target ("avx512f"), always_inline)) inline

struct EightFrameLanes
{
    // Lanes of the line slots that frames 0 .. frames-1 use.
    QUILLMERE_AVX512 static __mmask8 slotMask (int32_t frames) { return static_cast<__mmask8> (0xFF00u >> frames); }

    // Doubles of interleaved frames f .. f+3 that belong to frames 0 .. frames-1.
    QUILLMERE_AVX512 static __mmask8 firstHalfMask (int32_t frames)
    {
        return static_cast<__mmask8> (frames >= 4 ? 0xFF : (1u << (2 * frames)) - 1u);
    }
    QUILLMERE_AVX512 static __mmask8 secondHalfMask (int32_t frames)
    {
        return static_cast<__mmask8> (frames <= 4 ? 0 : (1u << (2 * (frames - 4))) - 1u);
    }

    QUILLMERE_AVX512 static void load (const StereoFrame* f, int32_t frames, __m512d& left, __m512d& right)
    {
        const __m512d a = _mm512_maskz_loadu_pd (firstHalfMask (frames), &f[0].left);
        const __m512d b = _mm512_maskz_loadu_pd (secondHalfMask (frames), &f[4].left);
        left = _mm512_permutex2var_pd (a, _mm512_set_epi64 (0, 2, 4, 6, 8, 10, 12, 14), b);
        right = _mm512_permutex2var_pd (a, _mm512_set_epi64 (1, 3, 5, 7, 9, 11, 13, 15), b);
    }

    QUILLMERE_AVX512 static void store (StereoFrame* f, int32_t frames, __m512d left, __m512d right)
    {
        const __m512d a = _mm512_permutex2var_pd (left, _mm512_set_epi64 (12, 4, 13, 5, 14, 6, 15, 7), right);
        const __m512d b = _mm512_permutex2var_pd (left, _mm512_set_epi64 (8, 0, 9, 1, 10, 2, 11, 3), right);
        _mm512_mask_storeu_pd (&f[0].left, firstHalfMask (frames), a);
        _mm512_mask_storeu_pd (&f[4].left, secondHalfMask (frames), b);
    }
};

#undef QUILLMERE_AVX512
#endif

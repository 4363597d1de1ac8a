#pragma once

// A left/right pair of doubles. Every stage does the same arithmetic on both
// channels, so the pair maps onto one SSE2 register where available. Each
// operation is a single correctly rounded IEEE operation per lane, so the
// scalar fallback gives bit-identical results.

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// One interleaved stereo frame in memory.
struct alignas (16) StereoFrame
{
    double left;
    double right;
};

#if defined(__SSE2__)

struct StereoPair
{
    __m128d v;
};

inline StereoPair pairOf (double left, double right) { return {_mm_set_pd (right, left)}; }
inline StereoPair pairSplat (double x) { return {_mm_set1_pd (x)}; }
inline StereoPair pairZero () { return {_mm_setzero_pd ()}; }
inline StereoPair loadPair (const double* two) { return {_mm_loadu_pd (two)}; }
// For pairs declared alignas (16); lets the compiler fold the load into the arithmetic.
inline StereoPair loadAligned (const double* two) { return {_mm_load_pd (two)}; }
inline StereoPair loadFrame (const StereoFrame& f) { return {_mm_load_pd (&f.left)}; }
inline void storeFrame (StereoFrame& f, StereoPair p) { _mm_store_pd (&f.left, p.v); }
inline void storePair (double* two, StereoPair p) { _mm_storeu_pd (two, p.v); }
// Left lane from one address, right lane from another.
inline StereoPair loadSplit (const double* left, const double* right)
{
    return {_mm_loadh_pd (_mm_load_sd (left), right)};
}
inline void storeSplit (double* left, double* right, StereoPair p)
{
    _mm_storel_pd (left, p.v);
    _mm_storeh_pd (right, p.v);
}
inline StereoPair swapped (StereoPair p) { return {_mm_shuffle_pd (p.v, p.v, 1)}; }
inline double leftOf (StereoPair p) { return _mm_cvtsd_f64 (p.v); }
inline double rightOf (StereoPair p) { return _mm_cvtsd_f64 (_mm_unpackhi_pd (p.v, p.v)); }

inline StereoPair operator+ (StereoPair a, StereoPair b) { return {_mm_add_pd (a.v, b.v)}; }
inline StereoPair operator- (StereoPair a, StereoPair b) { return {_mm_sub_pd (a.v, b.v)}; }
inline StereoPair operator* (StereoPair a, StereoPair b) { return {_mm_mul_pd (a.v, b.v)}; }
inline StereoPair operator/ (StereoPair a, StereoPair b) { return {_mm_div_pd (a.v, b.v)}; }

// Truncates both lanes toward zero; stores the integer parts less `offset`
// (wrapping, never overflowing) in whole[0] and whole[1], and returns t
// minus the integer parts.
inline StereoPair truncateLanes (StereoPair t, int32_t offset, int32_t whole[2])
{
    const __m128i parts = _mm_cvttpd_epi32 (t.v);
    _mm_storel_epi64 (reinterpret_cast<__m128i*> (whole), _mm_sub_epi32 (parts, _mm_set1_epi32 (offset)));
    return {_mm_sub_pd (t.v, _mm_cvtepi32_pd (parts))};
}

#else

struct StereoPair
{
    double l;
    double r;
};

inline StereoPair pairOf (double left, double right) { return {left, right}; }
inline StereoPair pairSplat (double x) { return {x, x}; }
inline StereoPair pairZero () { return {0.0, 0.0}; }
inline StereoPair loadPair (const double* two) { return {two[0], two[1]}; }
inline StereoPair loadAligned (const double* two) { return {two[0], two[1]}; }
inline StereoPair loadFrame (const StereoFrame& f) { return {f.left, f.right}; }
inline void storeFrame (StereoFrame& f, StereoPair p) { f.left = p.l; f.right = p.r; }
inline void storePair (double* two, StereoPair p) { two[0] = p.l; two[1] = p.r; }
inline StereoPair loadSplit (const double* left, const double* right) { return {*left, *right}; }
inline void storeSplit (double* left, double* right, StereoPair p) { *left = p.l; *right = p.r; }
inline StereoPair swapped (StereoPair p) { return {p.r, p.l}; }
inline double leftOf (StereoPair p) { return p.l; }
inline double rightOf (StereoPair p) { return p.r; }

inline StereoPair operator+ (StereoPair a, StereoPair b) { return {a.l + b.l, a.r + b.r}; }
inline StereoPair operator- (StereoPair a, StereoPair b) { return {a.l - b.l, a.r - b.r}; }
inline StereoPair operator* (StereoPair a, StereoPair b) { return {a.l * b.l, a.r * b.r}; }
inline StereoPair operator/ (StereoPair a, StereoPair b) { return {a.l / b.l, a.r / b.r}; }

inline StereoPair truncateLanes (StereoPair t, int32_t offset, int32_t whole[2])
{
    const int32_t left = static_cast<int32_t> (t.l);
    const int32_t right = static_cast<int32_t> (t.r);
    whole[0] = static_cast<int32_t> (static_cast<uint32_t> (left) - static_cast<uint32_t> (offset));
    whole[1] = static_cast<int32_t> (static_cast<uint32_t> (right) - static_cast<uint32_t> (offset));
    return {t.l - static_cast<double> (left), t.r - static_cast<double> (right)};
}

#endif

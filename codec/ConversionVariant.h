// The copies of the colour conversions' per-pixel code: on x86 one for the baseline instruction
// set, one for SSE4.1 and one for AVX2 (never with fused multiply-add), and on 64-bit x86 one for
// AVX-512, which converts two groups at a time (built by GCC, whose inline assembly it uses);
// elsewhere the baseline copy alone. The public conversions run the fastest copy the processor
// supports; the functions below run a chosen one, so that the codec's tests and benchmarks can
// reach every copy. Internal to the codec: the program and the plug-ins use ColourConvert.h.
#pragma once

#include <iterator>

enum class ConversionVariant { kBaseline, kSse41, kAvx2, kAvx512 };

#if defined(__x86_64__) && !defined(__clang__)
#define CONVERSION_X86_COPIES 1
#define CONVERSION_AVX512_COPY 1
inline constexpr ConversionVariant kCompiledConversionVariants[] = {
    ConversionVariant::kBaseline, ConversionVariant::kSse41, ConversionVariant::kAvx2,
    ConversionVariant::kAvx512};
#elif defined(__x86_64__) || defined(__i386__)
#define CONVERSION_X86_COPIES 1
inline constexpr ConversionVariant kCompiledConversionVariants[] = {
    ConversionVariant::kBaseline, ConversionVariant::kSse41, ConversionVariant::kAvx2};
#else
inline constexpr ConversionVariant kCompiledConversionVariants[] = {ConversionVariant::kBaseline};
#endif

// Short name of a copy, for test and benchmark names.
inline const char *ConversionVariantName(ConversionVariant variant) {
  switch (variant) {
    case ConversionVariant::kSse41:
      return "sse41";
    case ConversionVariant::kAvx2:
      return "avx2";
    case ConversionVariant::kAvx512:
      return "avx512";
    default:
      return "baseline";
  }
}

// Whether the running processor can run the copy.
inline bool ProcessorRuns(ConversionVariant variant) {
#ifdef CONVERSION_X86_COPIES
  switch (variant) {
    case ConversionVariant::kSse41:
      return __builtin_cpu_supports("sse4.1");
    case ConversionVariant::kAvx2:
      return __builtin_cpu_supports("avx2");
    case ConversionVariant::kAvx512:
#ifdef CONVERSION_AVX512_COPY
      return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl") &&
             __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512dq");
#else
      return false;
#endif
    default:
      return true;
  }
#else
  return variant == ConversionVariant::kBaseline;
#endif
}

// The copy that the public conversions run.
inline ConversionVariant FastestConversionVariant() {
  for (auto v = std::size(kCompiledConversionVariants); v-- > 0;) {
    if (ProcessorRuns(kCompiledConversionVariants[v])) return kCompiledConversionVariants[v];
  }
  return ConversionVariant::kBaseline;
}

// tranRGB2YUV and tranYUV2RGB with the given copy, which the processor must run; same arguments,
// results and failures.
int EncodePictureWith(ConversionVariant variant, const unsigned char *p_RGB, unsigned char **p_YUV,
                      int *lenYUV, int form, int flag);
int DecodeBodyWith(ConversionVariant variant, const unsigned char *p_YUV, int lenYUV,
                   unsigned char **p_RGB, int *lenRGB);

struct KdtPictureFormat;
// Decodes `body` laid out as `format` says into format.width x format.height RGB pixels at `rgb`,
// with the given copy; format.width is a multiple of 4 and at least 8. Reads only the slots'
// active bytes and writes only the picture's bytes, so the fuzz target also decodes small bodies
// of a layout of its own.
void DecodePictureWith(ConversionVariant variant, const KdtPictureFormat &format,
                       const unsigned char *body, unsigned char *rgb);

// Vectors and the exact arithmetic of the colour conversion.
//
// Each lane does IEEE double-precision operations whose results are those of the conversion's
// formulas, bit for bit. Where the formulas' operations are regrouped or replaced by cheaper ones
// (below, and in the encoder and the decoder), the replacement gives the formula's result for
// every value the conversion can give it, which the codec tests check value by value; the codec
// is built with floating-point contraction off, so no multiply and add are ever fused. The
// helpers are templates so that they serve single doubles and vectors alike.
#pragma once

#include <cstdint>
#include <type_traits>

// The helpers take and return 32-byte vectors; they are always inlined, so no call ever passes
// one by the platform's calling convention, whose change under AVX the compiler warns about.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpsabi"

using Double4 = double __attribute__((vector_size(32)));
using Double2 = double __attribute__((vector_size(16)));
using Float4 = float __attribute__((vector_size(16)));
using Int4 = int __attribute__((vector_size(16)));
using Bytes4 = unsigned char __attribute__((vector_size(4)));
using Bytes16 = unsigned char __attribute__((vector_size(16)));
using Bytes32 = unsigned char __attribute__((vector_size(32)));
using Word4 = uint64_t __attribute__((vector_size(32)));
using Word2 = uint64_t __attribute__((vector_size(16)));
// Two neighbouring groups side by side, in the copy with 64-byte registers.
using Double8 = double __attribute__((vector_size(64)));
using Float8 = float __attribute__((vector_size(32)));
using Int8 = int __attribute__((vector_size(32)));
using Word8 = uint64_t __attribute__((vector_size(64)));
using Bytes64 = unsigned char __attribute__((vector_size(64)));
using Shorts16 = short __attribute__((vector_size(32)));

// Everything on the per-pixel path is inlined, so that each entry point compiled for an
// instruction set of its own (see ConversionVariant.h) carries its own copy of it.
#define SAMPLE_INLINE [[gnu::always_inline]] inline

// The registers that hold a copy's 32-byte vectors: one whole register (AVX2), or two 16-byte
// halves (SSE and the baseline). Shuffles that cross the halves of a 32-byte vector are cheap in
// the first and are taken apart element by element in the second, so some helpers build their
// vectors differently for each. With 64-byte registers (AVX-512) a vector holds the lanes of two
// neighbouring groups, the first group's in its lower half: a line is converted two groups at a
// time.
enum class VectorRegisters { k16Bytes, k32Bytes, k64Bytes };

// The vector of doubles, and of 32-bit integers, that a copy works on: one group's lanes, or two
// neighbouring groups' lanes with 64-byte registers.
template <VectorRegisters kRegisters>
using GroupDoubles = std::conditional_t<kRegisters == VectorRegisters::k64Bytes, Double8, Double4>;
template <VectorRegisters kRegisters>
using GroupInts = std::conditional_t<kRegisters == VectorRegisters::k64Bytes, Int8, Int4>;

// Groups that a copy converts at a time.
template <VectorRegisters kRegisters>
inline constexpr int kGroupsAtOnce = kRegisters == VectorRegisters::k64Bytes ? 2 : 1;

// The four lane values of one group, for every group the vector holds.
template <class V>
SAMPLE_INLINE V EachGroup(double a, double b, double c, double d) {
  if constexpr (sizeof(V) == sizeof(Double8)) {
    return V{a, b, c, d, a, b, c, d};
  } else {
    return V{a, b, c, d};
  }
}

// Lanes 0 and 2 of each group, each twice (the lanes of a group's first and third pixel, which
// carry its chroma), and lanes 1 and 3, each twice.
template <class V>
SAMPLE_INLINE V EvenLanesTwice(V v) {
  if constexpr (sizeof(V) == sizeof(Double8)) {
    return __builtin_shufflevector(v, v, 0, 0, 2, 2, 4, 4, 6, 6);
  } else {
    return __builtin_shufflevector(v, v, 0, 0, 2, 2);
  }
}
template <class V>
SAMPLE_INLINE V OddLanesTwice(V v) {
  if constexpr (sizeof(V) == sizeof(Double8)) {
    return __builtin_shufflevector(v, v, 1, 1, 3, 3, 5, 5, 7, 7);
  } else {
    return __builtin_shufflevector(v, v, 1, 1, 3, 3);
  }
}

// The 32-byte vector whose halves are `low` and `high`.
SAMPLE_INLINE Double4 JoinHalves(Double2 low, Double2 high) {
  return __builtin_shufflevector(low, high, 0, 1, 2, 3);
}

// c / 255 of an 8-bit component c (held as a double), rounded to single precision and held as a
// double. The product with the reciprocal rounds to a different double than the quotient for
// some c, but never to a different single-precision value; the rounding to 24 significant bits
// is done by splitting the product (x (2^29 + 1) less its difference from x), which stays in
// double-precision registers. Both replacements give the formula's value for each of the 256
// components (the codec tests check them all).
template <class V>
SAMPLE_INLINE V UnitOfComponent(V c) {
  const V x = c * (1.0 / 255);
  const V spread = x * 536870913.0;  // 2^29 + 1
  return spread - (spread - x);
}

// A channel value (rounded to single precision) scaled for its byte: the formula scales a value
// from 0 to 1 in double precision, value * 255 + 0.5, rounds that to single precision and drops
// the fraction. Done in single precision throughout, value * 255 and then + 0.5 each rounded, it
// gives the same byte for every single-precision value from 0 to 1 (the codec tests check them
// all), at a fraction of the cost.
template <class F>
SAMPLE_INLINE F ScaledForByte(F value) {
  return value * 255.0f + 0.5f;
}

// The 16 bytes at `p` in each 16-byte quarter of a vector, in one instruction: the compiler
// would build the vector through memory.
SAMPLE_INLINE Bytes64 QuartersOf(const unsigned char *p) {
#if defined(__x86_64__) && !defined(__clang__)
  Bytes64 out;
  asm("vbroadcasti32x4 %1, %0" : "=v"(out) : "m"(*reinterpret_cast<const unsigned char(*)[16]>(p)));
  return out;
#else
  Bytes64 out;
  for (int i = 0; i < 64; ++i) out[i] = p[i % 16];
  return out;
#endif
}

// The bytes of `v` picked within each 16-byte part by `indexes` (an index with its top bit set
// gives 0), for vectors of 32 or 64 bytes, in one instruction: the compiler would build such a
// shuffle from several.
template <class Bytes>
SAMPLE_INLINE Bytes ShuffleWithinParts(Bytes v, Bytes indexes) {
#if defined(__x86_64__) && !defined(__clang__)
  Bytes out;
  asm("vpshufb %2, %1, %0" : "=v"(out) : "v"(v), "v"(indexes));
  return out;
#else
  Bytes out{};
  for (int i = 0; i < static_cast<int>(sizeof(Bytes)); ++i) {
    if ((indexes[i] & 0x80) == 0) out[i] = v[i / 16 * 16 + (indexes[i] & 15)];
  }
  return out;
#endif
}

// The eight integers as doubles, exactly, in one instruction: the compiler would take the
// conversion apart into halves.
SAMPLE_INLINE Double8 DoublesOf(Int8 v) {
#if defined(__x86_64__) && !defined(__clang__)
  Double8 d;
  asm("vcvtdq2pd %1, %0" : "=v"(d) : "v"(v));
  return d;
#else
  return __builtin_convertvector(v, Double8);
#endif
}

// The integers of `low` and `high` (each 0 to 65535) as 16-bit integers: in each 16-byte half,
// low's four of that half, then high's four; in one instruction.
SAMPLE_INLINE Shorts16 NarrowedToShorts(Int8 low, Int8 high) {
#if defined(__x86_64__) && !defined(__clang__)
  Shorts16 out;
  asm("vpackusdw %2, %1, %0" : "=v"(out) : "v"(low), "v"(high));
  return out;
#else
  Shorts16 out;
  for (int half = 0; half < 2; ++half) {
    for (int i = 0; i < 4; ++i) {
      out[8 * half + i] = static_cast<short>(low[4 * half + i]);
      out[8 * half + 4 + i] = static_cast<short>(high[4 * half + i]);
    }
  }
  return out;
#endif
}

// The integers of `low` and `high` as 16-bit integers, each limited to -32768..32767, laid out
// as NarrowedToShorts lays them; in one instruction.
SAMPLE_INLINE Shorts16 ShortsSaturated(Int8 low, Int8 high) {
#if defined(__x86_64__) && !defined(__clang__)
  Shorts16 out;
  asm("vpackssdw %2, %1, %0" : "=v"(out) : "v"(low), "v"(high));
  return out;
#else
  Shorts16 out;
  auto limit = [](int v) {
    return static_cast<short>(v < -32768 ? -32768 : v > 32767 ? 32767 : v);
  };
  for (int half = 0; half < 2; ++half) {
    for (int i = 0; i < 4; ++i) {
      out[8 * half + i] = limit(low[4 * half + i]);
      out[8 * half + 4 + i] = limit(high[4 * half + i]);
    }
  }
  return out;
#endif
}

// The 16-bit integers of `low` and `high` as bytes, each limited to 0..255: in each 16-byte
// half, low's eight of that half, then high's eight; in one instruction.
SAMPLE_INLINE Bytes32 BytesSaturated(Shorts16 low, Shorts16 high) {
#if defined(__x86_64__) && !defined(__clang__)
  Bytes32 out;
  asm("vpackuswb %2, %1, %0" : "=v"(out) : "v"(low), "v"(high));
  return out;
#else
  Bytes32 out;
  auto limit = [](int v) { return static_cast<unsigned char>(v < 0 ? 0 : v > 255 ? 255 : v); };
  for (int half = 0; half < 2; ++half) {
    for (int i = 0; i < 8; ++i) {
      out[16 * half + i] = limit(low[8 * half + i]);
      out[16 * half + 8 + i] = limit(high[8 * half + i]);
    }
  }
  return out;
#endif
}

// Each neighbouring pair of 16-bit integers multiplied by its pair of `weights` and added, as
// one 32-bit integer, in one instruction.
SAMPLE_INLINE Int8 MultiplyAddPairs(Shorts16 v, Shorts16 weights) {
#if defined(__x86_64__) && !defined(__clang__)
  Int8 out;
  asm("vpmaddwd %2, %1, %0" : "=v"(out) : "v"(v), "v"(weights));
  return out;
#else
  Int8 out;
  for (int i = 0; i < 8; ++i)
    out[i] = v[2 * i] * weights[2 * i] + v[2 * i + 1] * weights[2 * i + 1];
  return out;
#endif
}

#pragma GCC diagnostic pop

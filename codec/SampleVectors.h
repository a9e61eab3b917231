// Four-lane vectors for the colour conversion. Each lane does exactly the IEEE operation that the
// scalar formula does, so the results match it bit for bit; the codec is built with
// floating-point contraction off, so no multiply and add are fused.
#pragma once

using Double4 = double __attribute__((vector_size(32)));
using Float4 = float __attribute__((vector_size(16)));
using Int4 = int __attribute__((vector_size(16)));

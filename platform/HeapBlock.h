// What the C library can tell of a block on the process heap.
#pragma once

#include <cstddef>
#include <optional>

namespace platform {

// The bytes the heap block at `block` (as malloc, calloc or realloc returned it) may be used
// for, where the C library can tell; none where it cannot.
std::optional<size_t> HeapBlockBytes(const void *block);

}  // namespace platform

#include "platform/HeapBlock.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace platform {

std::optional<size_t> HeapBlockBytes(const void *block) {
#if defined(__GLIBC__)
  // The sanitizers' allocators answer this call too, with the size asked for.
  return malloc_usable_size(const_cast<void *>(block));
#else
  (void)block;
  return std::nullopt;
#endif
}

}  // namespace platform

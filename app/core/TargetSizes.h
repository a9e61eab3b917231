// The target sizes the parameter dialog of an import offers, by its size choice.
#pragma once

#include <cstdint>

struct TargetSize {
  uint32_t width;
  uint32_t height;
};

// The size of choice index; a choice outside the table takes the first size.
const TargetSize &TargetSizeOf(unsigned index);

// The size choice that matches a picture, told by width + height alone; 0 when none does.
int SizeIndexOf(uint32_t width, uint32_t height);

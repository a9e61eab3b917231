// The failure code that every codec step reports in place of 0.
#pragma once

enum : int {
  ERR_CODEC = 12000,
};

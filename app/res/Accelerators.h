// The accelerator table of the main window as data.
#pragma once

#include <span>

namespace res {

// Modifier flags of an accelerator.
enum : unsigned {
  kAccelCtrl = 1,
  kAccelAlt = 2,
  kAccelShift = 4,
};

// Keys: an upper-case letter stands for itself; the other keys have these codes.
enum : int {
  kKeyBackspace = 0x100,
  kKeyDelete,
  kKeyInsert,
  kKeyF6,
};

struct Accelerator {
  unsigned modifiers;  // kAccel* flags
  int key;             // 'A'..'Z' or a kKey* code
  unsigned command;
};

// Accelerator table IDR_MAINFRAME, in its order.
std::span<const Accelerator> MainAccelerators();

}  // namespace res

#include "app/res/Accelerators.h"

#include "app/res/Resource.h"

namespace res {

namespace {

constexpr Accelerator kMainAccelerators[] = {
    {kAccelCtrl, 'N', ID_FILE_NEW},
    {kAccelCtrl, 'O', ID_FILE_OPEN},
    {kAccelCtrl, 'S', ID_FILE_SAVE},
    {kAccelCtrl, 'P', ID_FILE_PRINT},
    {kAccelCtrl, 'Z', ID_EDIT_UNDO},
    {kAccelCtrl, 'X', ID_EDIT_CUT},
    {kAccelCtrl, 'C', ID_EDIT_COPY},
    {kAccelCtrl, 'V', ID_EDIT_PASTE},
    {kAccelAlt, kKeyBackspace, ID_EDIT_UNDO},
    {kAccelShift, kKeyDelete, ID_EDIT_CUT},
    {kAccelCtrl, kKeyInsert, ID_EDIT_COPY},
    {kAccelShift, kKeyInsert, ID_EDIT_PASTE},
    {0, kKeyF6, ID_NEXT_PANE},
    {kAccelShift, kKeyF6, ID_PREV_PANE},
};

}  // namespace

std::span<const Accelerator> MainAccelerators() {
  return kMainAccelerators;
}

}  // namespace res

#include "app/res/Dialogs.h"
#include "app/res/Resource.h"

namespace res {

std::span<const DialogTemplate> ConversionDialogTemplates() {
  return {};
}

}  // namespace res

#include "app/res/Dialogs.h"
#include "app/res/Resource.h"

namespace res {

std::span<const DialogTemplate> FilePaneDialogTemplates() {
  return {};
}

}  // namespace res

#include "app/core/PaneOperation.h"

#include "app/res/Resource.h"
#include "codec/KdtFormatName.h"

std::optional<PaneOperation> PaneOperationOf(unsigned id, const ExportFormats &exportFormats) {
  switch (id) {
    case res::ID_CONVERT_IMPORT:
      return PaneOperation{ConvertCommand::Import, kKdtFormat};
    case res::ID_FILE_PROPERTY:
      return PaneOperation{ConvertCommand::Property, ""};
    case res::ID_CONVERT_YC:
      return PaneOperation{ConvertCommand::ReverseFieldDominance, kKdtFormat};
    default:
      if (const std::string *format = exportFormats.FormatOf(id))
        return PaneOperation{ConvertCommand::ExportTo, *format};
      return std::nullopt;
  }
}

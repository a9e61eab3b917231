// What a conversion command asks of the file pane. The menu bar, the toolbar, the keys and the
// list's context menu send the same command ids; each caller keeps its own check of whether the
// command may run, and all of them run it alike.
#pragma once

#include <optional>
#include <string>

#include "app/core/CommandEnabling.h"
#include "app/core/ExportEntries.h"

struct PaneOperation {
  // The rule that enables it: Import, Property, ReverseFieldDominance or ExportTo.
  ConvertCommand command;
  // The format converted into: "KDT" for an import and the field exchange, the entry's format
  // for an export; empty for the property command.
  std::string objExt;
};

// The operation of command id: the import, property and field-exchange commands, and the
// export entries that exportFormats holds; nothing for any other id.
std::optional<PaneOperation> PaneOperationOf(unsigned id, const ExportFormats &exportFormats);

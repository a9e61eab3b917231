#include "app/core/CommandEnabling.h"

bool IsCommandEnabled(ConvertCommand command, const ConvertSelection &s) {
  switch (command) {
    case ConvertCommand::Import:
    case ConvertCommand::Settings:
      return s.nFiles > 0 && !s.bExport;
    case ConvertCommand::Property:
      return s.nFiles == 1;
    case ConvertCommand::ReverseFieldDominance:
      return s.nFiles > 0 && s.bExport;
    case ConvertCommand::Rename:
      return s.nFiles == 1 && s.bExport;
    case ConvertCommand::ExportTo:
      return s.nFiles >= 1 && s.bExport && s.hasExportFormats;
  }
  return false;
}

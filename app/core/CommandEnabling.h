// When the main window's conversion commands are enabled. The same rule decides what a menu,
// a toolbar button or a key shows and whether its command runs at all.
#pragma once

enum class ConvertCommand {
  Import,                 // "&Import To KDT"
  Property,               // "&Property", toolbar button 1
  ReverseFieldDominance,  // "&Reverse Field Dominance"
  Settings,               // toolbar button 2: an import
  Rename,                 // toolbar button 3
  ExportTo,               // the "&Export To" item and its entries
};

// What the rule is decided on, read from the file pane.
struct ConvertSelection {
  int bExport = 0;                // the selection is on the KDT side
  int nFiles = 0;                 // selected files; 0 when the selection cannot be converted
  bool hasExportFormats = false;  // a plug-in other than KDT offers a format
};

bool IsCommandEnabled(ConvertCommand command, const ConvertSelection &selection);

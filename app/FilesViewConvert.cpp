// The conversion workflows of the file pane: import and export, and the Y/C field exchange.
#include "app/FilesView.h"

void CFilesView::ConvertTo(int, const std::string &) {}

void CFilesView::YCConvertSet(int, const std::string &) {}

#include "app/FilesView.h"

CFilesView::CFilesView(wxWindow *parent) : wxPanel(parent, wxID_ANY) {
  m_imgEngine.Initialization();
  m_sFilesSet = m_imgEngine.GetFilesSet();
}

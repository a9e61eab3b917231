// The pane's conversion commands: each hands a copy of the selection to a conversion of
// app/convert, which runs the workflow's dialogs and its task; the pane keeps what outlasts the
// command (the size and shift choices, the task of a Y/C exchange) and refreshes its list.
#include <memory>
#include <string>

#include "app/convert/Conversion.h"
#include "app/filepane/ComboBoxFolder.h"
#include "app/filepane/FilesView.h"
#include "app/preview/DlgReview.h"

namespace {

// Makes conversion the pane's conversion under way until the command ends.
class UnderWay {
 public:
  UnderWay(Conversion *&slot, Conversion &conversion) : m_slot(slot) { m_slot = &conversion; }
  ~UnderWay() { m_slot = nullptr; }
  UnderWay(const UnderWay &) = delete;
  UnderWay &operator=(const UnderWay &) = delete;

 private:
  Conversion *&m_slot;
};

// The record of the previewed picture, or null.
const tagFileInfo *PreviewedRecord(const std::unique_ptr<CTaskBaseClass> &preview) {
  int count = 0;
  return preview != nullptr ? preview->GetFilesPropety(count) : nullptr;
}

// Does what a pass of an import or export left to the pane: the review of its target, then the
// refresh of the list. True when another pass follows.
bool FinishPass(const PassEnd &end, CImageFileEngine &engine, CComboBoxFolder *folders) {
  if (!end.review.empty()) {
    CDlgReview dlgReview(nullptr, engine);
    dlgReview.m_sfileName = end.review;
    dlgReview.DoModal();
  }
  if (end.refreshList && folders != nullptr) folders->UpdateFolderAgain();
  return end.again;
}

}  // namespace

bool CFilesView::IsConverting() {
  return m_conversion != nullptr && m_conversion->IsRunning();
}

void CFilesView::WaitForConversion() {
  if (m_conversion != nullptr) m_conversion->WaitForWorker();
}

ConversionRequest CFilesView::Request(const std::string &format) const {
  ConversionRequest request;
  request.files = m_sfilesInChoose;
  request.format = format;
  request.imageSize = m_uiImageSize;
  request.shiftMode = m_uiShiftMode;
  request.ycMode = m_convertMode;
  return request;
}

void CFilesView::ConvertTo(int bExport, const std::string &objExt) {
  if (m_sfilesInChoose.empty() || IsConverting()) return;
  // A Y/C task is kept from its run to the next; its worker has ended, so it can go now.
  m_pTaskOfConvert.reset();
  Conversion conversion(m_imgEngine, Request(objExt));
  const UnderWay underWay(m_conversion, conversion);
  while (FinishPass(conversion.ImportExportPass(bExport != 0, PreviewedRecord(m_pTaskOfPreview),
                                                ProcessTaskOfConvert),
                    m_imgEngine, m_cmbDirectory)) {
  }
  m_uiImageSize = conversion.Request().imageSize;
  m_uiShiftMode = conversion.Request().shiftMode;
}

int CFilesView::ProcessTaskOfConvert(CTaskBaseClass &task, const ConversionRequest &request) {
  return Conversion::ConvertFiles(task, request);
}

void CFilesView::YCConvertSet(int, const std::string &objExt) {
  if (m_sfilesInChoose.empty() || IsConverting()) return;
  Conversion conversion(m_imgEngine, Request(objExt));
  const UnderWay underWay(m_conversion, conversion);
  conversion.ExchangeFields(m_pTaskOfConvert, ProTaskOfYUVConv);
  m_convertMode = conversion.Request().ycMode;
}

int CFilesView::ProTaskOfYUVConv(CTaskBaseClass &task, const ConversionRequest &request) {
  return Conversion::ExchangeFieldsOfFiles(task, request);
}

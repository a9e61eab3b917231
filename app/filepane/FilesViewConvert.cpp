// The conversion workflows of the file pane: import and export (ConvertTo), and the Y/C field
// exchange "Reverse Field Dominance" (YCConvertSet). Each run builds a task, runs it on a
// worker thread while a modal progress dialog polls it, and reads the task's results only after
// the worker has ended.
#include <cstdint>
#include <cstdio>
#include <string>

#include "app/convert/DlgConProgress.h"
#include "app/convert/DlgProgress.h"
#include "app/convert/DlgSetting.h"
#include "app/convert/DlgStatusView.h"
#include "app/convert/DlgYCConvertSet.h"
#include "app/convert/TaskRun.h"
#include "app/core/TargetSizes.h"
#include "app/filepane/ComboBoxFolder.h"
#include "app/filepane/FilesView.h"
#include "app/preview/DlgReview.h"
#include "codec/TargetName.h"
#include "engine/TaskBatch.h"
#include "engine/TaskComposite.h"
#include "engine/TaskModeConv.h"
#include "platform/MessageBox.h"
#include "platform/StringCase.h"

namespace {

using namespace std::chrono_literals;

// The message for a failed run: the task's error text, or, when the task gave none, a text
// that names the target, so the operator never sees an empty box.
std::string FailureMessage(const std::string &errorInfo, const std::string &target) {
  if (!errorInfo.empty()) return errorInfo;
  return target + " can not be written.";
}

}  // namespace

bool CFilesView::IsConverting() {
  return !m_worker.WaitFor(0ms);
}

void CFilesView::WaitForConversion() {
  m_worker.Join();
}

void CFilesView::ConvertTo(int bExport, const std::string &objExt) {
  if (m_sfilesInChoose.empty() || IsConverting()) return;
  CDlgSetting dlgSetting(nullptr, m_sfilesInChoose, m_imgEngine);
  const int nfiles = static_cast<int>(m_sfilesInChoose.size());
  const std::string sfile = m_sfilesInChoose.front();
  m_sExt = objExt;
  // A Y/C task is kept from its run to the next; its worker has ended, so it can go now.
  m_pTaskOfConvert.reset();

  int bConvertFinished = 0;
  while (bConvertFinished == 0) {
    m_sTarget.clear();
    dlgSetting.m_bExport = bExport;
    dlgSetting.m_ifilesNum = nfiles;
    dlgSetting.m_iImgSize = 0;
    dlgSetting.m_iShiftMode = 0;
    dlgSetting.m_iCompositeMode = 0;
    dlgSetting.m_sTarget = sfile;
    dlgSetting.m_sExt = objExt;
    if (bExport && m_pTaskOfPreview != nullptr) {
      int count = 0;
      if (const tagFileInfo *record = m_pTaskOfPreview->GetFilesPropety(count)) {
        const uint32_t width = record->rgbInfo.width;
        const uint32_t height = record->rgbInfo.height;
        dlgSetting.m_sImageSize = std::to_string(width) + "*" + std::to_string(height);
        dlgSetting.m_iImgSize = SizeIndexOf(width, height);
      }
    }
    if (dlgSetting.DoModal() != platform::gui::kIdOk) return;

    m_uiComposite = static_cast<unsigned>(dlgSetting.m_iCompositeMode);
    m_uiImageSize = static_cast<unsigned>(dlgSetting.m_iImgSize);
    m_uiShiftMode = static_cast<unsigned>(dlgSetting.m_iShiftMode);
    m_sTarget = dlgSetting.m_sTarget;

    CDlgProgress dlgProgress(nullptr);
    if (m_uiComposite == 0) {
      m_pTaskOfConvert = std::make_unique<CTaskBatch>(m_imgEngine);
    } else {
      m_pTaskOfConvert = std::make_unique<CTaskComposite>(m_imgEngine);
    }
    dlgProgress.m_pTask = m_pTaskOfConvert.get();
    const TargetSize &size = TargetSizeOf(m_uiImageSize);
    m_pTaskOfConvert->UpdateConvParameter(size.width, size.height, m_uiShiftMode, m_uiComposite);
    m_iRetCode = 0;
    const TaskRunResult run = RunUnderProgress(m_worker, *m_pTaskOfConvert, dlgProgress,
                                               [this] { ThreadProcForConvert(this); });
    bConvertFinished = run.finished ? 1 : 0;
    m_iRetCode = run.retCode;
    const std::string &sErrorInfo = run.errorInfo;
    const std::string &sTargetFile = run.targetFile;
    m_pTaskOfConvert.reset();

    if (m_iRetCode != 0) {
      bConvertFinished = 0;
      platform::ShowMessageBox(
          FailureMessage(sErrorInfo, sTargetFile.empty() ? m_sTarget : sTargetFile));
    }
    if (bConvertFinished == 1) {
      CDlgStatusView dlgStatus(nullptr);
      dlgStatus.m_bReview = (nfiles == 1 || m_uiComposite > 0) ? 1 : 0;
      unsigned uiButton = 0;
      if (dlgStatus.DoModal() == platform::gui::kIdOk) uiButton = dlgStatus.m_uiButton;
      if (uiButton == 1) {
        bConvertFinished = 0;
      } else if (uiButton == 2) {
        CDlgReview dlgReview(nullptr, m_imgEngine);
        dlgReview.m_sfileName = sTargetFile;
        dlgReview.DoModal();
      }
      if (platform::EqualsNoCase(GetFolder(sfile), GetFolder(sTargetFile)) &&
          m_cmbDirectory != nullptr) {
        m_cmbDirectory->UpdateFolderAgain();
      }
    }
  }
}

int CFilesView::ProcessTaskOfConvert() {
  int ret = 0;
  if (m_pTaskOfConvert == nullptr) return 0;
  m_pTaskOfConvert->LoadRGB(m_sfilesInChoose, 0, ret);
  if (m_pTaskOfConvert->GetConvertResult() == 0) m_pTaskOfConvert->GetRGB(0);
  if (m_pTaskOfConvert->GetConvertResult() == 0) m_pTaskOfConvert->SaveRGB(m_sTarget, m_sExt);
  return ret;
}

uint32_t CFilesView::ThreadProcForConvert(void *lpParameter) {
  static_cast<CFilesView *>(lpParameter)->ProcessTaskOfConvert();
  return 0;
}

void CFilesView::YCConvertSet(int, const std::string &objExt) {
  if (m_sfilesInChoose.empty() || IsConverting()) return;
  CDlgYCConvertSet dlgYCConvert(nullptr);
  const size_t nfiles = m_sfilesInChoose.size();
  const std::string sfile = m_sfilesInChoose.front();
  m_sExt = objExt;
  dlgYCConvert.m_sTarget = sfile;
  dlgYCConvert.m_bStill = nfiles == 1 ? 1 : 0;
  if (dlgYCConvert.DoModal() != platform::gui::kIdOk) return;

  m_uiComposite = static_cast<unsigned>(CompositeMode::None);
  m_sTarget = dlgYCConvert.m_sTarget;
  CDlgConProgress dlgProgress(nullptr);
  m_pTaskOfConvert.reset();  // the task of the last run goes before the new one is made
  m_pTaskOfConvert = std::make_unique<CTaskModeConv>(m_imgEngine);
  dlgProgress.m_pModeConvert = m_pTaskOfConvert.get();
  const TargetSize &size = TargetSizeOf(m_uiImageSize);
  m_pTaskOfConvert->UpdateConvParameter(size.width, size.height, m_uiShiftMode, m_uiComposite);
  m_iRetCode = 0;
  if (dlgYCConvert.m_converMode >= 0 && dlgYCConvert.m_converMode <= 2) {
    m_convertMode = static_cast<unsigned>(dlgYCConvert.m_converMode);
  }
  // The still mode reaches 100 before it writes its target: only the run's end has the result.
  const TaskRunResult run = RunUnderProgress(
      m_worker, *m_pTaskOfConvert, dlgProgress, [this] { ThreadProcForYUVConv(this); },
      // The Y/C task stops a sequence only on its cancel flag, checked before each next file.
      [this] { m_pTaskOfConvert->m_cancelFlag = 1; });
  m_iRetCode = run.retCode;
  const std::string &sErrorInfo = run.errorInfo;
  const std::string &sTargetFile = run.targetFile;
  if (m_iRetCode != 0) {
    platform::ShowMessageBox(FailureMessage(
        sErrorInfo, sTargetFile.empty() ? m_sTarget + GetFileName(sfile) : sTargetFile));
  }
}

int CFilesView::ProTaskOfYUVConv() {
  int ret = 0;
  if (m_pTaskOfConvert == nullptr) return 0;
  if (m_sfilesInChoose.size() == 1) {
    m_pTaskOfConvert->LoadRGB(m_sfilesInChoose, 0, ret);
    if (m_pTaskOfConvert->GetConvertResult() == 0) {
      m_pTaskOfConvert->GetYUVDataSrc(static_cast<int>(m_convertMode));
      m_pTaskOfConvert->SaveRGB(m_sTarget, m_sExt);
    }
  } else {
    m_pTaskOfConvert->LoadAllRGB(m_sfilesInChoose, 0, ret, m_sTarget, m_sExt,
                                 static_cast<int>(m_convertMode));
  }
  return ret;
}

uint32_t CFilesView::ThreadProcForYUVConv(void *lpParameter) {
  static_cast<CFilesView *>(lpParameter)->ProTaskOfYUVConv();
  return 0;
}

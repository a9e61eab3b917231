#include "engine/TaskBaseClass.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>

#include "codec/DeviceFileName.h"
#include "codec/PictureBytes.h"
#include "codec/StillWriter.h"
#include "engine/ImageFileEngine.h"
#include "engine/RecordCheck.h"
#include "engine/TaskTexts.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"

CTaskBaseClass::CTaskBaseClass(CImageFileEngine &imgFileEngine) : m_imgEngine(imgFileEngine) {}

CTaskBaseClass::~CTaskBaseClass() {
  // The run has ended: a cancelled or failed one gets the old files back, a successful one
  // lets their old content go.
  if (m_bCancelled || m_iRetCode != 0) {
    PutBackKeptFiles();
  } else {
    for (const platform::KeptFile &kept : m_keptFiles) platform::LetGo(kept);
  }
  m_sfilesInSave.clear();
}

void CTaskBaseClass::LoadAllRGB(const std::vector<std::string> &, unsigned, int &,
                                const std::string &, const std::string &, int) {}

void CTaskBaseClass::GetYUVDataSrc(int) {}

tagFileInfo *CTaskBaseClass::GetFilesPropety(int &filesNum) {
  filesNum = static_cast<int>(m_ifilesNum);
  return m_ptFileInfo;
}

unsigned CTaskBaseClass::GetProgressStatus() {
  return static_cast<unsigned>(m_iProgress.load());
}

void CTaskBaseClass::UpdateConvParameter(uint32_t uiDstWidth, uint32_t uiDstHeight,
                                         uint32_t uiShiftMode, uint32_t uiCompositeMode) {
  m_uiObjectWidth = uiDstWidth;
  m_uiObjectHeight = uiDstHeight;
  m_uiShiftMode = uiShiftMode;
  m_uiCompositeMode = uiCompositeMode + 1;
}

void CTaskBaseClass::Stop() {
  m_bStopFlag = 1;
}

int CTaskBaseClass::GetConvertResult() const {
  return m_iRetCode;
}

std::string CTaskBaseClass::GetErrorInfo() const {
  return m_sErrorInfo;
}

std::string CTaskBaseClass::GetTargetFileName() const {
  return m_sTargetFileName;
}

void CTaskBaseClass::Cancel() {
  m_bCancelled = true;
  for (const std::string &path : m_sfilesInSave) {
    if (platform::PathExists(path)) platform::DeleteFile(path);
  }
  PutBackKeptFiles();
}

void CTaskBaseClass::PutBackKeptFiles(size_t first) {
  const auto putBack =
      std::remove_if(m_keptFiles.begin() + static_cast<std::ptrdiff_t>(first), m_keptFiles.end(),
                     [](const platform::KeptFile &kept) { return platform::PutBack(kept); });
  m_keptFiles.erase(putBack, m_keptFiles.end());
}

bool CTaskBaseClass::KeepOldContent(const std::vector<std::string> &names) {
  const size_t first = m_keptFiles.size();
  for (const std::string &name : names) {
    std::optional<platform::KeptFile> kept = platform::KeepFile(name);
    if (!kept) {
      for (size_t i = first; i < m_keptFiles.size(); ++i) platform::PutBack(m_keptFiles[i]);
      m_keptFiles.resize(first);
      return false;
    }
    m_keptFiles.push_back(std::move(*kept));
  }
  return true;
}

void CTaskBaseClass::FailTarget(const std::string &target, int code) {
  if (m_iFailedTarget == 0) m_sErrorInfo = target + task_text::kCannotWrite;
  KeepFailure(code);
}

bool CTaskBaseClass::MakeTargetsDurable(int failureCode) {
  const std::optional<std::string> unsynced = m_writtenTargets.SyncAll();
  if (unsynced) FailTarget(*unsynced, failureCode);
  return !unsynced;
}

void CTaskBaseClass::SetResult(int code) {
  m_iRetCode = code != 0 ? code : m_iFailedTarget;
}

void CTaskBaseClass::KeepFailure(int code) {
  m_iFailedTarget = code;
  SetResult(code);
}

void CTaskBaseClass::FailForMemory(const std::string &source) {
  SetResult(ERR_NO_MEMORY);
  m_sErrorInfo = source + task_text::kNoMemory;
}

tagFileInfo *CTaskBaseClass::LoadRgb(const std::string &sfileName, int isRGBReadIn, int &ret) {
  tagFileInfo *info = m_imgEngine.LoadRGB(sfileName, isRGBReadIn, ret);
  // A record whose buffers do not hold the size it claims is no picture of the file: every road
  // (preview, review, batch, composite, Y/C) would read past them. It fails as a damaged file
  // does, before any pixel is read.
  if (info != nullptr && !RecordHoldsItsPicture(*info)) {
    PluginFreeFileInfo(info);
    info = nullptr;
  }
  // A plug-in hands back the record of a file it cannot open without the file's name; the
  // record still stands for that file in a chain, and a later load of it by the name it holds
  // must name the file in its message too.
  if (info != nullptr && info->filename[0] == '\0' && PathFitsRecord(sfileName))
    std::memcpy(info->filename, sfileName.c_str(), sfileName.size() + 1);
  SetResult(ret);
  if (info == nullptr) SetResult(ERR_BAD_DATA);
  // A plug-in may hand back a record together with a failure code (a KDT file that cannot be
  // opened): the operator is told which file failed in that case too, not shown an empty box.
  if (info == nullptr || ret != 0) m_sErrorInfo = sfileName + task_text::LoadFailureText(sfileName);
  return info;
}

tagFileInfo *CTaskBaseClass::LoadPicture(const std::string &sfileName, int &ret) {
  tagFileInfo *info = LoadRgb(sfileName, 1, ret);
  // A record without pixels (a KDT still that fails its check, a bitmap stored top-down) would
  // become a black target reported as success.
  if (info != nullptr && (ret != 0 || info->rgbInfo.ptBits == nullptr)) {
    PluginFreeFileInfo(info);
    info = nullptr;
    SetResult(ret != 0 ? ret : ERR_BAD_DATA);
    m_sErrorInfo = sfileName + task_text::LoadFailureText(sfileName);
  }
  return info;
}

std::string CTaskBaseClass::Renumber(const std::string &candidate, const std::string &sExt) {
  // Only the file name may change: a name with fewer than three characters before its last
  // dot, or with no dot, gets the number after its stem instead of losing part of its folder.
  const size_t nameStart = static_cast<size_t>(getFileName(candidate.c_str()) - candidate.c_str());
  size_t dot = candidate.rfind('.');
  const bool hasDot = dot != std::string::npos && dot >= nameStart;
  if (!hasDot) dot = candidate.size();
  std::string base = candidate.substr(0, dot);
  int number = 1;
  if (hasDot && dot - nameStart >= 3) {
    number = std::atoi(base.substr(base.size() - 3).c_str()) + 1;
    base.resize(base.size() - 3);
  }
  char digits[16];
  std::snprintf(digits, sizeof digits, "%.3d", number);
  return base + digits + "." + sExt;
}

bool CTaskBaseClass::IsRecorded(const std::string &path) const {
  return std::find(m_sfilesInSave.begin(), m_sfilesInSave.end(), path) != m_sfilesInSave.end() ||
         std::any_of(m_keptFiles.begin(), m_keptFiles.end(),
                     [&path](const platform::KeptFile &kept) { return kept.path == path; });
}

int CTaskBaseClass::SaveRgb(const std::string &sObj, const std::string &sExt, tagRGBInfo *rgbInfo) {
  // With no picture nothing would be written, yet a recorded name would let Cancel delete a
  // file this task never wrote: refuse before asking, renumbering or recording anything.
  if (rgbInfo == nullptr || rgbInfo->ptBits == nullptr) {
    m_iRetCode = ERR_BAD_DATA;
    return ERR_BAD_DATA;
  }
  m_bOverWritting = 0;
  std::string candidate = sObj;
  // A file this task wrote itself (two sources that map to one target name) is never replaced
  // by it: its name is renumbered as after "No", without a question. So is any collision once
  // the run has failed: its progress dialog may have ended, and the question would come over
  // the bare window about a run whose targets are removed anyway.
  if (platform::PathExists(candidate) && m_bPopBox == 1 && !IsRecorded(candidate) &&
      m_iRetCode == 0) {
    const std::string question = sObj + " " + task_text::kAlreadyExists;
    const platform::MessageAnswer answer =
        platform::ShowMessageBox(question, platform::MessageButtons::YesNo);
    m_bOverWritting = answer == platform::MessageAnswer::Yes ? 1 : 0;
    m_bPopBox = 0;
  }
  if (m_bOverWritting == 0) {
    while (platform::PathExists(candidate)) candidate = Renumber(candidate, sExt);
  }
  m_sTargetFileName = candidate;
  SetResult(0);
  std::vector<std::string> names{candidate};
  if (rgbInfo->ptAlpha != nullptr) {
    // The key companion that the KDT writer puts beside the picture.
    names.push_back(KeyCompanionPath(candidate));
  }
  // An operator's file the save replaces keeps its old content aside until the run has ended,
  // so that a cancelled or failed run can give it back. What the save creates is recorded for
  // Cancel to delete. A folder in the way is left alone: the save fails on it.
  std::vector<std::string> replaced, created;
  for (const std::string &name : names) {
    const bool replaces =
        platform::PathExists(name) && !IsRecorded(name) && !platform::IsFolder(name);
    (replaces ? replaced : created).push_back(name);
  }
  const size_t firstKept = m_keptFiles.size();
  if (!KeepOldContent(replaced)) {
    // Without a way back the file is not replaced: the target fails and the file stays as it is.
    FailTarget(candidate, ERR_FILE_WRITE);
    return ERR_FILE_WRITE;
  }
  const size_t firstName = m_sfilesInSave.size();
  std::vector<platform::FileStamp> before;
  for (const std::string &name : created) {
    before.push_back(platform::StampOf(name));
    m_sfilesInSave.push_back(name);
  }
  const int result = m_imgEngine.SaveRGB(candidate, sExt, rgbInfo);
  if (result == 0) {
    // The files the plug-in wrote: the picture, and the key companion where its format has one.
    for (const std::string &name : names) {
      if (name == candidate || platform::PathExists(name)) m_writtenTargets.Add(name);
    }
    return 0;
  }
  // The files the save replaced get their old content back at once, not only when the run
  // ends: a picture and its key companion are never left one new and one old meanwhile.
  PutBackKeptFiles(firstKept);
  // A save that fails may have done so before touching its files (a refused name): what it
  // neither created nor changed is not this task's to delete.
  m_sfilesInSave.resize(firstName);
  for (size_t i = 0; i < created.size(); ++i) {
    const platform::FileStamp after = platform::StampOf(created[i]);
    if (after.exists && after != before[i]) m_sfilesInSave.push_back(created[i]);
  }
  FailTarget(candidate, result);
  return result;
}

void CTaskBaseClass::CramRgbIntoConvass(tagRGBInfo *pDstRgbInfo, const tagRGBInfo *pSrcRgbInfo,
                                        int iNO) {
  if (pDstRgbInfo == nullptr || pSrcRgbInfo == nullptr || pDstRgbInfo->ptBits == nullptr ||
      pSrcRgbInfo->ptBits == nullptr)
    return;
  const uint64_t W = m_uiObjectWidth;
  const uint64_t H = m_uiObjectHeight;
  const uint64_t n = m_uiCompositeMode;
  // The geometry is the task's; refuse a canvas of another size or a cell outside the grid
  // rather than write past the canvas.
  if (pDstRgbInfo->width != W || pDstRgbInfo->height != H || n == 0 || iNO < 0 ||
      static_cast<uint64_t>(iNO) >= n * n)
    return;
  const uint64_t cellW = W / n;
  const uint64_t cellH = H / n;
  const uint64_t srcW = pSrcRgbInfo->width;
  const uint64_t srcH = pSrcRgbInfo->height;
  const uint64_t w = std::min(cellW, srcW);
  const uint64_t h = std::min(cellH, srcH);
  const uint64_t row = static_cast<uint64_t>(iNO) / n;
  const uint64_t column = static_cast<uint64_t>(iNO) % n;

  uint64_t dstRow = row * cellH;
  uint64_t srcRow = 0;
  int64_t rows = static_cast<int64_t>(h);
  if (m_uiShiftMode == ShiftDown) {
    dstRow += 1;
    rows -= 1;
  } else if (m_uiShiftMode == ShiftUp) {
    srcRow = 1;
    rows = std::min(static_cast<int64_t>(cellH), static_cast<int64_t>(srcH) - 1);
  }
  if (rows <= 0 || w == 0) return;

  const uint64_t dstStride = W * 3;
  const uint64_t srcStride = srcW * 3;
  unsigned char *dst = pDstRgbInfo->ptBits + dstRow * dstStride + column * cellW * 3;
  const unsigned char *src = pSrcRgbInfo->ptBits + srcRow * srcStride;
  for (int64_t r = 0; r < rows; ++r) {
    std::memcpy(dst, src, w * 3);
    dst += dstStride;
    src += srcStride;
  }
}

tagRGBInfo *CTaskBaseClass::NewPicture(const tagRGBInfo &like, uint32_t width, uint32_t height,
                                       Pixels pixels) {
  tagRGBInfo *picture = new (std::nothrow) tagRGBInfo(like);
  if (picture == nullptr) return nullptr;
  picture->width = width;
  picture->height = height;
  picture->ptAlpha = nullptr;
  const std::optional<size_t> bytes = PictureBytes(width, height, 3);
  if (!bytes) {
    picture->ptBits = nullptr;
  } else if (pixels == Pixels::Zeroed) {
    picture->ptBits = new (std::nothrow) unsigned char[*bytes]();
  } else {
    picture->ptBits = new (std::nothrow) unsigned char[*bytes];
  }
  if (picture->ptBits == nullptr) {
    delete picture;
    return nullptr;
  }
  return picture;
}

tagRGBInfo *CTaskBaseClass::PictureOfRecord(const tagFileInfo *record, int bOrig) {
  if (record == nullptr || record->rgbInfo.ptBits == nullptr) return nullptr;
  const tagRGBInfo &source = record->rgbInfo;
  if (bOrig == 0) {
    tagRGBInfo *canvas = NewPicture(source, m_uiObjectWidth, m_uiObjectHeight);
    if (canvas == nullptr) {
      FailForMemory(FileNameOf(*record));
      return nullptr;
    }
    CramRgbIntoConvass(canvas, &source, 0);
    return canvas;
  }
  tagRGBInfo *copy = NewPicture(source, source.width, source.height, Pixels::Unset);
  // NewPicture checked the size of the pixels; the key plane's, a third of it, passes as well.
  const size_t keyBytes = PictureBytes(source.width, source.height, 1).value_or(0);
  if (copy != nullptr && source.ptAlpha != nullptr) {
    copy->ptAlpha = new (std::nothrow) unsigned char[keyBytes];
    if (copy->ptAlpha == nullptr) DeletePicture(copy);
  }
  if (copy == nullptr) {
    FailForMemory(FileNameOf(*record));
    return nullptr;
  }
  std::memcpy(copy->ptBits, source.ptBits, keyBytes * 3);
  if (copy->ptAlpha != nullptr) std::memcpy(copy->ptAlpha, source.ptAlpha, keyBytes);
  return copy;
}

void CTaskBaseClass::DeletePicture(tagRGBInfo *&picture) {
  if (picture == nullptr) return;
  delete[] picture->ptBits;
  delete[] picture->ptAlpha;
  delete picture;
  picture = nullptr;
}

tagFileInfo *CTaskBaseClass::LoadFileChain(const std::vector<std::string> &filesName,
                                           int isRGBReadIn, int &ret, int progressStep) {
  if (filesName.empty()) return nullptr;
  auto load = [&](const std::string &path) {
    return isRGBReadIn != 0 ? LoadPicture(path, ret) : LoadRgb(path, 0, ret);
  };
  tagFileInfo *head = load(filesName.front());
  if (head != nullptr) head->next = nullptr;
  tagFileInfo *last = head;
  for (size_t i = 1; i < filesName.size() && last != nullptr; ++i) {
    last->next = load(filesName[i]);
    last = last->next;
    if (last != nullptr) last->next = nullptr;
    m_iProgress += progressStep;
  }
  return head;
}

void CTaskBaseClass::FreeFileChain(tagFileInfo *&head) {
  while (head != nullptr) {
    tagFileInfo *next = head->next;
    PluginFreeFileInfo(head);
    head = next;
  }
}

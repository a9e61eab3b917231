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

namespace {

// The task's canvas: W x H, n cells per side, and the shift applied to each source.
struct CanvasGrid {
  uint64_t width;
  uint64_t height;
  uint64_t cellsPerSide;
  uint32_t shiftMode;
};

// Which rows of a source go into one cell: the first canvas row written, the first source row
// read and the number of rows, after the shift.
struct RowSpan {
  uint64_t canvasRow;
  uint64_t sourceRow;
  int64_t rows;
};

// The bytes of a source that go into one cell of the canvas, row by row.
struct CellCopy {
  uint64_t canvasOffset = 0;  // first byte written in the canvas
  uint64_t sourceOffset = 0;  // first byte read from the source
  uint64_t canvasStride = 0;
  uint64_t sourceStride = 0;
  uint64_t rowBytes = 0;
  int64_t rows = 0;
};

// Whether canvas is the grid's size and iNO one of its cells.
bool CanvasHoldsCell(const CanvasGrid &grid, const tagRGBInfo &canvas, int iNO) {
  const uint64_t n = grid.cellsPerSide;
  return canvas.width == grid.width && canvas.height == grid.height && n != 0 && iNO >= 0 &&
         static_cast<uint64_t>(iNO) < n * n;
}

// Down: the cell's first row stays as it was and the source's last copied row is dropped. Up:
// the source is read from its second row, so the cell's last row may stay as it was.
RowSpan ShiftRows(uint32_t shiftMode, uint64_t cellTop, uint64_t cellHeight,
                  uint64_t sourceHeight) {
  const int64_t rows = static_cast<int64_t>(std::min(cellHeight, sourceHeight));
  if (shiftMode == ShiftDown) return {cellTop + 1, 0, rows - 1};
  if (shiftMode == ShiftUp) {
    return {cellTop, 1,
            std::min(static_cast<int64_t>(cellHeight), static_cast<int64_t>(sourceHeight) - 1)};
  }
  return {cellTop, 0, rows};
}

// A source larger than its cell is cropped at the right and bottom, never scaled; a smaller one
// sits in the cell's top left corner.
CellCopy PlanCellCopy(const CanvasGrid &grid, const tagRGBInfo &source, int iNO) {
  const uint64_t n = grid.cellsPerSide;
  const uint64_t cellWidth = grid.width / n;
  const uint64_t cellHeight = grid.height / n;
  const uint64_t cell = static_cast<uint64_t>(iNO);
  const RowSpan span = ShiftRows(grid.shiftMode, cell / n * cellHeight, cellHeight, source.height);
  CellCopy copy;
  copy.canvasStride = grid.width * 3;
  copy.sourceStride = uint64_t{source.width} * 3;
  copy.rowBytes = std::min(cellWidth, uint64_t{source.width}) * 3;
  copy.rows = span.rows;
  copy.canvasOffset = span.canvasRow * copy.canvasStride + cell % n * cellWidth * 3;
  copy.sourceOffset = span.sourceRow * copy.sourceStride;
  return copy;
}

void CopyRows(unsigned char *canvas, const unsigned char *source, const CellCopy &copy) {
  unsigned char *dst = canvas + copy.canvasOffset;
  const unsigned char *src = source + copy.sourceOffset;
  for (int64_t r = 0; r < copy.rows; ++r) {
    std::memcpy(dst, src, copy.rowBytes);
    dst += copy.canvasStride;
    src += copy.sourceStride;
  }
}

}  // namespace

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

std::string CTaskBaseClass::ChooseTargetName(const std::string &sObj, const std::string &sExt) {
  m_bOverWritting = 0;
  // A file this task wrote itself (two sources that map to one target name) is never replaced
  // by it: its name is renumbered as after "No", without a question. So is any collision once
  // the run has failed: its progress dialog may have ended, and the question would come over
  // the bare window about a run whose targets are removed anyway.
  if (platform::PathExists(sObj) && m_bPopBox == 1 && !IsRecorded(sObj) && m_iRetCode == 0)
    AskToOverwrite(sObj);
  std::string candidate = sObj;
  if (m_bOverWritting == 0) {
    while (platform::PathExists(candidate)) candidate = Renumber(candidate, sExt);
  }
  return candidate;
}

void CTaskBaseClass::AskToOverwrite(const std::string &sObj) {
  const std::string question = sObj + " " + task_text::kAlreadyExists;
  const platform::MessageAnswer answer =
      platform::ShowMessageBox(question, platform::MessageButtons::YesNo);
  m_bOverWritting = answer == platform::MessageAnswer::Yes ? 1 : 0;
  m_bPopBox = 0;
}

CTaskBaseClass::SaveFiles CTaskBaseClass::SortSaveFiles(const std::string &target,
                                                        const tagRGBInfo &rgbInfo) const {
  SaveFiles files;
  files.names.push_back(target);
  // The key companion that the KDT writer puts beside the picture.
  if (rgbInfo.ptAlpha != nullptr) files.names.push_back(KeyCompanionPath(target));
  // An operator's file the save replaces keeps its old content aside until the run has ended,
  // so that a cancelled or failed run can give it back. What the save creates is recorded for
  // Cancel to delete. A folder in the way is left alone: the save fails on it.
  for (const std::string &name : files.names) {
    const bool replaces =
        platform::PathExists(name) && !IsRecorded(name) && !platform::IsFolder(name);
    (replaces ? files.replaced : files.created).push_back(name);
  }
  return files;
}

void CTaskBaseClass::RecordCreatedFiles(SaveFiles &files) {
  files.firstName = m_sfilesInSave.size();
  for (const std::string &name : files.created) {
    files.before.push_back(platform::StampOf(name));
    m_sfilesInSave.push_back(name);
  }
}

void CTaskBaseClass::RecordWrittenFiles(const SaveFiles &files) {
  // The files the plug-in wrote: the picture, and the key companion where its format has one.
  const std::string &target = files.names.front();
  for (const std::string &name : files.names) {
    if (name == target || platform::PathExists(name)) m_writtenTargets.Add(name);
  }
}

void CTaskBaseClass::UndoFailedSave(const SaveFiles &files) {
  // The files the save replaced get their old content back at once, not only when the run
  // ends: a picture and its key companion are never left one new and one old meanwhile.
  PutBackKeptFiles(files.firstKept);
  // A save that fails may have done so before touching its files (a refused name): what it
  // neither created nor changed is not this task's to delete.
  m_sfilesInSave.resize(files.firstName);
  for (size_t i = 0; i < files.created.size(); ++i) {
    const platform::FileStamp after = platform::StampOf(files.created[i]);
    if (after.exists && after != files.before[i]) m_sfilesInSave.push_back(files.created[i]);
  }
}

int CTaskBaseClass::SaveRgb(const std::string &sObj, const std::string &sExt, tagRGBInfo *rgbInfo) {
  // With no picture nothing would be written, yet a recorded name would let Cancel delete a
  // file this task never wrote: refuse before asking, renumbering or recording anything.
  if (rgbInfo == nullptr || rgbInfo->ptBits == nullptr) {
    m_iRetCode = ERR_BAD_DATA;
    return ERR_BAD_DATA;
  }
  const std::string candidate = ChooseTargetName(sObj, sExt);
  m_sTargetFileName = candidate;
  SetResult(0);
  SaveFiles files = SortSaveFiles(candidate, *rgbInfo);
  files.firstKept = m_keptFiles.size();
  if (!KeepOldContent(files.replaced)) {
    // Without a way back the file is not replaced: the target fails and the file stays as it is.
    FailTarget(candidate, ERR_FILE_WRITE);
    return ERR_FILE_WRITE;
  }
  RecordCreatedFiles(files);
  const int result = m_imgEngine.SaveRGB(candidate, sExt, rgbInfo);
  if (result == 0) {
    RecordWrittenFiles(files);
    return 0;
  }
  UndoFailedSave(files);
  FailTarget(candidate, result);
  return result;
}

void CTaskBaseClass::CramRgbIntoConvass(tagRGBInfo *pDstRgbInfo, const tagRGBInfo *pSrcRgbInfo,
                                        int iNO) {
  if (pDstRgbInfo == nullptr || pSrcRgbInfo == nullptr || pDstRgbInfo->ptBits == nullptr ||
      pSrcRgbInfo->ptBits == nullptr)
    return;
  const CanvasGrid grid{m_uiObjectWidth, m_uiObjectHeight, m_uiCompositeMode, m_uiShiftMode};
  // The geometry is the task's; refuse a canvas of another size or a cell outside the grid
  // rather than write past the canvas.
  if (!CanvasHoldsCell(grid, *pDstRgbInfo, iNO)) return;
  const CellCopy copy = PlanCellCopy(grid, *pSrcRgbInfo, iNO);
  if (copy.rows <= 0 || copy.rowBytes == 0) return;
  CopyRows(pDstRgbInfo->ptBits, pSrcRgbInfo->ptBits, copy);
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

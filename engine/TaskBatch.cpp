#include "engine/TaskBatch.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "codec/KdtFormatName.h"
#include "codec/PictureBytes.h"
#include "codec/TargetName.h"
#include "engine/ImageFileEngine.h"
#include "platform/StringCase.h"

CTaskBatch::CTaskBatch(CImageFileEngine &imgFileEngine) : CTaskBaseClass(imgFileEngine) {}

CTaskBatch::~CTaskBatch() {
  FreeFileChain(m_ptFileInfo);
}

void CTaskBatch::LoadRGB(const std::vector<std::string> &filesName, unsigned, int &ret) {
  ret = 0;
  const uint32_t k = static_cast<uint32_t>(filesName.size());
  m_ifilesNum = k;
  if (k == 0) {
    ret = ERR_FILE_COUNT;
    return;
  }
  FreeFileChain(m_ptFileInfo);
  m_ptFileInfo = LoadFileChain(filesName, 0, ret, 0);
  m_iProgress = 10;
}

tagRGBInfo *CTaskBatch::GetRGB(int) {
  return nullptr;
}

tagRGBInfo *CTaskBatch::BuildTarget(const tagFileInfo &record, const tagFileInfo &loaded) {
  const uint32_t W = m_uiObjectWidth;
  const uint32_t H = m_uiObjectHeight;
  tagRGBInfo *picture = NewPicture(record.rgbInfo, W, H);
  if (picture == nullptr) return nullptr;
  CramRgbIntoConvass(picture, &loaded.rgbInfo, 0);
  // The key rows come from the full load; a source whose full load has no key plane (whatever
  // its record said) gets none. The key plane is never shifted.
  const tagRGBInfo &source = loaded.rgbInfo;
  if (record.rgbInfo.ptAlpha != nullptr && source.ptAlpha != nullptr) {
    // NewPicture checked the size of the pixels; the key plane's, a third of it, passes too.
    picture->ptAlpha = new (std::nothrow) unsigned char[PictureBytes(W, H, 1).value_or(0)]();
    if (picture->ptAlpha == nullptr) {
      DeletePicture(picture);
      return nullptr;
    }
    const size_t rows = std::min(source.height, H);
    const size_t columns = std::min(source.width, W);
    for (size_t r = 0; r < rows; ++r) {
      std::memcpy(picture->ptAlpha + r * W, source.ptAlpha + r * source.width, columns);
    }
  }
  return picture;
}

bool CTaskBatch::FillsTheCanvas(const tagRGBInfo &source) const {
  return source.ptBits != nullptr && source.width == m_uiObjectWidth &&
         source.height == m_uiObjectHeight && m_uiShiftMode == ShiftNormal;
}

tagRGBInfo CTaskBatch::SourceAsTarget(const tagFileInfo &record, const tagFileInfo &loaded) {
  tagRGBInfo picture = record.rgbInfo;
  picture.width = loaded.rgbInfo.width;
  picture.height = loaded.rgbInfo.height;
  picture.ptBits = loaded.rgbInfo.ptBits;
  // The key rows a canvas would take are the whole of the loaded key plane.
  picture.ptAlpha = record.rgbInfo.ptAlpha != nullptr ? loaded.rgbInfo.ptAlpha : nullptr;
  return picture;
}

int CTaskBatch::SaveTargetOf(const tagFileInfo &record, const tagFileInfo &loaded,
                             const std::string &target, const std::string &sExt) {
  // A source of exactly the target's size, unshifted, would be copied whole onto a canvas it
  // fills: its own pixels are saved instead, which writes the same file.
  if (FillsTheCanvas(loaded.rgbInfo)) {
    tagRGBInfo sourceAsTarget = SourceAsTarget(record, loaded);
    return SaveRgb(target, sExt, &sourceAsTarget);
  }
  tagRGBInfo *built = BuildTarget(record, loaded);
  if (built == nullptr) {
    FailForMemory(FileNameOf(record));
    KeepFailure(ERR_NO_MEMORY);
    return ERR_NO_MEMORY;
  }
  const int result = SaveRgb(target, sExt, built);
  DeletePicture(built);
  return result;
}

int CTaskBatch::SyncAfterLastTarget(int result) {
  if (result == 0 && m_iFailedTarget == 0 && !MakeTargetsDurable(ERR_FILE_WRITE))
    return ERR_FILE_WRITE;
  return result;
}

int CTaskBatch::SaveRGB(const std::string &sObj, const std::string &sExt) {
  m_uiCompositeMode = 1;  // each target is a single picture
  const uint32_t k = m_ifilesNum;
  const int step = k == 0 ? 0 : static_cast<int>(45 / k);
  const bool toKdt = platform::EqualsNoCase(sExt, kKdtFormat);
  int result = 0;
  uint32_t done = 0;
  for (const tagFileInfo *record = m_ptFileInfo; record != nullptr && done < k;
       record = record->next, ++done) {
    const std::string sourceName = FileNameOf(*record);
    tagFileInfo *loaded = LoadPicture(sourceName, result);
    m_iProgress += step;
    if (loaded == nullptr) return ERR_NO_ENGINE;
    if (!toKdt) {
      m_uiObjectWidth = record->rgbInfo.width;
      m_uiObjectHeight = record->rgbInfo.height;
    }
    result = SaveTargetOf(*record, *loaded, sObj + MakeTargetName(sourceName, sExt), sExt);
    // The targets of a run that went well reach the disk before its last step of progress,
    // which may already make 100.
    if (done + 1 == k || record->next == nullptr) result = SyncAfterLastTarget(result);
    m_iProgress += step;
    PluginFreeFileInfo(loaded);
    if (m_bStopFlag != 0) return ERR_STOPPED;
  }
  // A target that failed on the way fails the run, however the last one went.
  if (result == 0) result = m_iFailedTarget;
  if (result == 0) m_iProgress = 100;
  return result;
}

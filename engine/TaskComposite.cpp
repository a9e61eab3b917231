#include "engine/TaskComposite.h"

CTaskComposite::CTaskComposite(CImageFileEngine &imgFileEngine) : CTaskBaseClass(imgFileEngine) {}

CTaskComposite::~CTaskComposite() {
  FreeFileChain(m_ptFileInfo);
  DeletePicture(m_ptRGBInfo);
}

void CTaskComposite::LoadRGB(const std::vector<std::string> &filesName, unsigned, int &ret) {
  ret = 0;
  const uint32_t k = static_cast<uint32_t>(filesName.size());
  m_ifilesNum = k;
  if (k == 0) {
    ret = ERR_FILE_COUNT;
    m_iRetCode = ERR_FILE_COUNT;
    return;
  }
  FreeFileChain(m_ptFileInfo);
  m_ptFileInfo = LoadFileChain(filesName, 1, ret, static_cast<int>(80 / (k + 1)));
  m_iProgress = 10;
}

tagRGBInfo *CTaskComposite::GetRGB(int) {
  m_uiShiftMode = ShiftNormal;
  DeletePicture(m_ptRGBInfo);
  if (m_ptFileInfo == nullptr || m_ptFileInfo->rgbInfo.ptBits == nullptr) return nullptr;
  m_ptRGBInfo = NewPicture(m_ptFileInfo->rgbInfo, m_uiObjectWidth, m_uiObjectHeight);
  if (m_ptRGBInfo == nullptr) {
    FailForMemory(FileNameOf(*m_ptFileInfo));
    return nullptr;
  }
  const uint64_t cells = static_cast<uint64_t>(m_uiCompositeMode) * m_uiCompositeMode;
  uint32_t i = 0;
  for (const tagFileInfo *record = m_ptFileInfo; record != nullptr && i < m_ifilesNum && i < cells;
       record = record->next, ++i) {
    CramRgbIntoConvass(m_ptRGBInfo, &record->rgbInfo, static_cast<int>(i));
  }
  m_iProgress += 10;
  return m_ptRGBInfo;
}

int CTaskComposite::SaveRGB(const std::string &sObj, const std::string &sExt) {
  int result = SaveRgb(sObj, sExt, m_ptRGBInfo);
  if (result == 0 && !MakeTargetsDurable(ERR_FILE_WRITE)) result = ERR_FILE_WRITE;
  if (result == 0) m_iProgress = 100;
  return result;
}

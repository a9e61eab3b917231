#include "engine/TaskBasic.h"

#include <cstring>
#include <new>

CTaskBasic::CTaskBasic(CImageFileEngine &imgFileEngine) : CTaskBaseClass(imgFileEngine) {}

CTaskBasic::~CTaskBasic() {
  PluginFreeFileInfo(m_ptFileInfo);
  DeletePicture(m_ptRGBInfo);
}

void CTaskBasic::LoadRGB(const std::vector<std::string> &filesName, unsigned, int &ret) {
  ret = 0;
  m_ifilesNum = static_cast<uint32_t>(filesName.size());
  if (filesName.size() != 1) {
    ret = ERR_FILE_COUNT;
    m_iRetCode = ERR_FILE_COUNT;
    return;
  }
  PluginFreeFileInfo(m_ptFileInfo);
  m_ptFileInfo = LoadRgb(filesName.front(), 1, ret);
}

tagRGBInfo *CTaskBasic::GetRGB(int bOrig) {
  DeletePicture(m_ptRGBInfo);
  if (m_ptFileInfo == nullptr || m_ptFileInfo->rgbInfo.ptBits == nullptr) return nullptr;
  const tagRGBInfo &source = m_ptFileInfo->rgbInfo;
  if (bOrig != 0) {
    m_ptRGBInfo = NewPicture(source, source.width, source.height);
    if (m_ptRGBInfo == nullptr) return nullptr;
    const size_t pixels = static_cast<size_t>(source.width) * source.height;
    std::memcpy(m_ptRGBInfo->ptBits, source.ptBits, pixels * 3);
    if (source.ptAlpha != nullptr) {
      m_ptRGBInfo->ptAlpha = new (std::nothrow) unsigned char[pixels];
      if (m_ptRGBInfo->ptAlpha == nullptr) {
        DeletePicture(m_ptRGBInfo);
        return nullptr;
      }
      std::memcpy(m_ptRGBInfo->ptAlpha, source.ptAlpha, pixels);
    }
  } else {
    m_ptRGBInfo = NewPicture(source, m_uiObjectWidth, m_uiObjectHeight);
    if (m_ptRGBInfo == nullptr) return nullptr;
    CramRgbIntoConvass(m_ptRGBInfo, &source, 0);
  }
  return m_ptRGBInfo;
}

tagFileInfo *CTaskBasic::GetFilesPropety(int &filesNum) {
  filesNum = static_cast<int>(m_ifilesNum);
  return m_ptFileInfo;
}

unsigned CTaskBasic::GetProgressStatus() {
  return 100;
}

int CTaskBasic::SaveRGB(const std::string &sObj, const std::string &sExt) {
  return SaveRgb(sObj, sExt, m_ptRGBInfo);
}

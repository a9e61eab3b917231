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
  m_ptRGBInfo = PictureOfRecord(m_ptFileInfo, bOrig);
  return m_ptRGBInfo;
}

unsigned CTaskBasic::GetProgressStatus() {
  return 100;
}

int CTaskBasic::SaveRGB(const std::string &sObj, const std::string &sExt) {
  return SaveRgb(sObj, sExt, m_ptRGBInfo);
}

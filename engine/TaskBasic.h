// A task on exactly one file: loads it for the preview, the properties and the review, and can
// build a target picture of the task's canvas size and save it.
#pragma once

#include "engine/TaskBaseClass.h"

class CTaskBasic : public CTaskBaseClass {
 public:
  explicit CTaskBasic(CImageFileEngine &imgFileEngine);
  ~CTaskBasic() override;

  // Exactly one path; loads its pixels. Any other count gives ERR_FILE_COUNT and keeps what
  // was loaded before.
  void LoadRGB(const std::vector<std::string> &filesName, unsigned flag, int &ret) override;
  // 1: a copy of the loaded picture (key plane included); 0: the picture in cell 0 of a W x H
  // canvas. Null when nothing with pixels is loaded.
  tagRGBInfo *GetRGB(int bOrig) override;
  // Always 100: the task does its work in one call on the caller's thread.
  unsigned GetProgressStatus() override;
  // Saves the picture of the last GetRGB.
  int SaveRGB(const std::string &sObj, const std::string &sExt) override;

 protected:
  tagRGBInfo *m_ptRGBInfo = nullptr;  // the picture made by the last GetRGB
};

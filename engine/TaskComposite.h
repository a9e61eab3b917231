// A task that places several sources into an n x n grid on one canvas of the chosen target
// size and saves that canvas as one target file.
#pragma once

#include "engine/TaskBaseClass.h"

class CTaskComposite : public CTaskBaseClass {
 public:
  explicit CTaskComposite(CImageFileEngine &imgFileEngine);
  ~CTaskComposite() override;

  // One path or more; loads every source with pixels into a chain, stopping at the first that
  // gives no picture (its failure and name become the task's result and error text).
  void LoadRGB(const std::vector<std::string> &filesName, unsigned flag, int &ret) override;
  // Always the canvas (bOrig is not looked at): source i in cell i, never shifted. Sources
  // beyond the grid's cells are left out. Null when the first source has no pixels, or (with
  // ERR_NO_MEMORY) when the canvas cannot be had.
  tagRGBInfo *GetRGB(int bOrig) override;
  // Saves the canvas as the one target sObj; progress 100 on success.
  int SaveRGB(const std::string &sObj, const std::string &sExt) override;

 protected:
  tagRGBInfo *m_ptRGBInfo = nullptr;  // the canvas made by the last GetRGB
};

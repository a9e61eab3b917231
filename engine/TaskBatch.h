// A task that converts each source into a target file of its own in one target folder: KDT
// targets at the chosen picture size, other formats at each source's own size. The sources'
// records are read first without pixels; each source's pixels live only while its target is
// built and saved, and a stop request is honoured after each target.
#pragma once

#include "engine/TaskBaseClass.h"

class CTaskBatch : public CTaskBaseClass {
 public:
  explicit CTaskBatch(CImageFileEngine &imgFileEngine);
  ~CTaskBatch() override;

  // One path or more; reads each file's record and size (no pixels) into a chain, which ends
  // at the first file that gives no record. No paths: ERR_FILE_COUNT in ret only.
  void LoadRGB(const std::vector<std::string> &filesName, unsigned flag, int &ret) override;
  // Always null: the targets are built one at a time inside SaveRGB.
  tagRGBInfo *GetRGB(int bOrig) override;
  // sObj is the target folder, ending with the path separator. Returns the latest failed
  // target's code (a failed target does not end the batch, and its code stays the task's
  // result), ERR_NO_ENGINE when a source cannot be loaded with its picture (the task's result
  // is then that load's failure), ERR_STOPPED after a stop, or 0.
  int SaveRGB(const std::string &sObj, const std::string &sExt) override;

 private:
  // The target picture of one source: the loaded pixels in cell 0 of a W x H canvas, and the
  // key plane when the source has one. Null when the memory cannot be had.
  tagRGBInfo *BuildTarget(const tagFileInfo &record, const tagFileInfo &loaded);
  // Whether `source` is exactly W x H and placed unshifted: its canvas would be the source.
  bool FillsTheCanvas(const tagRGBInfo &source) const;
  // The target picture BuildTarget would make for such a source, on the loaded record's own
  // pixels and key plane (which stay the record's).
  static tagRGBInfo SourceAsTarget(const tagFileInfo &record, const tagFileInfo &loaded);
  // Builds the target picture of one source and saves it as target: the save's code, or
  // ERR_NO_MEMORY, kept as a failed target, when the picture cannot be had.
  int SaveTargetOf(const tagFileInfo &record, const tagFileInfo &loaded, const std::string &target,
                   const std::string &sExt);
  // After the run's last target: a run that has gone well makes its targets durable; the code
  // of the run so far, or ERR_FILE_WRITE when one of them did not reach the disk.
  int SyncAfterLastTarget(int result);
};

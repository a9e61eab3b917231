// The interface every conversion and preview task offers the shell, and the parts all tasks
// share: loading a source through the plug-in host with a uniform error text, saving a target
// with the overwrite question and renumbering, recording what was written so that a cancelled
// run can be undone, placing a source into a cell of a grid on a canvas, and the result, stop
// and progress state that a worker thread writes while the UI thread polls it.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/DurableTargets.h"
#include "platform/FileSystem.h"
#include "platform/KeptFile.h"
#include "plugins/PluginInterface.h"

class CImageFileEngine;

// Result codes that only the tasks produce (the plug-ins' codes are in PluginInterface.h, the
// host's "no plug-in" code in ImageFileEngine.h).
enum : int {
  ERR_FILE_COUNT = 20002,  // a task was given a number of files it cannot work on
  ERR_STOPPED = 20003,     // a batch ended on a stop request
};

// One-line vertical shift applied when a source is placed on the canvas.
enum ShiftMode : uint32_t { ShiftUp = 0, ShiftNormal = 1, ShiftDown = 2 };

// Grid of a target as the operator chooses it (one cell, 2 x 2, 3 x 3, 4 x 4); a task holds the
// number of cells per side, the value plus 1. Scoped, so None clashes with nothing.
enum class CompositeMode : uint32_t { None = 0, Two = 1, Three = 2, Four = 3 };

class CTaskBaseClass {
 public:
  enum TaskType : uint32_t { Basic = 0, Composite = 1, Batch = 2 };

  CTaskBaseClass(const CTaskBaseClass &) = delete;
  CTaskBaseClass &operator=(const CTaskBaseClass &) = delete;

  // Forgets the recorded names; files this task created stay. The old content of files it
  // replaced is let go after a run that succeeded, and put back after one that failed or was
  // cancelled.
  virtual ~CTaskBaseClass();

  // Loads the sources (full paths, in order). ret receives 0, ERR_FILE_COUNT when the number
  // of files does not suit the task, or the code of the last load. flag is not read.
  virtual void LoadRGB(const std::vector<std::string> &filesName, unsigned flag, int &ret) = 0;
  // bOrig 1: a copy of the source as loaded; 0: the target picture on a W x H canvas. The task
  // keeps ownership; the picture stays valid until the next GetRGB or the task's deletion.
  virtual tagRGBInfo *GetRGB(int bOrig) = 0;
  // The loaded record, or the head of the chain of records, and the number of files given.
  virtual tagFileInfo *GetFilesPropety(int &filesNum);
  // 0 to 100; 100 means the task finished with success.
  virtual unsigned GetProgressStatus();
  // Builds and saves the target(s): sObj is the target path (a folder, ending with the path
  // separator, for the batch), sExt the format string ("KDT" or the export format).
  virtual int SaveRGB(const std::string &sObj, const std::string &sExt) = 0;
  // The field-exchange task's sequence and still conversions; other tasks do nothing.
  virtual void LoadAllRGB(const std::vector<std::string> &filesName, unsigned flag, int &ret,
                          const std::string &sObj, const std::string &sExt, int Opt);
  virtual void GetYUVDataSrc(int Opt);

  // Stores W, H and the shift mode, and uiCompositeMode + 1 as the cells per side.
  void UpdateConvParameter(uint32_t uiDstWidth, uint32_t uiDstHeight, uint32_t uiShiftMode,
                           uint32_t uiCompositeMode);
  // Asks the task to stop; only the batch looks at it, after each target.
  void Stop();
  int GetConvertResult() const;
  std::string GetErrorInfo() const;
  std::string GetTargetFileName() const;
  // Deletes every recorded file that exists (the files this task created), and puts the old
  // content of every file it replaced back under its name. The record of created files is kept,
  // so a second call retries; so is any old content that could not be put back yet.
  void Cancel();

  // Cancel request that the field-exchange workflow raises and its task reads.
  std::atomic<int> m_cancelFlag{0};

 protected:
  explicit CTaskBaseClass(CImageFileEngine &imgFileEngine);

  // Loads one file through the host. Stores the code in the task's result; when no record
  // comes back, or one whose buffers do not hold the size it claims (which is freed), the result
  // is ERR_BAD_DATA with the error text naming the file. The caller owns the record (free it
  // with PluginFreeFileInfo).
  tagFileInfo *LoadRgb(const std::string &sfileName, int isRGBReadIn, int &ret);
  // Loads one source with its pixels to build a target from. A record without pixels, or with a
  // failure code, is freed and fails like a missing one: the result is the load's code
  // (ERR_BAD_DATA when the plug-in gave none) and the error text names the file. Null unless a
  // picture came back.
  tagFileInfo *LoadPicture(const std::string &sfileName, int &ret);
  // Saves rgbInfo as sObj in format sExt: asks once per task before overwriting a file it did
  // not write itself (never once the run has failed), renumbers every other collision, records
  // the name (and its key companion) for Cancel, and keeps the old content of a file it is
  // about to replace until the run has ended. What a save wrote is recorded for the run's final
  // sync (MakeTargetsDurable). A failed save keeps on record only what it created or changed;
  // its code stays the task's result to the end of the run, and the error text of the run's
  // first failed target names it; what it replaced has its old content back at once. Returns
  // the save's code.
  int SaveRgb(const std::string &sObj, const std::string &sExt, tagRGBInfo *rgbInfo);
  // A target of the run failed with code: the task's result keeps it from now on, whatever
  // later loads and saves give, so the operator learns of it whenever the result is read.
  void KeepFailure(int code);
  // Saving target failed with code: KeepFailure, and the error text names the target when it
  // is the run's first to fail.
  void FailTarget(const std::string &target, int code);
  // The end of a run that wrote its targets: every target written and every folder written into
  // reach the disk, before the run reports its success. False when one did not: the run has
  // failed with failureCode (FailTarget on the first target that could not be synced), and its
  // targets go as on any failure.
  bool MakeTargetsDurable(int failureCode);
  // No memory for a picture made from source: the result becomes ERR_NO_MEMORY and the error
  // text names the source and the want of memory.
  void FailForMemory(const std::string &source);
  // Places the source into cell iNO (row by row from the top left) of the n x n grid on the
  // W x H canvas, cropping, never scaling, with the task's shift mode applied. Only the 24-bit
  // pixels are copied.
  void CramRgbIntoConvass(tagRGBInfo *pDstRgbInfo, const tagRGBInfo *pSrcRgbInfo, int iNO);

  // Pictures a task builds itself: the record and its buffers come from new and go with
  // delete. NewPicture copies the header fields of like, sets the size, and gives zero-filled
  // pixels (or, for a caller that writes every pixel itself, pixels left as they come) and no
  // key plane; it returns null when the size is beyond the largest picture or the memory cannot
  // be had.
  enum class Pixels { Zeroed, Unset };
  static tagRGBInfo *NewPicture(const tagRGBInfo &like, uint32_t width, uint32_t height,
                                Pixels pixels = Pixels::Zeroed);
  static void DeletePicture(tagRGBInfo *&picture);
  // The picture GetRGB hands out for a loaded record: bOrig 1, a copy of the source with its
  // key plane; 0, the source placed in cell 0 of the W x H canvas. Null without pixels; null
  // and FailForMemory without memory.
  tagRGBInfo *PictureOfRecord(const tagFileInfo *record, int bOrig);
  // Loads the paths in order into a chain linked through next, up to the first that fails:
  // with isRGBReadIn 0 records only (LoadRgb; the chain ends at the first that gives none), with
  // 1 pictures (LoadPicture). progressStep is added to the progress after each load past the
  // first. Returns the head, or null.
  tagFileInfo *LoadFileChain(const std::vector<std::string> &filesName, int isRGBReadIn, int &ret,
                             int progressStep);
  // Frees a chain of plug-in records linked through next.
  static void FreeFileChain(tagFileInfo *&head);

  int m_bOverWritting = 0;
  int m_bPopBox = 1;
  std::atomic<int> m_iRetCode{0};
  std::string m_sErrorInfo;
  std::string m_sTargetFileName;
  std::vector<std::string> m_sfilesInSave;
  // Old content of the files this run replaced, until the run has ended.
  std::vector<platform::KeptFile> m_keptFiles;
  // Every target this run has written in full, until the run makes them durable.
  platform::DurableTargets m_writtenTargets;
  bool m_bCancelled = false;
  CImageFileEngine &m_imgEngine;
  uint32_t m_uiObjectWidth = 0;
  uint32_t m_uiObjectHeight = 0;
  uint32_t m_uiShiftMode = ShiftNormal;
  uint32_t m_uiCompositeMode = 1;
  std::atomic<int> m_iProgress{0};
  std::atomic<int> m_bStopFlag{0};
  uint32_t m_ifilesNum = 0;
  // The plug-in's record of the loaded file, or the head of the chain of loaded records; each
  // task says which, and frees it.
  tagFileInfo *m_ptFileInfo = nullptr;
  int m_iFailedTarget = 0;  // code of the run's latest target that failed, or 0

 private:
  // Stores code as the task's result; success leaves a failed target's code in place.
  void SetResult(int code);
  bool IsRecorded(const std::string &path) const;
  // Puts back the kept old content that can be, from the first-th kept file on; what cannot
  // stays kept.
  void PutBackKeptFiles(size_t first = 0);
  // Sets aside the old content of the existing names before a save replaces them; false, with
  // nothing set aside, when one of them cannot be.
  bool KeepOldContent(const std::vector<std::string> &names);
  // The names one save writes (the target, then its key companion where the picture has a key
  // plane), sorted into the operator's files it replaces and the names it creates, and where
  // the save's entries in the task's records begin, so that a failed save can be undone.
  struct SaveFiles {
    std::vector<std::string> names;
    std::vector<std::string> replaced;
    std::vector<std::string> created;
    std::vector<platform::FileStamp> before;  // of each created name, before the save
    size_t firstKept = 0;                     // in m_keptFiles
    size_t firstName = 0;                     // in m_sfilesInSave
  };
  // Sets m_bOverWritting, asking the operator when sObj is the task's first collision with a
  // file it did not write, and gives the name to save as: sObj, or the next free name.
  std::string ChooseTargetName(const std::string &sObj, const std::string &sExt);
  // The overwrite question, asked once per task.
  void AskToOverwrite(const std::string &sObj);
  SaveFiles SortSaveFiles(const std::string &target, const tagRGBInfo &rgbInfo) const;
  // Records the names the save creates for Cancel, with their stamps before the save.
  void RecordCreatedFiles(SaveFiles &files);
  // Records what a successful save wrote for the run's final sync.
  void RecordWrittenFiles(const SaveFiles &files);
  // Puts back what a failed save replaced, and keeps on record only what it created or changed.
  void UndoFailedSave(const SaveFiles &files);
  // The next free name after a collision with candidate: the number before the extension
  // raised by one, extension replaced by sExt.
  static std::string Renumber(const std::string &candidate, const std::string &sExt);
};

// The task behind "Reverse Field Dominance": exchanges the fields of KDT stills. One file (still
// mode) has its two fields swapped in the luma plane, the chroma plane or both; a sequence
// (animation mode) is re-paired field by field, each target made from a file and the one
// before it, so n files give n - 1 targets named like files 2 to n. Each target is written as a
// KDT file of the source's name into the target folder, replacing a file of that name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "codec/KdtFile.h"
#include "engine/TaskBaseClass.h"

class CTaskModeConv : public CTaskBaseClass {
 public:
  explicit CTaskModeConv(CImageFileEngine &imgFileEngine);
  ~CTaskModeConv() override;

  // Still mode, first step: loads the one file through the host (ERR_FILE_COUNT for any other
  // number of files).
  void LoadRGB(const std::vector<std::string> &filesName, unsigned flag, int &ret) override;
  // The task's picture for the file loaded last: null when that file gave no record or could
  // not be read as a KDT file; else black at the file's size until the file's exchange has been
  // decoded into it.
  tagRGBInfo *GetRGB(int bOrig) override;
  // Writes the exchanged body of the file loaded last into the folder sObj (ending with the
  // separator) under that file's name. Writes nothing and returns 0 when no exchange completed
  // since that file was loaded. A still's target reaches the disk before this returns (a
  // sequence's, at the sequence's end); a failure to get it there is a failed write. sExt is not
  // read.
  int SaveRGB(const std::string &sObj, const std::string &sExt) override;
  // Animation mode, the whole run: reads every file, exchanges and writes the targets, and
  // stops before the next file once m_cancelFlag is raised.
  void LoadAllRGB(const std::vector<std::string> &filesName, unsigned flag, int &ret,
                  const std::string &sObj, const std::string &sExt, int Opt) override;
  // Still mode, second step: reads the loaded KDT file and exchanges its fields. Opt 0 luma
  // only, 1 chroma only, any other value both.
  void GetYUVDataSrc(int Opt) override;

  // Still-mode exchanges: the work body becomes the body read with the fields of one plane, or
  // both, changing places. 0, or ERR_CODEC when there is no work body.
  int SetYDataConv();
  int SetCDataConv();
  int SetYCDataConv();

  // Reads the KDT file loaded last as the next body of a sequence and, from the second file
  // on, builds its target body from it and the body before it.
  void GetAllYUVDataSrc(int Opt);

  // Animation-mode exchanges on a work body that holds the current body: luma only or chroma
  // only takes that plane's field 2 from the previous body; both planes take field 2 of the
  // previous body as field 1 and field 1 of the current body as field 2. 0, or ERR_CODEC when
  // there is no work body.
  int SetAllYDataConv();
  int SetAllCDataConv();
  int SetAllYCDataConv();

 private:
  // Releases every buffer, the task's picture and the plug-in record.
  void SetFreeMemo();

  // Makes `file` the file loaded last: loads its record (its picture size) through the host
  // and reads its body; nothing is ready to save until its exchange completes.
  void LoadSourceFile(const std::string &file, int &ret);
  // Sets form and length for a picture of the given size. A 1280 x 720 picture is refused with
  // its message and progress 100; any other size that is no KDT format is refused as
  // unreadable. False when refused.
  bool SelectFormat(uint32_t width, uint32_t height);
  // Reads m_objFileName with the KDT reader into kdtHeader and m_ptYUVInfo. False when the
  // file cannot be opened or is no valid KDT file.
  bool ReadSourceBody();
  // True when the file loaded last was read and its body is of the selected format.
  bool BodyReadIsOfFormat() const;
  // Decodes the work body into m_pRGBDst. False when the decoder fails.
  bool DecodeWorkBody();
  // Copies the decoded picture into the task's picture, which then shows the exchange.
  void ShowDecodedPicture();
  // Ends a run that leaves no target although nothing has failed yet: the task's result
  // becomes ERR_CODEC with the same text as a file that cannot be loaded.
  void FailWithoutTarget();

  struct PictureSize {
    uint32_t width = 0;
    uint32_t height = 0;
  };
  // A sequence's first file: loads it, selects the format its size gives, allocates the work
  // buffers and reads its body as the first of the sequence. The size every later picture must
  // have, or nothing when the run has ended on the file.
  std::optional<PictureSize> StartSequence(const std::string &file, int &ret, int Opt);
  // The work body and the bodies of the previous and the current file, each of the format's
  // length. False when one cannot be had.
  bool AllocSequenceBuffers();
  // A later file of a sequence: loads it. False when the run has ended on it: it gave no
  // picture, or one of another size (the targets written so far stay, made durable).
  bool LoadNextOfSequence(const std::string &file, PictureSize size, int &ret);

  int ExchangeStill(bool luma, bool chroma);
  int ExchangeSequence(bool luma, bool chroma);

  std::string m_objFileName;           // the KDT file loaded last: the source of the next target
  int convFlag = 0;                    // 1 once the first file of a sequence has been read
  kdt_header kdtHeader{};              // header of the file read last, written back with the target
  unsigned char *m_pRGBDst = nullptr;  // the exchanged body decoded (malloc)
  unsigned char *m_pYUVDst = nullptr;  // work body: the exchanged body to save (malloc)
  tagRGBInfo *m_ptRGBInfo = nullptr;   // the task's picture, built by GetRGB (new)
  unsigned char *m_ptYUVInfo = nullptr;   // the body as read (malloc, from the KDT reader)
  unsigned char *m_ptYUVConv1 = nullptr;  // sequence: body of the previous file (malloc)
  unsigned char *m_ptYUVConv2 = nullptr;  // sequence: body of the current file (malloc)
  int form = 1;                           // picture format 1 to 4
  int lenYUV = 0;                         // body length as read
  int lenRGB = 0;                         // length of m_pRGBDst
  unsigned length = 0;                    // body length of the format
  bool m_bExchanged = false;              // an exchange completed for the file loaded last
  bool m_bInSequence = false;  // a sequence runs: SaveRGB leaves the sync to the sequence's end
  bool m_bBodyRead = false;    // the file loaded last was read and verified
};

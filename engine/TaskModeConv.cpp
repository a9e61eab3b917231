#include "engine/TaskModeConv.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <new>
#include <optional>
#include <utility>

#include "codec/ColourConvert.h"
#include "codec/DeviceFileName.h"
#include "codec/PictureBytes.h"
#include "codec/PictureFormat.h"
#include "engine/TaskTexts.h"
#include "platform/AtomicFile.h"
#include "platform/MessageBox.h"
#include "platform/RegularFileOpen.h"

namespace {

// Where the fields lie in a body: each block starts at the first slot of a field, slot head
// included, and covers as many slots as field 2 has lines. In the 720 x 487 format field 1 has
// one line more (frame line 486), which is therefore never exchanged.
struct FieldBlocks {
  int form;
  unsigned length;  // body bytes
  unsigned lumaField1;
  unsigned lumaField2;
  unsigned chromaField1;
  unsigned chromaField2;
  unsigned blockBytes;
};

constexpr FieldBlocks kFieldBlocks[] = {
    {1, 942720, 0, 237120, 471360, 708480, 233280},       // 243 slots of 960 bytes
    {2, 1111680, 0, 279360, 555840, 835200, 276480},      // 288 slots of 960 bytes
    {3, 5188800, 0, 1296000, 2594400, 3890400, 1296000},  // 540 slots of 2400 bytes
};

// The blocks of `b` are where the codec's format table puts the fields of b.form: field 1 and
// field 2 of the luma plane, then of the chroma plane, each as many slots long as field 2 has
// lines; so they stay inside their plane and do not overlap.
constexpr bool BlocksMatchFormat(const FieldBlocks &b) {
  if (b.form < 1 || b.form > static_cast<int>(std::size(kKdtFormats))) return false;
  const KdtPictureFormat &f = kKdtFormats[b.form - 1];
  const auto slots = [&f](int slot) { return static_cast<unsigned>(slot * f.lineSlot); };
  const unsigned plane = static_cast<unsigned>(f.planeBytes);
  return f.form == b.form && f.interlaced && b.length == static_cast<unsigned>(f.bodyBytes) &&
         b.lumaField1 == slots(f.field1FirstSlot) && b.lumaField2 == slots(f.field2FirstSlot) &&
         b.chromaField1 == plane + b.lumaField1 && b.chromaField2 == plane + b.lumaField2 &&
         b.blockBytes == slots(f.height / 2) && b.lumaField1 + b.blockBytes <= b.lumaField2 &&
         b.lumaField2 + b.blockBytes <= plane;
}

// Every interlaced format of the codec has its blocks here, and each agrees with the format.
constexpr bool TableCoversInterlacedFormats() {
  size_t interlaced = 0;
  for (const KdtPictureFormat &f : kKdtFormats) interlaced += f.interlaced ? 1 : 0;
  if (interlaced != std::size(kFieldBlocks)) return false;
  for (const FieldBlocks &b : kFieldBlocks) {
    if (!BlocksMatchFormat(b)) return false;
  }
  return true;
}
static_assert(TableCoversInterlacedFormats(),
              "the field blocks agree with the codec's interlaced formats");

// The field blocks of an interlaced format, or null (the progressive format has no fields).
const FieldBlocks *FieldBlocksOf(int form) {
  for (const FieldBlocks &blocks : kFieldBlocks) {
    if (blocks.form == form) return &blocks;
  }
  return nullptr;
}

void MoveBlock(unsigned char *dst, unsigned dstOffset, const unsigned char *src, unsigned srcOffset,
               unsigned bytes) {
  std::memcpy(dst + dstOffset, src + srcOffset, bytes);
}

// The blocks an exchange writes into the work body, by their starts.
struct WrittenBlocks {
  unsigned starts[4];
  int count = 0;
  void Add(unsigned start) { starts[count++] = start; }
};

// The work body as the body `from`, but for the blocks the exchange writes next: each byte is
// copied once, not copied and then written over.
void CopyAroundBlocks(unsigned char *work, const unsigned char *from, unsigned length,
                      WrittenBlocks blocks, unsigned blockBytes) {
  for (int i = 1; i < blocks.count; ++i) {  // in body order
    for (int j = i; j > 0 && blocks.starts[j - 1] > blocks.starts[j]; --j) {
      std::swap(blocks.starts[j - 1], blocks.starts[j]);
    }
  }
  unsigned done = 0;
  for (int i = 0; i < blocks.count; ++i) {
    std::memcpy(work + done, from + done, blocks.starts[i] - done);
    done = blocks.starts[i] + blockBytes;
  }
  std::memcpy(work + done, from + done, length - done);
}

// The blocks a sequence's exchange writes into the work body: field 2 of the plane it
// exchanges (Opt 0 luma, 1 chroma), or with both planes field 2 and field 1 of each.
WrittenBlocks SequenceWrittenBlocks(const FieldBlocks *b, int Opt) {
  WrittenBlocks written;
  if (b == nullptr) return written;
  if (Opt != 1) written.Add(b->lumaField2);
  if (Opt != 0) written.Add(b->chromaField2);
  if (Opt != 0 && Opt != 1) written.Add(b->lumaField1), written.Add(b->chromaField1);
  return written;
}

void FreeBuffer(unsigned char *&buffer) {
  std::free(buffer);
  buffer = nullptr;
}

unsigned char *AllocBuffer(unsigned char *&buffer, unsigned bytes) {
  FreeBuffer(buffer);
  buffer = static_cast<unsigned char *>(std::malloc(bytes));
  return buffer;
}

}  // namespace

CTaskModeConv::CTaskModeConv(CImageFileEngine &imgFileEngine) : CTaskBaseClass(imgFileEngine) {
  m_cancelFlag = 0;
}

CTaskModeConv::~CTaskModeConv() {
  SetFreeMemo();
}

void CTaskModeConv::LoadRGB(const std::vector<std::string> &filesName, unsigned, int &ret) {
  ret = 0;
  m_ifilesNum = static_cast<uint32_t>(filesName.size());
  if (m_ifilesNum != 1) {
    ret = ERR_FILE_COUNT;
    m_iRetCode = ERR_FILE_COUNT;
    return;
  }
  LoadSourceFile(filesName.front(), ret);
  m_iProgress = 10;
}

void CTaskModeConv::GetYUVDataSrc(int Opt) {
  const tagRGBInfo *picture = GetRGB(1);
  if (picture == nullptr) return FailWithoutTarget();
  if (!SelectFormat(picture->width, picture->height)) return;
  if (AllocBuffer(m_pYUVDst, length) == nullptr) return FailForMemory(m_objFileName);
  m_iProgress = 30;
  if (!BodyReadIsOfFormat()) return FailWithoutTarget();
  m_iProgress = 50;
  const int exchanged = Opt == 0 ? SetYDataConv() : Opt == 1 ? SetCDataConv() : SetYCDataConv();
  if (exchanged != 0) return FailWithoutTarget();
  m_bExchanged = true;
  m_iProgress = 70;
  if (!DecodeWorkBody()) return;
  m_iProgress = 90;
  ShowDecodedPicture();
  m_iProgress = 100;
}

int CTaskModeConv::SetYDataConv() {
  return ExchangeStill(true, false);
}
int CTaskModeConv::SetCDataConv() {
  return ExchangeStill(false, true);
}
int CTaskModeConv::SetYCDataConv() {
  return ExchangeStill(true, true);
}

int CTaskModeConv::ExchangeStill(bool luma, bool chroma) {
  if (m_pYUVDst == nullptr || m_ptYUVInfo == nullptr) return ERR_CODEC;
  const FieldBlocks *b = FieldBlocksOf(form);
  if (b == nullptr) return 0;
  unsigned char *work = m_pYUVDst;
  const unsigned char *read = m_ptYUVInfo;
  WrittenBlocks written;
  if (luma) written.Add(b->lumaField1), written.Add(b->lumaField2);
  if (chroma) written.Add(b->chromaField1), written.Add(b->chromaField2);
  CopyAroundBlocks(work, read, b->length, written, b->blockBytes);
  if (luma) {
    MoveBlock(work, b->lumaField1, read, b->lumaField2, b->blockBytes);
    MoveBlock(work, b->lumaField2, read, b->lumaField1, b->blockBytes);
  }
  if (chroma) {
    MoveBlock(work, b->chromaField1, read, b->chromaField2, b->blockBytes);
    MoveBlock(work, b->chromaField2, read, b->chromaField1, b->blockBytes);
  }
  return 0;
}

void CTaskModeConv::LoadAllRGB(const std::vector<std::string> &filesName, unsigned, int &ret,
                               const std::string &sObj, const std::string &sExt, int Opt) {
  m_bInSequence = true;  // its targets reach the disk together, at its end
  ret = 0;
  m_ifilesNum = static_cast<uint32_t>(filesName.size());
  if (m_ifilesNum == 0) {
    ret = ERR_FILE_COUNT;
    m_iRetCode = ERR_FILE_COUNT;
    return;
  }
  const std::optional<PictureSize> size = StartSequence(filesName.front(), ret, Opt);
  if (!size) return;
  const int n = static_cast<int>(filesName.size());
  for (int i = 1; i < n; ++i) {
    if (m_cancelFlag != 0) break;
    if (!LoadNextOfSequence(filesName[i], *size, ret)) return;
    GetAllYUVDataSrc(Opt);
    // A target that cannot be written ends the run: the failure stays the task's result
    // instead of being overwritten by the next file's load.
    if (SaveRGB(sObj, sExt) != 0) break;
    m_iProgress += 70 / n;
  }
  if (m_iRetCode == 0) MakeTargetsDurable(ERR_CODEC);
  m_iProgress = 100;
}

std::optional<CTaskModeConv::PictureSize> CTaskModeConv::StartSequence(const std::string &file,
                                                                       int &ret, int Opt) {
  LoadSourceFile(file, ret);
  m_iProgress = 10;
  const tagRGBInfo *first = GetRGB(1);
  if (first == nullptr) {
    FailWithoutTarget();
    return std::nullopt;
  }
  const PictureSize size{first->width, first->height};
  if (!SelectFormat(size.width, size.height)) return std::nullopt;
  if (!AllocSequenceBuffers()) {
    FailForMemory(m_objFileName);
    return std::nullopt;
  }
  convFlag = 0;
  GetAllYUVDataSrc(Opt);
  // Without the first body the second file has nothing to pair with.
  if (m_ptYUVInfo == nullptr) {
    FailWithoutTarget();
    return std::nullopt;
  }
  convFlag = 1;
  m_iProgress = 30;
  return size;
}

bool CTaskModeConv::AllocSequenceBuffers() {
  return AllocBuffer(m_pYUVDst, length) != nullptr &&
         AllocBuffer(m_ptYUVConv1, length) != nullptr &&
         AllocBuffer(m_ptYUVConv2, length) != nullptr;
}

bool CTaskModeConv::LoadNextOfSequence(const std::string &file, PictureSize size, int &ret) {
  LoadSourceFile(file, ret);
  const tagRGBInfo *picture = GetRGB(1);
  if (picture == nullptr) {
    FailWithoutTarget();
    return false;
  }
  if (picture->width == size.width && picture->height == size.height) return true;
  platform::ShowMessageBox(task_text::kSizesDiffer);
  MakeTargetsDurable(ERR_CODEC);  // the targets written so far stay
  m_iProgress = 100;
  return false;
}

void CTaskModeConv::GetAllYUVDataSrc(int Opt) {
  if (m_ptYUVConv1 == nullptr || m_ptYUVConv2 == nullptr) return;
  if (!BodyReadIsOfFormat()) return;
  if (convFlag == 0) {
    std::memcpy(m_ptYUVConv2, m_ptYUVInfo, length);
    std::memcpy(m_ptYUVConv1, m_ptYUVConv2, length);
    return;
  }
  // The current body becomes the previous one and the body read the current one; the buffers
  // trade places instead of copying (the body read is read afresh for each file).
  std::swap(m_ptYUVConv1, m_ptYUVConv2);
  std::swap(m_ptYUVConv2, m_ptYUVInfo);

  if (m_pYUVDst == nullptr) return;
  // Work body = current body, but for the blocks the exchange writes.
  const FieldBlocks *b = FieldBlocksOf(form);
  CopyAroundBlocks(m_pYUVDst, m_ptYUVConv2, length, SequenceWrittenBlocks(b, Opt),
                   b != nullptr ? b->blockBytes : 0);
  const int exchanged = Opt == 0   ? SetAllYDataConv()
                        : Opt == 1 ? SetAllCDataConv()
                                   : SetAllYCDataConv();
  if (exchanged != 0) return;
  m_bExchanged = true;
  if (DecodeWorkBody()) ShowDecodedPicture();
}

int CTaskModeConv::SetAllYDataConv() {
  return ExchangeSequence(true, false);
}
int CTaskModeConv::SetAllCDataConv() {
  return ExchangeSequence(false, true);
}
int CTaskModeConv::SetAllYCDataConv() {
  return ExchangeSequence(true, true);
}

int CTaskModeConv::ExchangeSequence(bool luma, bool chroma) {
  if (m_pYUVDst == nullptr || m_ptYUVConv1 == nullptr || m_ptYUVConv2 == nullptr) return ERR_CODEC;
  const FieldBlocks *b = FieldBlocksOf(form);
  if (b == nullptr) return 0;
  unsigned char *work = m_pYUVDst;
  const unsigned char *previous = m_ptYUVConv1;
  const unsigned char *current = m_ptYUVConv2;
  if (luma && chroma) {
    MoveBlock(work, b->lumaField1, previous, b->lumaField2, b->blockBytes);
    MoveBlock(work, b->lumaField2, current, b->lumaField1, b->blockBytes);
    MoveBlock(work, b->chromaField1, previous, b->chromaField2, b->blockBytes);
    MoveBlock(work, b->chromaField2, current, b->chromaField1, b->blockBytes);
  } else if (luma) {
    MoveBlock(work, b->lumaField2, previous, b->lumaField2, b->blockBytes);
  } else if (chroma) {
    MoveBlock(work, b->chromaField2, previous, b->chromaField2, b->blockBytes);
  }
  return 0;
}

int CTaskModeConv::SaveRGB(const std::string &sObj, const std::string &) {
  if (!m_bExchanged) return 0;
  const std::string target = sObj + getFileName(m_objFileName.c_str());
  int result = ERR_CODEC;
  // The still of that name stays as it was until the new one is whole on the disk.
  platform::AtomicFile file(target);
  if (file.Stream() != nullptr) {
    result = writeKDT(file.Stream(), &kdtHeader, m_pYUVDst, lenYUV, form);
    if (result == 0 && !file.Commit()) result = ERR_CODEC;
  }
  if (result == 0) m_writtenTargets.Add(target);
  // A still's one target is the run's last: it reaches the disk before the run's result.
  if (result == 0 && !m_bInSequence && !MakeTargetsDurable(ERR_CODEC)) result = ERR_CODEC;
  if (result != 0) {
    m_iRetCode = ERR_CODEC;
    m_sErrorInfo = target + task_text::kCannotWrite;
  }
  return result;
}

tagRGBInfo *CTaskModeConv::GetRGB(int bOrig) {
  DeletePicture(m_ptRGBInfo);
  if (m_ptFileInfo != nullptr && m_ptFileInfo->rgbInfo.ptBits == nullptr) {
    // A record without pixels, as the task loads it: the file's picture is the one its body,
    // read and verified, decodes to, which the exchange puts in; until then it is black. A
    // size beyond any picture the task can hold is no memory, as for every picture it builds.
    const tagRGBInfo &record = m_ptFileInfo->rgbInfo;
    if (!PictureBytes(record.width, record.height, 3)) {
      FailForMemory(m_objFileName);
      return nullptr;
    }
    if (!m_bBodyRead) return nullptr;
    m_ptRGBInfo = NewPicture(record, record.width, record.height);
    if (m_ptRGBInfo == nullptr) FailForMemory(m_objFileName);
    return m_ptRGBInfo;
  }
  m_ptRGBInfo = PictureOfRecord(m_ptFileInfo, bOrig);
  return m_ptRGBInfo;
}

void CTaskModeConv::SetFreeMemo() {
  FreeBuffer(m_pYUVDst);
  FreeBuffer(m_ptYUVConv1);
  FreeBuffer(m_ptYUVConv2);
  FreeBuffer(m_ptYUVInfo);
  FreeBuffer(m_pRGBDst);
  DeletePicture(m_ptRGBInfo);
  PluginFreeFileInfo(m_ptFileInfo);
  m_ptFileInfo = nullptr;
}

void CTaskModeConv::LoadSourceFile(const std::string &file, int &ret) {
  m_objFileName = file;
  m_bExchanged = false;
  PluginFreeFileInfo(m_ptFileInfo);
  // The host gives the picture's size; the pixels come from the exchanged body, so the file is
  // neither decoded nor read whole by the plug-in, only here, once.
  m_ptFileInfo = LoadRgb(file, 0, ret);
  m_bBodyRead = m_ptFileInfo != nullptr && ReadSourceBody();
}

bool CTaskModeConv::SelectFormat(uint32_t width, uint32_t height) {
  const KdtPictureFormat *format = KdtFormatBySizeSum(int64_t{width} + height);
  if (format != nullptr && !format->interlaced) {
    form = format->form;
    platform::ShowMessageBox(task_text::kProgressiveRefused);
    m_iProgress = 100;
    return false;
  }
  const FieldBlocks *blocks = format == nullptr ? nullptr : FieldBlocksOf(format->form);
  if (blocks == nullptr) {
    FailWithoutTarget();
    return false;
  }
  form = blocks->form;
  length = blocks->length;
  return true;
}

bool CTaskModeConv::ReadSourceBody() {
  FreeBuffer(m_ptYUVInfo);
  FILE *fp = platform::OpenRegularFileStream(m_objFileName.c_str());
  if (fp == nullptr) return false;
  std::memset(&kdtHeader, 0, sizeof kdtHeader);
  const int read = readKDT(fp, &kdtHeader, &m_ptYUVInfo, &lenYUV);
  std::fclose(fp);
  if (read != KDT_READ || m_ptYUVInfo == nullptr) {
    FreeBuffer(m_ptYUVInfo);
    return false;
  }
  return true;
}

bool CTaskModeConv::BodyReadIsOfFormat() const {
  // The format was chosen from the picture size the host gave; a file that changed in between
  // may hold a body of another format, whose blocks would lie outside the work buffers.
  return m_bBodyRead && m_ptYUVInfo != nullptr && lenYUV >= 0 &&
         static_cast<unsigned>(lenYUV) == length;
}

bool CTaskModeConv::DecodeWorkBody() {
  FreeBuffer(m_pRGBDst);
  lenRGB = 0;
  return tranYUV2RGB(m_pYUVDst, lenYUV, &m_pRGBDst, &lenRGB) == 0;
}

void CTaskModeConv::ShowDecodedPicture() {
  if (m_ptRGBInfo != nullptr && m_ptRGBInfo->ptBits != nullptr && lenRGB >= 0 &&
      PictureBytes(m_ptRGBInfo->width, m_ptRGBInfo->height, 3) == static_cast<size_t>(lenRGB)) {
    std::memcpy(m_ptRGBInfo->ptBits, m_pRGBDst, static_cast<size_t>(lenRGB));
  }
}

void CTaskModeConv::FailWithoutTarget() {
  if (m_iRetCode != 0) return;  // a failed load has already said why
  m_iRetCode = ERR_CODEC;
  m_sErrorInfo = m_objFileName + task_text::kCannotLoad;
}

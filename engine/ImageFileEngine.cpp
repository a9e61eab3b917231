#include "engine/ImageFileEngine.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <string_view>

#include "codec/KdtFormatName.h"
#include "platform/DirectorySearch.h"
#include "platform/DynamicLibrary.h"
#include "platform/FileExtension.h"
#include "platform/Path.h"
#include "platform/StringCase.h"

namespace {

constexpr char kPluginFolder[] = "dll/";
constexpr char kPluginPattern[] = "*.dll";

// The first node of the list from head whose pattern, in upper case, contains text anywhere;
// null when none does. Loads and saves are routed by it.
const tagIMGPROC *FirstServing(const tagIMGPROC *head, std::string_view text) {
  for (const tagIMGPROC *node = head; node != nullptr; node = node->next) {
    if (platform::ToUpper(node->szExt).find(text) != std::string::npos) return node;
  }
  return nullptr;
}

// Binds one library: a node when it exports the three entry points and names a pattern that
// fits the node; otherwise the library is released and null returned.
tagIMGPROC *BindPlugin(const std::string &path) {
  void *library = platform::OpenLibrary(path);
  if (library == nullptr) return nullptr;
  auto query = reinterpret_cast<QUERYINFO>(platform::FindExport(library, "QueryInfo"));
  auto load = reinterpret_cast<FRGBLOAD>(platform::FindExport(library, "LoadRgb"));
  auto save = reinterpret_cast<FRGBSAVE>(platform::FindExport(library, "SaveRgb"));
  if (query == nullptr || load == nullptr || save == nullptr) {
    platform::CloseLibrary(library);
    return nullptr;
  }
  // A pattern that does not fit the node would be cut into a different pattern: refuse it.
  const char *pattern = query();
  const size_t length = pattern != nullptr ? std::strlen(pattern) : 0;
  if (pattern == nullptr || length >= kPatternSize) {
    std::fprintf(stderr, "Quenda: %s: %s\n", path.c_str(),
                 pattern == nullptr ? "the plug-in names no pattern (QueryInfo returned none)"
                                    : "the plug-in's pattern is too long");
    platform::CloseLibrary(library);
    return nullptr;
  }
  auto *node = new tagIMGPROC{};
  std::memcpy(node->szExt, pattern, length);  // the terminator comes from the zero fill
  node->fpRGBLoad = load;
  node->fpRGBSave = save;
  node->hModule = library;
  return node;
}

}  // namespace

CImageFileEngine::~CImageFileEngine() {
  while (m_ptImgProc != nullptr) {
    tagIMGPROC *node = m_ptImgProc;
    m_ptImgProc = node->next;
    platform::CloseLibrary(node->hModule);
    delete node;
  }
}

void CImageFileEngine::Initialization() {
  Initialization(platform::ExecutableFolder() + kPluginFolder);
}

void CImageFileEngine::Initialization(const std::string &folder) {
  // When the program cannot tell its own folder, all it has is "dll/": a folder looked up from
  // wherever the program was started, which may hold any library. Such a folder is not used.
  if (folder.empty() || folder.front() != platform::kPathSeparator) {
    std::fprintf(stderr,
                 "Quenda: the plug-in folder %s is no full path (the program cannot tell its own "
                 "folder); no plug-in is loaded\n",
                 folder.c_str());
    return;
  }
  tagIMGPROC **tail = &m_ptImgProc;
  while (*tail != nullptr) tail = &(*tail)->next;
  // Every entry goes to the loader, which loads regular files only and says why it skips any
  // other (a folder, a FIFO that would hold the start for ever).
  for (const platform::DirectoryEntry &entry : platform::FindEntries(folder, kPluginPattern)) {
    if (tagIMGPROC *node = BindPlugin(folder + entry.name)) {
      *tail = node;
      tail = &node->next;
    }
  }
}

std::string CImageFileEngine::GetFilesSet() const {
  std::string set;
  for (const tagIMGPROC *node = m_ptImgProc; node != nullptr; node = node->next) {
    if (node->szExt[0] == '\0' || platform::EqualsNoCase(node->szExt, kKdtPattern)) continue;
    if (!set.empty()) set += ';';
    set += platform::ToUpper(node->szExt);
  }
  return set;
}

tagFileInfo *CImageFileEngine::LoadRGB(const std::string &sfileName, int isRGBReadIn,
                                       int &ret) const {
  // A record names its file in a field of fixed length; a path that does not fit it whole is
  // never handed to a plug-in, whose record would name another file by the cut path.
  if (!PathFitsRecord(sfileName)) {
    ret = ERR_FILE_OPEN;
    return nullptr;
  }
  ret = ERR_NO_ENGINE;
  const std::optional<std::string_view> extension = platform::ExtensionOf(sfileName);
  if (!extension) return nullptr;
  const tagIMGPROC *node = FirstServing(m_ptImgProc, platform::ToUpper(*extension));
  if (node == nullptr) return nullptr;
  int code = 0;
  tagFileInfo *record = node->fpRGBLoad(sfileName.c_str(), isRGBReadIn, &code);
  ret = code;
  return record;
}

int CImageFileEngine::SaveRGB(const std::string &sObjName, const std::string &sExt,
                              tagRGBInfo *ptFileInfo) const {
  const tagIMGPROC *node = FirstServing(m_ptImgProc, sExt);
  return node != nullptr ? node->fpRGBSave(sObjName.c_str(), sExt.c_str(), ptFileInfo)
                         : ERR_NO_ENGINE;
}

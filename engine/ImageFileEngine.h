// The plug-in host: finds the format plug-ins in the dll/ folder beside the program, binds their
// three entry points and routes every load and save to the first plug-in whose pattern matches.
#pragma once

#include <string>

#include "plugins/PluginInterface.h"

// Result of a load or save that no bound plug-in serves.
enum : int {
  ERR_NO_ENGINE = 20001,
};

// The length of a plug-in pattern field; a pattern must leave room for its terminating zero.
constexpr int kPatternSize = 40;

// One bound plug-in, a node of the engine's list in binding order.
struct tagIMGPROC {
  char szExt[kPatternSize];  // the pattern QueryInfo returned, e.g. "*.BMP", zero-terminated
  FRGBLOAD fpRGBLoad;
  FRGBSAVE fpRGBSave;
  tagIMGPROC *next;
  void *hModule;  // the loaded library, released when the engine is destroyed
};
using IMGPROC = tagIMGPROC;

class CImageFileEngine {
 public:
  CImageFileEngine() = default;
  ~CImageFileEngine();
  CImageFileEngine(const CImageFileEngine &) = delete;
  CImageFileEngine &operator=(const CImageFileEngine &) = delete;

  // Binds every plug-in of the program's own dll/ folder. Called once, before any load or save.
  void Initialization();
  // Binds every plug-in of `folder` (a full path ending in the separator); tests use their own
  // folder. A folder that is no full path binds nothing, and standard error says why.
  void Initialization(const std::string &folder);

  // The upper-cased patterns of the bound plug-ins in binding order, joined with ";", the KDT
  // pattern and empty patterns left out; empty when no other plug-in is bound.
  std::string GetFilesSet() const;

  // Loads a file through the first plug-in whose pattern contains the file's upper-cased
  // extension. `ret` receives the plug-in's code, or ERR_NO_ENGINE when none serves the file.
  // The record (or null) belongs to the caller: free it with PluginFreeFileInfo.
  tagFileInfo *LoadRGB(const std::string &sfileName, int isRGBReadIn, int &ret) const;

  // Saves through the first plug-in whose pattern contains `sExt` as given ("KDT", "BMP");
  // returns the plug-in's code, or ERR_NO_ENGINE when none serves the format.
  int SaveRGB(const std::string &sObjName, const std::string &sExt, tagRGBInfo *ptFileInfo) const;

 private:
  tagIMGPROC *m_ptImgProc = nullptr;  // head of the list, in binding order
};

// "Parameter Setting": the parameters of one import or export before its task is built. The
// target is a folder, or a folder and a file name when several sources go into one grid
// picture; on import the operator picks one of four target sizes, on export the dialog shows
// the size of the one selected picture or the list of all selected files with their sizes.
// Shift and composite choices are offered only where they apply to the number of files.
#pragma once

#include <string>
#include <vector>

#include "platform/gui/DialogBase.h"

class CImageFileEngine;
class wxListCtrl;

class CDlgSetting : public platform::gui::DialogBase {
 public:
  // files: the selected sources in list order; imgEngine: the plug-in host that reads their
  // sizes for the list. Both are kept by reference and must outlive the dialog; the dialog
  // never changes the files (the list it empties is its own control).
  CDlgSetting(wxWindow *pParent, const std::vector<std::string> &files,
              CImageFileEngine &imgEngine);

  // The caller sets m_bExport, m_ifilesNum, m_iImgSize, m_iShiftMode, m_iCompositeMode,
  // m_sExt, m_sImageSize and m_sTarget (the first source's path) before DoModal, and after OK
  // reads m_iImgSize, m_iShiftMode, m_iCompositeMode and m_sTarget. The object may run again:
  // each run builds its window anew and starts from what the caller set.
  wxListCtrl *m_fView = nullptr;  // the list of selected files of the current window
  int m_iImgSize = -1;            // 0 "720*487", 1 "720*576", 2 "1280*720", 3 "1920*1080"
  std::string m_sTarget;          // the target folder (ending in the separator), or file
  std::string m_sImageSize;       // the picture size on export of one file, e.g. "720*576"
  int m_bExport = 0;              // 1 on export, 0 on import
  int m_ifilesNum = 0;            // the number of selected files
  int m_iShiftMode = 0;           // ShiftMode of the checked shift choice
  int m_iCompositeMode = 0;       // CompositeMode of the checked composite choice
  std::string m_sExt;             // the format of the run ("KDT" on import)
  std::string m_srcName;          // the path of the first source
  std::string m_dstPath;          // the target folder, ending in the separator

 protected:
  bool DoDataExchange(bool save) override;
  bool OnInitDialog() override;
  // Refuses an empty target with its message; otherwise ends with OK.
  void OnOK() override;
  void OnCancel() override;

 private:
  // Fills the list of selected files: number, full path and picture size of each file that
  // gives a record, in order, up to the first that does not. Returns 1.
  int OnUpdateFilesList(const std::vector<std::string> &files);
  // Shows the controls of the run's side: the size choices on import; on export the picture's
  // size for one file, the list of files for several.
  void ShowSideControls();
  // Checks the default composite and shift choices and disables those that do not apply.
  void OfferChoices();
  void OnBtnBrowse();
  void OnRdoComposite();
  // "2*2", "3*3" and "4*4" alike: the target becomes a file in the target folder.
  void OnRdoComposite4();
  // The target folder followed by the first source's name as a target of the run's format.
  std::string CompositeTarget() const;
  // Makes target the target and shows it in the target edit.
  void ShowTarget(const std::string &target);

  // The target last put in the edit, by its own bytes: the edit holds only its shown form.
  std::string m_sShownTarget;
  CImageFileEngine &m_imgEngine;
  const std::vector<std::string> &m_sfilesInChoose;
};

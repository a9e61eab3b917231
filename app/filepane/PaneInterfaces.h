// What the file pane's controls and the main frame ask of the file pane, and what the pane asks
// of the main frame. The list and the tree hold the pane through these and include no header of
// the pane; the frame, which makes the pane, runs the same commands on it; and the pane finds the
// preview through its top-level window, without the frame's header. The folder tree likewise
// holds the combo that owns it through the one interface below, without the combo's header.
#pragma once

#include <string>
#include <vector>

#include "app/core/PaneOperation.h"
#include "engine/TaskBaseClass.h"

class CQuendaView;
class wxTreeItemId;

// The commands on the selection that both the list's context menu and the main frame run.
class FilePaneCommands {
 public:
  // The number of selected files.
  virtual int GetFilesNum() const = 0;
  // 1 when the selection is on the KDT side.
  virtual int IsExport() const = 0;
  // The plug-in host's pattern list without the KDT pattern.
  virtual std::string GetFileSet() const = 0;
  // 1 when the selection can be converted; under "*.*" it also decides the side.
  virtual int IsEnableConvert() = 0;
  virtual void ViewProperty() = 0;
  virtual void ReName() = 0;
  virtual void ConvertTo(int bExport, const std::string &objExt) = 0;
  virtual void YCConvertSet(int bExport, const std::string &objExt) = 0;

  // Runs the operation of a conversion command; the caller has checked that it may run.
  void RunOperation(const PaneOperation &operation) {
    switch (operation.command) {
      case ConvertCommand::Import:
        ConvertTo(0, operation.objExt);
        return;
      case ConvertCommand::Property:
        ViewProperty();
        return;
      case ConvertCommand::ReverseFieldDominance:
        YCConvertSet(0, operation.objExt);
        return;
      case ConvertCommand::ExportTo:
        ConvertTo(1, operation.objExt);
        return;
      case ConvertCommand::Settings:
      case ConvertCommand::Rename:
        return;  // not operations of the command range
    }
  }

 protected:
  ~FilePaneCommands() = default;
};

// What the file list reports to the pane besides running its commands.
class FileListOwner : public FilePaneCommands {
 public:
  virtual void OnUpdateFilesList(const std::vector<std::string> &files,
                                 CTaskBaseClass::TaskType taskType) = 0;

 protected:
  ~FileListOwner() = default;
};

// What the folder tree asks of the pane: to list the folder of a tree item.
class FolderTreeOwner {
 public:
  virtual int PopulateFileList(const wxTreeItemId &hItem, int updateImg) = 0;

 protected:
  ~FolderTreeOwner() = default;
};

// What the folder tree asks of the combo it drops down from, beyond the toolkit's combo that the
// tree reaches as its popup.
class FolderTreeCombo {
 public:
  // The height of the dropped-down tree in pixels.
  virtual int GetDroppedHeight() const = 0;
  // The width of the folder icon drawn in the combo's field.
  virtual int GetIconWidth() const = 0;

 protected:
  ~FolderTreeCombo() = default;
};

// The window that holds the preview pane beside the file pane.
class PreviewHost {
 public:
  virtual CQuendaView *GetRightPane() const = 0;

 protected:
  ~PreviewHost() = default;
};

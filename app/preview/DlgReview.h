// "Image Review": the target just written, in a resizable window of its own, drawn exactly as
// the preview pane draws its picture (at its own size and centred when it fits, otherwise
// reduced with its aspect kept) on a grey ground. A file that cannot be loaded leaves the
// window grey, without a message.
#pragma once

#include <wx/timer.h>

#include <memory>
#include <string>

#include "platform/gui/DialogBase.h"
#include "plugins/PluginInterface.h"

class CImageFileEngine;
class CTaskBaseClass;
class wxDC;

class CDlgReview : public platform::gui::DialogBase {
 public:
  // imgEngine: the plug-in host the file is loaded through; it must outlive the dialog.
  CDlgReview(wxWindow *pParent, CImageFileEngine &imgEngine);
  ~CDlgReview() override;

  // The full path of the file to show; the caller sets it before DoModal.
  std::string m_sfileName;

  // Paints the window's client area onto dc: the grey ground, then the picture when one is
  // loaded, no window holds the mouse capture, the window's border is not being dragged and
  // the area is more than 1 by 1 pixels.
  void Draw(wxDC &dc);

 protected:
  // Titles the window after the file, loads the file and places the window: 800 by 600
  // pixels, 50 pixels right of and below the position that centres it on the screen.
  bool OnInitDialog() override;

 private:
  void OnPaint(wxPaintEvent &event);
  void OnCharHook(wxKeyEvent &event);
  void OnSize(wxSizeEvent &event);
  void OnDragWatch(wxTimerEvent &event);

  std::unique_ptr<CTaskBaseClass> pTaskToReview;  // the task that loaded the picture
  CImageFileEngine &m_imgEngine;
  tagRGBInfo *m_pRgbInfo = nullptr;  // the picture, owned by the task
  // A size change that came with a mouse button held: the border is being dragged (the window
  // manager holds the pointer then, so the window sees neither the press nor the release). The
  // watch polls the buttons and draws the picture once they are all up.
  bool m_bDragging = false;
  wxTimer m_dragWatch;
};

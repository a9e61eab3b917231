// The preview pane: the right pane of the main window, showing the picture of the current
// selection on a grey ground, at its own size and centred when it fits, otherwise reduced with
// its aspect kept to fill the pane in one direction and centred in the other.
#pragma once

#include <wx/colour.h>
#include <wx/window.h>

#include <functional>
#include <string>

#include "plugins/PluginInterface.h"

class wxDC;

class CQuendaView : public wxWindow {
 public:
  // Creates the pane as a child of parent and makes the blitter's weights ready.
  CQuendaView(wxWindow *parent, wxWindowID id = wxID_ANY);

  // Shows pRgbInfo (null clears the pane) and repaints the whole pane. The view does not own
  // the picture: the caller keeps it alive until it passes another picture or null.
  // uiScale has no effect.
  void UpdateImageView(tagRGBInfo *pRgbInfo, unsigned int uiScale);

  // "Scale=" followed by the scale of the latest drawing in per cent and "%".
  std::string GetScale() const;
  // Called after every paint of the pane, once the scale of that drawing is known, so that
  // whoever shows the scale shows the drawing's own and not the one before it.
  void SetOnPainted(std::function<void()> onPainted) { m_onPainted = std::move(onPainted); }

  // The frame tells the pane while the operator drags its border: until the drag ends the pane
  // paints only its ground. The frame repaints the pane (Refresh) when the drag ends.
  void SetFrameSizing(bool sizing) { m_bFrameSizing = sizing; }

  // Paints the ground: GroundColour with a one-pixel black outline over the whole pane.
  bool OnEraseBkgnd(wxDC &dc);

  // Draws the picture onto dc (the pane's paint context or a printer's), or, with no picture or
  // while the frame is being sized, nothing, with the scale back at 100.
  void OnDraw(wxDC &dc);

  // Prints the preview through the toolkit's print dialog (Ctrl+P while the pane is active);
  // OnFilePrintDirect prints without the dialog, OnFilePrintPreview opens the toolkit's preview.
  void OnFilePrint();
  void OnFilePrintDirect();
  void OnFilePrintPreview();

  // The drawing routine of the pane, also the review window's: draws pRgbInfo on dc for a
  // window whose client area is client, at its own size and centred when it fits (smaller in
  // both directions), otherwise reduced with its aspect kept through the stretch blitter, and
  // gives the scale of the drawing in per cent (100 when nothing is drawn). Returns 1.
  static int DrawPicture(const tagRGBInfo *pRgbInfo, wxDC &dc, const wxSize &client, int &scale);
  // The grey a picture is shown on, in the pane and in the review window.
  static wxColour GroundColour() { return wxColour(0x81, 0x81, 0x81); }

 private:
  void OnPaint(wxPaintEvent &event);
  void OnCommand(wxCommandEvent &event);
  void Print(bool prompt);

  // Draws pRgbInfo on dc for a pane of the current client size and sets m_iScale.
  int UpdateImage(tagRGBInfo *pRgbInfo, wxDC &dc);
  static void DrawOwnSize(const tagRGBInfo *pRgbInfo, wxDC &dc, int x, int y);
  static void DrawFitted(const tagRGBInfo *pRgbInfo, wxDC &dc, int clientW, int clientH,
                         int &scale);

  int m_iScale = 100;
  tagRGBInfo *m_pRgbInfo = nullptr;
  bool m_bFrameSizing = false;
  std::function<void()> m_onPainted;
};

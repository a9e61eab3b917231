#include "app/shell/AboutDlg.h"

#include <wx/bitmap.h>
#include <wx/dcclient.h>
#include <wx/image.h>

#include "app/common/DialogTemplate.h"
#include "app/res/Artwork.h"
#include "app/res/Resource.h"

namespace {

// The picture combined with the ground by a bitwise AND of each sample, so that its white
// takes on the ground's colour and its dark lines stay. Null for a missing picture.
wxBitmap PictureOnGround(const res::Picture &picture, const wxColour &ground) {
  if (picture.width <= 0 || picture.height <= 0 ||
      picture.rgb.size() != static_cast<size_t>(picture.width) * picture.height * 3) {
    return wxNullBitmap;
  }
  wxImage image(picture.width, picture.height, false);
  unsigned char *data = image.GetData();
  const unsigned char mask[3] = {ground.Red(), ground.Green(), ground.Blue()};
  for (size_t i = 0; i < picture.rgb.size(); ++i) data[i] = picture.rgb[i] & mask[i % 3];
  return wxBitmap(image);
}

}  // namespace

CAboutDlg::CAboutDlg(wxWindow *parent) : DialogBase(parent) {
  CreateFromTemplate(*this, res::IDD_ABOUTBOX);
  Bind(wxEVT_PAINT, &CAboutDlg::OnPaint, this);
}

void CAboutDlg::OnPaint(wxPaintEvent &) {
  wxPaintDC dc(this);
  const wxColour ground = GetBackgroundColour();
  const wxBitmap left = PictureOnGround(res::LoadBitmapResource(res::IDB_ABOUT_LEFT), ground);
  if (!left.IsOk()) return;
  dc.DrawBitmap(left, 0, 0);
  const wxBitmap right = PictureOnGround(res::LoadBitmapResource(res::IDB_ABOUT_RIGHT), ground);
  if (right.IsOk()) dc.DrawBitmap(right, left.GetWidth(), 0);
}

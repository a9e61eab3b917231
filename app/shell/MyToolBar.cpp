#include "app/shell/MyToolBar.h"

#include <wx/bitmap.h>

#include "app/res/Artwork.h"
#include "app/res/Resource.h"
#include "app/res/Strings.h"
#include "app/res/Toolbar.h"

CMyToolBar::CMyToolBar(wxWindow *parent, wxWindowID id, long style)
    : wxToolBar(parent, id, wxDefaultPosition, wxDefaultSize, style) {}

bool CMyToolBar::LoadToolBar() {
  SetToolBitmapSize(wxSize(res::kToolbarImageWidth, res::kToolbarImageHeight));
  for (const res::ToolbarButton &button : res::MainToolbar()) {
    if (button.command == res::ID_SEPARATOR) {
      AddSeparator();
      continue;
    }
    const char *const *xpm = res::ToolbarImageXpm(button.image);
    if (xpm == nullptr) return false;
    const wxBitmap image(xpm);
    if (!image.IsOk()) return false;
    AddTool(static_cast<int>(button.command), wxEmptyString, image, wxNullBitmap, wxITEM_NORMAL,
            wxString::FromUTF8(res::ToolTip(button.command)),
            wxString::FromUTF8(res::StatusPrompt(button.command)));
  }
  return Realize();
}

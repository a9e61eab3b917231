#include "app/filepane/ShellImageList.h"

#include <wx/artprov.h>
#include <wx/bitmap.h>
#include <wx/image.h>
#include <wx/imaglist.h>
#include <wx/module.h>

#include "app/res/ShellIconImages.h"
#include "platform/ShellIcons.h"

namespace {

constexpr int kIconSize = 16;

wxImageList *g_images = nullptr;

// The icon theme's picture of `icon` where the theme has one: the toolkit's own art ids first,
// then the theme's icon names.
wxImage ThemeImage(int icon) {
  wxArtID id;
  switch (icon) {
    case platform::kIconDesktop:
      id = "user-desktop";
      break;
    case platform::kIconHome:
      id = "user-home";
      break;
    case platform::kIconDrive:
      id = wxART_HARDDISK;
      break;
    case platform::kIconRemovable:
      id = wxART_REMOVABLE;
      break;
    case platform::kIconFolder:
      id = wxART_FOLDER;
      break;
    case platform::kIconFolderOpen:
      id = wxART_FOLDER_OPEN;
      break;
    case platform::kIconFile:
      id = wxART_NORMAL_FILE;
      break;
    case platform::kIconPicture:
      id = "image-x-generic";
      break;
    default:
      return wxImage();
  }
  const wxBitmap bitmap = wxArtProvider::GetBitmap(id, wxART_OTHER, wxSize(kIconSize, kIconSize));
  if (!bitmap.IsOk()) return wxImage();
  wxImage image = bitmap.ConvertToImage();
  if (image.GetWidth() != kIconSize || image.GetHeight() != kIconSize)
    image.Rescale(kIconSize, kIconSize, wxIMAGE_QUALITY_HIGH);
  return image;
}

wxImage WithAlpha(wxImage image) {
  if (!image.HasAlpha()) image.InitAlpha();
  return image;
}

// The icon without its link mark, from the theme or else from the program's own pictures.
wxImage BaseImage(int icon) {
  wxImage image = ThemeImage(icon);
  if (!image.IsOk()) image = wxImage(res::ShellIconXpm(icon));
  return WithAlpha(image);
}

// `base` with the link mark laid over it.
wxImage LinkImage(int baseIcon) {
  wxImage image = BaseImage(baseIcon);
  const wxImage mark = WithAlpha(wxImage(res::LinkOverlayXpm()));
  for (int y = 0; y < kIconSize; ++y) {
    for (int x = 0; x < kIconSize; ++x) {
      if (mark.GetAlpha(x, y) == 0) continue;
      image.SetRGB(x, y, mark.GetRed(x, y), mark.GetGreen(x, y), mark.GetBlue(x, y));
      image.SetAlpha(x, y, wxALPHA_OPAQUE);
    }
  }
  return image;
}

wxImage IconImage(int icon) {
  switch (icon) {
    case platform::kIconFolderLink:
      return LinkImage(platform::kIconFolder);
    case platform::kIconFolderOpenLink:
      return LinkImage(platform::kIconFolderOpen);
    case platform::kIconFileLink:
      return LinkImage(platform::kIconFile);
    case platform::kIconPictureLink:
      return LinkImage(platform::kIconPicture);
    default:
      return BaseImage(icon);
  }
}

// Deletes the list while the toolkit still runs.
class ShellImageListModule : public wxModule {
 public:
  bool OnInit() override { return true; }
  void OnExit() override {
    delete g_images;
    g_images = nullptr;
  }

 private:
  wxDECLARE_DYNAMIC_CLASS(ShellImageListModule);
};
wxIMPLEMENT_DYNAMIC_CLASS(ShellImageListModule, wxModule);

}  // namespace

wxImageList &ShellImageList() {
  if (g_images == nullptr) {
    g_images = new wxImageList(kIconSize, kIconSize, false, platform::kShellIconCount);
    for (int icon = 0; icon < platform::kShellIconCount; ++icon)
      g_images->Add(wxBitmap(IconImage(icon)));
  }
  return *g_images;
}

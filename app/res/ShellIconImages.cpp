// The namespace's icons at 16 by 16 pixels: a screen for the desktop, a house for the home
// folder, a disk drive for the file system, a memory stick for a removable medium, closed and
// open folders, a page, a page with a landscape for pictures, and the link mark.
#include "app/res/ShellIconImages.h"

#include "platform/ShellIcons.h"

namespace res {
namespace {

const char *const kDesktop[] = {
    "16 16 5 1",        "  c None",         "k c #202020",      "b c #3070C0",
    "l c #80B0E0",      "s c #A0A0A0",      "                ", " kkkkkkkkkkkkkk ",
    " kbbbbbbbbbbbbk ", " kbllbbbbbbbbbk ", " kblbbbbbbbbbbk ", " kbbbbbbbbbbbbk ",
    " kbbbbbbbbbbbbk ", " kbbbbbbbbbbbbk ", " kbbbbbbbbbbbbk ", " kbbbbbbbbbbbbk ",
    " kkkkkkkkkkkkkk ", "      kssk      ", "      kssk      ", "   kkkkkkkkkk   ",
    "   kssssssssk   ", "   kkkkkkkkkk   "};

const char *const kHome[] = {
    "16 16 5 1",        "  c None",         "k c #202020",      "r c #C04030",
    "w c #F0E8D0",      "d c #805020",      "       kk       ", "      krrk      ",
    "     krrrrk     ", "    krrrrrrk    ", "   krrrrrrrrk   ", "  krrrrrrrrrrk  ",
    " kkkkkkkkkkkkkk ", "  kwwwwwwwwwwk  ", "  kwwwwwwwwwwk  ", "  kwkkwwwwkkwk  ",
    "  kwkkwwwwkkwk  ", "  kwwwwddwwwwk  ", "  kwwwwddwwwwk  ", "  kwwwwddwwwwk  ",
    "  kwwwwddwwwwk  ", "  kkkkkkkkkkkk  "};

const char *const kDrive[] = {
    "16 16 5 1",        "  c None",         "k c #303030",      "s c #C8C8C8",
    "d c #909090",      "g c #20C020",      "                ", "                ",
    "                ", "                ", " kkkkkkkkkkkkkk ", " kssssssssssssk ",
    " kssssssssssssk ", " kddddddddddddk ", " kssssssssssssk ", " kssssssssssgsk ",
    " kssssssssssssk ", " kkkkkkkkkkkkkk ", "                ", "                ",
    "                ", "                "};

const char *const kRemovable[] = {
    "16 16 5 1",        "  c None",         "k c #303030",      "b c #3060B0",
    "s c #C8C8C8",      "w c #FFFFFF",      "                ", "     kkkkkk     ",
    "     kswwsk     ", "     kswwsk     ", "     kssssk     ", "   kkkkkkkkkk   ",
    "   kbbbbbbbbk   ", "   kbbbbbbbbk   ", "   kbbwwwwbbk   ", "   kbbwwwwbbk   ",
    "   kbbbbbbbbk   ", "   kbbbbbbbbk   ", "   kbbbbbbbbk   ", "   kbbbbbbbbk   ",
    "   kkkkkkkkkk   ", "                "};

const char *const kFolder[] = {"16 16 4 1",        "  c None",         "k c #806010",
                               "y c #F0C850",      "d c #D8A830",      "                ",
                               "                ", " kkkkk          ", "kdddddk         ",
                               "kddddddkkkkkkkk ", "kdddddddddddddk ", "kyyyyyyyyyyyyyk ",
                               "kyyyyyyyyyyyyyk ", "kyyyyyyyyyyyyyk ", "kyyyyyyyyyyyyyk ",
                               "kyyyyyyyyyyyyyk ", "kyyyyyyyyyyyyyk ", "kyyyyyyyyyyyyyk ",
                               "kkkkkkkkkkkkkkk ", "                ", "                "};

const char *const kFolderOpen[] = {
    "16 16 5 1",        "  c None",         "k c #806010",      "y c #F8D870",
    "d c #D8A830",      "w c #FFFFFF",      "                ", "                ",
    " kkkkk          ", "kdddddk         ", "kddddddkkkkkkk  ", "kddwwwwwwwwwwk  ",
    "kddwkkkkkkkkkkkk", "kdkyyyyyyyyyyyk ", "kdkyyyyyyyyyyyk ", "kkyyyyyyyyyyyk  ",
    "kkyyyyyyyyyyyk  ", "kyyyyyyyyyyyyk  ", "kyyyyyyyyyyyk   ", "kkkkkkkkkkkkk   ",
    "                ", "                "};

const char *const kFile[] = {"16 16 4 1",        "  c None",         "k c #404040",
                             "w c #FFFFFF",      "g c #C0C0C0",      "  kkkkkkkk      ",
                             "  kwwwwwwkk     ", "  kwwwwwwkgk    ", "  kwwwwwwkggk   ",
                             "  kwwwwwwkkkkk  ", "  kwwwwwwwwwwk  ", "  kwggggggggwk  ",
                             "  kwwwwwwwwwwk  ", "  kwggggggggwk  ", "  kwwwwwwwwwwk  ",
                             "  kwggggggggwk  ", "  kwwwwwwwwwwk  ", "  kwggggggggwk  ",
                             "  kwwwwwwwwwwk  ", "  kwwwwwwwwwwk  ", "  kkkkkkkkkkkk  "};

const char *const kPicture[] = {
    "16 16 7 1",        "  c None",         "k c #404040",      "w c #FFFFFF",
    "b c #80C0F0",      "g c #40A040",      "y c #F0D020",      "d c #206020",
    "  kkkkkkkk      ", "  kwwwwwwkk     ", "  kwwwwwwkwk    ", "  kwwwwwwkwwk   ",
    "  kwwwwwwkkkkk  ", "  kwkkkkkkkkwk  ", "  kwkbbbbyykwk  ", "  kwkbbbbyykwk  ",
    "  kwkbbgbbbkwk  ", "  kwkbgggbbkwk  ", "  kwkgggggdkwk  ", "  kwkggggddkwk  ",
    "  kwkkkkkkkkwk  ", "  kwwwwwwwwwwk  ", "  kwwwwwwwwwwk  ", "  kkkkkkkkkkkk  "};

const char *const kLinkOverlay[] = {
    "16 16 3 1",        "  c None",         "k c #000000",      "w c #FFFFFF",
    "                ", "                ", "                ", "                ",
    "                ", "                ", "                ", "                ",
    "kkkkkkk         ", "kwwwwwk         ", "kwwkkkk         ", "kwwwkkk         ",
    "kwkwkwk         ", "kkwwwwk         ", "kwwwwwk         ", "kkkkkkk         "};

}  // namespace

const char *const *ShellIconXpm(int icon) {
  switch (icon) {
    case platform::kIconDesktop:
      return kDesktop;
    case platform::kIconHome:
      return kHome;
    case platform::kIconDrive:
      return kDrive;
    case platform::kIconRemovable:
      return kRemovable;
    case platform::kIconFolder:
      return kFolder;
    case platform::kIconFolderOpen:
      return kFolderOpen;
    case platform::kIconFile:
      return kFile;
    case platform::kIconPicture:
      return kPicture;
    default:
      return nullptr;
  }
}

const char *const *LinkOverlayXpm() {
  return kLinkOverlay;
}

}  // namespace res

// The program's icons, drawn for it: the main window's (a monitor showing colour bars) and the
// document's (a page with colour bars), each at 32 by 32 and 16 by 16 pixels in 16 colours.
#include "app/res/Artwork.h"
#include "app/res/Resource.h"

namespace res {

namespace {

const char *const kMainIcon32[] = {"32 32 10 1",
                                   "  c None",
                                   "k c #000000",
                                   "d c #404040",
                                   "s c #C0C0C0",
                                   "y c #C0C000",
                                   "c c #00C0C0",
                                   "G c #00C000",
                                   "m c #C000C0",
                                   "R c #C00000",
                                   "B c #0000C0",
                                   "                                ",
                                   "                                ",
                                   "                                ",
                                   " dddddddddddddddddddddddddddddd ",
                                   " dddddddddddddddddddddddddddddd ",
                                   " ddkkkkkkkkkkkkkkkkkkkkkkkkkkdd ",
                                   " ddksssyyyccccGGGmmmmRRRBBBBkdd ",
                                   " ddksssyyyccccGGGmmmmRRRBBBBkdd ",
                                   " ddksssyyyccccGGGmmmmRRRBBBBkdd ",
                                   " ddksssyyyccccGGGmmmmRRRBBBBkdd ",
                                   " ddksssyyyccccGGGmmmmRRRBBBBkdd ",
                                   " ddksssyyyccccGGGmmmmRRRBBBBkdd ",
                                   " ddksssyyyccccGGGmmmmRRRBBBBkdd ",
                                   " ddksssyyyccccGGGmmmmRRRBBBBkdd ",
                                   " ddksssyyyccccGGGmmmmRRRBBBBkdd ",
                                   " ddksssyyyccccGGGmmmmRRRBBBBkdd ",
                                   " ddksssyyyccccGGGmmmmRRRBBBBkdd ",
                                   " ddksssyyyccccGGGmmmmRRRBBBBkdd ",
                                   " ddksssyyyccccGGGmmmmRRRBBBBkdd ",
                                   " ddksssyyyccccGGGmmmmRRRBBBBkdd ",
                                   " ddksssyyyccccGGGmmmmRRRBBBBkdd ",
                                   " ddksssyyyccccGGGmmmmRRRBBBBkdd ",
                                   " ddkkkkkkkkkkkkkkkkkkkkkkkkkkdd ",
                                   " dddddddddddddddddddddddddddddd ",
                                   " dddddddddddddddddddddddddddddd ",
                                   "             dddddd             ",
                                   "             dddddd             ",
                                   "             dddddd             ",
                                   "        dddddddddddddddd        ",
                                   "        dddddddddddddddd        ",
                                   "                                ",
                                   "                                "};

const char *const kMainIcon16[] = {
    "16 16 10 1",       "  c None",         "k c #000000",      "d c #404040",
    "s c #C0C0C0",      "y c #C0C000",      "c c #00C0C0",      "G c #00C000",
    "m c #C000C0",      "R c #C00000",      "B c #0000C0",      "                ",
    "                ", "dddddddddddddddd", "dkkkkkkkkkkkkkkd", "dssyyccGGmmRRBBd",
    "dssyyccGGmmRRBBd", "dssyyccGGmmRRBBd", "dssyyccGGmmRRBBd", "dssyyccGGmmRRBBd",
    "dssyyccGGmmRRBBd", "dssyyccGGmmRRBBd", "dkkkkkkkkkkkkkkd", "dddddddddddddddd",
    "      dddd      ", "    dddddddd    ", "                "};

const char *const kDocumentIcon32[] = {"32 32 11 1",
                                       "  c None",
                                       "k c #000000",
                                       "w c #FFFFFF",
                                       "g c #808080",
                                       "s c #C0C0C0",
                                       "y c #C0C000",
                                       "c c #00C0C0",
                                       "G c #00C000",
                                       "m c #C000C0",
                                       "R c #C00000",
                                       "B c #0000C0",
                                       "                                ",
                                       "     kkkkkkkkkkkkkkkkkkkkkk     ",
                                       "     kwwwwwwwwwwwwwwwwwwwwk     ",
                                       "     kwwwwwwwwwwwwwwwwwwwwk     ",
                                       "     kwwwwwwwwwwwwwwwwwwwwk     ",
                                       "     kwwwwwwwwwwwwwwwwwwwwk     ",
                                       "     kwwssyyccGGGmmRRBBBwwk     ",
                                       "     kwwssyyccGGGmmRRBBBwwk     ",
                                       "     kwwssyyccGGGmmRRBBBwwk     ",
                                       "     kwwssyyccGGGmmRRBBBwwk     ",
                                       "     kwwssyyccGGGmmRRBBBwwk     ",
                                       "     kwwssyyccGGGmmRRBBBwwk     ",
                                       "     kwwssyyccGGGmmRRBBBwwk     ",
                                       "     kwwssyyccGGGmmRRBBBwwk     ",
                                       "     kwwssyyccGGGmmRRBBBwwk     ",
                                       "     kwwssyyccGGGmmRRBBBwwk     ",
                                       "     kwwssyyccGGGmmRRBBBwwk     ",
                                       "     kwwssyyccGGGmmRRBBBwwk     ",
                                       "     kwwssyyccGGGmmRRBBBwwk     ",
                                       "     kwwwwwwwwwwwwwwwwwwwwk     ",
                                       "     kwwwwwwwwwwwwwwwwwwwwk     ",
                                       "     kwwggggggggggggggggwwk     ",
                                       "     kwwwwwwwwwwwwwwwwwwwwk     ",
                                       "     kwwwwwwwwwwwwwwwwwwwwk     ",
                                       "     kwwggggggggggggggggwwk     ",
                                       "     kwwwwwwwwwwwwwwwwwwwwk     ",
                                       "     kwwwwwwwwwwwwwwwwwwwwk     ",
                                       "     kwwggggggggggggggggwwk     ",
                                       "     kwwwwwwwwwwwwwwwwwwwwk     ",
                                       "     kwwwwwwwwwwwwwwwwwwwwk     ",
                                       "     kkkkkkkkkkkkkkkkkkkkkk     ",
                                       "                                "};

const char *const kDocumentIcon16[] = {
    "16 16 11 1",       "  c None",         "k c #000000",      "w c #FFFFFF",
    "g c #808080",      "s c #C0C0C0",      "y c #C0C000",      "c c #00C0C0",
    "G c #00C000",      "m c #C000C0",      "R c #C00000",      "B c #0000C0",
    "  kkkkkkkkkkkk  ", "  kwwwwwwwwwwk  ", "  kwwwwwwwwwwk  ", "  kwsycGmRBwwk  ",
    "  kwsycGmRBwwk  ", "  kwsycGmRBwwk  ", "  kwsycGmRBwwk  ", "  kwsycGmRBwwk  ",
    "  kwsycGmRBwwk  ", "  kwsycGmRBwwk  ", "  kwwwwwwwwwwk  ", "  kwggggggggwk  ",
    "  kwwwwwwwwwwk  ", "  kwggggggggwk  ", "  kwwwwwwwwwwk  ", "  kkkkkkkkkkkk  "};

}  // namespace

const char *const *IconXpm(unsigned id, int size) {
  if (size != 32 && size != 16) return nullptr;
  switch (id) {
    case IDR_MAINFRAME:
      return size == 32 ? kMainIcon32 : kMainIcon16;
    case IDR_QUENDTYPE:
      return size == 32 ? kDocumentIcon32 : kDocumentIcon16;
    default:
      return nullptr;
  }
}

}  // namespace res

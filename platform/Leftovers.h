// What a run that was killed while it wrote into a folder leaves there: new content that never
// became whole, and old content it kept aside (see HiddenSibling.h). The next run that writes
// into the folder clears them away: a temporary whose writer has gone is removed; kept content
// whose writer has gone is removed when its file's name holds a file (the run had replaced it or
// not yet started to), and put back under that name when the name is free, so the content is
// never lost. A name that does not follow the program's pattern exactly, an entry that is no
// regular file, a writer that may still be running, and kept content whose file's name may have
// been cut to fit, are left alone.
#pragma once

#include <string>

namespace platform {

// Clears the leftovers of `folder` (a path without a trailing separator), the first time this
// is asked for that folder in this process; later calls return at once.
void ClearLeftoversOnce(const std::string &folder);

}  // namespace platform

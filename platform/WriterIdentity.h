// Who wrote a hidden file beside an operator's file: the writing process, told apart from every
// other one that ever ran on this system, so that a later run can tell a file whose writer was
// killed from one that a running program is still writing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

struct WriterIdentity {
  uint32_t system = 0;  // this computer and the process-id space its processes are numbered in
  uint32_t boot = 0;    // the computer's current start
  uint64_t pid = 0;
  uint64_t started = 0;  // when the process started, in clock ticks since the boot; 0 unknown
};

// The calling process, as its hidden files name it.
WriterIdentity CurrentWriter();

// The identity as it is written into a file name: "<system>-<boot>-<pid>-<started>", the first
// two as 8 lower-case hexadecimal digits, the others in decimal.
std::string WriterText(const WriterIdentity &writer);
// The identity that `text` spells exactly as WriterText writes one; none for anything else.
std::optional<WriterIdentity> ParseWriterText(std::string_view text);

enum class WriterState { Running, Gone, Unknown };

// Whether the writer can still be writing. Gone only when that is certain: it ran during an
// earlier start of this computer, or no process of its number runs now, or the one that does
// started at another moment (the number was reused) or has ended and waits to be reaped. A
// writer on another computer or in another process-id space, or one this process cannot look
// up, is Unknown.
WriterState StateOf(const WriterIdentity &writer);

}  // namespace platform

#pragma once
// Careful reading of the kernel's files in /proc and /sys, for the hardware description and for what
// the ports layer learns about a tty. Any file may be missing, unreadable, not a regular file, empty,
// endless or without a final newline; none of that may hang the program or put a cut-off or garbled
// text into what it shows.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The text of a regular file, at most maxBytes of it. Nothing when the file is missing, unreadable
// or not a regular file (a FIFO or device would block or never end). When the file is longer than
// maxBytes, only the complete lines within the limit are kept, so no line is ever cut short.
std::optional<std::string> ReadTextFile(const std::string& path, std::size_t maxBytes);

// The first line of a small attribute file, ends trimmed of blanks, control characters shown as '?'.
// Nothing when the file gives no such line or the line is empty.
std::optional<std::string> ReadAttribute(const std::string& path);

// The names in a folder, without "." and ".."; empty when it cannot be read.
std::vector<std::string> ListDirectory(const std::string& path);

// The last part of the target of a symbolic link ("serial" for "../../bus/pnp/drivers/serial").
std::optional<std::string> LinkTargetName(const std::string& path);

bool PathExists(const std::string& path);

} // namespace platform

#pragma once
// Text that the system gives the program, as opposed to bytes from the line: file names from the
// file dialog and the system's own words for a failure. On Linux both are in the system's multibyte
// encoding, UTF-8, the one Qt reads file names in (QFile::decodeName), so a name the file dialog
// returned reads exactly as the user chose it. Message boxes take their text this way; bytes from
// the line stay Latin-1 (Latin1Text.h), one character per byte. ASCII reads the same in both.

#include <QString>
#include <string_view>

namespace afx {

QString FromSystemText(std::string_view text);

} // namespace afx

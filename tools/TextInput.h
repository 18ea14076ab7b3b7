// The text a filter command (sort, convert) reads: a file, or standard input
// when no file (or "-") is named; sort holds it whole, at most a limit.
#ifndef KELVORN_TOOLS_TEXTINPUT_H
#define KELVORN_TOOLS_TEXTINPUT_H

#include <cstddef>
#include <optional>
#include <string>

#include "app/files/InputFile.h"

namespace unihan_tool {

// The commands that hold their whole input refuse more than this rather
// than take the machine's memory (`unihan sort < /dev/zero`).
constexpr std::size_t kMaxTextInputBytes = std::size_t{1} << 30;

// The file named, opened and checked to be a regular file; nullopt for
// standard input (no name, or "-"). Throws kelvorn::Error.
std::optional<kelvorn_files::InputFile> openTextInput(const std::string& file);

// The file's size now, which a command that streams it reads no further
// than. Throws kelvorn::Error.
std::size_t currentSize(const kelvorn_files::InputFile& file);

// The whole text of the file, or of standard input, which is read in pieces
// and refused as soon as it passes the limit, before more is held. Throws
// kelvorn::Error for input that cannot be read or is larger than
// kMaxTextInputBytes; `doing` ends the message about the limit: "sort at
// most that much at once".
std::string readTextInput(const kelvorn_files::InputFile* file, const std::string& doing);

}  // namespace unihan_tool

#endif  // KELVORN_TOOLS_TEXTINPUT_H

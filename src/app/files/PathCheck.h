// What makes a path unfit to name the file it is given for, found before any
// system call sees it. The system reads a path only up to its first NUL
// byte, so "a.bin\0junk" would open a.bin: such a path is refused in every
// door rather than taken for another file. Header only: the all-field
// library, which links none of the file helpers' objects, checks its paths
// with the same words.
#ifndef KELVORN_FILES_PATHCHECK_H
#define KELVORN_FILES_PATHCHECK_H

#include <optional>
#include <string>
#include <string_view>

namespace kelvorn_files {

// The path as a message shows it, a NUL byte written \0.
inline std::string shownPath(std::string_view path) {
  std::string shown;
  for (const char c : path) {
    if (c == '\0') {
      shown += "\\0";
    } else {
      shown += c;
    }
  }
  return shown;
}

// Why a file cannot be read by this path: "a.bin\0junk: a path cannot hold a
// NUL byte"; nullopt for a path the system can be asked about.
inline std::optional<std::string> inputPathProblem(std::string_view path) {
  if (path.find('\0') == std::string_view::npos) return std::nullopt;
  return shownPath(path) + ": a path cannot hold a NUL byte";
}

// The same for a file to write, which also cannot be named by a path ending
// in a slash: that names a directory, and a write replaces only files.
inline std::optional<std::string> outputPathProblem(std::string_view path) {
  if (auto problem = inputPathProblem(path)) return problem;
  if (!path.empty() && path.back() == '/') {
    return std::string(path) + ": ends in / and so names a directory, not a file to write";
  }
  return std::nullopt;
}

}  // namespace kelvorn_files

#endif  // KELVORN_FILES_PATHCHECK_H

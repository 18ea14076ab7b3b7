#include "app/files/BundledFiles.h"

#if !defined(__EMSCRIPTEN__)
#include <dlfcn.h>
#include <link.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "kelvorn/Unihan.h"

namespace fs = std::filesystem;

namespace kelvorn_files {
namespace {

// The application library is asked for by its SONAME among the objects
// already loaded, rather than through the address of a function of ours:
// the tool and the Python module link these objects themselves, yet their
// data lies where the library was installed.
fs::path applicationLibraryDir() {
#if defined(__EMSCRIPTEN__)
  // A WebAssembly module is one file with no library beside it; its data
  // comes as bytes.
  return {};
#else
  void* handle = ::dlopen(KELVORN_APP_SONAME, RTLD_LAZY | RTLD_NOLOAD);
  if (handle == nullptr) return {};
  const link_map* map = nullptr;
  fs::path dir;
  if (::dlinfo(handle, RTLD_DI_LINKMAP, &map) == 0 && map != nullptr && map->l_name != nullptr) {
    // Resolved, so that a library loaded through a symbolic link such as
    // Debian's /lib -> /usr/lib finds /usr/share rather than /share.
    std::error_code ec;
    const fs::path library = fs::canonical(map->l_name, ec);
    if (!ec) dir = library.parent_path();
  }
  ::dlclose(handle);
  return dir;
#endif
}

std::optional<std::string> dataDirFromEnvironment() {
  const char* value = std::getenv(kDataDirVariable);  // NOLINT(concurrency-mt-unsafe)
  if (value == nullptr || *value == '\0') return std::nullopt;
  return std::string(value);
}

std::string listed(const std::vector<std::string>& dirs) {
  std::string text;
  for (std::size_t i = 0; i < dirs.size(); ++i) {
    if (i > 0) text += i + 1 == dirs.size() ? " or " : ", ";
    text += dirs[i];
  }
  return text;
}

std::optional<std::string> find(const std::vector<std::string>& dirs, const std::string& name) {
  for (const std::string& dir : dirs) {
    const fs::path candidate = fs::path(dir) / name;
    std::error_code ec;
    if (fs::is_regular_file(candidate, ec)) return candidate.string();
  }
  return std::nullopt;
}

}  // namespace

std::vector<std::string> bundledDirs() {
  if (const std::optional<std::string> chosen = dataDirFromEnvironment()) return {*chosen};
  // Worked out once: a loaded library stays where it was loaded from, and
  // a bundle asks for each of its files in turn.
  static const std::vector<std::string> installed = [] {
    const fs::path libraryDir = applicationLibraryDir();
    if (libraryDir.empty()) return std::vector<std::string>();
    return std::vector<std::string>{
        (libraryDir / KELVORN_LIBDIR_TO_DATADIR).lexically_normal().string(),
        (libraryDir / "data").string(), libraryDir.string()};
  }();
  return installed;
}

std::string bundledFilePath(const std::string& name) {
  const std::vector<std::string> dirs = bundledDirs();
  if (const std::optional<std::string> found = find(dirs, name)) return *found;
  if (dataDirFromEnvironment()) {
    throw kelvorn::Error("no bundled " + name + " in " + dirs.front() + " (named by " +
                         kDataDirVariable + ")");
  }
  if (dirs.empty()) {
    throw kelvorn::Error("no bundled " + name + ": cannot tell where the library is installed (set " +
                         kDataDirVariable + ")");
  }
  throw kelvorn::Error("no bundled " + name + " in " + listed(dirs) + " (set " + kDataDirVariable +
                       " to the directory that holds it)");
}

std::string bundledFileGuess(const std::string& name) {
  const std::vector<std::string> dirs = bundledDirs();
  if (const std::optional<std::string> found = find(dirs, name)) return *found;
  return dirs.empty() ? std::string() : (fs::path(dirs.front()) / name).string();
}

}  // namespace kelvorn_files

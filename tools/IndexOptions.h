// What the index subcommands (radical, strokes, reading, sort) share: reading
// their arguments, building the index from the selected data, and printing a
// character as text or as one JSON object.
#ifndef KELVORN_TOOLS_INDEXOPTIONS_H
#define KELVORN_TOOLS_INDEXOPTIONS_H

#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "Commands.h"
#include "kelvorn/Unihan.h"
#include "kelvorn/UnihanIndex.h"

namespace unihan_tool {

// A decimal argument from low to high; throws ToolError naming what it is.
int parseNumberArgument(const std::string& arg, const std::string& what, int low, int high);

// A Unihan field name among the given ones; throws ToolError otherwise.
kelvorn::unihanPropT parseFieldName(const std::string& name,
                                    const std::vector<kelvorn::unihanPropT>& allowed);

// The data of --data (or the bundled image) and the index over it.
struct LoadedIndex {
  kelvorn::Unihan unihan;
  std::unique_ptr<kelvorn::UnihanIndex> index;
};
std::unique_ptr<LoadedIndex> loadIndex(const GlobalOptions& global);

// {"codePoint": "U+6F22", "char": "漢"}; callers add their own members.
nlohmann::ordered_json charJson(char32_t codePoint);

// One line of JSON Lines; bytes of the data that are not UTF-8 are replaced.
std::string jsonLine(const nlohmann::ordered_json& value);

}  // namespace unihan_tool

#endif  // KELVORN_TOOLS_INDEXOPTIONS_H

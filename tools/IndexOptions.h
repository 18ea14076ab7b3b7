// What the index subcommands (radical, strokes, reading, sort) share: reading
// their arguments, building the index from the selected data, and printing a
// character as text or as one JSON object.
#ifndef KELVORN_TOOLS_INDEXOPTIONS_H
#define KELVORN_TOOLS_INDEXOPTIONS_H

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "Commands.h"
#include "ToolError.h"
#include "kelvorn/Unihan.h"
#include "kelvorn/UnihanFields.h"
#include "kelvorn/UnihanIndex.h"

namespace unihan_tool {

// A decimal argument from low to high; throws ToolError naming what it is.
int parseNumberArgument(const std::string& arg, const std::string& what, int low, int high);

// The source or reading field of that name among the given ones (kelvorn::kSources,
// kelvorn::kReadings); throws UsageError naming them all otherwise.
template <typename Field, std::size_t N>
Field parseFieldName(const std::string& name, const std::array<Field, N>& allowed) {
  std::string names;
  for (const Field field : allowed) {
    if (kelvorn::fieldName(field) == name) return field;
    names += (names.empty() ? "" : ", ") + std::string(kelvorn::fieldName(field));
  }
  throw UsageError("unknown field '" + name + "' (expected one of " + names + ")");
}

// The data of --data (or the bundled image) with the all-field data
// fieldsData names (empty: the bundled image, or the data's own text), whose
// radical marks order the index: the index saved beside the all-field image
// for these very images, or one built from them, on the first question.
kelvorn::Unihan openSelectedBundle(const GlobalOptions& global, const std::string& fieldsData);

// Whether the file begins with the core image's magic.
bool isCoreImage(const std::string& path);

// The core image the selection loads from: --data when it names one, else
// the bundled image beside the tool. None for text, or when the bundled
// image lies only where the library finds it.
std::optional<std::string> coreImagePath(const GlobalOptions& global);

// kRSUnicode's marks and kCompatibilityVariant, which the core drops.
kelvorn::RadicalStrokeExtras radicalStrokeExtras(const kelvorn::UnihanFields& fields);

// {"codePoint": "U+6F22", "char": "漢"}; callers add their own members.
nlohmann::ordered_json charJson(char32_t codePoint);

// One line of JSON Lines; bytes of the data that are not UTF-8 are replaced.
std::string jsonLine(const nlohmann::ordered_json& value);

}  // namespace unihan_tool

#endif  // KELVORN_TOOLS_INDEXOPTIONS_H

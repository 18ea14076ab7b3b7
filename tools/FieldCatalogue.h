// What each Unihan field holds and which of Unicode's Unihan_*.txt files
// carries it: the one list `unihan fields` describes the fields from.
#ifndef KELVORN_TOOLS_FIELDCATALOGUE_H
#define KELVORN_TOOLS_FIELDCATALOGUE_H

#include <string_view>

namespace unihan_tool {

struct FieldDescription {
  std::string_view field;
  std::string_view file;         // e.g. "Unihan_Readings.txt"
  std::string_view description;  // one line
};

// The description of a field of any release since 15.0, or nullptr for a
// field this tool does not know (a later release's).
const FieldDescription* describeField(std::string_view field);

}  // namespace unihan_tool

#endif  // KELVORN_TOOLS_FIELDCATALOGUE_H

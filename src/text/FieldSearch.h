// Names the field of a Unihan data line.
#ifndef KELVORN_TEXT_FIELDSEARCH_H
#define KELVORN_TEXT_FIELDSEARCH_H

#include <cstddef>
#include <string_view>

namespace kelvorn_private {

struct FieldMatch {
  int prop;            // the unihanPropT value, or -1 for an unlisted field
  std::size_t offset;  // where the first occurrence of its name starts
};

// The whole line is searched: the lowest table entry that occurs anywhere in
// it names the field. Every entry begins with 'k', so one scan over the 'k's
// of the line gives the same answer as one substring search per entry.
FieldMatch findField(std::string_view line);

}  // namespace kelvorn_private

#endif  // KELVORN_TEXT_FIELDSEARCH_H

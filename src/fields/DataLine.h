// One line of Unihan text: "U+XXXX<TAB>field<TAB>value".
//
//   code point  "U+" then 4 to 6 hexadecimal digits (either case), at most
//               10FFFF and not a surrogate
//   field       one or more ASCII letters, digits or underscores
//   value       the rest of the line, not empty, valid UTF-8, kept byte for
//               byte (tabs and inner spaces included)
#ifndef KELVORN_FIELDS_DATALINE_H
#define KELVORN_FIELDS_DATALINE_H

#include <string_view>

namespace kelvorn_fields_private {

struct DataLine {
  char32_t codePoint = 0;
  std::string_view field;
  std::string_view value;
};

enum class LineKind { kData, kSkipped, kMalformed };

// What a line (without its line end) is: data, filled into *out; a comment
// ("#" first) or a blank line (nothing, or only spaces and tabs), skipped;
// or anything else.
LineKind classifyLine(std::string_view line, DataLine* out) noexcept;

}  // namespace kelvorn_fields_private

#endif  // KELVORN_FIELDS_DATALINE_H

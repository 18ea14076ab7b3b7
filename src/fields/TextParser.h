// Unihan text to the sorted list of (code point, field, value) that an image
// is built from.
//
// Each source is split into lines at LF; one CR before the LF is dropped, so
// CRLF files read like LF files (a value therefore never ends in CR). A
// UTF-8 byte-order mark at the very start of a source is dropped. Comment
// and blank lines are skipped; any other line that is not a data line (see
// DataLine.h) is an error naming source and line, as is a (code point,
// field) pair given twice, in one source or across several: the build never
// drops or picks among data silently. So is text of more distinct field
// names than kMaxFieldCount.
#ifndef KELVORN_FIELDS_TEXTPARSER_H
#define KELVORN_FIELDS_TEXTPARSER_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fields/TextSources.h"

namespace kelvorn_fields_private {

struct Record {
  char32_t codePoint;
  std::uint32_t field;  // index into ParsedText::fieldNames
  std::string_view value;  // into the source's text
};

struct ParsedText {
  std::vector<std::string_view> fieldNames;  // sorted bytewise, distinct
  std::vector<Record> records;  // by code point, then field; no two alike
};

// An image keeps each code point's set of fields as one bit a field, so its
// size grows with the fields times the distinct sets, and the sets can be
// as many as the code points: text of N distinct fields could make an image
// of N squared bits. A limit on the fields keeps the image, and the memory
// that builds it, within a few times the text. Unihan 17.0 has 98 fields.
constexpr std::size_t kMaxFieldCount = 512;

// The views point into the sources, which must outlive the result. Throws
// kelvorn::FieldsError.
ParsedText parseText(const std::vector<TextSource>& sources);

}  // namespace kelvorn_fields_private

#endif  // KELVORN_FIELDS_TEXTPARSER_H

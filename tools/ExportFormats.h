// The pieces of export's output formats, appended to a buffer: written by
// hand because building a JSON object per code point costs more than the
// rest of the export together.
#ifndef KELVORN_TOOLS_EXPORTFORMATS_H
#define KELVORN_TOOLS_EXPORTFORMATS_H

#include <string>
#include <string_view>

#include "fields/expand/Value.h"

namespace unihan_tool {

// A JSON string literal. Quotes, backslashes and control characters are
// escaped; a byte that is not part of valid UTF-8 (only a damaged image can
// hold one) becomes \ufffd, so that the output is always valid JSON.
void appendJsonString(std::string* out, std::string_view text);

// An expanded field value as JSON: null, a number, a string, an array or an
// object with its members in grammar order.
void appendJsonValue(std::string* out, const kelvorn_expand::Value& value);

// A CSV cell, quoted (with quotes doubled) when it holds a comma, a quote,
// CR or LF, or starts or ends with a space, as RFC 4180 has it.
void appendCsvCell(std::string* out, std::string_view text);

}  // namespace unihan_tool

#endif  // KELVORN_TOOLS_EXPORTFORMATS_H

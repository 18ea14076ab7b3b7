// Parsed Unihan text to the bytes of an all-field image (FieldsFormat.h).
#ifndef KELVORN_FIELDS_IMAGEBUILDER_H
#define KELVORN_FIELDS_IMAGEBUILDER_H

#include <string>
#include <string_view>

#include "fields/TextParser.h"

namespace kelvorn_fields_private {

// Throws kelvorn::FieldsError when the data outgrows the format's integer
// widths or the version string is empty.
std::string buildImage(const ParsedText& text, std::string_view unicodeVersion);

}  // namespace kelvorn_fields_private

#endif  // KELVORN_FIELDS_IMAGEBUILDER_H

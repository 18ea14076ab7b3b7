// Strict UTF-8 decoding for the string comparators and the reading folder.
#ifndef KELVORN_INDEX_UTF8DECODE_H
#define KELVORN_INDEX_UTF8DECODE_H

#include <cstddef>
#include <string_view>

namespace kelvorn_index_private {

// Decodes the character that starts at text[*pos] into *codePoint and moves
// *pos past it. Returns false, leaving both untouched, when the bytes there
// are not a shortest-form UTF-8 encoding of a scalar value (no surrogates,
// nothing above U+10FFFF) or are cut short by the end of the text.
bool nextCodePoint(std::string_view text, std::size_t* pos, char32_t* codePoint) noexcept;

// True when every byte of text belongs to a valid UTF-8 sequence.
bool isValidUtf8(std::string_view text) noexcept;

}  // namespace kelvorn_index_private

#endif  // KELVORN_INDEX_UTF8DECODE_H

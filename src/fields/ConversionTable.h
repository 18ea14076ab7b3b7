// The dense tables behind conversion between simplified and traditional
// characters: one entry per code point up to the last one that has the field,
// so that converting a character is one bounds check and one load.
#ifndef KELVORN_FIELDS_CONVERSIONTABLE_H
#define KELVORN_FIELDS_CONVERSIONTABLE_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "kelvorn/UnihanFields.h"

namespace kelvorn_fields_private {

struct ConversionTable {
  // to[cp]: what cp becomes; code points past the end stay as they are.
  std::u32string to;
  // several[cp]: the field lists more than one character for cp.
  std::vector<bool> several;
  // The same for a few characters only (a short text's), by code point,
  // in place of the arrays when it is not empty: the arrays would reach up
  // to the largest of them.
  struct Entry {
    char32_t from;
    char32_t to;
    bool several;
  };
  std::vector<Entry> few;

  char32_t convert(char32_t cp) const noexcept;
  bool hasSeveral(char32_t cp) const noexcept;
};

// From kSimplifiedVariant (to simplified) or kTraditionalVariant (to
// traditional), choosing among several forms by the other variant field and
// kUnihanCore2020 (docs/lexicon.md states the rule); a character without
// the field stays.
ConversionTable buildConversionTable(const kelvorn::UnihanFields& fields,
                                     std::string_view variantField);

// The entries of that table for the characters of `text` alone, the others
// left as they are: for a short text, a fraction of the cost of the whole
// table. Stops at the first byte that is not UTF-8 (convertText refuses it).
ConversionTable buildConversionTableFor(const kelvorn::UnihanFields& fields,
                                        std::string_view variantField, std::string_view text);

// A character of the input that hasSeveral() marks.
struct MarkedChar {
  std::size_t offset;  // in bytes
  std::size_t index;   // in characters
  char32_t codePoint;
  char32_t chosen;
};

// Converts UTF-8 text through the table; every byte of a character that
// stays (and of ASCII) is copied unchanged. When `marked` is given, the
// characters with several candidates are appended to it. Throws
// kelvorn::FieldsError naming the line and offset of a byte that is not
// UTF-8.
std::string convertText(std::string_view text, const ConversionTable& table,
                        std::vector<MarkedChar>* marked);

}  // namespace kelvorn_fields_private

#endif  // KELVORN_FIELDS_CONVERSIONTABLE_H

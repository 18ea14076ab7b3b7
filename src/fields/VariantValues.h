// The value of a Unihan variant field (kSimplifiedVariant, kTraditionalVariant,
// kSemanticVariant, kSpecializedSemanticVariant, kZVariant, kSpoofingVariant,
// kCompatibilityVariant), read into the characters it names and the
// dictionaries that back each one. This is the one reader of that grammar;
// the lexicon and the tool's expanded export both use it. The all-field
// library keeps its symbols hidden, so a program outside the library (the
// tool, the tests) compiles VariantValues.cpp in, as tests/CMakeLists.txt does.
//
//   value    target (" " target)*
//   target   "U+" 4 to 6 hexadecimal digits (either case), a scalar value
//            (at most 10FFFF, no surrogate), then optionally
//            "<" source ("," source)*
//   source   an ASCII letter, then ASCII letters, digits and "_", then
//            optionally ":" and one or more ASCII letters
//            ("kMatthews", "kMatthews:T", "kHanYu:TZ")
//
// Unicode 17.0 writes every one of its 18,967 variant values this way.
//
// Bad input has a defined result: the value is split at spaces (runs of
// spaces and a space at either end give no empty targets), a piece that
// does not follow the grammar as a whole is left out of `targets` and listed
// in `invalid` as it stands, and the good pieces around it are kept. So
// "U+6C49 U+zz U+5154<" gives one target, U+6C49, and two invalid pieces.
#ifndef KELVORN_FIELDS_VARIANTVALUES_H
#define KELVORN_FIELDS_VARIANTVALUES_H

#include <string_view>
#include <vector>

namespace kelvorn_fields_private {

struct VariantTarget {
  char32_t codePoint = 0;
  // The raw source tags, in the value's order: "kMatthews:T". Views into the
  // parsed value.
  std::vector<std::string_view> sources;
};

struct VariantValue {
  std::vector<VariantTarget> targets;     // in the value's order
  std::vector<std::string_view> invalid;  // the pieces that are not targets
};

VariantValue parseVariantValue(std::string_view value);

}  // namespace kelvorn_fields_private

#endif  // KELVORN_FIELDS_VARIANTVALUES_H

// kelvorn/UnihanLexicon.h - questions across characters, answered from the
// all-field store: variants and the simplified/traditional class of a
// character, conversion of text between the two scripts character by
// character, search by English gloss (kDefinition), and any field in reverse.
//
// A UnihanLexicon is made from a UnihanFields and never changes. Each index
// is built lazily, once, on the first question that needs it (the conversion
// tables, the gloss index, and one value index per field); any number of
// threads may ask at once, and a build that two of them start is done once.
// Copies share the store and every index through a shared_ptr.
//
// The string_views and references it answers stay valid as long as some copy
// of the lexicon lives.
#ifndef KELVORN_UNIHANLEXICON_H
#define KELVORN_UNIHANLEXICON_H

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "kelvorn/UnihanFields.h"

namespace kelvorn_fields_private {
class LexiconState;
class StoredLexicon;
}  // namespace kelvorn_fields_private

namespace kelvorn {

// The variant fields, in the order variants() answers them.
inline constexpr std::array<std::string_view, 7> kVariantFields = {
    "kSimplifiedVariant",          "kTraditionalVariant", "kSemanticVariant",
    "kSpecializedSemanticVariant", "kZVariant",           "kSpoofingVariant",
    "kCompatibilityVariant"};

// One character a variant field names.
struct Variant {
  std::string_view field;  // one of kVariantFields
  char32_t codePoint = 0;
  std::vector<std::string_view> sources;  // raw tags, "kMatthews:T"; often none
};

enum class Script { kSimplified, kTraditional };

// See scriptClass().
enum class ScriptClass { kNeither, kSimplifiedOnly, kTraditionalOnly, kBoth };

// The class's name as the tool and Python print it: "simplified",
// "traditional", "both" or "neither".
inline const char* scriptClassName(ScriptClass c) noexcept {
  switch (c) {
    case ScriptClass::kSimplifiedOnly:
      return "simplified";
    case ScriptClass::kTraditionalOnly:
      return "traditional";
    case ScriptClass::kBoth:
      return "both";
    case ScriptClass::kNeither:
      break;
  }
  return "neither";
}

// A character of converted text whose variant field lists several
// characters, so that text alone could not choose.
struct AmbiguousChar {
  std::size_t offset = 0;  // byte offset of the character in the input
  std::size_t index = 0;   // its place among the input's characters
  char32_t codePoint = 0;
  char32_t chosen = 0;               // what the conversion wrote
  std::vector<char32_t> candidates;  // what the field lists, in its order
};

struct Conversion {
  std::string text;
  std::vector<AmbiguousChar> ambiguous;  // in text order
};

class KELVORN_UNIHAN_FIELDS_API UnihanLexicon {
 public:
  explicit UnihanLexicon(const UnihanFields& fields);
  // The same, answering search() and charsWith() of the fields they keep
  // from the stored lexicon tables of the store's image (docs/formats.md),
  // opened in place: a file beside the installed all-field image, or bytes
  // it keeps. Throws FieldsError, naming `name`, for tables that are not
  // sound or were written for another image. Tables damaged past what
  // opening checks answer as if they were absent.
  static UnihanLexicon withStoredTables(const UnihanFields& fields, std::string_view path);
  static UnihanLexicon withStoredTableBytes(const UnihanFields& fields, std::string bytes,
                                            std::string_view name = "<buffer>");
  // The stored tables of this lexicon's store: the gloss index and the
  // value index of each of `valueFields` the store has.
  std::string storedTables(const std::vector<std::string_view>& valueFields) const;
  UnihanLexicon(const UnihanLexicon& other) = default;
  UnihanLexicon& operator=(const UnihanLexicon& other) = default;
  ~UnihanLexicon() = default;

  const UnihanFields& fields() const noexcept;

  // Every target of every variant field of the character, field by field in
  // kVariantFields order, then in the value's order. Pieces of a value that
  // are not variant targets are left out.
  std::vector<Variant> variants(char32_t codePoint) const;

  // Simplified when the character has a kTraditionalVariant other than
  // itself, or lists itself in kSimplifiedVariant; traditional when it has a
  // kSimplifiedVariant other than itself, or lists itself in
  // kTraditionalVariant. 汉 is simplified only, 漢 traditional only, 后
  // (kTraditionalVariant 后 後) both, 人 (no such field) neither.
  ScriptClass scriptClass(char32_t codePoint) const;

  // The character as the conversion writes it: unchanged when its
  // kSimplifiedVariant (to kSimplified; kTraditionalVariant to kTraditional)
  // is absent or lists the character itself, otherwise the first character
  // listed.
  char32_t convert(char32_t codePoint, Script to) const;
  // The same for every code point at once: table[cp] for a code point below
  // table.size(), every other code point unchanged.
  std::u32string_view conversionTable(Script to) const;

  // Converts UTF-8 text character by character; every byte that is not a
  // converted character (ASCII, line ends, other scripts) is copied as it is.
  // Throws FieldsError for text that is not UTF-8, naming the line and the
  // byte's offset in it: "line 2: not valid UTF-8: byte 0xFF at offset 5"
  // (lines count from 1 at LF, offsets from 0).
  std::string convert(std::string_view text, Script to) const;
  // The same, and the characters whose field listed more than one character.
  Conversion convertReporting(std::string_view text, Script to) const;

  // The characters whose kDefinition holds every word of `query`, in
  // code-point order. A word is a maximal run of ASCII letters, compared
  // without case, in the query and in the definitions alike: "to-lick" asks
  // for "to" and "lick", "A4" for "a". A query without a word finds nothing.
  std::vector<char32_t> search(std::string_view query) const;
  // The words of text as search() reads them, lowercased, in order.
  static std::vector<std::string> glossWords(std::string_view text);
  // The characters in the order search() answers them: those kHanyuPinlu
  // counts, most counted first; then kUnihanCore2020's, those of the most
  // regions first; then the rest; ties in radical-stroke order.
  std::vector<char32_t> commonFirst(std::vector<char32_t> characters) const;

  // The characters that have `value` as one of the field's space-separated
  // values, byte for byte, in code-point order; empty for a value no
  // character has. Throws FieldsError for a field the store does not have.
  const std::vector<char32_t>& charsWith(std::string_view field, std::string_view value) const;

 private:
  UnihanLexicon(const UnihanFields& fields,
                std::shared_ptr<const kelvorn_fields_private::StoredLexicon> stored);
  std::shared_ptr<const kelvorn_fields_private::LexiconState> state_;
};

}  // namespace kelvorn

#endif  // KELVORN_UNIHANLEXICON_H

#include "fields/ConversionTable.h"

#include <algorithm>
#include <numeric>

#include "fields/VariantValues.h"
#include "kelvorn/Utf8.h"

namespace kelvorn_fields_private {
namespace {

// A converted character is at most twice as long as the original (a form
// past the BMP for a character of two bytes; the data may map any character),
// and ASCII is never converted, so twice the input always holds the output.
std::size_t outputBound(std::size_t inputSize) { return 2 * inputSize; }

// Writes the UTF-8 form of a scalar value at out; answers the byte count.
std::size_t encodeAt(char32_t cp, char* out) noexcept {
  if (cp < 0x80) {
    out[0] = static_cast<char>(cp);
    return 1;
  }
  if (cp < 0x800) {
    out[0] = static_cast<char>(0xC0 | (cp >> 6));
    out[1] = static_cast<char>(0x80 | (cp & 0x3F));
    return 2;
  }
  if (cp < 0x10000) {
    out[0] = static_cast<char>(0xE0 | (cp >> 12));
    out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out[2] = static_cast<char>(0x80 | (cp & 0x3F));
    return 3;
  }
  out[0] = static_cast<char>(0xF0 | (cp >> 18));
  out[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
  out[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
  out[3] = static_cast<char>(0x80 | (cp & 0x3F));
  return 4;
}

[[noreturn]] void throwNotUtf8(std::string_view text, std::size_t bad) {
  const std::string_view before = text.substr(0, bad);
  const std::size_t line =
      1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
  const std::size_t lastLf = before.rfind('\n');
  const std::size_t lineStart = lastLf == std::string_view::npos ? 0 : lastLf + 1;
  static constexpr char kHex[] = "0123456789ABCDEF";
  const auto byte = static_cast<unsigned char>(text[bad]);
  throw kelvorn::FieldsError("line " + std::to_string(line) + ": not valid UTF-8: byte 0x" +
                             kHex[byte >> 4] + kHex[byte & 0xFU] + " at offset " +
                             std::to_string(bad - lineStart));
}

}  // namespace

namespace {

// Which forms the data gives one character in one direction, and what tells
// the forms apart: the field of the other direction, and whether a form is
// in the everyday set of the script converted to (kUnihanCore2020's T for
// traditional, G for simplified).
class FormChooser {
 public:
  FormChooser(const kelvorn::UnihanFields& fields, std::string_view variantField)
      : fields_(fields),
        field_(fields.fieldIndex(variantField)),
        reverse_(fields.fieldIndex(variantField == "kSimplifiedVariant" ? "kTraditionalVariant"
                                                                        : "kSimplifiedVariant")),
        core_(fields.fieldIndex("kUnihanCore2020")),
        region_(variantField == "kSimplifiedVariant" ? 'G' : 'T') {}

  std::vector<char32_t> forms(char32_t cp) const { return targetsIn(cp, field_); }

  // A character the field does not list among its own forms is written only
  // in the other script, so it always becomes one of them. One that lists
  // itself is written in both; it becomes another form only when that form
  // stands for it alone (時 simplifies to 时 and nothing else), or when the
  // character itself is not in everyday use in the script converted to (开
  // among traditional text). Everyday forms are preferred, then list order.
  char32_t choose(char32_t cp, const std::vector<char32_t>& forms) const {
    std::vector<char32_t> others;
    for (const char32_t form : forms) {
      if (form != cp) others.push_back(form);
    }
    if (others.empty()) return cp;
    if (others.size() == forms.size()) return preferEveryday(others);
    std::vector<char32_t> onlyOurs;
    for (const char32_t form : others) {
      if (targetsIn(form, reverse_) == std::vector<char32_t>{cp}) onlyOurs.push_back(form);
    }
    if (!onlyOurs.empty()) return preferEveryday(onlyOurs);
    return isEveryday(cp) ? cp : preferEveryday(others);
  }

 private:
  std::vector<char32_t> targetsIn(char32_t cp, std::optional<std::size_t> field) const {
    std::vector<char32_t> out;
    if (!field) return out;
    for (const VariantTarget& t : parseVariantValue(fields_.valueAt(cp, *field).value_or("")).targets) {
      out.push_back(t.codePoint);
    }
    return out;
  }

  bool isEveryday(char32_t cp) const {
    if (!core_) return false;
    return fields_.valueAt(cp, *core_).value_or("").find(region_) != std::string_view::npos;
  }

  char32_t preferEveryday(const std::vector<char32_t>& forms) const {
    for (const char32_t form : forms) {
      if (isEveryday(form)) return form;
    }
    return forms.front();
  }

  const kelvorn::UnihanFields& fields_;
  std::optional<std::size_t> field_;
  std::optional<std::size_t> reverse_;
  std::optional<std::size_t> core_;
  char region_;
};

}  // namespace

namespace {

// A table of `size` entries, each code point left as it is but those of
// `chosen`, whose entries the chooser fills in.
const ConversionTable::Entry* findEntry(const std::vector<ConversionTable::Entry>& few, char32_t cp) {
  const auto it = std::lower_bound(few.begin(), few.end(), cp,
                                   [](const ConversionTable::Entry& e, char32_t c) { return e.from < c; });
  return it != few.end() && it->from == cp ? &*it : nullptr;
}

}  // namespace

char32_t ConversionTable::convert(char32_t cp) const noexcept {
  if (few.empty()) return cp < to.size() ? to[cp] : cp;
  const Entry* entry = findEntry(few, cp);
  return entry != nullptr ? entry->to : cp;
}

bool ConversionTable::hasSeveral(char32_t cp) const noexcept {
  if (few.empty()) return cp < several.size() && several[cp];
  const Entry* entry = findEntry(few, cp);
  return entry != nullptr && entry->several;
}

ConversionTable buildConversionTable(const kelvorn::UnihanFields& fields,
                                     std::string_view variantField) {
  if (!fields.fieldIndex(variantField)) return {};
  const std::vector<char32_t> held = fields.codePointsWith(variantField);
  if (held.empty()) return {};
  // Ascending and inside the code space, as opening the image checks, so
  // the last code point bounds every index below, and the table 4.4 MB.
  const std::size_t size = static_cast<std::size_t>(held.back()) + 1;
  ConversionTable table;
  table.to.resize(size);
  std::iota(table.to.begin(), table.to.end(), char32_t{0});
  table.several.assign(size, false);
  const FormChooser chooser(fields, variantField);
  for (const char32_t cp : held) {
    const std::vector<char32_t> forms = chooser.forms(cp);
    table.to[cp] = chooser.choose(cp, forms);
    table.several[cp] = forms.size() > 1;
  }
  return table;
}

ConversionTable buildConversionTableFor(const kelvorn::UnihanFields& fields,
                                        std::string_view variantField, std::string_view text) {
  if (!fields.fieldIndex(variantField)) return {};
  std::vector<char32_t> chars;
  char32_t cp = 0;
  std::size_t bad = 0;
  for (std::size_t pos = 0; pos < text.size() && kelvorn::utf8::next(text, &pos, &cp, &bad);) {
    if (cp >= 0x80) chars.push_back(cp);
  }
  std::sort(chars.begin(), chars.end());
  chars.erase(std::unique(chars.begin(), chars.end()), chars.end());
  ConversionTable table;
  const FormChooser chooser(fields, variantField);
  for (const char32_t cp : chars) {
    const std::vector<char32_t> forms = chooser.forms(cp);
    table.few.push_back({cp, chooser.choose(cp, forms), forms.size() > 1});
  }
  return table;
}

namespace {

// The conversion loop, with what a code point becomes as `convert`: one
// load from the dense table, inlined, or a search of a short text's few.
template <class Convert, class HasSeveral>
std::string convertWith(std::string_view text, Convert convert, HasSeveral hasSeveral,
                        std::vector<MarkedChar>* marked) {
  std::string out(outputBound(text.size()), '\0');
  char* const begin = out.data();
  char* write = begin;
  std::size_t pos = 0;
  std::size_t index = 0;
  while (pos < text.size()) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
      *write++ = static_cast<char>(lead);
      ++pos;
      ++index;
      continue;
    }
    const std::size_t at = pos;
    char32_t cp = 0;
    std::size_t bad = 0;
    if (!kelvorn::utf8::next(text, &pos, &cp, &bad)) throwNotUtf8(text, bad);
    const char32_t converted = convert(cp);
    if (converted == cp) {
      for (std::size_t i = at; i < pos; ++i) *write++ = text[i];
    } else {
      write += encodeAt(converted, write);
    }
    if (marked != nullptr && hasSeveral(cp)) marked->push_back({at, index, cp, converted});
    ++index;
  }
  out.resize(static_cast<std::size_t>(write - begin));
  return out;
}

}  // namespace

std::string convertText(std::string_view text, const ConversionTable& table,
                        std::vector<MarkedChar>* marked) {
  if (!table.few.empty()) {
    return convertWith(
        text, [&table](char32_t cp) { return table.convert(cp); },
        [&table](char32_t cp) { return table.hasSeveral(cp); }, marked);
  }
  const char32_t* const to = table.to.data();
  const std::size_t size = table.to.size();
  const std::vector<bool>& several = table.several;
  return convertWith(
      text, [to, size](char32_t cp) { return cp < size ? to[cp] : cp; },
      [&several](char32_t cp) { return cp < several.size() && several[cp]; }, marked);
}

}  // namespace kelvorn_fields_private

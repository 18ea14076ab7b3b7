// Arbitrary bytes through the lexicon. The first line becomes the value of
// three variant fields and the definition of U+4E00, so that the variant
// reader, the conversion tables and the gloss index all meet it; the rest is
// converted both ways, searched for and looked up. Conversion must either
// refuse text that is not UTF-8 or answer UTF-8, and every variant target
// must be a scalar value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fields/VariantValues.h"
#include "kelvorn/UnihanFields.h"
#include "kelvorn/UnihanLexicon.h"
#include "kelvorn/Utf8.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

void convertBothWays(const kelvorn::UnihanLexicon& lexicon, std::string_view text) {
  for (const kelvorn::Script to : {kelvorn::Script::kSimplified, kelvorn::Script::kTraditional}) {
    try {
      const kelvorn::Conversion c = lexicon.convertReporting(text, to);
      check(kelvorn::utf8::isValid(text) && kelvorn::utf8::isValid(c.text));
      check(c.text == lexicon.convert(text, to));
    } catch (const kelvorn::FieldsError&) {
      check(!kelvorn::utf8::isValid(text));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t lf = input.find('\n');
  const std::string_view value = input.substr(0, lf);
  const std::string_view rest = lf == std::string_view::npos ? "" : input.substr(lf + 1);

  for (const auto& target : kelvorn_fields_private::parseVariantValue(value).targets) {
    check(kelvorn::utf8::isScalarValue(target.codePoint));
  }
  const std::string text = "U+4E00\tkSimplifiedVariant\t" + std::string(value) +
                           "\nU+4E00\tkTraditionalVariant\t" + std::string(value) +
                           "\nU+4E01\tkSemanticVariant\t" + std::string(value) +
                           "\nU+4E00\tkDefinition\t" + std::string(value) + "\n";
  try {
    const kelvorn::UnihanLexicon lexicon(kelvorn::UnihanFields::fromTextBuffer(text, "17.0"));
    (void)lexicon.variants(0x4E00);
    (void)lexicon.variants(0x4E01);
    (void)lexicon.scriptClass(0x4E00);
    convertBothWays(lexicon, rest);
    (void)lexicon.search(rest);
    (void)lexicon.charsWith("kDefinition", rest);
  } catch (const kelvorn::FieldsError&) {
    // A first line that is not a Unihan value (empty, not UTF-8, a tab).
  }
  return 0;
}

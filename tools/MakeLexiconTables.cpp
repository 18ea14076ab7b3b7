// unihan-lexicon-tables FIELDS_IMAGE OUTPUT: the stored lexicon tables of an
// all-field image (src/fields/LexiconFormat.h), a step of the build, not an
// installed command.
#include <string_view>
#include <vector>

#include "TableStep.h"
#include "kelvorn/UnihanFields.h"
#include "kelvorn/UnihanLexicon.h"

namespace {

// The fields people look characters up by: shape codes, readings, stroke
// counts (the definition's words are the gloss index). The others (source references,
// dictionary positions, mostly one character a value) would double the file
// for lookups few make; those read the field once as before.
const std::vector<std::string_view> kStoredFields = {
    "kCangjie",    "kCantonese", "kFourCornerCode", "kHangul",   "kJapanese",     "kJapaneseKun",
    "kJapaneseOn", "kKorean",    "kMandarin",       "kPhonetic", "kTotalStrokes", "kVietnamese"};

}  // namespace

int main(int argc, char** argv) {
  return unihan_tool::runTableStep(
      argc, argv, "unihan-lexicon-tables", "FIELDS_IMAGE", [](const std::string& path) {
        return kelvorn::UnihanLexicon(
                   kelvorn::UnihanFields::open(path, kelvorn::FieldsCheck::kChecksum))
            .storedTables(kStoredFields);
      });
}

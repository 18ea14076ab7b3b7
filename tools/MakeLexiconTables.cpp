// unihan-lexicon-tables FIELDS_IMAGE OUTPUT: the stored lexicon tables of an
// all-field image (src/fields/LexiconFormat.h), a step of the build, not an
// installed command.
#include <cstdio>
#include <exception>
#include <string_view>
#include <vector>

#include "app/files/StagedOutput.h"
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
  if (argc != 3) {
    (void)std::fputs("usage: unihan-lexicon-tables FIELDS_IMAGE OUTPUT\n", stderr);
    return 2;
  }
  try {
    const kelvorn::UnihanLexicon lexicon(
        kelvorn::UnihanFields::open(argv[1], kelvorn::FieldsCheck::kChecksum));
    kelvorn_files::writeFileAtomically(argv[2], lexicon.storedTables(kStoredFields));
  } catch (const std::exception& e) {
    (void)std::fprintf(stderr, "unihan-lexicon-tables: %s\n", e.what());
    return 1;
  }
  return 0;
}

// What a bundle reads from files: the all-field store a path names and the
// index saved in a file. Only the doors that take paths link it.
#include <filesystem>
#include <memory>
#include <system_error>
#include <utility>

#include "app/Bundle.h"
#include "app/files/InputFile.h"
#include "fields/MappedFile.h"
#include "index/saved/DataTag.h"
#include "index/saved/SavedIndex.h"
#include "kelvorn/Error.h"

namespace kelvorn_app_private {
namespace {

// The file's first bytes are read once through the one opener (which
// refuses a FIFO or device before it could block); one that cannot be
// opened is opened as an image, to be refused in the image's words.
kelvorn::UnihanFields openFieldsFile(const std::string& path, kelvorn::FieldsCheck check,
                                     const std::string& name) {
  std::string head;
  try {
    const auto file =
        kelvorn_files::InputFile::open(path, kelvorn_files::InputKind::kFileOrDirectory);
    if (file.isDirectory()) return kelvorn::UnihanFields::fromText({path}, kUnknownRelease);
    head = file.head(kFieldsHeadBytes);
  } catch (const kelvorn::Error&) {
    return kelvorn::UnihanFields::open(path, check);
  }
  if (holdsFieldsImage(head, name)) return kelvorn::UnihanFields::open(path, check);
  return kelvorn::UnihanFields::fromText({path}, kUnknownRelease);
}

kelvorn::UnihanFields openFields(const BundleSources& sources, kelvorn::FieldsCheck check) {
  if (sources.fields == BundleSources::Fields::kTextFiles) {
    return kelvorn::UnihanFields::fromText({sources.fieldsPath}, kUnknownRelease);
  }
  return openFieldsFile(sources.fieldsPath, check, sources.name);
}

std::string readFieldsHead(const BundleSources& sources) {
  try {
    return kelvorn_files::InputFile::open(sources.fieldsPath, kelvorn_files::InputKind::kFile)
        .head(kelvorn_saved_index::kTaggedHeadBytes);
  } catch (const kelvorn::Error&) {
    return "";  // refused, in its own words, when the image is opened
  }
}

std::optional<kelvorn::UnihanIndex> openSavedIndex(const BundleSources& sources,
                                                   const kelvorn::UnihanMgr& core,
                                                   const std::string& tag,
                                                   std::string_view unicodeVersion) {
  std::string path = sources.indexPath;
  if (path.empty() && sources.fields == BundleSources::Fields::kFile && !unicodeVersion.empty()) {
    path = kelvorn_saved_index::pathBeside(sources.fieldsPath, std::string(unicodeVersion));
  }
  if (path.empty()) return std::nullopt;
  try {
    // Mapped rather than read: the index answers from the pages in place.
    auto saved = std::make_shared<const kelvorn_fields_private::MappedFile>(path);
    const std::string_view bytes = saved->bytes();
    return kelvorn::UnihanIndex::fromBytes(core, std::move(saved), bytes, tag);
  } catch (const kelvorn::Error&) {
    return std::nullopt;  // no index saved there: built as if none were named
  }
}

// The stored lexicon tables lie beside the all-field image they were
// written for. Any that are absent or refused leave the lexicon to read and
// build what it needs, as it does for a store made of text.
kelvorn::UnihanLexicon lexiconBeside(const BundleSources& sources,
                                     const kelvorn::UnihanFields& fields) {
  const std::string path = (std::filesystem::path(sources.fieldsPath).parent_path() /
                            ("unihan-lexicon-" + std::string(fields.unicodeVersion()) + ".bin"))
                               .string();
  std::error_code ec;
  if (std::filesystem::is_regular_file(path, ec)) {
    try {
      return kelvorn::UnihanLexicon::withStoredTables(fields, path);
    } catch (const kelvorn::Error&) {
    }
  }
  return kelvorn::UnihanLexicon(fields);
}

}  // namespace

const FileOpeners kFileOpeners{openFields, readFieldsHead, openSavedIndex, lexiconBeside};

}  // namespace kelvorn_app_private

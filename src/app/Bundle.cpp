// Opening the all-field store and the index of a bundle on first use.
#include "app/Bundle.h"

#include <algorithm>
#include <utility>

#include "app/files/InputFile.h"
#include "fields/MappedFile.h"
#include "index/saved/FieldExtras.h"
#include "index/saved/SavedIndex.h"
#include "kelvorn/Error.h"
#include "kelvorn/UnihanImage.h"

namespace kelvorn_app_private {
namespace {

// What a store built from text records as its release: the text does not
// say.
constexpr std::string_view kUnknownRelease = "unknown";

std::string refusalForTwelveFields(const std::string& name) {
  return (name.empty() ? std::string("this Unihan") : name) +
         ": a binary image keeps twelve fields only; for every field, load the Unihan text or "
         "an all-field image with it";
}

bool startsWith(std::string_view head, std::string_view magic) {
  return head.substr(0, magic.size()) == magic;
}

// A file given for every field is an all-field image or Unihan text, told
// apart by its first bytes, read once through the one opener (which refuses
// a FIFO or device before it could block); one that cannot be opened is
// opened as an image, to be refused in the image's words. The core's image
// would answer twelve fields as if they were all, so it is refused.
kelvorn::UnihanFields openFieldsFile(const std::string& path, kelvorn::FieldsCheck check,
                                     const std::string& name) {
  const std::string_view coreMagic(kelvorn::kImageMagic, kelvorn::kImageMagicLength);
  constexpr std::string_view kKelvornMagic = "kelvorn unihan ";
  std::string head;
  try {
    const auto file =
        kelvorn_files::InputFile::open(path, kelvorn_files::InputKind::kFileOrDirectory);
    if (file.isDirectory()) return kelvorn::UnihanFields::fromText({path}, kUnknownRelease);
    head = file.head(std::max(coreMagic.size(), kKelvornMagic.size()));
  } catch (const kelvorn::Error&) {
    return kelvorn::UnihanFields::open(path, check);
  }
  if (startsWith(head, coreMagic)) throw kelvorn::FieldsError(refusalForTwelveFields(name));
  if (startsWith(head, kKelvornMagic)) return kelvorn::UnihanFields::open(path, check);
  return kelvorn::UnihanFields::fromText({path}, kUnknownRelease);
}

}  // namespace

kelvorn::UnihanFields Bundle::openFields() const {
  using Fields = BundleSources::Fields;
  const kelvorn::FieldsCheck check =
      sources_.checkFieldsWhole ? kelvorn::FieldsCheck::kChecksum : kelvorn::FieldsCheck::kStructure;
  switch (sources_.fields) {
    case Fields::kFile:
      return openFieldsFile(sources_.fieldsPath, check, sources_.name);
    case Fields::kImageBytes:
      return kelvorn::UnihanFields::fromOwnedBuffer(sources_.fieldsBytes, check, sources_.name);
    case Fields::kTextFiles:
      return kelvorn::UnihanFields::fromText({sources_.fieldsPath}, kUnknownRelease);
    case Fields::kTextBytes:
      return kelvorn::UnihanFields::fromTextBuffer(sources_.fieldsBytes, kUnknownRelease,
                                                   sources_.name);
    case Fields::kNone:
      break;
  }
  throw kelvorn::Error(refusalForTwelveFields(sources_.name));
}

const kelvorn::UnihanFields& Bundle::fields() const {
  std::call_once(fieldsOnce_, [this] {
    kelvorn::UnihanFields opened = openFields();
    lexicon_.emplace(opened);
    fields_.emplace(std::move(opened));
    sources_.fieldsBytes = std::string();
  });
  return *fields_;
}

const kelvorn::UnihanLexicon& Bundle::lexicon() const {
  fields();
  return *lexicon_;
}

std::optional<kelvorn::UnihanIndex> Bundle::openSavedIndex(const Store& store) const {
  const std::string tag = kelvorn_saved_index::dataTag(store.imageTag, fields());
  if (tag.empty()) return std::nullopt;
  if (!sources_.indexBytes.empty()) {
    return kelvorn::UnihanIndex::fromBytes(store.mgr, sources_.indexBytes, tag);
  }
  std::string path = sources_.indexPath;
  if (path.empty() && sources_.fields == BundleSources::Fields::kFile) {
    path = kelvorn_saved_index::pathBeside(sources_.fieldsPath,
                                           std::string(fields().unicodeVersion()));
  }
  if (path.empty()) return std::nullopt;
  try {
    // Mapped rather than read: the index answers from the pages in place.
    auto saved = std::make_shared<const kelvorn_fields_private::MappedFile>(path);
    const std::string_view bytes = saved->bytes();
    return kelvorn::UnihanIndex::fromBytes(store.mgr, std::move(saved), bytes, tag);
  } catch (const kelvorn::Error&) {
    return std::nullopt;  // no index saved there: built as if none were named
  }
}

kelvorn::UnihanIndex Bundle::buildIndex(const Store& store) const {
  if (hasFields()) {
    try {
      const kelvorn::UnihanFields& all = fields();
      if (std::optional<kelvorn::UnihanIndex> saved = openSavedIndex(store)) return *saved;
      return kelvorn::UnihanIndex(store.mgr, kelvorn_saved_index::radicalStrokeExtras(all),
                                  kelvorn_saved_index::mandarinReadings(all));
    } catch (const kelvorn::FieldsError&) {
      // Text the all-field reader refuses (the core reads it leniently)
      // gives no marks: the order falls back to the core's values.
    }
  }
  return kelvorn::UnihanIndex(store.mgr);
}

const kelvorn::UnihanIndex& Bundle::index(const Store& store) const {
  std::call_once(indexOnce_, [this, &store] {
    index_.emplace(buildIndex(store));
    sources_.indexBytes = std::string();
  });
  return *index_;
}

const kelvorn::ReadingFrequencies& Bundle::frequencies() const {
  std::call_once(frequenciesOnce_, [this] {
    frequencies_.emplace(kelvorn_saved_index::readingFrequencies(fields()));
  });
  return *frequencies_;
}

const kelvorn::NamedReadings& Bundle::named(std::string_view field) const {
  const kelvorn::UnihanFields& all = fields();
  const std::lock_guard<std::mutex> lock(namedMutex_);
  auto it = named_.find(field);
  if (it == named_.end()) {
    auto readings = std::make_unique<const kelvorn::NamedReadings>(
        kelvorn_saved_index::namedReadings(all, field));
    it = named_.emplace(std::string(field), std::move(readings)).first;
  }
  return *it->second;
}

}  // namespace kelvorn_app_private

// Opening the all-field store and the index of a bundle on first use.
#include "app/Bundle.h"

#include <utility>

#include "index/saved/DataTag.h"
#include "index/saved/FieldExtras.h"
#include "index/saved/SavedIndex.h"
#include "kelvorn/Error.h"

namespace kelvorn_app_private {
namespace {

std::string refusalForTwelveFields(const std::string& name) {
  return (name.empty() ? std::string("this Unihan") : name) +
         ": a binary image keeps twelve fields only; for every field, load the Unihan text or "
         "an all-field image with it";
}

bool startsWith(std::string_view head, std::string_view magic) {
  return head.substr(0, magic.size()) == magic;
}

}  // namespace

bool holdsFieldsImage(std::string_view head, const std::string& name) {
  constexpr std::string_view kCoreMagic(kelvorn::kImageMagic, kelvorn::kImageMagicLength);
  if (startsWith(head, kCoreMagic)) throw kelvorn::FieldsError(refusalForTwelveFields(name));
  return startsWith(head, kFieldsImageMagic);
}

kelvorn::UnihanFields Bundle::openFields() const {
  using Fields = BundleSources::Fields;
  const kelvorn::FieldsCheck check =
      sources_.checkFieldsWhole ? kelvorn::FieldsCheck::kChecksum : kelvorn::FieldsCheck::kStructure;
  switch (sources_.fields) {
    case Fields::kFile:
    case Fields::kTextFiles:
      return sources_.files->fields(sources_, check);
    case Fields::kBytes:
      if (holdsFieldsImage(sources_.fieldsBytes, sources_.name)) {
        return kelvorn::UnihanFields::fromOwnedBuffer(sources_.fieldsBytes, check, sources_.name);
      }
      return kelvorn::UnihanFields::fromTextBuffer(sources_.fieldsBytes, kUnknownRelease,
                                                   sources_.name);
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
    if (sources_.fields == BundleSources::Fields::kFile) {
      lexicon_.emplace(sources_.files->lexicon(sources_, opened));
    } else {
      lexicon_.emplace(opened);
    }
    fields_.emplace(std::move(opened));
    sources_.fieldsBytes = std::string();
  });
  return *fields_;
}

const kelvorn::UnihanLexicon& Bundle::lexicon() const {
  fields();
  return *lexicon_;
}

std::string Bundle::headOfBytes(const BundleSources& sources) {
  if (sources.fields != BundleSources::Fields::kBytes) return "";
  return sources.fieldsBytes.substr(0, kelvorn_saved_index::kTaggedHeadBytes);
}

std::optional<kelvorn::UnihanIndex> Bundle::openSavedIndex(const Store& store,
                                                           const std::string& tag,
                                                           std::string_view unicodeVersion) const {
  if (tag.empty()) return std::nullopt;
  if (!sources_.indexBytes.empty()) {
    return kelvorn::UnihanIndex::fromBytes(store.mgr, sources_.indexBytes, tag);
  }
  if (sources_.files == nullptr) return std::nullopt;
  return sources_.files->savedIndex(sources_, store.mgr, tag, unicodeVersion);
}

// An image whose head pairs but whose rest is damaged is not opened here:
// the index answers as it would for the sound image, and the questions that
// read the image still find it refused.
std::optional<kelvorn::UnihanIndex> Bundle::pairSavedIndexByHead(const Store& store) const {
  std::string head = fieldsBytesHead_;
  if (sources_.fields == BundleSources::Fields::kFile && sources_.files != nullptr) {
    head = sources_.files->fieldsHead(sources_);
  }
  return openSavedIndex(store, kelvorn_saved_index::dataTagOfHead(store.imageTag, head), "");
}

kelvorn::UnihanIndex Bundle::buildIndex(const Store& store) const {
  if (hasFields()) {
    if (std::optional<kelvorn::UnihanIndex> saved = pairSavedIndexByHead(store)) return *saved;
    try {
      const kelvorn::UnihanFields& all = fields();
      const std::string tag = kelvorn_saved_index::dataTag(store.imageTag, all);
      if (std::optional<kelvorn::UnihanIndex> saved =
              openSavedIndex(store, tag, all.unicodeVersion())) {
        return *saved;
      }
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

const kelvorn::ReadingFrequencies& Bundle::frequencies(const kelvorn::UnihanIndex& index) const {
  std::call_once(frequenciesOnce_, [this, &index] {
    std::optional<kelvorn::ReadingFrequencies> saved = index.frequencies();
    frequencies_.emplace(saved ? std::move(*saved)
                               : kelvorn_saved_index::readingFrequencies(fields()));
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

// What a kelvorn::Unihan answers from besides the core's store: the
// all-field store and the reverse index, each opened or built once, on the
// first question that needs it, by whichever thread asks first. Copies of a
// Unihan share one Bundle.
#ifndef KELVORN_APP_BUNDLE_H
#define KELVORN_APP_BUNDLE_H

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "app/Store.h"
#include "kelvorn/UnihanFields.h"
#include "kelvorn/UnihanImage.h"
#include "kelvorn/UnihanIndex.h"
#include "kelvorn/UnihanLexicon.h"

namespace kelvorn_app_private {

struct FileOpeners;

// Where the all-field store and the index come from. An empty source is
// absent: no all-field store (a core image opened alone), or an index to be
// built from the store.
struct BundleSources {
  enum class Fields { kNone, kFile, kBytes, kTextFiles, kTextBytes };
  Fields fields = Fields::kNone;
  std::string fieldsPath;  // kFile: an image or text; kTextFiles: a file or directory
  bool checkFieldsWhole = false;  // an image the user named: its checksum too
  std::string fieldsBytes;        // kBytes: an image or text; kTextBytes
  std::string indexPath;          // a saved index; empty: beside a kFile
  std::string indexBytes;         // or given
  std::string name;               // the bundle's name in messages
  // How the paths above are opened: given by the doors that take paths, and
  // by them only, so that a program that gives bytes alone (the
  // WebAssembly module) links no code that reads files.
  const FileOpeners* files = nullptr;
};

// What a bundle reads from files (app/BundleFiles.cpp).
struct FileOpeners {
  // The all-field store of a kFile or kTextFiles source.
  kelvorn::UnihanFields (*fields)(const BundleSources& sources, kelvorn::FieldsCheck check);
  // The first kelvorn_saved_index::kTaggedHeadBytes bytes of a kFile
  // source, read without opening it; empty when they cannot be read.
  std::string (*fieldsHead)(const BundleSources& sources);
  // The index saved at indexPath (empty: beside a kFile all-field image of
  // unicodeVersion, none when that is unknown) for the data `tag` names;
  // none where no such index opens there.
  std::optional<kelvorn::UnihanIndex> (*savedIndex)(const BundleSources& sources,
                                                    const kelvorn::UnihanMgr& core,
                                                    const std::string& tag,
                                                    std::string_view unicodeVersion);
  // The lexicon over the store of a kFile source, answering from the stored
  // tables beside the image where sound ones for it lie there.
  kelvorn::UnihanLexicon (*lexicon)(const BundleSources& sources,
                                    const kelvorn::UnihanFields& fields);
};
extern const FileOpeners kFileOpeners;

// What a store built from text records as its release: the text does not
// say.
inline constexpr std::string_view kUnknownRelease = "unknown";

// Whether a file or buffer given for every field is an all-field image
// rather than Unihan text, told apart by its first kFieldsHeadBytes bytes.
// The core's image would answer twelve fields as if they were all, so it is
// refused (kelvorn::FieldsError, under the bundle's name).
bool holdsFieldsImage(std::string_view head, const std::string& name);
inline constexpr std::string_view kFieldsImageMagic = "kelvorn unihan ";
inline constexpr std::size_t kFieldsHeadBytes =
    std::max(kFieldsImageMagic.size(), kelvorn::kImageMagicLength);

class Bundle {
 public:
  explicit Bundle(BundleSources sources)
      : sources_(std::move(sources)), fieldsBytesHead_(headOfBytes(sources_)) {}

  // Each throws kelvorn::Error when the bundle has no such data or it cannot
  // be opened; a later question tries again.
  const kelvorn::UnihanFields& fields() const;
  const kelvorn::UnihanLexicon& lexicon() const;
  const kelvorn::UnihanIndex& index(const Store& store) const;
  // kHanyuPinlu's counts and the common characters, for kCommonFirst: the
  // index's when it was saved with them.
  const kelvorn::ReadingFrequencies& frequencies(const kelvorn::UnihanIndex& index) const;
  // False the first time it is asked, true ever after: the first question in
  // frequency order reads only the counts of the characters it found, and
  // the table of them all is built for the second.
  bool askedInFrequencyOrderBefore() const {
    return askedInFrequencyOrder_.load(std::memory_order_relaxed) ||
           askedInFrequencyOrder_.exchange(true);
  }
  // One reading field the core's store lacks, read when first named.
  const kelvorn::NamedReadings& named(std::string_view field) const;

 private:
  bool hasFields() const { return sources_.fields != BundleSources::Fields::kNone; }
  kelvorn::UnihanFields openFields() const;
  // The saved index under the tag of the core and of the all-field image's
  // first bytes.
  std::optional<kelvorn::UnihanIndex> openSavedIndex(const Store& store, const std::string& tag,
                                                     std::string_view unicodeVersion) const;
  // The saved index paired by the all-field image's head alone, before the
  // image is opened: a question the index answers opens no image.
  std::optional<kelvorn::UnihanIndex> pairSavedIndexByHead(const Store& store) const;
  static std::string headOfBytes(const BundleSources& sources);
  kelvorn::UnihanIndex buildIndex(const Store& store) const;

  // Bytes given in memory are dropped once the store made of them holds a
  // copy.
  mutable BundleSources sources_;
  // A kBytes source's first bytes, kept past the drop for pairing by head.
  const std::string fieldsBytesHead_;
  mutable std::once_flag fieldsOnce_;
  mutable std::optional<kelvorn::UnihanFields> fields_;
  mutable std::optional<kelvorn::UnihanLexicon> lexicon_;
  mutable std::once_flag indexOnce_;
  mutable std::optional<kelvorn::UnihanIndex> index_;
  mutable std::atomic<bool> askedInFrequencyOrder_{false};
  mutable std::once_flag frequenciesOnce_;
  mutable std::optional<kelvorn::ReadingFrequencies> frequencies_;
  mutable std::mutex namedMutex_;
  mutable std::map<std::string, std::unique_ptr<const kelvorn::NamedReadings>, std::less<>> named_;
};

}  // namespace kelvorn_app_private

#endif  // KELVORN_APP_BUNDLE_H

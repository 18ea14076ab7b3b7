// The object behind kelvorn_unihan.Unihan: one loaded store and the answers
// to per-character questions in Python's terms (None rather than -1, signed
// residual strokes).
//
// Threads: every query runs with the interpreter lock held and only reads the
// store, so queries from several threads never overlap with a change. The two
// operations that write are guarded: set_source_preference takes the object's
// mutex, and building the reverse indexes (which copies the store's handle)
// happens once, under the same mutex, with the interpreter lock released.
#ifndef KELVORN_PYTHON_UNIHAN_H
#define KELVORN_PYTHON_UNIHAN_H

#include <pybind11/pybind11.h>

#include <array>
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <pybind11/pybind11.h>

#include "Loader.h"
#include "kelvorn/Unihan.h"
#include "kelvorn/UnihanFields.h"
#include "kelvorn/UnihanLexicon.h"
#include "kelvorn/UnihanIndex.h"
#include "kelvorn/UnihanMgr.h"

namespace kelvorn_python {

using SourcePreference = std::array<kelvorn::unihanPropT, 6>;

class Unihan {
 public:
  // Loads a file; `path` is its file-system form, `shownAs` its name in
  // messages. `fieldsPath` names where every field comes from: an all-field
  // image or Unihan text; empty for the loaded file itself. Call without the
  // interpreter lock. Throws LoadError.
  Unihan(const std::string& path, std::string shownAs, std::string fieldsPath);
  Unihan(Loaded loaded, const std::string& path, std::string shownAs, std::string fieldsPath);
  Unihan(const Unihan&) = delete;
  Unihan& operator=(const Unihan&) = delete;
  ~Unihan() = default;

  const std::string& path() const { return shownAs_; }

  bool holds(int cp) const { return unihan_.contains(static_cast<char32_t>(cp)); }
  std::optional<int> totalStrokes(int cp);
  std::optional<std::pair<int, int>> radicalStroke(int cp, kelvorn::unihanPropT source, int index);
  std::optional<kelvorn::PreferredRadicalStroke> preferredRadicalStroke(int cp) const;
  std::vector<std::string> readings(int cp, kelvorn::unihanPropT field);
  std::optional<int> cid(int cp, int index);
  std::optional<int> cidStrokes(int cp, int index);
  std::optional<int> charForCid(long long cid);
  std::optional<kelvorn::HanYuPosition> hanYu(int cp);
  int numValues(int cp, kelvorn::unihanPropT field);

  // Call with the interpreter lock held; waits for the mutex without it.
  void setSourcePreference(const SourcePreference& preference);
  SourcePreference sourcePreference() const { return preference_; }

  // The reverse indexes, opened or built on first use. Call with the
  // interpreter lock held; the build runs without it.
  const kelvorn::UnihanIndex& index();
  // The index saved beside the all-field image for this core image and that
  // all-field image, if there is one; see index/saved/SavedIndex.h.
  std::optional<kelvorn::UnihanIndex> savedIndex();

  // kRSUnicode's marks and kCompatibilityVariant out of fields(), for the
  // radical-stroke order; none when this data has no fields (a core image
  // loaded without fields=).
  kelvorn::RadicalStrokeExtras radicalStrokeExtras();
  kelvorn::MandarinReadings mandarinReadings();

  // Every Unihan field, opened or built on first use like the indexes.
  // Throws kelvorn::FieldsError, or ValueError for a loaded binary image,
  // which keeps twelve fields only.
  const kelvorn::UnihanFields& fields();

  // kHanyuPinlu's counts out of fields(), read on first use. Call with the
  // interpreter lock held: the reading runs under it, so that no two threads
  // read at once.
  const kelvorn::ReadingFrequencies& readingFrequencies();

  // The readings of one field the core's store lacks (NamedReadings::
  // fieldNames), out of fields(), read when first named. Call with the
  // interpreter lock held, as above.
  const kelvorn::NamedReadings& namedReadings(const std::string& field);

  // The answers already given to the reverse lookups, each cache a dict
  // keyed by the question: an answer never changes, so a repeated question
  // is one dict lookup. by_reading has one per field, exactness and order;
  // chars_with keeps field -> {value -> tuple}, search word -> tuple. Made on
  // first use, since the constructor runs without the interpreter lock; call
  // with it held.
  static constexpr std::size_t kReadingCaches = 16;
  static constexpr std::size_t kCharsWithCache = kReadingCaches;
  static constexpr std::size_t kSearchCache = kReadingCaches + 1;
  static constexpr std::size_t kAnswerCacheCount = kReadingCaches + 2;
  PyObject* answerCache(std::size_t which);
  pybind11::dict charsWithCache() {
    return pybind11::reinterpret_borrow<pybind11::dict>(answerCache(kCharsWithCache));
  }
  pybind11::dict searchCache() {
    return pybind11::reinterpret_borrow<pybind11::dict>(answerCache(kSearchCache));
  }

  // The lexicon over fields(), made on first use; its own indexes are built
  // on the first question that needs each (see Lexicon.cpp).
  const kelvorn::UnihanLexicon& lexicon();


 private:
  kelvorn::Unihan unihan_;
  // The core's handle onto the same store: its preference walk is what
  // preferred_radical_stroke answers, and the index is built over it.
  kelvorn::UnihanMgr mgr_;
  std::string shownAs_;
  SourcePreference preference_;
  std::mutex mutex_;  // guards index_ and changes of the source preference
  std::unique_ptr<const kelvorn::UnihanIndex> index_;
  std::atomic<const kelvorn::UnihanIndex*> indexReady_{nullptr};
  std::string path_;        // file-system form of the loaded file
  std::string fieldsPath_;  // see the constructor
  // The loaded file's text until fields_ is built from it (Loader.h).
  std::shared_ptr<const std::string> text_;
  std::unique_ptr<const kelvorn::UnihanFields> fields_;
  std::map<std::string, kelvorn::NamedReadings> namedReadings_;
  std::atomic<const kelvorn::UnihanFields*> fieldsReady_{nullptr};
  std::unique_ptr<const kelvorn::ReadingFrequencies> frequencies_;
  std::array<pybind11::object, kAnswerCacheCount> answerCaches_;

  std::unique_ptr<const kelvorn::UnihanLexicon> lexicon_;
  std::atomic<const kelvorn::UnihanLexicon*> lexiconReady_{nullptr};
};

// A source slot the preference leaves empty.
constexpr auto kNoSource = static_cast<kelvorn::unihanPropT>(-1);

}  // namespace kelvorn_python

#endif  // KELVORN_PYTHON_UNIHAN_H

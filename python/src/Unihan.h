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
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

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
  Unihan(const std::string& path, std::string shownAs, const std::string& fieldsPath,
         bool bundled);
  Unihan(const Unihan&) = delete;
  Unihan& operator=(const Unihan&) = delete;
  ~Unihan() = default;

  const std::string& path() const { return shownAs_; }
  // The bundle every answer comes from.
  const kelvorn::Unihan& bundle() const { return unihan_; }

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

  // The companions of the bundle, each opened or built on its first use
  // with the interpreter lock released. Call with it held. fields() and
  // lexicon() throw kelvorn::Error (a ValueError) for a core image loaded
  // without fields=, which keeps twelve fields only.
  const kelvorn::UnihanIndex& index();
  const kelvorn::UnihanFields& fields();
  const kelvorn::UnihanLexicon& lexicon();
  // False the first time a conversion to `to` asks, true ever after.
  bool convertedBefore(kelvorn::Script to) {
    std::atomic<bool>& asked = converted_[static_cast<std::size_t>(to)];
    return asked.load(std::memory_order_relaxed) || asked.exchange(true);
  }

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

 private:
  kelvorn::Unihan unihan_;
  // The core's handle onto the same store: its preference walk is what
  // preferred_radical_stroke answers.
  kelvorn::UnihanMgr mgr_;
  std::string shownAs_;
  SourcePreference preference_;
  std::mutex mutex_;  // guards changes of the source preference
  // The companions once opened, so that a later call takes no lock.
  std::atomic<const kelvorn::UnihanIndex*> index_{nullptr};
  std::atomic<const kelvorn::UnihanFields*> fields_{nullptr};
  std::atomic<const kelvorn::UnihanLexicon*> lexicon_{nullptr};
  std::array<std::atomic<bool>, 2> converted_{};
  std::array<pybind11::object, kAnswerCacheCount> answerCaches_;
};

// A source slot the preference leaves empty.
constexpr auto kNoSource = static_cast<kelvorn::unihanPropT>(-1);

}  // namespace kelvorn_python

#endif  // KELVORN_PYTHON_UNIHAN_H

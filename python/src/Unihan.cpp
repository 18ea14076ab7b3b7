#include "Unihan.h"

#include <pybind11/pybind11.h>

#include <string_view>

#include "Loader.h"

namespace py = pybind11;

namespace kelvorn_python {
namespace {

// The core's own order until set_source_preference replaces it.
SourcePreference defaultPreference() {
  SourcePreference preference{};
  for (std::size_t i = 0; i < preference.size(); ++i) {
    preference[i] = kelvorn::toField(kelvorn::kDefaultSourcePreference[i]);
  }
  return preference;
}

void requireIndex(int index) {
  if (index < 0) throw py::value_error("value index must not be negative");
}

// A companion of the bundle, opened there once; the interpreter lock is
// released while it opens, and the answer kept so that a later call takes
// neither. The copy of the bundle keeps a change of preference from racing
// the open.
template <typename Companion, typename Open>
const Companion& opened(std::atomic<const Companion*>& ready, const kelvorn::Unihan& unihan,
                        Open open) {
  if (const Companion* held = ready.load(std::memory_order_acquire)) return *held;
  const kelvorn::Unihan bundle = unihan;  // NOLINT(performance-unnecessary-copy-initialization)
  const Companion* held = nullptr;
  {
    const py::gil_scoped_release unlocked;
    held = &open(bundle);
  }
  ready.store(held, std::memory_order_release);
  return *held;
}

}  // namespace

Unihan::Unihan(const std::string& path, std::string shownAs, const std::string& fieldsPath,
               bool bundled)
    : unihan_(loadFile(path, fieldsPath, bundled)),
      mgr_(unihan_.core()),
      shownAs_(std::move(shownAs)),
      preference_(defaultPreference()) {}

std::optional<int> Unihan::totalStrokes(int cp) {
  return unihan_.totalStrokes(static_cast<char32_t>(cp));
}

std::optional<std::pair<int, int>> Unihan::radicalStroke(int cp, kelvorn::unihanPropT source,
                                                         int index) {
  requireIndex(index);
  const auto value = unihan_.radicalStroke(static_cast<char32_t>(cp),
                                           static_cast<kelvorn::Source>(source), index);
  if (!value) return std::nullopt;
  return std::make_pair(value->radical, value->residual);
}

std::optional<kelvorn::PreferredRadicalStroke> Unihan::preferredRadicalStroke(int cp) const {
  return unihan_.preferredRadicalStroke(static_cast<char32_t>(cp));
}

std::vector<std::string> Unihan::readings(int cp, kelvorn::unihanPropT field) {
  return unihan_.readings(static_cast<char32_t>(cp), static_cast<kelvorn::Reading>(field));
}

std::optional<int> Unihan::cid(int cp, int index) {
  requireIndex(index);
  const auto value = unihan_.cid(static_cast<char32_t>(cp), index);
  return value ? std::optional<int>(value->cid) : std::nullopt;
}

std::optional<int> Unihan::cidStrokes(int cp, int index) {
  requireIndex(index);
  const auto value = unihan_.cid(static_cast<char32_t>(cp), index);
  return value ? std::optional<int>(value->glyphStrokes) : std::nullopt;
}

std::optional<int> Unihan::charForCid(long long cid) {
  if (cid < 0 || cid > 0xFFFFFFFFLL) return std::nullopt;
  const auto cp = unihan_.charForCid(static_cast<unsigned int>(cid));
  return cp ? std::optional<int>(static_cast<int>(*cp)) : std::nullopt;
}

std::optional<kelvorn::HanYuPosition> Unihan::hanYu(int cp) {
  return unihan_.hanYu(static_cast<char32_t>(cp));
}

int Unihan::numValues(int cp, kelvorn::unihanPropT field) {
  // The core counts only the fields kept as lists (the readings, the CID values
  // and kRSUnicode's second value); the others are counted by asking for them.
  switch (field) {
    case kelvorn::kRSUnicode:
    case kelvorn::kRSKangXi:
    case kelvorn::kRSKanWa:
    case kelvorn::kRSKorean:
    case kelvorn::kRSJapanese:
      return static_cast<int>(radicalStroke(cp, field, 0).has_value()) +
             static_cast<int>(radicalStroke(cp, field, 1).has_value());
    case kelvorn::kTotalStrokes:
      return static_cast<int>(totalStrokes(cp).has_value());
    case kelvorn::kHanYu:
      return static_cast<int>(hanYu(cp).has_value());
    default:
      break;
  }
  const int count = mgr_.getNumVals(cp, field);
  return count < 0 ? 0 : count;
}

void Unihan::setSourcePreference(const SourcePreference& preference) {
  const py::gil_scoped_release unlocked;
  const std::lock_guard<std::mutex> lock(mutex_);
  // Queries run under the interpreter lock, so holding it while writing keeps
  // them from reading a half-written list.
  const py::gil_scoped_acquire locked;
  std::vector<kelvorn::Source> sources;
  for (const kelvorn::unihanPropT source : preference) {
    if (source >= 0) sources.push_back(static_cast<kelvorn::Source>(source));
  }
  // Refused (kelvorn::Error, a ValueError) before anything changes.
  unihan_ = unihan_.withSourcePreference(sources);
  SourcePreference copy = preference;
  mgr_.setRadixStrokeSourcePref(copy.data());
  preference_ = preference;
}

const kelvorn::UnihanIndex& Unihan::index() {
  return opened(index_, unihan_,
                [](const kelvorn::Unihan& u) -> const kelvorn::UnihanIndex& { return u.index(); });
}

const kelvorn::UnihanFields& Unihan::fields() {
  return opened(fields_, unihan_, [](const kelvorn::Unihan& u) -> const kelvorn::UnihanFields& {
    return u.fieldStore();
  });
}

const kelvorn::UnihanLexicon& Unihan::lexicon() {
  return opened(lexicon_, unihan_, [](const kelvorn::Unihan& u) -> const kelvorn::UnihanLexicon& {
    return u.lexicon();
  });
}

PyObject* Unihan::answerCache(std::size_t which) {
  py::object& cache = answerCaches_.at(which);
  if (!cache) cache = py::dict();
  return cache.ptr();
}

}  // namespace kelvorn_python

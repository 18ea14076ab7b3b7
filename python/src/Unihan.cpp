#include "Unihan.h"

#include <pybind11/pybind11.h>

#include <fstream>
#include <string_view>

#include "Loader.h"
#include "index/saved/FieldExtras.h"
#include "index/saved/SavedIndex.h"
#include "kelvorn/UnihanImage.h"

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

bool startsWith(const std::string& path, std::string_view magic) {
  std::ifstream in(path, std::ios::binary);
  std::string head(magic.size(), '\0');
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  return in.gcount() == static_cast<std::streamsize>(magic.size()) && head == magic;
}

constexpr std::string_view kFieldsMagic("kelvorn unihan fields");
constexpr std::string_view kOwnFilePrefix("kelvorn unihan ");
constexpr std::string_view kCoreMagic(kelvorn::kImageMagic, kelvorn::kImageMagicLength);

}  // namespace

Unihan::Unihan(const std::string& path, std::string shownAs, std::string fieldsPath)
    : Unihan(loadFile(path), path, std::move(shownAs), std::move(fieldsPath)) {}

Unihan::Unihan(Loaded loaded, const std::string& path, std::string shownAs,
               std::string fieldsPath)
    : unihan_(std::move(loaded.unihan)),
      mgr_(unihan_.core()),
      shownAs_(std::move(shownAs)),
      preference_(defaultPreference()),
      path_(path),
      fieldsPath_(std::move(fieldsPath)),
      text_(fieldsPath_.empty() ? std::move(loaded.text) : nullptr) {}

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

kelvorn::RadicalStrokeExtras Unihan::radicalStrokeExtras() {
  const kelvorn::UnihanFields* all = nullptr;
  try {
    all = &fields();
  } catch (const py::value_error&) {
    return {};  // a core image without fields=: the core's values alone
  }
  return kelvorn_saved_index::radicalStrokeExtras(*all);
}

kelvorn::MandarinReadings Unihan::mandarinReadings() {
  try {
    return kelvorn_saved_index::mandarinReadings(fields());
  } catch (const py::value_error&) {
    return {};  // a core image without fields=: kMandarin's readings alone
  }
}

std::optional<kelvorn::UnihanIndex> Unihan::savedIndex() {
  if (!startsWith(path_, kCoreMagic) || !startsWith(fieldsPath_, kFieldsMagic)) return std::nullopt;
  std::string version;
  try {
    version = std::string(fields().unicodeVersion());
  } catch (const py::value_error&) {
    return std::nullopt;  // a damaged all-field image: the build reports nothing either
  }
  const std::string tag = kelvorn_saved_index::dataTag(unihan_.loadedImageTag(), fields());
  const py::gil_scoped_release unlocked;
  return kelvorn_saved_index::openBeside(mgr_, tag, fieldsPath_, version);
}

const kelvorn::UnihanIndex& Unihan::index() {
  if (const kelvorn::UnihanIndex* ready = indexReady_.load(std::memory_order_acquire)) {
    return *ready;
  }
  // Read before the lock: fields() takes it too.
  std::optional<kelvorn::UnihanIndex> saved = savedIndex();
  const kelvorn::RadicalStrokeExtras extras =
      saved ? kelvorn::RadicalStrokeExtras() : radicalStrokeExtras();
  const kelvorn::MandarinReadings mandarin =
      saved ? kelvorn::MandarinReadings() : mandarinReadings();
  const py::gil_scoped_release unlocked;
  const std::lock_guard<std::mutex> lock(mutex_);
  if (!index_) {
    index_ = saved ? std::make_unique<const kelvorn::UnihanIndex>(std::move(*saved))
                   : std::make_unique<const kelvorn::UnihanIndex>(mgr_, extras, mandarin);
    indexReady_.store(index_.get(), std::memory_order_release);
  }
  return *index_;
}

namespace {

// An all-field image is opened in place, its checksum checked as the tool
// checks it, so that a damaged image is refused rather than answered with
// what the damage left; so is any file of this library's own (its magic
// damaged, a saved index), which the image's open refuses as the tool
// does. Anything else is read as Unihan text, except the core's own image,
// which has twelve fields only. Text loaded already is read from the bytes
// the load kept.
kelvorn::UnihanFields openFields(const std::string& path, const std::string& shownAs,
                                 const std::string* loadedText) {
  // Unihan text does not say which release it is.
  if (loadedText != nullptr) {
    return kelvorn::UnihanFields::fromTextBuffer(*loadedText, "unknown", path);
  }
  if (startsWith(path, kOwnFilePrefix)) {
    return kelvorn::UnihanFields::open(path, kelvorn::FieldsCheck::kChecksum);
  }
  if (startsWith(path, kCoreMagic)) {
    throw py::value_error(shownAs +
                          ": a binary image keeps twelve fields only; for every field, load the "
                          "Unihan text or pass fields= an all-field image");
  }
  return kelvorn::UnihanFields::fromText({path}, "unknown");
}

}  // namespace

const kelvorn::UnihanFields& Unihan::fields() {
  if (const kelvorn::UnihanFields* ready = fieldsReady_.load(std::memory_order_acquire)) {
    return *ready;
  }
  const std::string& source = fieldsPath_.empty() ? path_ : fieldsPath_;
  std::optional<std::string> refusal;
  {
    const py::gil_scoped_release unlocked;
    const std::lock_guard<std::mutex> lock(mutex_);
    try {
      if (!fields_) {
        fields_ = std::make_unique<const kelvorn::UnihanFields>(
            openFields(source, shownAs_, text_.get()));
        fieldsReady_.store(fields_.get(), std::memory_order_release);
        text_.reset();  // every field is in fields_ now
      }
    } catch (const kelvorn::FieldsError& e) {
      refusal = e.what();
    } catch (const py::value_error& e) {
      refusal = e.what();
    }
  }
  if (refusal) throw py::value_error(*refusal);
  return *fields_;
}

const kelvorn::ReadingFrequencies& Unihan::readingFrequencies() {
  if (!frequencies_) {
    frequencies_ = std::make_unique<kelvorn::ReadingFrequencies>(
        kelvorn_saved_index::readingFrequencies(fields()));
  }
  return *frequencies_;
}

const kelvorn::NamedReadings& Unihan::namedReadings(const std::string& field) {
  auto it = namedReadings_.find(field);
  if (it == namedReadings_.end()) {
    it = namedReadings_.emplace(field, kelvorn_saved_index::namedReadings(fields(), field)).first;
  }
  return it->second;
}

PyObject* Unihan::answerCache(std::size_t which) {
  py::object& cache = answerCaches_.at(which);
  if (!cache) cache = py::dict();
  return cache.ptr();
}

const kelvorn::UnihanLexicon& Unihan::lexicon() {
  if (const kelvorn::UnihanLexicon* ready = lexiconReady_.load(std::memory_order_acquire)) {
    return *ready;
  }
  const kelvorn::UnihanFields& store = fields();
  const py::gil_scoped_release unlocked;
  const std::lock_guard<std::mutex> lock(mutex_);
  if (!lexicon_) {
    lexicon_ = std::make_unique<const kelvorn::UnihanLexicon>(store);
    lexiconReady_.store(lexicon_.get(), std::memory_order_release);
  }
  return *lexicon_;
}

}  // namespace kelvorn_python

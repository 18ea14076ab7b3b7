// kelvorn::Unihan: the core's answers in an application's terms.
#include "kelvorn/Unihan.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "app/Bundle.h"
#include "app/Load.h"
#include "app/Store.h"
#include "app/files/BundledFiles.h"
#include "app/files/StagedOutput.h"
#include "app/files/StagingRegistry.h"
#include "query/Residual.h"
#include "store/HandleAccess.h"

namespace kelvorn {
namespace {

using kelvorn_app_private::Store;

std::shared_ptr<const std::vector<Source>> defaultPreference() {
  static const auto preference = std::make_shared<const std::vector<Source>>(
      kDefaultSourcePreference.begin(), kDefaultSourcePreference.end());
  return preference;
}

// The core's valueIndex: kRSUnicode has up to two values and answers any
// index but 1 with the first, kRSVantu_Japan1_6 has one per CID value, and
// the other sources have one value and ignore the index.
bool hasValueIndex(Source source, int index) {
  if (source == Source::kRSUnicode) return index == 0 || index == 1;
  return index == 0 || (index > 0 && source == Source::kRSVantu_Japan1_6);
}

}  // namespace

Unihan::Unihan() : Unihan(std::make_shared<Store>()) {}

Unihan::Unihan(std::shared_ptr<Store> store)
    : Unihan(std::move(store), std::make_shared<kelvorn_app_private::Bundle>(
                                   kelvorn_app_private::BundleSources{})) {}

Unihan::Unihan(std::shared_ptr<Store> store, std::shared_ptr<kelvorn_app_private::Bundle> bundle)
    : store_(std::move(store)), preference_(defaultPreference()), bundle_(std::move(bundle)) {}

Unihan Unihan::withSourcePreference(const std::vector<Source>& preference) const {
  if (preference.size() > kSources.size()) {
    throw Error("a source preference names at most six sources");
  }
  for (std::size_t i = 0; i < preference.size(); ++i) {
    if (std::find(preference.begin(), preference.begin() + static_cast<std::ptrdiff_t>(i),
                  preference[i]) != preference.begin() + static_cast<std::ptrdiff_t>(i)) {
      throw Error("a source preference names each source once");
    }
  }
  Unihan copy = *this;
  copy.preference_ = std::make_shared<const std::vector<Source>>(preference);
  return copy;
}

const std::vector<Source>& Unihan::sourcePreference() const noexcept { return *preference_; }

namespace {

using kelvorn_app_private::recordOf;
using kelvorn_private::Record;

std::optional<Cid> cidIn(const Record& rec, int index) {
  const int number = rec.cid(index);
  if (number < 0) return std::nullopt;
  Cid value;
  value.cid = number;
  value.radical = rec.value(kelvorn::kRSVantu_Japan1_6, index, kelvorn_private::kRadical);
  value.radicalFormStrokes = rec.value(kelvorn::kRSVantu_Japan1_6, index, kelvorn_private::kStroke);
  value.glyphStrokes = rec.vantuStrokes(index);
  return value;
}

std::optional<RadicalStroke> radicalStrokeIn(const Record& rec, Source source, int index) {
  if (!rec.held() || !hasValueIndex(source, index)) return std::nullopt;
  if (source == Source::kRSVantu_Japan1_6) {
    const std::optional<Cid> value = cidIn(rec, index);
    if (!value) return std::nullopt;
    return RadicalStroke{value->radical,
                         kelvorn_private::vantuResidual(value->glyphStrokes, value->radicalFormStrokes)};
  }
  // The core answers any index but 1 with the first kRSUnicode value.
  if (source == Source::kRSUnicode && index == 1 && rec.numVals(kelvorn::kRSUnicode) != 2) {
    return std::nullopt;
  }
  const int radical = rec.value(toField(source), index, kelvorn_private::kRadical);
  if (radical < 0) return std::nullopt;
  return RadicalStroke{radical, kelvorn_private::signedResidual(rec.value(toField(source), index, kelvorn_private::kStroke))};
}

}  // namespace

bool Unihan::contains(char32_t codePoint) const noexcept {
  return kelvorn_app_private::holds(*store_, codePoint);
}

std::optional<RadicalStroke> Unihan::radicalStroke(char32_t codePoint, Source source,
                                                   int index) const noexcept {
  return radicalStrokeIn(recordOf(*store_, codePoint), source, index);
}

std::vector<RadicalStroke> Unihan::radicalStrokes(char32_t codePoint, Source source) const {
  const Record rec = recordOf(*store_, codePoint);
  std::vector<RadicalStroke> values;
  for (int index = 0;; ++index) {
    const std::optional<RadicalStroke> value = radicalStrokeIn(rec, source, index);
    if (!value) return values;
    values.push_back(*value);
  }
}

std::optional<PreferredRadicalStroke> Unihan::preferredRadicalStroke(
    char32_t codePoint) const noexcept {
  const Record rec = recordOf(*store_, codePoint);
  if (!rec.held()) return std::nullopt;
  for (Source source : *preference_) {
    if (const std::optional<RadicalStroke> value = radicalStrokeIn(rec, source, 0)) {
      return PreferredRadicalStroke{source, *value};
    }
  }
  return std::nullopt;
}

std::optional<int> Unihan::totalStrokes(char32_t codePoint) const noexcept {
  const int total = recordOf(*store_, codePoint).totalStrokes();
  if (total <= 0) return std::nullopt;
  return total;
}

std::optional<Cid> Unihan::cid(char32_t codePoint, int index) const noexcept {
  return cidIn(recordOf(*store_, codePoint), index);
}

std::vector<Cid> Unihan::cids(char32_t codePoint) const {
  const Record rec = recordOf(*store_, codePoint);
  std::vector<Cid> values;
  for (int index = 0;; ++index) {
    const std::optional<Cid> value = cidIn(rec, index);
    if (!value) return values;
    values.push_back(*value);
  }
}

std::optional<char32_t> Unihan::charForCid(unsigned int number) const noexcept {
  const int cp = store_->mgr.getUTF32ForCID(number);
  if (cp < 0) return std::nullopt;
  return static_cast<char32_t>(cp);
}

std::vector<std::string> Unihan::readings(char32_t codePoint, Reading field) const {
  std::vector<std::string> values;
  recordOf(*store_, codePoint).readings(toField(field), &values);
  return values;
}

std::optional<HanYuPosition> Unihan::hanYu(char32_t codePoint) const noexcept {
  kelvorn_private::HanYuRef ref;
  if (!recordOf(*store_, codePoint).hanYu(&ref)) return std::nullopt;
  // A held code point without a value has zeros, and no volume is 0.
  if (ref.volume == 0 && ref.page == 0 && ref.position == 0 && ref.virtualFlag == 0) {
    return std::nullopt;
  }
  return HanYuPosition{ref.volume, ref.page, ref.position, ref.virtualFlag};
}

const std::vector<char32_t>& Unihan::codePoints() const {
  std::call_once(store_->heldOnce, [this] {
    for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
      if (contains(cp)) store_->held.push_back(cp);
    }
  });
  return store_->held;
}

std::string Unihan::bytes(SaveFormat format) const {
  const kelvorn_private::UnihanData* data = kelvorn_private::HandleAccess::store(store_->mgr);
  if (format == SaveFormat::kDump) return data->dumpBytes();
  std::string image;
  if (!data->imageBytes(&image)) {
    throw Error("cannot write the image (the data does not fit the image format)");
  }
  return image;
}

std::size_t Unihan::save(std::string_view path, SaveFormat format) const {
  const std::string name(path);
  if (name.empty()) throw Error("an empty path names no file");
  std::string content;
  try {
    content = bytes(format);
  } catch (const Error& e) {
    throw Error(name + ": " + e.what() + "; nothing was written", e.systemError());
  }
  kelvorn_files::writeFileAtomically(name, content);
  return content.size();
}

UnihanMgr Unihan::core() const { return store_->mgr; }

const std::string& Unihan::loadedImageTag() const noexcept { return store_->imageTag; }

void Unihan::removeStagingFilesOnSignals() { kelvorn_files::removeStagingFilesOnSignals(); }

}  // namespace kelvorn

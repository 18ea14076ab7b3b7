#include "Unihan.h"

#include <pybind11/pybind11.h>

#include "Loader.h"

namespace py = pybind11;

namespace kelvorn_python {
namespace {

// The core's own order until set_source_preference replaces it.
constexpr SourcePreference kDefaultPreference = {
    kelvorn::kRSVantu_Japan1_6, kelvorn::kRSJapanese, kelvorn::kRSKorean,
    kelvorn::kRSKanWa,          kelvorn::kRSKangXi,   kelvorn::kRSUnicode};

std::optional<int> unlessMinusOne(int value) {
  return value == -1 ? std::nullopt : std::optional<int>(value);
}

void requireIndex(int index) {
  if (index < 0) throw py::value_error("value index must not be negative");
}

}  // namespace

Unihan::Unihan(const std::string& path, std::string shownAs)
    : shownAs_(std::move(shownAs)), preference_(kDefaultPreference) {
  loadFile(mgr_, path);
}

std::optional<int> Unihan::totalStrokes(int cp) {
  const int total = mgr_.totalStrokes(cp);
  return total > 0 ? std::optional<int>(total) : std::nullopt;
}

std::optional<std::pair<int, int>> Unihan::radicalStroke(int cp, kelvorn::unihanPropT source,
                                                         int index) {
  requireIndex(index);
  // The core answers the only value of a plain source whatever the index; a
  // Python caller asking for value 1 of kRSKangXi means a value that is not there.
  const int plainValues = source == kelvorn::kRSUnicode ? 2 : 1;
  if (source != kelvorn::kRSVantu_Japan1_6 && index >= plainValues) return std::nullopt;
  const int radical = mgr_.radix(cp, source, index);
  if (radical == -1) return std::nullopt;
  const int stroke = mgr_.stroke(cp, source, index);
  if (source != kelvorn::kRSVantu_Japan1_6) {
    return std::make_pair(radical, kelvorn::signedResidual(stroke));
  }
  // The CID value gives the strokes of the radical's form and of the whole
  // glyph; the residual is what the glyph adds to the form.
  const int glyph = mgr_.totalVantuStrokes(cp, index);
  return std::make_pair(radical, glyph - stroke);
}

std::optional<std::pair<int, int>> Unihan::preferredRadicalStroke(int cp) {
  const int radical = mgr_.radix(cp, 0);
  if (radical == -1) return std::nullopt;
  return std::make_pair(radical, kelvorn::signedResidual(mgr_.stroke(cp, 0)));
}

std::vector<std::string> Unihan::readings(int cp, kelvorn::unihanPropT field) {
  std::vector<std::string> out;
  return mgr_.getPronounceData(out, cp, field);
}

std::optional<int> Unihan::cid(int cp, int index) {
  requireIndex(index);
  return unlessMinusOne(mgr_.getVantuCID(cp, index));
}

std::optional<int> Unihan::cidStrokes(int cp, int index) {
  requireIndex(index);
  return unlessMinusOne(mgr_.totalVantuStrokes(cp, index));
}

std::optional<int> Unihan::charForCid(long long cid) {
  if (cid < 0 || cid > 0xFFFFFFFFLL) return std::nullopt;
  return unlessMinusOne(mgr_.getUTF32ForCID(static_cast<unsigned int>(cid)));
}

std::optional<HanYuPosition> Unihan::hanYu(int cp) {
  HanYuPosition pos;
  if (mgr_.getkHanYuData(static_cast<unsigned int>(cp), &pos.volume, &pos.page, &pos.position,
                         &pos.virtualFlag) != 0) {
    return std::nullopt;
  }
  // A held code point without a kHanYu value answers zeros, and no volume or
  // page of the dictionary is numbered 0.
  if (pos.volume == 0 && pos.page == 0) return std::nullopt;
  return pos;
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
  SourcePreference copy = preference;
  mgr_.setRadixStrokeSourcePref(copy.data());
  preference_ = preference;
}

const kelvorn::UnihanIndex& Unihan::index() {
  if (const kelvorn::UnihanIndex* ready = indexReady_.load(std::memory_order_acquire)) {
    return *ready;
  }
  const py::gil_scoped_release unlocked;
  const std::lock_guard<std::mutex> lock(mutex_);
  if (!index_) {
    index_ = std::make_unique<const kelvorn::UnihanIndex>(mgr_);
    indexReady_.store(index_.get(), std::memory_order_release);
  }
  return *index_;
}

}  // namespace kelvorn_python

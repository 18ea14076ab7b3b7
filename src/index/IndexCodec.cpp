#include "index/IndexCodec.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

#include "index/IndexFormat.h"

namespace kelvorn_index_private {
namespace {

using kelvorn::RadicalEntry;

// Lists are read where they lie when the host is little-endian, as the
// format is, and the bytes are four-byte aligned, as a mapped file is;
// otherwise they are decoded into the index's own memory.
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
constexpr bool kLittleEndianHost = false;
#else
constexpr bool kLittleEndianHost = true;
#endif

static_assert(sizeof(RadicalEntry) == 8, "a saved radical entry is two 32-bit numbers");

class Writer {
 public:
  void u8(std::uint8_t v) { out_.push_back(static_cast<char>(v)); }
  void u32(std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) u8(static_cast<std::uint8_t>(v >> shift));
  }
  void count(std::size_t n) { u32(static_cast<std::uint32_t>(n)); }
  // Zero bytes up to the next multiple of four, where every list starts.
  void pad() { out_.append((format::kAlignment - out_.size() % format::kAlignment) % format::kAlignment, '\0'); }
  void bytes(const char* b, std::size_t n) {
    count(n);
    out_.append(b, n);
    pad();
  }
  template <class List>
  void u32List(const List& list) {
    count(list.size());
    for (const auto v : list) u32(static_cast<std::uint32_t>(v));
  }
  std::string take() { return std::move(out_); }

 private:
  std::string out_;
};

// Reads what Writer wrote. A read past the end, or any check that fails,
// marks the reader failed; what it answers after that does not matter.
class Reader {
 public:
  explicit Reader(std::string_view bytes)
      : bytes_(bytes),
        inPlace_(kLittleEndianHost &&
                 reinterpret_cast<std::uintptr_t>(bytes.data()) % alignof(std::uint32_t) == 0) {}

  bool ok() const noexcept { return ok_; }
  bool atEnd() const noexcept { return ok_ && pos_ == bytes_.size(); }
  void require(bool condition) noexcept { ok_ = ok_ && condition; }

  std::uint32_t u32() noexcept {
    if (!has(4)) return 0;
    const std::uint32_t v = load(pos_);
    pos_ += 4;
    return v;
  }
  void pad() noexcept {
    const std::size_t n = (format::kAlignment - pos_ % format::kAlignment) % format::kAlignment;
    if (!has(n)) return;
    for (std::size_t i = 0; i < n; ++i) require(bytes_[pos_ + i] == '\0');
    pos_ += n;
  }
  // Where `count` elements of `size` bytes each lie, or nullptr when they
  // cannot all be there: no allocation ever follows a damaged count.
  const char* elements(std::size_t count, std::size_t size) noexcept {
    require(count <= SIZE_MAX / size);
    if (!ok_ || !has(count * size)) return nullptr;
    const char* at = bytes_.data() + pos_;
    pos_ += count * size;
    return at;
  }
  std::string_view bytes() noexcept {
    const std::size_t n = u32();
    const char* at = elements(n, 1);
    pad();
    return at == nullptr ? std::string_view() : std::string_view(at, n);
  }
  // A list of 32-bit numbers, or of records made of them (T).
  template <class T>
  void list(Table<T>* table) {
    const std::size_t n = u32();
    const char* at = elements(n, sizeof(T));
    if (at == nullptr) return;
    if (inPlace_) {
      table->view(reinterpret_cast<const T*>(at), n);
    } else {
      table->own(decoded<T>(at, n));
    }
  }
  std::vector<std::pair<char32_t, char32_t>> pairs() {
    const std::size_t n = u32();
    const char* at = elements(n, 8);
    std::vector<std::pair<char32_t, char32_t>> out;
    if (at == nullptr) return out;
    out.resize(n);
    const auto offset = static_cast<std::size_t>(at - bytes_.data());
    for (std::size_t i = 0; i < n; ++i) {
      out[i] = {load(offset + 8 * i), load(offset + 8 * i + 4)};
    }
    return out;
  }
  template <class T>
  void page(Pages<T>* pages, std::size_t i) {
    const std::size_t n = u32();
    const char* at = elements(n, sizeof(T));
    if (at == nullptr) return;
    if (inPlace_) {
      pages->view(i, reinterpret_cast<const T*>(at), n);
    } else {
      pages->built(i) = decoded<T>(at, n);
    }
  }

 private:
  bool has(std::size_t n) noexcept {
    require(n <= bytes_.size() - pos_);
    return ok_;
  }
  std::uint32_t load(std::size_t at) const noexcept {
    unsigned char b[4];
    std::memcpy(b, bytes_.data() + at, 4);
    return std::uint32_t{b[0]} | std::uint32_t{b[1]} << 8 | std::uint32_t{b[2]} << 16 |
           std::uint32_t{b[3]} << 24;
  }
  template <class T>
  std::vector<T> decoded(const char* at, std::size_t n) const {
    std::vector<std::uint32_t> words(n * sizeof(T) / 4);
    const auto offset = static_cast<std::size_t>(at - bytes_.data());
    for (std::size_t i = 0; i < words.size(); ++i) words[i] = load(offset + 4 * i);
    std::vector<T> out(n);
    if (n > 0) std::memcpy(out.data(), words.data(), n * sizeof(T));  // no null pointers
    return out;
  }

  std::string_view bytes_;
  bool inPlace_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

// Sound tables are the rule, so the whole list is read without a branch an
// element rather than stopping at the first fall.
template <class T>
bool ascending(const T* list, std::size_t n, bool strictly) {
  unsigned falls = 0;
  if (strictly) {
    for (std::size_t i = 1; i < n; ++i) falls |= static_cast<unsigned>(!(list[i - 1] < list[i]));
  } else {
    for (std::size_t i = 1; i < n; ++i) falls |= static_cast<unsigned>(list[i] < list[i - 1]);
  }
  return falls == 0;
}

// Whether the first byte of each of n keys at `at` is 0 or 1. Or-ed
// together, every flag is when the result is; eight keys are or-ed at a time
// into a block of their bytes, which vectorizes, and the flags read from it.
bool flagsAreBools(const char* at, std::size_t n) noexcept {
  constexpr std::size_t kKeysABlock = 8;
  constexpr std::size_t kBlockBytes = kKeysABlock * format::kKeyBytes;
  unsigned char block[kBlockBytes] = {};
  std::size_t i = 0;
  for (; i + kKeysABlock <= n; i += kKeysABlock) {
    for (std::size_t b = 0; b < kBlockBytes; ++b) {
      block[b] |= static_cast<unsigned char>(at[i * format::kKeyBytes + b]);
    }
  }
  for (; i < n; ++i) block[0] |= static_cast<unsigned char>(at[i * format::kKeyBytes]);
  unsigned char flags = 0;
  for (std::size_t k = 0; k < kKeysABlock; ++k) flags |= block[k * format::kKeyBytes];
  return flags <= 1;
}

// Offsets from 0 that never fall and end at the size of what they cut up.
bool cutsWhole(const Table<std::uint32_t>& starts, std::size_t size) {
  return !starts.empty() && starts[0] == 0 && starts.back() == size && ascending(starts.data(), starts.size(), false);
}

}  // namespace

class IndexCodec::Body {
 public:
  static void write(const IndexData& data, Writer* w) {
    w->u32List(data.codePoints);
    w->count(data.keys.size());
    for (const CharKey& k : data.keys) {
      for (const std::uint8_t b : {static_cast<std::uint8_t>(k.hasRadicalStroke ? 1 : 0),
                                   k.radical, k.storedResidual, k.totalStrokes, k.marks}) {
        w->u8(b);
      }
    }
    w->pad();
    w->u32List(data.weights);
    w->count(data.sortsAs.size());
    for (const auto& [cp, target] : data.sortsAs) {
      w->u32(cp);
      w->u32(target);
    }
    for (std::size_t slot = 0; slot < data.radicals.count(); ++slot) {
      const std::vector<RadicalEntry>& page = data.radicals.page(slot);
      w->count(page.size());
      for (const RadicalEntry& e : page) {
        w->u32(e.codePoint);
        w->u32(static_cast<std::uint32_t>(e.residual));
      }
    }
    for (std::size_t s = 0; s < data.strokes.count(); ++s) w->u32List(data.strokes.page(s));
    for (const ReadingTable& table : data.readings) {
      writeRuns(table.exact_, w);
      writeRuns(table.loose_, w);
    }
    for (const auto& ends : data.formEnds) {
      for (const std::uint32_t end : ends) w->u32(end);
    }
    writeFrequencies(data.frequencies, w);
    writeStrings(data.mandarinExtras, w);
  }

  static void read(Reader* r, IndexData* data) {
    r->list(&data->codePoints);
    const std::size_t held = data->codePoints.size();
    readKeys(r, data);
    r->require(data->keys.size() == held);
    r->list(&data->weights);
    r->require(data->weights.size() == held);
    data->sortsAs = r->pairs();
    r->require(ascending(data->sortsAs.data(), data->sortsAs.size(), true));
    for (std::size_t slot = 0; slot < data->radicals.count(); ++slot) r->page(&data->radicals, slot);
    for (std::size_t s = 0; s < data->strokes.count(); ++s) r->page(&data->strokes, s);
    for (ReadingTable& table : data->readings) {
      readRuns(r, &table.exact_);
      readRuns(r, &table.loose_);
    }
    for (std::size_t radical = 0; radical < data->formEnds.size(); ++radical) {
      auto& ends = data->formEnds[radical];
      for (std::uint32_t& end : ends) end = r->u32();
      // byRadicalForm cuts kRSUnicode's page at these ends.
      r->require(std::is_sorted(ends.begin(), ends.end()) &&
                 ends.back() <= data->radicals.pageSize(radical));
    }
    readFrequencies(r, &data->frequencies);
    readStrings(r, &data->mandarinExtras);
    r->require(fileRuns(data));  // checks the code points ascend
    if (!r->ok()) return;
    data->codePointList.view(0, data->codePoints.data(), held);
  }

 private:
  static void writeRuns(const KeyedRuns& runs, Writer* w) {
    w->bytes(runs.keyBytes_.data(), runs.keyBytes_.size());
    w->u32List(runs.keyStarts_);
    w->u32List(runs.runStarts_);
    w->u32List(runs.codePoints_);
  }

  static void readRuns(Reader* r, KeyedRuns* runs) {
    const std::string_view keyBytes = r->bytes();
    runs->keyBytes_.view(keyBytes.data(), keyBytes.size());
    r->list(&runs->keyStarts_);
    r->list(&runs->runStarts_);
    r->list(&runs->codePoints_);
    r->require(cutsWhole(runs->keyStarts_, runs->keyBytes_.size()) &&
               cutsWhole(runs->runStarts_, runs->codePoints_.size()) &&
               runs->runStarts_.size() == runs->keyStarts_.size());
  }

  static void writeFrequencies(const FrequencyTable& table, Writer* w) {
    w->u32(table.held ? 1 : 0);
    writeStrings(table.readings, w);
    w->u32List(table.counts);
    w->u32List(table.fallbackCodePoints);
    w->u32List(table.fallbackPlaces);
  }

  // UnihanIndex::frequencies searches both code point lists. An index given
  // no frequencies holds empty lists.
  static void readFrequencies(Reader* r, FrequencyTable* table) {
    const std::uint32_t held = r->u32();
    r->require(held <= 1);
    table->held = held == 1;
    readStrings(r, &table->readings);
    r->list(&table->counts);
    r->list(&table->fallbackCodePoints);
    r->list(&table->fallbackPlaces);
    const std::size_t listed = table->fallbackCodePoints.size();
    r->require(table->counts.size() == table->readings.codePoints.size() &&
               table->fallbackPlaces.size() == listed &&
               (table->held || (listed == 0 && table->counts.empty())) &&
               ascending(table->fallbackCodePoints.data(), listed, true) &&
               (listed == 0 || table->fallbackCodePoints.back() <= kLastCodePoint));
  }

  static void writeStrings(const CodePointStrings& strings, Writer* w) {
    w->u32List(strings.codePoints);
    w->u32List(strings.starts);
    w->bytes(strings.bytes.data(), strings.bytes.size());
  }

  // Lookups search the code points and cut the strings at their starts; no
  // string is empty, as no reading is.
  static void readStrings(Reader* r, CodePointStrings* strings) {
    r->list(&strings->codePoints);
    r->list(&strings->starts);
    const std::string_view bytes = r->bytes();
    strings->bytes.view(bytes.data(), bytes.size());
    if (!r->ok()) return;
    const std::size_t n = strings->codePoints.size();
    if (strings->starts.empty()) {
      r->require(n == 0 && bytes.empty());
      return;
    }
    r->require(strings->starts.size() == n + 1 && strings->starts[0] == 0 &&
               strings->starts.back() == bytes.size() &&
               ascending(strings->starts.data(), n + 1, true) &&
               ascending(strings->codePoints.data(), n, false) &&
               (n == 0 || strings->codePoints.back() <= kLastCodePoint));
  }

  // Five bytes a key, as CharKey lies in memory; the flag must read as a
  // bool, so it is 0 or 1.
  static void readKeys(Reader* r, IndexData* data) {
    const std::size_t n = r->u32();
    const char* at = r->elements(n, format::kKeyBytes);
    r->pad();
    if (at == nullptr) return;
    r->require(flagsAreBools(at, n));
    if (r->ok()) data->keys.view(reinterpret_cast<const CharKey*>(at), n);
  }
};

std::string IndexCodec::write(const IndexData& data, std::string_view tag) {
  Writer w;
  for (std::size_t i = 0; i < format::kMagicLength; ++i) {
    w.u8(static_cast<std::uint8_t>(format::kMagic[i]));
  }
  w.u32(format::kFormatVersion);
  w.bytes(tag.data(), tag.size());
  Body::write(data, &w);
  return w.take();
}

bool IndexCodec::read(std::string_view bytes, std::string_view tag, IndexData* data) {
  const std::string_view magic(format::kMagic, format::kMagicLength);
  if (bytes.substr(0, magic.size()) != magic) return false;
  Reader r(bytes);
  r.elements(magic.size(), 1);
  r.require(r.u32() == format::kFormatVersion);
  r.require(r.bytes() == tag);
  if (!r.ok()) return false;
  Body::read(&r, data);
  return r.atEnd();
}

}  // namespace kelvorn_index_private

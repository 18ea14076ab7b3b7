// readUnihanBinary and readUnihanBinaryBuf: one forward pass over a binary
// image. Both share one decoder and differ only in where the bytes come from,
// so the file and the buffer always build the same store.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>

#include "image/ImageFormat.h"
#include "store/ChunkedFile.h"
#include "store/UnihanData.h"

namespace kelvorn_private {
namespace {

// Bytes of an image in memory, read in place.
class BufferSource {
 public:
  BufferSource(const unsigned char* begin, std::size_t length) : pos_(begin), end_(begin + length) {}

  bool ensure(std::size_t n) const { return n <= available(); }
  const unsigned char* data() const { return pos_; }
  std::size_t available() const { return static_cast<std::size_t>(end_ - pos_); }
  void consume(std::size_t n) { pos_ += n; }
  // An upper bound of the bytes left, to bound what is reserved ahead.
  std::size_t remainingBound() const { return available(); }

 private:
  const unsigned char* pos_;
  const unsigned char* end_;
};

// Bytes of an image file, read in chunks. Owns and closes the file.
class FileSource {
 public:
  explicit FileSource(const char* path) : file_(std::fopen(path, "rb")) {
    if (file_ != nullptr) chunks_ = std::make_unique<ChunkedFile>(file_);
  }
  ~FileSource() {
    if (file_ != nullptr) (void)std::fclose(file_);  // read-only: nothing to lose
  }
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  bool isOpen() const { return file_ != nullptr; }
  bool ensure(std::size_t n) { return chunks_->ensure(n); }
  const unsigned char* data() const { return chunks_->data(); }
  std::size_t available() const { return chunks_->available(); }
  void consume(std::size_t n) { chunks_->consume(n); }
  // A stream read front to back does not know its size, so reservations are
  // bounded by a chunk and longer lists grow as they are read.
  std::size_t remainingBound() const { return ChunkedFile::kChunkSize; }

 private:
  std::FILE* file_;
  std::unique_ptr<ChunkedFile> chunks_;
};

// Reserving for a count that the image claims but cannot hold would let a
// few hostile bytes allocate gigabytes, so reservations are capped by what
// the remaining bytes could carry.
template <class Source>
std::size_t plausibleCount(const Source& src, std::size_t count, std::size_t minRecordLength) {
  return std::min(count, src.remainingBound() / minRecordLength);
}

// Reads block records into the store. Each member returns false as soon as
// a field cannot be read, leaving what it appended so far in place: the
// record being read keeps the fields and list elements read completely.
template <class Source>
class ImageDecoder {
 public:
  ImageDecoder(Source* src, BlockLoad* load, bool bigEndian) : src_(src), load_(load), bigEndian_(bigEndian) {}

  bool block(UnihanBlock* b) {
    if (!src_->ensure(image::block::kSize)) return false;
    const unsigned char* p = src_->data();
    b->first = static_cast<std::int32_t>(image::load32(p + image::block::kFirst, bigEndian_));
    b->last = static_cast<std::int32_t>(image::load32(p + image::block::kLast, bigEndian_));
    const std::size_t charCount = image::load16(p + image::block::kCharCount, bigEndian_);
    const std::size_t readingCount = image::load16(p + image::block::kReadingCount, bigEndian_);
    const std::size_t hanyuCount = image::load16(p + image::block::kHanyuCount, bigEndian_);
    src_->consume(image::block::kSize);

    b->chars.reserve(plausibleCount(*src_, charCount, image::charRecord::kSize));
    for (std::size_t i = 0; i < charCount;) {
      i += inlineCharRecords(b, i, charCount);
      if (i == charCount) break;
      const auto codePoint = static_cast<std::uint32_t>(b->first) + static_cast<std::uint32_t>(i);
      if (!charRecord(b, codePoint)) return false;
      ++i;
    }
    b->readings.reserve(plausibleCount(*src_, readingCount, image::readingRecord::kSize));
    return readingSets(b, readingCount) && hanyuRecords(b, hanyuCount);
  }

 private:
  // A character record whose values fit inline is, byte for byte, the first
  // 16 bytes of a CharRec: the header, then the pairs and CID entries (what
  // follows them in the copy is never read). So the records at hand are
  // copied whole, one after the other, until one that spills, one cut short
  // by the bytes at hand, or a big-endian CID, which charRecord() takes.
  // Returns how many records it appended.
  std::size_t inlineCharRecords(UnihanBlock* b, std::size_t first, std::size_t count) {
    static_assert(sizeof(CharRec) == image::charRecord::kSize + CharRec::kInlineBytes,
                  "an inline record is the image's header and values");
    const unsigned char* p = src_->data();
    const std::size_t avail = src_->available();
    std::size_t at = 0;
    std::size_t i = first;
    for (; i < count && avail - at >= sizeof(CharRec); ++i) {
      const std::size_t pairs = p[at + image::charRecord::kPairCount];
      const std::size_t cids = p[at + image::charRecord::kCidCount];
      if (!CharRec::fitsInline(pairs, cids) || (bigEndian_ && cids > 0)) break;
      CharRec& rec = b->chars.emplace_back();
      std::memcpy(static_cast<void*>(&rec), p + at, sizeof rec);
      mapCids(p + at + image::charRecord::kSize + pairs * kPairBytes, cids,
              static_cast<std::uint32_t>(b->first) + static_cast<std::uint32_t>(i));
      at += image::charRecord::kSize + pairs * kPairBytes + cids * kCidEntryBytes;
    }
    src_->consume(at);
    return i - first;
  }

  bool charRecord(UnihanBlock* b, std::uint32_t codePoint) {
    if (!src_->ensure(image::charRecord::kSize)) {
      load_->addChar(b, 0, 0, 0, 0, nullptr, 0);
      return false;
    }
    const unsigned char* p = src_->data();
    const std::uint8_t totalStrokes = p[image::charRecord::kTotalStrokes];
    const std::uint8_t flags = p[image::charRecord::kFlags];
    std::size_t pairs = p[image::charRecord::kPairCount];
    std::size_t cids = p[image::charRecord::kCidCount];
    const std::size_t size = image::charRecord::kSize + pairs * kPairBytes + cids * kCidEntryBytes;
    const bool complete = src_->ensure(size);
    if (!complete) {
      // Keep the pairs and CID entries that are there in full.
      const std::size_t rest = src_->available() - image::charRecord::kSize;
      if (rest < pairs * kPairBytes) {
        pairs = rest / kPairBytes;
        cids = 0;
      } else {
        cids = (rest - pairs * kPairBytes) / kCidEntryBytes;
      }
    }
    const unsigned char* payload = src_->data() + image::charRecord::kSize;
    if (bigEndian_ && cids > 0) payload = swappedCids(payload, pairs, cids);
    mapCids(payload + pairs * kPairBytes, cids, codePoint);
    const std::size_t readable = bigEndian_ && cids > 0 ? swapped_.size() : src_->available() - image::charRecord::kSize;
    load_->addChar(b, totalStrokes, flags, pairs, cids, payload, readable);
    if (!complete) return false;
    src_->consume(size);
    return true;
  }

  // Points each CID of `cids` little-endian entries at the code point.
  void mapCids(const unsigned char* entries, std::size_t cids, std::uint32_t codePoint) {
    for (std::size_t k = 0; k < cids; ++k, entries += kCidEntryBytes) {
      load_->mapCid(image::load16(entries + image::cidEntry::kCid, false), codePoint);
    }
  }

  // The payload with every CID little-endian, as the store keeps it.
  const unsigned char* swappedCids(const unsigned char* payload, std::size_t pairs, std::size_t cids) {
    const std::size_t bytes = pairs * kPairBytes + cids * kCidEntryBytes;
    swapped_.assign(payload, payload + bytes);
    for (std::size_t k = 0; k < cids; ++k) {
      unsigned char* cid = swapped_.data() + pairs * kPairBytes + k * kCidEntryBytes + image::cidEntry::kCid;
      std::swap(cid[0], cid[1]);
    }
    return swapped_.data();
  }

  enum class Measure { kComplete, kCut, kRefused };

  // How a reading set lies in the bytes at hand: whole, cut by their end, or
  // outside the format (a string longer than 63 bytes). `size` is the whole
  // set's, or that of the bytes before the string the measure stopped at;
  // `completeStrings` counts the strings read in full.
  struct SetMeasure {
    Measure measure;
    std::size_t size = 0;
    std::size_t completeStrings = 0;
  };

  static SetMeasure measureSet(const unsigned char* p, std::size_t avail) {
    constexpr std::size_t kCounts = image::readingRecord::kSize;
    if (avail < kCounts) return {Measure::kCut};
    std::uint32_t counts;
    std::memcpy(&counts, p, sizeof counts);
    if (counts == 0) return {Measure::kComplete, kCounts};  // most code points have no readings
    const std::size_t strings = std::size_t{p[0]} + p[1] + p[2] + p[3];
    std::size_t at = kCounts;
    for (std::size_t i = 0; i < strings; ++i) {
      if (at >= avail) return {Measure::kCut, at, i};
      const std::size_t length = p[at];
      if (length > image::string::kMaxLength) return {Measure::kRefused, at, i};
      if (length >= avail - at) return {Measure::kCut, at, i};
      at += image::string::kLengthSize + length;
    }
    return {Measure::kComplete, at, strings};
  }

  // Reading sets are already in the store's narrow encoding, so every run of
  // sets that lies in the bytes at hand is measured in place and copied at
  // once.
  bool readingSets(UnihanBlock* b, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
      const unsigned char* p = src_->data();
      const std::size_t avail = src_->available();
      std::size_t run = 0;
      SetMeasure set{};
      StoreArray<ReadingRef>& refs = b->readings;
      const std::size_t refsBefore = refs.size();
      const std::size_t base = load_->readingBytes();
      while (done < count) {
        set = measureSet(p + run, avail - run);
        if (set.measure != Measure::kComplete) break;
        refs.push_back(set.size == image::readingRecord::kSize ? kEmptyReadings
                                                               : static_cast<ReadingRef>(base + run));
        run += set.size;
        ++done;
      }
      if (run > 0) {
        try {
          load_->addReadingBytes(p, run);
        } catch (...) {
          refs.resize(refsBefore);  // no ref may point past the arena
          throw;
        }
        src_->consume(run);
        continue;
      }
      if (set.measure == Measure::kCut && src_->ensure(avail + 1)) continue;
      addPartialSet(b, set.completeStrings, set.size);
      return false;
    }
    return true;
  }

  // The strings read in full, with the counts cut to them, list by list.
  void addPartialSet(UnihanBlock* b, std::size_t complete, std::size_t size) {
    partial_.assign(image::readingRecord::kSize, 0);
    if (size >= image::readingRecord::kSize) partial_.assign(src_->data(), src_->data() + size);
    for (std::size_t list = 0; list < image::readingRecord::kListCount; ++list) {
      const std::size_t kept = std::min<std::size_t>(partial_[list], complete);
      partial_[list] = static_cast<std::uint8_t>(kept);
      complete -= kept;
    }
    if (partial_.size() == image::readingRecord::kSize) {  // no string read in full
      b->readings.push_back(kEmptyReadings);
      return;
    }
    const auto ref = static_cast<ReadingRef>(load_->readingBytes());
    load_->addReadingBytes(partial_.data(), partial_.size());
    b->readings.push_back(ref);
  }

  // HanYu records are kept as the image holds them, so the records at hand
  // are copied at once (a big-endian page is swapped). One that is cut short
  // stays as zeros.
  bool hanyuRecords(UnihanBlock* b, std::size_t count) {
    b->hanyu.reserve(plausibleCount(*src_, count, image::hanyu::kSize));
    std::size_t done = 0;
    while (done < count) {
      const std::size_t n = std::min(count - done, src_->available() / image::hanyu::kSize);
      if (n == 0) {
        if (src_->ensure(image::hanyu::kSize)) continue;
        b->hanyu.emplace_back();
        return false;
      }
      const std::size_t old = b->hanyu.size();
      b->hanyu.resize(old + n);
      HanYuRecord* out = b->hanyu.mutableData() + old;
      std::memcpy(static_cast<void*>(out), src_->data(), n * image::hanyu::kSize);
      if (bigEndian_) {
        for (std::size_t i = 0; i < n; ++i) std::swap(out[i].bytes[image::hanyu::kPage], out[i].bytes[image::hanyu::kPage + 1]);
      }
      src_->consume(n * image::hanyu::kSize);
      done += n;
    }
    return true;
  }

  Source* src_;
  BlockLoad* load_;
  bool bigEndian_;
  std::vector<std::uint8_t> swapped_;
  std::vector<std::uint8_t> partial_;
};

// Everything after the magic, the rest of the header first. Returns true
// when every block record was read.
template <class Source>
bool loadImageBody(Source* src, UnihanData* store) {
  // The source stands just past the magic, where the header goes on.
  const auto field = [src](std::size_t offset) { return src->data() + (offset - kelvorn::kImageMagicLength); };
  const bool bigEndian = (*field(image::header::kByteOrder) & image::header::kBigEndianBit) != 0;
  const std::uint16_t major = image::load16(field(image::header::kVersionMajor), bigEndian);
  const std::uint16_t minor = image::load16(field(image::header::kVersionMinor), bigEndian);
  const auto blockCount = static_cast<std::int16_t>(image::load16(field(image::header::kBlockCount), bigEndian));
  src->consume(image::header::kSize - kelvorn::kImageMagicLength);

  BlockLoad load(store, BlockLoad::Mode::kReplace);
  load.setVersion(major, minor);
  // The count is a signed field; a negative one is an impossible size.
  if (blockCount < 0) throw std::length_error("unihan image: negative block count");
  const auto count = static_cast<std::size_t>(blockCount);
  load.reserveBlocks(plausibleCount(*src, count, image::block::kSize));
  load.reserveReadingBytes(src->remainingBound());

  ImageDecoder<Source> decoder(src, &load, bigEndian);
  for (std::size_t i = 0; i < count; ++i) {
    if (!decoder.block(&load.addBlock())) return false;
  }
  load.markValid();
  return true;
}

// Checks the magic and leaves the source just past it.
template <class Source>
bool atMagic(Source* src) {
  if (!src->ensure(kelvorn::kImageMagicLength) ||
      std::memcmp(src->data(), kelvorn::kImageMagic, kelvorn::kImageMagicLength) != 0) {
    return false;
  }
  src->consume(kelvorn::kImageMagicLength);
  return true;
}

}  // namespace

int UnihanData::readUnihanBinaryBuf(const char* buf, unsigned int len) {
  if (buf == nullptr) return 0;
  BufferSource src(reinterpret_cast<const unsigned char*>(buf), len);
  if (!atMagic(&src)) return 0;
  if (src.available() == 0) return static_cast<int>(kelvorn::kImageMagicLength);
  if (!src.ensure(image::header::kSize - kelvorn::kImageMagicLength)) {
    return static_cast<int>(kelvorn::kImageMagicLength + 1);
  }
  return loadImageBody(&src, this) ? static_cast<int>(len) : 0;
}

// After the magic the file form stops at the first read that fails and
// reports -1; what it read up to there stays, as with a short buffer.
int UnihanData::readUnihanBinary(const char* path) {
  if (path == nullptr) return -1;
  FileSource src(path);
  if (!src.isOpen() || !atMagic(&src)) return -1;
  if (!src.ensure(image::header::kSize - kelvorn::kImageMagicLength)) return -1;
  return loadImageBody(&src, this) ? 0 : -1;
}

}  // namespace kelvorn_private

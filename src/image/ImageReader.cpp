// readUnihanBinary and readUnihanBinaryBuf: one forward pass over a binary
// image. Both share one decoder; they differ only in where the bytes come
// from, so the file and the buffer always build the same store.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <stdexcept>

#include "image/ImageFormat.h"
#include "store/UnihanData.h"

namespace kelvorn_private {
namespace {

// Bytes of an image in memory, read in place.
class BufferSource {
 public:
  BufferSource(const unsigned char* begin, std::size_t length)
      : pos_(begin), end_(begin + length) {}

  // The next n bytes, or null when fewer remain.
  const unsigned char* take(std::size_t n) {
    if (n > static_cast<std::size_t>(end_ - pos_)) return nullptr;
    const unsigned char* p = pos_;
    pos_ += n;
    return p;
  }
  std::size_t remaining() const { return static_cast<std::size_t>(end_ - pos_); }

 private:
  const unsigned char* pos_;
  const unsigned char* end_;
};

// Bytes of an image file, read in large chunks. Owns and closes the file.
class FileSource {
 public:
  explicit FileSource(const char* path) : file_(std::fopen(path, "rb")) {
    if (file_ != nullptr) remaining_ = sizeOf(file_);
  }
  ~FileSource() {
    if (file_ != nullptr) (void)std::fclose(file_);
  }
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  bool isOpen() const { return file_ != nullptr; }

  // The next n bytes (n at most kChunkSize), or null when the file ends or a
  // read fails before n bytes were read.
  const unsigned char* take(std::size_t n) {
    if (len_ - pos_ < n && !refill(n)) return nullptr;
    const unsigned char* p = chunk_.get() + pos_;
    pos_ += n;
    if (remaining_ != kUnknownSize) remaining_ -= std::min(remaining_, n);
    return p;
  }
  // Bytes left in the file as far as its size says; only used to bound how
  // much is reserved ahead of the data.
  std::size_t remaining() const { return remaining_; }

 private:
  static constexpr std::size_t kChunkSize = 1 << 16;
  static constexpr std::size_t kUnknownSize = std::numeric_limits<std::size_t>::max();

  static std::size_t sizeOf(std::FILE* f) {
    if (std::fseek(f, 0, SEEK_END) != 0) return kUnknownSize;
    const long size = std::ftell(f);
    if (std::fseek(f, 0, SEEK_SET) != 0 || size < 0) return kUnknownSize;
    return static_cast<std::size_t>(size);
  }

  bool refill(std::size_t n) {
    const std::size_t kept = len_ - pos_;
    std::memmove(chunk_.get(), chunk_.get() + pos_, kept);
    pos_ = 0;
    len_ = kept;
    while (len_ < n) {
      const std::size_t got = std::fread(chunk_.get() + len_, 1, kChunkSize - len_, file_);
      if (got == 0) return false;
      len_ += got;
    }
    return true;
  }

  std::FILE* file_;
  std::unique_ptr<unsigned char[]> chunk_{new unsigned char[kChunkSize]};
  std::size_t pos_ = 0;
  std::size_t len_ = 0;
  std::size_t remaining_ = kUnknownSize;
};

std::uint16_t load16(const unsigned char* p, bool bigEndian) {
  return bigEndian ? static_cast<std::uint16_t>(p[0] << 8 | p[1])
                   : static_cast<std::uint16_t>(p[1] << 8 | p[0]);
}

std::uint32_t load32(const unsigned char* p, bool bigEndian) {
  const std::uint32_t b0 = p[0], b1 = p[1], b2 = p[2], b3 = p[3];
  return bigEndian ? b0 << 24 | b1 << 16 | b2 << 8 | b3 : b3 << 24 | b2 << 16 | b1 << 8 | b0;
}

// Reserving for a count that the image claims but cannot hold would let a
// few hostile bytes allocate gigabytes, so reservations are capped by what
// the remaining bytes could carry.
template <class Source>
std::size_t plausibleCount(const Source& src, std::size_t count, std::size_t minRecordLength) {
  return std::min(count, src.remaining() / minRecordLength);
}

// Reads block records into a store. Each member returns false as soon as a
// field cannot be read, leaving what it appended so far in place.
template <class Source>
class ImageDecoder {
 public:
  ImageDecoder(Source* src, UnihanData* store, bool bigEndian)
      : src_(src), store_(store), bigEndian_(bigEndian) {}

  bool block(UnihanBlock* b) {
    const unsigned char* p = src_->take(kBlockRecordLength);
    if (p == nullptr) return false;
    b->first = static_cast<std::int32_t>(load32(p, bigEndian_));
    b->last = static_cast<std::int32_t>(load32(p + 4, bigEndian_));
    const std::size_t charCount = load16(p + 8, bigEndian_);
    const std::size_t readingCount = load16(p + 10, bigEndian_);
    const std::size_t hanyuCount = load16(p + 12, bigEndian_);

    b->chars.reserve(plausibleCount(*src_, charCount, kCharRecordMinLength));
    for (std::size_t i = 0; i < charCount; ++i) {
      b->chars.emplace_back();
      const auto codePoint = static_cast<std::uint32_t>(b->first) + static_cast<std::uint32_t>(i);
      if (!charRecord(&b->chars.back(), codePoint)) return false;
    }
    b->readings.reserve(plausibleCount(*src_, readingCount, kReadingRecordMinLength));
    for (std::size_t i = 0; i < readingCount; ++i) {
      b->readings.emplace_back();
      if (!readingSet(&b->readings.back())) return false;
    }
    b->hanyu.reserve(plausibleCount(*src_, hanyuCount, kHanYuRecordLength));
    for (std::size_t i = 0; i < hanyuCount; ++i) {
      b->hanyu.emplace_back();
      if (!hanyu(&b->hanyu.back())) return false;
    }
    return true;
  }

 private:
  bool charRecord(UnihanCharRec* rec, std::uint32_t codePoint) {
    const unsigned char* p = src_->take(kCharRecordMinLength);
    if (p == nullptr) return false;
    rec->totalStrokes = p[0];
    rec->flags = p[1];
    const std::size_t pairCount = p[2];
    const std::size_t cidCount = p[3];

    rec->rs.reserve(plausibleCount(*src_, pairCount, kPairLength));
    for (std::size_t i = 0; i < pairCount; ++i) {
      const unsigned char* q = src_->take(kPairLength);
      if (q == nullptr) return false;
      rec->rs.push_back({q[0], q[1]});
    }
    rec->cids.reserve(plausibleCount(*src_, cidCount, kCidEntryLength));
    for (std::size_t i = 0; i < cidCount; ++i) {
      const unsigned char* q = src_->take(kCidEntryLength);
      if (q == nullptr) return false;
      CidEntry entry;
      entry.cid = load16(q, bigEndian_);
      entry.radical = q[2];
      entry.radicalStrokes = q[3];
      entry.residualStrokes = q[4];
      store_->mapCid(entry.cid, codePoint);
      rec->cids.push_back(entry);
    }
    return true;
  }

  bool readingSet(ReadingSet* set) {
    const unsigned char* p = src_->take(kReadingRecordMinLength);
    if (p == nullptr) return false;
    const std::size_t counts[4] = {p[0], p[1], p[2], p[3]};
    return strings(&set->pinlu, counts[0]) && strings(&set->kun, counts[1]) &&
           strings(&set->on, counts[2]) && strings(&set->mandarin, counts[3]);
  }

  // A string is held up to its first zero byte; all its bytes are consumed.
  // A length of 64 or more lies outside the format and ends the load.
  bool strings(std::vector<std::string>* list, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
      const unsigned char* lengthByte = src_->take(1);
      if (lengthByte == nullptr || *lengthByte > kMaxStringLength) return false;
      const std::size_t length = *lengthByte;
      const unsigned char* bytes = src_->take(length);
      if (bytes == nullptr) return false;
      const void* zero = std::memchr(bytes, 0, length);
      const std::size_t held =
          zero == nullptr ? length : static_cast<std::size_t>(static_cast<const unsigned char*>(zero) - bytes);
      list->emplace_back(reinterpret_cast<const char*>(bytes), held);
    }
    return true;
  }

  bool hanyu(HanYuRef* ref) {
    const unsigned char* p = src_->take(kHanYuRecordLength);
    if (p == nullptr) return false;
    ref->volume = p[0];
    ref->page = load16(p + 1, bigEndian_);
    ref->position = p[3];
    ref->virtualFlag = p[4];
    return true;
  }

  Source* src_;
  UnihanData* store_;
  bool bigEndian_;
};

// Everything after the magic: `header` is the byte-order flag, the version
// pair and the block count. Returns true when every block record was read.
template <class Source>
bool loadImageBody(Source* src, const unsigned char* header, UnihanData* store) {
  const bool bigEndian = (header[0] & kBigEndianFlag) != 0;
  store->versionMajor = load16(header + 1, bigEndian);
  store->versionMinor = load16(header + 3, bigEndian);
  const auto blockCount = static_cast<std::int16_t>(load16(header + 5, bigEndian));

  const IndexBlocksOnExit reindex(store);
  std::vector<UnihanBlock>().swap(store->blocks);
  // The count is a signed field; a negative one is an impossible size.
  if (blockCount < 0) throw std::length_error("unihan image: negative block count");
  const auto count = static_cast<std::size_t>(blockCount);
  store->blocks.reserve(plausibleCount(*src, count, kBlockRecordLength));

  ImageDecoder<Source> decoder(src, store, bigEndian);
  for (std::size_t i = 0; i < count; ++i) {
    store->blocks.emplace_back();
    if (!decoder.block(&store->blocks.back())) return false;
  }
  store->valid = true;
  return true;
}

bool isMagic(const unsigned char* p) {
  return p != nullptr && std::memcmp(p, kImageMagic, kMagicLength) == 0;
}

}  // namespace

int UnihanData::readUnihanBinaryBuf(const char* buf, unsigned int len) {
  if (buf == nullptr || len < kMagicLength) return 0;
  BufferSource src(reinterpret_cast<const unsigned char*>(buf), len);
  if (!isMagic(src.take(kMagicLength))) return 0;
  if (len == kMagicLength) return static_cast<int>(kMagicLength);
  const unsigned char* header = src.take(kHeaderRestLength);
  if (header == nullptr) return static_cast<int>(kMagicLength + 1);
  return loadImageBody(&src, header, this) ? static_cast<int>(len) : 0;
}

// After the magic the file form stops at the first read that fails and
// reports -1; what it read up to there stays, as with a short buffer.
int UnihanData::readUnihanBinary(const char* path) {
  if (path == nullptr) return -1;
  FileSource src(path);
  if (!src.isOpen() || !isMagic(src.take(kMagicLength))) return -1;
  const unsigned char* header = src.take(kHeaderRestLength);
  if (header == nullptr) return -1;
  return loadImageBody(&src, header, this) ? 0 : -1;
}

}  // namespace kelvorn_private

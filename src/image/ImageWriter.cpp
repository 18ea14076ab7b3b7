// The binary image built in memory, and write, which puts the image (any
// nonzero mode) or the text dump (mode 0) into a file.
#include <string>
#include <utility>

#include "image/ImageFormat.h"
#include "image/OutputFile.h"
#include "store/UnihanData.h"

namespace kelvorn_private {
namespace {

// Every multi-byte field is written little-endian, whatever the host.
class ImageSink {
 public:
  ImageSink(const UnihanData& store, std::string* out) : store_(store), out_(out) {}

  void header() {
    out_->append(kelvorn::kImageMagic, kelvorn::kImageMagicLength);
    u8(0);  // byte order: little-endian
    u16(store_.versionMajor());
    u16(store_.versionMinor());
    u16(static_cast<std::uint16_t>(store_.blocks().size()));
  }

  void block(const UnihanBlock& b) {
    u32(static_cast<std::uint32_t>(b.first));
    u32(static_cast<std::uint32_t>(b.last));
    u16(static_cast<std::uint16_t>(b.chars.size()));
    u16(static_cast<std::uint16_t>(b.readings.size()));
    u16(static_cast<std::uint16_t>(b.hanyu.size()));
    for (const CharRec& rec : b.chars) charRecord(store_.charView(rec));
    for (const ReadingRef ref : b.readings) readingSet(store_.readingSet(ref));
    for (const HanYuRecord& record : b.hanyu) put(record.bytes, sizeof record.bytes);
  }

 private:
  void put(const std::uint8_t* bytes, std::size_t n) {
    out_->append(reinterpret_cast<const char*>(bytes), n);
  }
  void u8(std::uint8_t v) { out_->push_back(static_cast<char>(v)); }
  void u16(std::uint16_t v) {
    u8(static_cast<std::uint8_t>(v));
    u8(static_cast<std::uint8_t>(v >> 8));
  }
  void u32(std::uint32_t v) {
    u16(static_cast<std::uint16_t>(v));
    u16(static_cast<std::uint16_t>(v >> 16));
  }

  // The record keeps its pairs and CID entries in the image's layout.
  void charRecord(const CharView& rec) {
    u8(rec.totalStrokes());
    u8(rec.flags());
    u8(static_cast<std::uint8_t>(rec.pairCount()));
    u8(static_cast<std::uint8_t>(rec.cidCount()));
    put(rec.pairBytes(), rec.pairCount() * kPairBytes + rec.cidCount() * kCidEntryBytes);
  }

  // All four counts come before the first string.
  void readingSet(const ReadingSetView& set) {
    for (int list = 0; list < kReadingLists; ++list) u8(static_cast<std::uint8_t>(set.count(list)));
    for (int list = 0; list < kReadingLists; ++list) {
      set.forEach(list, [this](std::string_view s) {
        u8(static_cast<std::uint8_t>(s.size()));
        out_->append(s);
      });
    }
  }

  const UnihanData& store_;
  std::string* out_;
};

}  // namespace

bool UnihanData::imageBytes(std::string* out) const {
  // A store the count fields cannot carry has no image.
  if (!fitsImageFormat(*this)) return false;
  std::string image;
  ImageSink sink(*this, &image);
  sink.header();
  for (const UnihanBlock& block : blocks_) sink.block(block);
  *out = std::move(image);
  return true;
}

// A store without an image is refused before the file is touched, so an
// existing file is never truncated for nothing. Only a failure while the
// header goes out is reported: the result says whether the file could be
// started, not whether every byte reached it.
int UnihanData::write(const char* path, int mode) const {
  if (path == nullptr) return -1;
  if (mode == 0) return writeWholeFile(path, "w", dumpBytes(), 0);
  std::string image;
  if (!imageBytes(&image)) return -1;
  return writeWholeFile(path, "wb", image, image::header::kSize);
}

}  // namespace kelvorn_private

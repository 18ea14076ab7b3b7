// write: the binary image (any nonzero mode) or the text dump (mode 0).
#include "image/ImageFormat.h"
#include "image/OutputFile.h"
#include "image/TextDump.h"
#include "store/UnihanData.h"

namespace kelvorn_private {
namespace {

// Every multi-byte field is written little-endian, whatever the host.
class ImageSink {
 public:
  ImageSink(const UnihanData& store, OutputFile* out) : store_(store), out_(out) {}

  void header() {
    out_->put(kelvorn::kImageMagic, kelvorn::kImageMagicLength);
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
    for (const HanYuRecord& record : b.hanyu) out_->put(record.bytes, sizeof record.bytes);
  }

 private:
  void u8(std::uint8_t v) { out_->putByte(v); }
  void u16(std::uint16_t v) {
    const std::uint8_t b[2] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
    out_->put(b, 2);
  }
  void u32(std::uint32_t v) {
    const std::uint8_t b[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                               static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
    out_->put(b, 4);
  }

  // The record keeps its pairs and CID entries in the image's layout.
  void charRecord(const CharView& rec) {
    u8(rec.totalStrokes());
    u8(rec.flags());
    u8(static_cast<std::uint8_t>(rec.pairCount()));
    u8(static_cast<std::uint8_t>(rec.cidCount()));
    out_->put(rec.pairBytes(), rec.pairCount() * kPairBytes + rec.cidCount() * kCidEntryBytes);
  }

  // All four counts come before the first string.
  void readingSet(const ReadingSetView& set) {
    for (int list = 0; list < kReadingLists; ++list) u8(static_cast<std::uint8_t>(set.count(list)));
    for (int list = 0; list < kReadingLists; ++list) {
      set.forEach(list, [this](std::string_view s) {
        u8(static_cast<std::uint8_t>(s.size()));
        out_->put(s);
      });
    }
  }

  const UnihanData& store_;
  OutputFile* out_;
};

int writeImage(const UnihanData& store, const char* path) {
  // A store the count fields cannot carry is refused before the file is
  // touched, so an existing file is never truncated for nothing.
  if (!fitsImageFormat(store)) return -1;
  OutputFile out(path, "wb");
  if (!out.isOpen()) return -1;
  ImageSink sink(store, &out);
  sink.header();
  // Only a failure while the header goes out is reported: the result says
  // whether the file could be started, not whether every byte reached it.
  if (!out.flush()) return -1;
  for (const UnihanBlock& block : store.blocks()) sink.block(block);
  return 0;
}

}  // namespace

int UnihanData::write(const char* path, int mode) const {
  if (path == nullptr) return -1;
  return mode == 0 ? writeTextDump(*this, path) : writeImage(*this, path);
}

}  // namespace kelvorn_private

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
  explicit ImageSink(OutputFile* out) : out_(out) {}

  void u8(std::uint8_t v) { out_->putByte(v); }
  void u16(std::uint16_t v) {
    const std::uint8_t b[2] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
    out_->put(b, 2);
  }
  void u32(std::uint32_t v) {
    const std::uint8_t b[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                               static_cast<std::uint8_t>(v >> 16),
                               static_cast<std::uint8_t>(v >> 24)};
    out_->put(b, 4);
  }
  void count(std::size_t n) { u8(static_cast<std::uint8_t>(n)); }
  void count16(std::size_t n) { u16(static_cast<std::uint16_t>(n)); }

  void header(const UnihanData& store) {
    out_->put(kImageMagic, kMagicLength);
    u8(0);  // byte-order flag: little-endian
    u16(store.versionMajor);
    u16(store.versionMinor);
    count16(store.blocks.size());
  }

  void block(const UnihanBlock& b) {
    u32(static_cast<std::uint32_t>(b.first));
    u32(static_cast<std::uint32_t>(b.last));
    count16(b.chars.size());
    count16(b.readings.size());
    count16(b.hanyu.size());
    for (const UnihanCharRec& rec : b.chars) charRecord(rec);
    for (const ReadingSet& set : b.readings) readingSet(set);
    for (const HanYuRef& ref : b.hanyu) hanyu(ref);
  }

 private:
  void charRecord(const UnihanCharRec& rec) {
    u8(rec.totalStrokes);
    u8(rec.flags);
    count(rec.rs.size());
    count(rec.cids.size());
    for (const RadStrokePair& pair : rec.rs) {
      u8(pair.radical);
      u8(pair.residual);
    }
    // The CID comes first in the file although it is the entry's last field.
    for (const CidEntry& entry : rec.cids) {
      u16(entry.cid);
      u8(entry.radical);
      u8(entry.radicalStrokes);
      u8(entry.residualStrokes);
    }
  }

  void readingSet(const ReadingSet& set) {
    count(set.pinlu.size());
    count(set.kun.size());
    count(set.on.size());
    count(set.mandarin.size());
    strings(set.pinlu);
    strings(set.kun);
    strings(set.on);
    strings(set.mandarin);
  }

  void strings(const std::vector<std::string>& list) {
    for (const std::string& s : list) {
      count(s.size());
      out_->put(s.data(), s.size());
    }
  }

  void hanyu(const HanYuRef& ref) {
    u8(ref.volume);
    u16(ref.page);
    u8(ref.position);
    u8(ref.virtualFlag);
  }

  OutputFile* out_;
};

int writeImage(const UnihanData& store, const char* path) {
  // A store the count fields cannot carry is refused before the file is
  // touched, so an existing file is never truncated for nothing.
  if (!fitsImageFormat(store)) return -1;
  OutputFile out(path, "wb");
  if (!out.isOpen()) return -1;
  ImageSink sink(&out);
  sink.header(store);
  if (!out.flush()) return -1;
  for (const UnihanBlock& block : store.blocks) sink.block(block);
  return 0;
}

}  // namespace

int UnihanData::write(const char* path, int mode) const {
  if (path == nullptr) return -1;
  return mode == 0 ? writeTextDump(*this, path) : writeImage(*this, path);
}

}  // namespace kelvorn_private

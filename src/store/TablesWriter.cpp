// tablesBytes: the store's arrays as core tables (store/TablesFormat.h).
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "store/UnihanData.h"

namespace kelvorn_private {
namespace {

// Bytes appended section by section, each starting on the alignment.
class TablesOut {
 public:
  explicit TablesOut(tables::Header* header) : header_(header), bytes_(sizeof(tables::Header), '\0') {}

  void section(tables::Section s, const void* data, std::size_t length) {
    bytes_.resize((bytes_.size() + tables::kAlignment - 1) / tables::kAlignment * tables::kAlignment, '\0');
    header_->sections[s] = {bytes_.size(), length};
    if (length > 0) bytes_.append(static_cast<const char*>(data), length);
  }

  std::string finish() {
    std::memcpy(&bytes_[0], header_, sizeof *header_);
    return std::move(bytes_);
  }

 private:
  tables::Header* header_;
  std::string bytes_;
};

// A block's lists are numbered by where they start in a section that holds
// every block's list in turn.
std::uint32_t sectionIndex(std::size_t n) {
  if (n > std::numeric_limits<std::uint32_t>::max()) throw std::length_error("core tables: too many records");
  return static_cast<std::uint32_t>(n);
}

}  // namespace

std::string UnihanData::tablesBytes(const TablesImageTag& tag) const {
  tables::Header header{};
  std::memcpy(header.magic, tables::kMagic, sizeof header.magic);
  header.formatVersion = tables::kFormatVersion;
  header.byteOrder = tables::kByteOrderMark;
  header.imageSize = tag.size;
  header.imageCrc = tag.crc;
  header.versionMajor = versionMajor_;
  header.versionMinor = versionMinor_;
  std::memcpy(header.sourcePref, sourcePref_, sizeof header.sourcePref);

  std::vector<tables::BlockEntry> entries;
  std::vector<CharRec> chars;
  std::vector<ReadingRef> readings;
  std::vector<HanYuRecord> hanyu;
  for (const UnihanBlock& block : blocks_) {
    entries.push_back({block.first, block.last, sectionIndex(chars.size()), sectionIndex(block.chars.size()),
                       sectionIndex(readings.size()), sectionIndex(block.readings.size()),
                       sectionIndex(hanyu.size()), sectionIndex(block.hanyu.size())});
    chars.insert(chars.end(), block.chars.begin(), block.chars.end());
    readings.insert(readings.end(), block.readings.begin(), block.readings.end());
    hanyu.insert(hanyu.end(), block.hanyu.begin(), block.hanyu.end());
  }
  TablesOut out(&header);
  out.section(tables::kBlocks, entries.data(), entries.size() * sizeof(tables::BlockEntry));
  out.section(tables::kChars, chars.data(), chars.size() * sizeof(CharRec));
  out.section(tables::kReadings, readings.data(), readings.size() * sizeof(ReadingRef));
  out.section(tables::kHanyu, hanyu.data(), hanyu.size() * sizeof(HanYuRecord));
  out.section(tables::kSpill, spill_.data(), spill_.size());
  out.section(tables::kArena, readings_.data(), readings_.size());
  std::vector<std::uint32_t> cids(kCidTableSize);
  for (std::size_t slot = 0; slot < kCidTableSize; ++slot) cids[slot] = cidEntry(slot);
  out.section(tables::kCids, cids.data(), cids.size() * sizeof cids[0]);
  return out.finish();
}

}  // namespace kelvorn_private

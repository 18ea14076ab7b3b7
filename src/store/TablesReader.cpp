// openTables: a store answering from core tables (store/TablesFormat.h) in
// place. Every array is checked once against what the queries, the writer
// and the dump read of it, so hostile tables are refused before the store
// points at them, never read past.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "store/UnihanData.h"

namespace kelvorn_private {
namespace {

constexpr std::size_t kElementSize[tables::kSectionCount] = {
    sizeof(tables::BlockEntry), sizeof(CharRec), sizeof(ReadingRef), sizeof(HanYuRecord), 1, 1,
    sizeof(std::uint32_t)};

constexpr const char* kSectionName[tables::kSectionCount] = {"blocks", "character records", "reading refs",
                                                             "HanYu records", "spill area", "reading arena",
                                                             "CID table"};

struct Sections {
  const std::uint8_t* at[tables::kSectionCount];
  std::size_t count[tables::kSectionCount];  // elements
};

// Each section inside the bytes, after the header and the one before it,
// aligned, and a whole number of elements.
std::string placeSections(const tables::Header& header, const std::uint8_t* bytes, std::size_t length,
                          Sections* out) {
  std::uint64_t end = sizeof(tables::Header);
  for (std::size_t s = 0; s < tables::kSectionCount; ++s) {
    const tables::SectionEntry entry = header.sections[s];
    const std::string name = kSectionName[s];
    if (entry.offset % tables::kAlignment != 0) return "the " + name + " section is not aligned";
    if (entry.offset < end) return "the " + name + " section overlaps what comes before it";
    if (entry.offset > length || entry.length > length - entry.offset) return "the " + name + " section runs past the end";
    if (entry.length % kElementSize[s] != 0) return "the " + name + " section holds a part of a record";
    out->at[s] = bytes + entry.offset;
    out->count[s] = static_cast<std::size_t>(entry.length / kElementSize[s]);
    end = entry.offset + entry.length;
  }
  if (out->count[tables::kCids] != kCidTableSize) return "the CID table is not of its fixed size";
  if (out->count[tables::kSpill] > UINT32_MAX) return "the spill area is too large for its offsets";
  if (out->count[tables::kArena] >= kWideReadingBit) return "the reading arena is too large for its refs";
  // Ref 0 names no readings in every store, tables included, since a later
  // load refers to it for code points without them.
  const std::uint8_t* arena = out->at[tables::kArena];
  if (out->count[tables::kArena] < kEmptyReadingBytes ||
      std::any_of(arena, arena + kEmptyReadingBytes, [](std::uint8_t b) { return b != 0; })) {
    return "the reading arena does not begin with the empty set";
  }
  return {};
}

bool inside(std::uint64_t first, std::uint64_t count, std::size_t total) { return first + count <= total; }

// A spilled record's counts and values lie inside the spill area.
bool spillFitsArea(const CharRec& rec, const std::uint8_t* spill, std::size_t spillSize) {
  const std::uint64_t offset = rec.spillOffset();
  if (offset > spillSize || spillSize - offset < 8) return false;
  const CharView view(rec, spill);
  const std::uint64_t bytes = std::uint64_t{view.pairCount()} * kPairBytes + std::uint64_t{view.cidCount()} * kCidEntryBytes;
  return bytes <= spillSize - offset - 8;
}

// A reading set's counts and strings lie inside the arena; the offset past
// it, or 0 when they do not. Narrow sets, nearly all of them, take a loop
// of their own, and one without a test a string away from the arena's end
// (below). The arena holds the empty set at least, so a set that starts
// inside it has room for its counts when it starts four bytes before its end.
inline std::size_t narrowSetEnd(const std::uint8_t* arena, std::size_t size, std::size_t at) {
  if (at > size - kReadingLists) return 0;
  const std::uint8_t* counts = arena + at;
  std::size_t strings = std::size_t{counts[0]} + counts[1] + counts[2] + counts[3];
  at += kReadingLists;
  for (; strings > 0; --strings) {
    if (at >= size) return 0;
    at += 1 + std::size_t{arena[at]};
  }
  return at <= size ? at : 0;
}

// The most bytes a narrow set takes: four lists of 255 strings of 255 bytes.
constexpr std::size_t kLargestNarrowSet = kReadingLists * (1 + std::size_t{255} * (1 + 255));

// The end of a narrow set that starts at least kLargestNarrowSet bytes before
// the arena's end, where none of its strings can run past it: most sets of a
// large arena, whose walk then tests no string.
inline std::size_t roomyNarrowSetEnd(const std::uint8_t* arena, std::size_t at) {
  const std::uint8_t* counts = arena + at;
  std::size_t strings = std::size_t{counts[0]} + counts[1] + counts[2] + counts[3];
  at += kReadingLists;
  for (; strings > 0; --strings) at += 1 + std::size_t{arena[at]};
  return at;
}

std::size_t wideSetEnd(const std::uint8_t* arena, std::size_t size, std::size_t at) {
  const auto number = [arena](std::size_t p) {
    std::uint32_t v;
    std::memcpy(&v, arena + p, sizeof v);
    return std::uint64_t{v};
  };
  constexpr std::size_t kCountBytes = 4 * std::size_t{kReadingLists};
  if (at > size || size - at < kCountBytes) return 0;
  std::uint64_t strings = 0;
  for (int list = 0; list < kReadingLists; ++list) strings += number(at + 4 * static_cast<std::size_t>(list));
  at += kCountBytes;
  // Each string takes four bytes at least, so a count past what the arena
  // holds ends the walk within it.
  for (; strings > 0; --strings) {
    if (size - at < 4) return 0;
    const std::uint64_t length = number(at);
    at += 4;
    if (length > size - at) return 0;
    at += static_cast<std::size_t>(length);
  }
  return at;
}

// Code points without readings share ref 0, the empty set at the arena's
// start, checked before. Every load appends its sets in the order of their
// refs, so each other set begins where those before it end or later: which
// also walks every byte of the arena once at most, however hostile the refs.
class ReadingWalk {
 public:
  ReadingWalk(const std::uint8_t* arena, std::size_t size)
      : arena_(arena), size_(size), roomyEnd_(size >= kLargestNarrowSet ? size - kLargestNarrowSet + 1 : 0) {}

  bool fits(ReadingRef ref) {
    if (ref == kEmptyReadings) return true;
    const std::size_t at = ref & ~kWideReadingBit;
    if (at < checkedEnd_) return false;
    if (ref < roomyEnd_) {  // a narrow set, as the wide bit is above any roomy offset
      checkedEnd_ = roomyNarrowSetEnd(arena_, at);
      return true;
    }
    checkedEnd_ = (ref & kWideReadingBit) == 0 ? narrowSetEnd(arena_, size_, at) : wideSetEnd(arena_, size_, at);
    return checkedEnd_ != 0;
  }

 private:
  const std::uint8_t* arena_;
  std::size_t size_;
  std::size_t roomyEnd_;  // narrow sets that start before it are roomy
  std::size_t checkedEnd_ = kEmptyReadingBytes;
};

// Every character record and reading ref. The two sections run alike, a
// record and a ref for each code point, so one loop takes both as far as
// both go: this pass is most of what opening costs. It takes sixteen code
// points at a time, unrolled: most have no readings, so their refs are
// passed with one test for the sixteen and the loop's own count is shared.
std::string checkRecords(const Sections& sections) {
  const auto* chars = reinterpret_cast<const CharRec*>(sections.at[tables::kChars]);
  const auto* refs = reinterpret_cast<const ReadingRef*>(sections.at[tables::kReadings]);
  const std::size_t charCount = sections.count[tables::kChars];
  const std::size_t refCount = sections.count[tables::kReadings];
  const std::uint8_t* spill = sections.at[tables::kSpill];
  const std::size_t spillSize = sections.count[tables::kSpill];
  ReadingWalk readings(sections.at[tables::kArena], sections.count[tables::kArena]);
  const char* const spillReason = "a character record's values run past the spill area";
  const char* const readingReason = "a reading set runs past the reading arena or over the one before it";
  const auto recordFits = [&](std::size_t i) {
    return !chars[i].spilled() || spillFitsArea(chars[i], spill, spillSize);
  };
  constexpr std::size_t kGroup = 16;  // the unroll counts below say it again
  const std::size_t both = std::min(charCount, refCount);
  std::size_t i = 0;
  for (; i + kGroup <= both; i += kGroup) {
    ReadingRef anyReadings = kEmptyReadings;
#pragma GCC unroll 16
    for (std::size_t k = i; k < i + kGroup; ++k) {
      if (!recordFits(k)) return spillReason;
      anyReadings |= refs[k];
    }
    if (anyReadings == kEmptyReadings) continue;
#pragma GCC unroll 16
    for (std::size_t k = i; k < i + kGroup; ++k) {
      if (!readings.fits(refs[k])) return readingReason;
    }
  }
  for (std::size_t c = i; c < charCount; ++c) {
    if (!recordFits(c)) return spillReason;
  }
  for (std::size_t r = i; r < refCount; ++r) {
    if (!readings.fits(refs[r])) return readingReason;
  }
  return {};
}

std::string checkHeader(const tables::Header& header) {
  if (std::memcmp(header.magic, tables::kMagic, sizeof header.magic) != 0) return "not core tables (no magic)";
  if (header.formatVersion != tables::kFormatVersion) {
    return "core tables of format version " + std::to_string(header.formatVersion) + " (this library reads " +
           std::to_string(tables::kFormatVersion) + ")";
  }
  if (header.byteOrder != tables::kByteOrderMark) return "core tables written in another byte order";
  return {};
}

}  // namespace

std::string UnihanData::openTables(const std::uint8_t* bytes, std::size_t length,
                                   std::shared_ptr<const void> keepAlive, TablesImageTag* tag) {
  tables::Header header{};
  if (bytes == nullptr || length < sizeof header) return "core tables cut short in their header";
  std::memcpy(&header, bytes, sizeof header);
  std::string refused = checkHeader(header);
  if (!refused.empty()) return refused;
  // The arrays are read where they lie, which their types' alignment needs.
  if (reinterpret_cast<std::uintptr_t>(bytes) % tables::kAlignment != 0) {
    auto aligned = std::make_shared<std::vector<std::uint64_t>>((length + 7) / 8);
    std::memcpy(aligned->data(), bytes, length);
    return openTables(reinterpret_cast<const std::uint8_t*>(aligned->data()), length, aligned, tag);
  }
  Sections sections{};
  refused = placeSections(header, bytes, length, &sections);
  if (!refused.empty()) return refused;

  const auto* chars = reinterpret_cast<const CharRec*>(sections.at[tables::kChars]);
  const auto* refs = reinterpret_cast<const ReadingRef*>(sections.at[tables::kReadings]);
  const auto* hanyu = reinterpret_cast<const HanYuRecord*>(sections.at[tables::kHanyu]);
  const std::uint8_t* spill = sections.at[tables::kSpill];
  const std::uint8_t* arena = sections.at[tables::kArena];
  std::vector<UnihanBlock> blocks(sections.count[tables::kBlocks]);
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    tables::BlockEntry entry{};
    std::memcpy(&entry, bytes + header.sections[tables::kBlocks].offset + i * sizeof entry, sizeof entry);
    if (!inside(entry.chars, entry.charCount, sections.count[tables::kChars]) ||
        !inside(entry.readings, entry.readingCount, sections.count[tables::kReadings]) ||
        !inside(entry.hanyu, entry.hanyuCount, sections.count[tables::kHanyu])) {
      return "block " + std::to_string(i) + " names records past the end of their section";
    }
    blocks[i].first = entry.first;
    blocks[i].last = entry.last;
    blocks[i].chars.lend(chars + entry.chars, entry.charCount);
    blocks[i].readings.lend(refs + entry.readings, entry.readingCount);
    blocks[i].hanyu.lend(hanyu + entry.hanyu, entry.hanyuCount);
  }
  refused = checkRecords(sections);
  if (!refused.empty()) return refused;

  SegmentIndex index;
  index.build(blocks);
  blocks_ = std::move(blocks);  // the index points into the blocks' arrays, which a move keeps
  index_ = std::move(index);
  spill_.lend(spill, sections.count[tables::kSpill]);
  readings_.lend(arena, sections.count[tables::kArena]);
  cidTable_ = reinterpret_cast<const std::uint32_t*>(sections.at[tables::kCids]);
  versionMajor_ = header.versionMajor;
  versionMinor_ = header.versionMinor;
  std::memcpy(sourcePref_, header.sourcePref, sizeof sourcePref_);
  rebuildPreferred();
  lender_ = std::move(keepAlive);
  valid_ = true;
  *tag = {header.imageSize, header.imageCrc};
  return {};
}

}  // namespace kelvorn_private

// What opening checks inside the tables. The readers answer a lookup with a
// few loads and trust the order and the sizes they find: a binary search
// assumes ascending code points, the conversion tables size themselves from
// the last one, a set's population counts a code point's entries. A
// checksum anyone can recompute does not vouch for any of that, so each
// invariant is checked once here, in one pass over the code points, their
// records and the sets (about a megabyte of the full database's 20), while
// the values' own bytes stay unread and are bounded at each access instead.
#include <algorithm>
#include <vector>

#include "fields/FieldsImage.h"

namespace kelvorn_fields_private {
namespace {

// Bits 0-20 hold every code point; a bit above them marks an order the
// check refuses.
constexpr unsigned kCodePointBits = 21;

// Set bits of a word, without the library call that __builtin_popcountll
// becomes on baseline x86-64: this runs for every word of every set.
std::uint32_t bitCount(std::uint64_t bits) {
  bits -= (bits >> 1) & 0x5555555555555555ULL;
  bits = (bits & 0x3333333333333333ULL) + ((bits >> 2) & 0x3333333333333333ULL);
  bits = (bits + (bits >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
  return static_cast<std::uint32_t>((bits * 0x0101010101010101ULL) >> 56);
}

}  // namespace

void FieldsImage::checkTables() const {
  checkNames();
  checkCodePoints();
  checkRecords();
}

// Names are distinct and in bytewise order, each inside the name bytes, and
// the hash table names fields that exist.
void FieldsImage::checkNames() const {
  const Span pool = section(format::kNameBytes);
  std::uint32_t previousEnd = 0;
  for (std::size_t i = 0; i < fieldCount_; ++i) {
    const std::uint32_t begin = u32At(format::kNameOffsets, i);
    const std::uint32_t end = u32At(format::kNameOffsets, i + 1);
    if (begin != previousEnd || end < begin || end > pool.size) {
      refuse("damaged all-field image (a field name lies outside its table)");
    }
    if (i > 0 && !(fieldName(i - 1) < fieldName(i))) {
      refuse("damaged all-field image (field names out of order)");
    }
    previousEnd = end;
  }
  for (std::size_t slot = 0; slot < hashSlots_; ++slot) {
    if (u32At(format::kNameHash, slot) > fieldCount_) {
      refuse("damaged all-field image (the name table names no field)");
    }
  }
}

// Code points are scalar values in strictly ascending order, and every page
// start is exactly the index of the page's first code point. The order is
// checked with no branch a code point: `cur - prev - 1` sets a bit at 21 or
// above exactly when the pair is out of order or a code point is past
// 0x1FFFFF, so one OR over the 400 KB of the full database's code points
// finds either; the pages are then checked at their edges alone.
void FieldsImage::checkCodePoints() const {
  const unsigned char* points = section(format::kCodePoints).data;
  std::uint32_t outOfRange = codePointCount_ > 0 ? format::load32(points) : 0;
  for (std::size_t i = 1; i < codePointCount_; ++i) {
    const std::uint32_t previous = format::load32(points + (i - 1) * format::kU32);
    const std::uint32_t current = format::load32(points + i * format::kU32);
    outOfRange |= current | (current - previous - 1);
  }
  const std::uint32_t last = codePointCount_ > 0 ? codePointAt(codePointCount_ - 1) : 0;
  if ((outOfRange >> kCodePointBits) != 0 || last > format::kMaxCodePoint) {
    refuse("damaged all-field image (code points out of order)");
  }
  for (std::size_t page = 0; page <= pageCount_; ++page) {
    const std::uint64_t pageBegin = std::uint64_t{page} << format::kPageShift;
    const std::size_t start = u32At(format::kPageStarts, page);
    const bool fits = start <= codePointCount_ &&
                      (start == 0 || codePointAt(start - 1) < pageBegin) &&
                      (start == codePointCount_ || codePointAt(start) >= pageBegin);
    if (!fits || (page == pageCount_ && start != codePointCount_)) {
      refuse("damaged all-field image (the page table disagrees with the code points)");
    }
  }
}

// The number of fields each set holds; one past the last set, a set id
// that names none (counted as empty, and refused by checkRecords). A set
// holds no field past the last name.
std::vector<std::uint32_t> FieldsImage::setSizes() const {
  std::vector<std::uint32_t> sizes(setCount_ + 1);
  const std::size_t lastWordBits = fieldCount_ % format::kBitsPerWord;
  const std::uint64_t unusedBits = lastWordBits == 0 ? 0 : ~std::uint64_t{0} << lastWordBits;
  const unsigned char* words = section(format::kFieldSets).data;
  std::uint64_t unused = 0;
  for (std::size_t set = 0; set < setCount_; ++set) {
    std::uint32_t size = 0;
    for (std::size_t w = 0; w < setWords_; ++w, words += format::kU64) {
      const std::uint64_t bits = format::load64(words);
      size += bitCount(bits);
      if (w + 1 == setWords_) unused |= bits;
    }
    sizes[set] = size;
  }
  if ((unused & unusedBits) != 0) refuse("damaged all-field image (a field set names no field)");
  return sizes;
}

// Each code point's entries follow the previous one's, as many as its set
// has fields; the last record closes the entry array. The loop runs without
// a branch a record, as for the code points: the mismatches and the
// largest set id are gathered and judged once.
void FieldsImage::checkRecords() const {
  const std::vector<std::uint32_t> sizes = setSizes();
  const unsigned char* record = section(format::kRecords).data;
  const std::uint32_t setLimit = static_cast<std::uint32_t>(setCount_);
  std::uint64_t entry = 0;
  std::uint64_t disagree = 0;
  std::uint32_t largestSet = 0;
  for (std::size_t i = 0; i < codePointCount_; ++i, record += format::kRecordSize) {
    const std::uint32_t set = format::load32(record + format::kRecordFieldSet);
    disagree |= format::load32(record + format::kRecordFirstEntry) ^ entry;
    largestSet = std::max(largestSet, set);
    entry += sizes[std::min(set, setLimit)];
  }
  if (disagree != 0 || (codePointCount_ > 0 && largestSet >= setLimit)) {
    refuse("damaged all-field image (a record disagrees with the entries)");
  }
  if (recordField(codePointCount_, format::kRecordFirstEntry) != entry || entry != entryCount_ ||
      recordField(codePointCount_, format::kRecordFieldSet) != 0) {
    refuse("damaged all-field image (the records disagree with the entries)");
  }
}

}  // namespace kelvorn_fields_private

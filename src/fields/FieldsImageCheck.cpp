// What opening checks inside the tables. The readers answer a lookup with a
// few loads and trust the order and the sizes they find: a binary search
// assumes ascending code points, the conversion tables size themselves from
// the last one, a set's population counts a code point's entries. A
// checksum anyone can recompute does not vouch for any of that, so each
// invariant is checked once here, in one pass over the code points, their
// records and the sets (about a megabyte of the full database's 20), while
// the values' own bytes stay unread and are bounded at each access instead.
#include <vector>

#include "fields/FieldsImage.h"

namespace kelvorn_fields_private {

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
// checked in one loop without branches, which the compiler vectorizes: it
// reads all 400 KB of the full database's code points; the pages are then
// checked at their edges alone.
void FieldsImage::checkCodePoints() const {
  const unsigned char* points = section(format::kCodePoints).data;
  std::uint32_t unordered = 0;
  for (std::size_t i = 1; i < codePointCount_; ++i) {
    const std::uint32_t previous = format::load32(points + (i - 1) * format::kU32);
    const std::uint32_t current = format::load32(points + i * format::kU32);
    unordered |= static_cast<std::uint32_t>(previous >= current);
  }
  if (unordered != 0 ||
      (codePointCount_ > 0 && codePointAt(codePointCount_ - 1) > format::kMaxCodePoint)) {
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

// Each code point's entries follow the previous one's, as many as its set
// has fields; the last record closes the entry array. A set holds no field
// past the last name.
void FieldsImage::checkRecords() const {
  std::vector<std::uint32_t> setSizes(setCount_);
  const std::size_t lastWordBits = fieldCount_ % format::kBitsPerWord;
  const std::uint64_t unusedBits = lastWordBits == 0 ? 0 : ~std::uint64_t{0} << lastWordBits;
  for (std::size_t set = 0; set < setCount_; ++set) {
    const unsigned char* words = section(format::kFieldSets).data + set * setWords_ * format::kU64;
    std::uint32_t size = 0;
    for (std::size_t w = 0; w < setWords_; ++w) {
      const std::uint64_t bits = format::load64(words + w * format::kU64);
      if (w + 1 == setWords_ && (bits & unusedBits) != 0) {
        refuse("damaged all-field image (a field set names no field)");
      }
      size += static_cast<std::uint32_t>(__builtin_popcountll(bits));
    }
    setSizes[set] = size;
  }
  if (codePointCount_ > 0 && setCount_ == 0) {
    refuse("damaged all-field image (a record disagrees with the entries)");
  }
  // Without a branch a record, as for the code points.
  std::uint64_t entry = 0;
  std::uint32_t disagree = 0;
  for (std::size_t i = 0; i < codePointCount_; ++i) {
    const std::uint32_t set = recordField(i, format::kRecordFieldSet);
    const bool known = set < setCount_;
    disagree |= static_cast<std::uint32_t>(!known) |
                static_cast<std::uint32_t>(recordField(i, format::kRecordFirstEntry) != entry);
    entry += setSizes[known ? set : 0];
  }
  if (disagree != 0) refuse("damaged all-field image (a record disagrees with the entries)");
  if (recordField(codePointCount_, format::kRecordFirstEntry) != entry || entry != entryCount_ ||
      recordField(codePointCount_, format::kRecordFieldSet) != 0) {
    refuse("damaged all-field image (the records disagree with the entries)");
  }
}

}  // namespace kelvorn_fields_private

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
namespace {

// Bits 0-20 hold every code point; a bit above them marks an order the
// check refuses.
constexpr unsigned kCodePointBits = 21;

// Baseline x86-64 has no population-count instruction, and the library
// call that stands in for it is most of what counting every set's fields
// costs; a second copy of the loop, taken where the processor has the
// instruction, pays for itself. Not under ThreadSanitizer, whose runtime is
// not yet up when the loader picks the copy.
#if defined(__GNUC__) && defined(__x86_64__) && defined(__linux__) && !defined(__SANITIZE_THREAD__)
#define KELVORN_WITH_POPCNT __attribute__((target_clones("popcnt", "default")))
#else
#define KELVORN_WITH_POPCNT
#endif

// A size past any that records may add up to: once a set id that names no
// set has added it, no first entry or entry count, each 32 bits, can agree
// with the running count.
constexpr std::uint64_t kNoSet = std::uint64_t{1} << 32;

// sizes[s] = the set bits of words [s * setWords, (s + 1) * setWords); the
// OR of each set's last word.
KELVORN_WITH_POPCNT
std::uint64_t countSetBits(const unsigned char* words, std::size_t sets, std::size_t setWords,
                           std::uint64_t* sizes) {
  std::uint64_t lastWords = 0;
  if (setWords == 2) {
    // 65 to 128 fields, as in every Unihan release since 15.0: without the
    // inner loop, half the cost.
    for (std::size_t set = 0; set < sets; ++set, words += 2 * format::kU64) {
      const std::uint64_t last = format::load64(words + format::kU64);
      sizes[set] = static_cast<std::uint64_t>(__builtin_popcountll(format::load64(words))) +
                   static_cast<std::uint64_t>(__builtin_popcountll(last));
      lastWords |= last;
    }
    return lastWords;
  }
  for (std::size_t set = 0; set < sets; ++set) {
    std::uint64_t size = 0;
    std::uint64_t bits = 0;
    for (std::size_t w = 0; w < setWords; ++w, words += format::kU64) {
      bits = format::load64(words);
      size += static_cast<std::uint64_t>(__builtin_popcountll(bits));
    }
    sizes[set] = size;
    lastWords |= bits;
  }
  return lastWords;
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
std::vector<std::uint64_t> FieldsImage::setSizes() const {
  std::size_t slots = 1;
  while (slots <= setCount_) slots *= 2;
  std::vector<std::uint64_t> sizes(slots, kNoSet);
  const std::size_t lastWordBits = fieldCount_ % format::kBitsPerWord;
  const std::uint64_t unusedBits = lastWordBits == 0 ? 0 : ~std::uint64_t{0} << lastWordBits;
  const std::uint64_t unused =
      countSetBits(section(format::kFieldSets).data, setCount_, setWords_, sizes.data());
  if ((unused & unusedBits) != 0) refuse("damaged all-field image (a field set names no field)");
  return sizes;
}

// Each code point's entries follow the previous one's, as many as its set
// has fields; the last record closes the entry array. The loop runs without
// a branch a record, as for the code points: a set id is looked up masked to
// the table of sizes, whose slots past the last set hold kNoSet, and the
// bits of every id and every mismatch are gathered and judged once.
void FieldsImage::checkRecords() const {
  const std::vector<std::uint64_t> sizes = setSizes();
  const auto slotMask = static_cast<std::uint32_t>(sizes.size() - 1);
  const unsigned char* record = section(format::kRecords).data;
  std::uint64_t entry = 0;
  std::uint64_t disagree = 0;
  std::uint32_t setBits = 0;
  for (std::size_t i = 0; i < codePointCount_; ++i, record += format::kRecordSize) {
    const std::uint32_t set = format::load32(record + format::kRecordFieldSet);
    disagree |= format::load32(record + format::kRecordFirstEntry) ^ entry;
    setBits |= set;
    entry += sizes[set & slotMask];
  }
  if (disagree != 0 || (setBits & ~slotMask) != 0) {
    refuse("damaged all-field image (a record disagrees with the entries)");
  }
  if (recordField(codePointCount_, format::kRecordFirstEntry) != entry || entry != entryCount_ ||
      recordField(codePointCount_, format::kRecordFieldSet) != 0) {
    refuse("damaged all-field image (the records disagree with the entries)");
  }
}

}  // namespace kelvorn_fields_private

// The all-field image format, described once. The reader, the writer, the
// tests and the fuzz target take every offset, size and limit from here.
//
//   image    = header (48 bytes), section table (kSectionCount entries of
//              16 bytes), then the sections, each starting on an 8-byte
//              boundary (zero bytes in between)
//   header   = magic (24 bytes: "kelvorn unihan fields" and three zero
//              bytes) formatVersion:u32 sectionCount:u32 fileSize:u64
//              checksum:u32 reserved:u32 (zero)
//   section  = offset:u64 size:u64, both in bytes from the start of the image
//
// The sections, in table order:
//
//   kVersion       the Unicode version the data belongs to, e.g. "17.0"
//   kNameOffsets   u32[F + 1]: field name i is nameBytes[off[i], off[i+1])
//   kNameBytes     the field names, sorted bytewise and distinct; a field's
//                  id is its place in this order
//   kNameHash      u32[H], H a power of two: an open-addressed table of the
//                  names, slot = nameHash(name) mod H (below), then the
//                  next slots in turn; each holds a field id + 1, or 0 when
//                  empty. A lookup by name costs one hash and, mostly, one
//                  comparison instead of a search through the sorted names
//   kCodePoints    u32[N]: every held code point, ascending
//   kPageStarts    u32[P + 1]: the index in kCodePoints of the first code
//                  point >= p * 256, for every page p < P (the last entry
//                  is N). A lookup first tries the place the code point has
//                  when its page is full (most CJK pages are), then
//                  binary-searches the page's at most 256 code points
//   kRecords       (firstEntry:u32 fieldSet:u32)[N + 1]: code point i owns
//                  entries [first[i], first[i+1]) and has the fields of set
//                  fieldSet[i]; the last record is (E, 0). The two share a
//                  record because every lookup reads both
//   kFieldSets     u64[S * W], W = (F + 63) / 64 words a set: bit f of set
//                  k is bit f % 64 of word k * W + f / 64. Code points share
//                  sets (102,998 code points, 19,254 sets in Unihan 17.0).
//                  The entry of field f is the code point's first entry plus
//                  the number of fields below f in its set, so no entry
//                  names its field
//   kEntryValues   u32[E]: where each entry's value starts in kValueBytes
//   kValueBytes    every distinct value once, each as its length (LEB128:
//                  7 bits a byte, low bits first, high bit set on all but
//                  the last byte) and then its bytes
//
// Most values are unique (source references, dictionary positions), so the
// values' own bytes dominate the image; the layout spends as little as it
// can beside them: no field id and no end offset per entry.
//
// Every integer is little-endian and read through memcpy, so that no read
// depends on the alignment of the buffer it is given. The checksum is the
// CRC-32 (the zlib one) of every byte after the header: the section table
// and all sections. Header bytes are each checked at open, so that a change
// anywhere in the file is caught, by open or by verify().
//
// Opening checks the header, the table, that each section lies inside the
// file past the table, that the sections' sizes agree with each other, and
// the tables every lookup trusts: names in order, code points ascending,
// page starts exact, records that account for every entry, sets that name
// only fields that exist. The values' bytes are not read at open, which
// would cost as much as the checksum: an entry's offset is checked against
// the value pool at each access instead, so a damaged pool gives wrong
// answers at worst, never a read outside the buffer.
#ifndef KELVORN_FIELDS_FIELDSFORMAT_H
#define KELVORN_FIELDS_FIELDSFORMAT_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace kelvorn_fields_private {
namespace format {

constexpr std::size_t kMagicLength = 24;
constexpr char kMagic[kMagicLength + 1] = "kelvorn unihan fields\0\0\0";
constexpr std::uint32_t kFormatVersion = 1;

namespace header {
constexpr std::size_t kMagic = 0;
constexpr std::size_t kFormatVersion = 24;
constexpr std::size_t kSectionCount = 28;
constexpr std::size_t kFileSize = 32;
constexpr std::size_t kChecksum = 40;
constexpr std::size_t kReserved = 44;
constexpr std::size_t kSize = 48;
}  // namespace header

enum Section : std::size_t {
  kVersion,
  kNameOffsets,
  kNameBytes,
  kNameHash,
  kCodePoints,
  kPageStarts,
  kRecords,
  kFieldSets,
  kEntryValues,
  kValueBytes,
  kSectionCount
};

namespace sectionEntry {
constexpr std::size_t kOffset = 0;
constexpr std::size_t kSize = 8;
constexpr std::size_t kLength = 16;
}  // namespace sectionEntry

constexpr std::size_t kTableSize = kSectionCount * sectionEntry::kLength;
constexpr std::size_t kFirstSectionOffset = header::kSize + kTableSize;
constexpr std::size_t kSectionAlignment = 8;

// Code points per page of kPageStarts.
constexpr unsigned kPageShift = 8;

// Widths of the arrays' elements.
constexpr std::size_t kU32 = 4;
constexpr std::size_t kRecordSize = 8;
constexpr std::size_t kRecordFirstEntry = 0;
constexpr std::size_t kRecordFieldSet = 4;
constexpr std::size_t kU64 = 8;
constexpr std::size_t kBitsPerWord = 64;

// Words in one field set.
constexpr std::size_t setWords(std::size_t fieldCount) {
  return (fieldCount + kBitsPerWord - 1) / kBitsPerWord;
}

// Every count and offset is u32. A value's length takes at most five LEB128
// bytes.
constexpr std::size_t kMaxCount = 0xFFFFFFFF;
constexpr std::size_t kMaxLengthBytes = 5;
constexpr std::uint32_t kMaxCodePoint = 0x10FFFF;

inline std::uint32_t load32(const unsigned char* p) {
  std::uint32_t v;
  std::memcpy(&v, p, sizeof v);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  v = __builtin_bswap32(v);
#endif
  return v;
}

inline std::uint64_t load64(const unsigned char* p) {
  std::uint64_t v;
  std::memcpy(&v, p, sizeof v);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  v = __builtin_bswap64(v);
#endif
  return v;
}

// Up to eight bytes as a little-endian integer, zero above them. Shorter
// ones are gathered in a register: copied to a buffer and loaded whole, the
// load would wait for the copy's bytes to reach memory.
inline std::uint64_t loadUpTo8(const char* p, std::size_t n) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(p);
  if (n == 8) return load64(bytes);
  if (n >= 4) {
    // Two loads that overlap where n < 8, each byte landing where the loop
    // below would put it.
    return load32(bytes) | std::uint64_t{load32(bytes + n - 4)} << (8 * (n - 4));
  }
  std::uint64_t v = 0;
  for (std::size_t i = n; i-- > 0;) v = v << 8 | bytes[i];
  return v;
}

// The hash of the name table: the first and the last eight bytes of the
// name (overlapping or zero-padded when it is shorter) and its length,
// mixed by two multiplications. Field names differ at their start or at
// their end (kIRG_GSource, kIRG_TSource), and a hash of two loads costs a
// few nanoseconds where a byte-by-byte one costs one multiplication a byte.
inline std::uint32_t nameHash(std::string_view name) {
  const std::size_t n = name.size();
  if (n == 0) return 0;
  const std::size_t k = n < 8 ? n : 8;
  const std::uint64_t head = loadUpTo8(name.data(), k);
  const std::uint64_t tail = n == k ? head : loadUpTo8(name.data() + (n - k), k);
  std::uint64_t h = (head * 0x9E3779B97F4A7C15ULL) ^ (tail * 0xC2B2AE3D27D4EB4FULL) ^ n;
  h ^= h >> 29;
  h *= 0xBF58476D1CE4E5B9ULL;
  return static_cast<std::uint32_t>(h >> 32);
}

}  // namespace format
}  // namespace kelvorn_fields_private

#endif  // KELVORN_FIELDS_FIELDSFORMAT_H

// The stored lexicon tables, described once: the gloss index and the value
// indexes of a few fields, written at build time beside the all-field image
// they were made from, so that a process's first search or lookup answers
// from them in place instead of reading one field of every character.
//
//   file     = header (80 bytes), table directory (tableCount entries of
//              16 bytes), then the tables, each on a 4-byte boundary
//   header   = magic (16 bytes: "kelvorn lexicon" and one zero byte)
//              formatVersion:u32 tableCount:u32 fileSize:u64, then the
//              all-field image's own 48-byte header, byte for byte: its
//              size and checksum pair the tables to that image alone
//   entry    = offset:u64 size:u64, in bytes from the start of the file
//
// Table 0 is the search order: u32[D], the code points that have a
// kDefinition, in the order search answers them (SearchRank.h). Table 1 is
// the gloss index and every later one the value index of one field, each a
// posting table:
//
//   posting  = nameLength:u32 keyCount K:u32 itemCount M:u32 slotCount H:u32
//              keyStarts:u32[K + 1] listStarts:u32[K + 1] slots:u32[H]
//              items:u32[M] name (nameLength bytes) keyBytes (the rest)
//
// Key k is keyBytes[keyStarts[k], keyStarts[k+1]) and its list is
// items[listStarts[k], listStarts[k+1]), ascending. The gloss index (name
// empty) keys the words of the definitions (GlossIndex.h) and lists places
// in the search order; a value index (named by its field) keys the field's
// space-separated values and lists code points. The slots are an
// open-addressed hash of the keys, H a power of two above K: slot
// format::nameHash(key) mod H, then the next in turn, each holding a key id
// + 1, or 0 when empty.
//
// Opening checks the header, the pairing, the directory and each table's
// sizes against each other, none of which reads more than a few words. A
// lookup checks what it reads: the slot's key id, the key's and the list's
// bounds, and that the list ascends within range. A table that fails a
// check there answers that question as if it were absent, which costs speed
// only; damage no check sees (a changed key or item) gives a wrong answer at
// worst, as a damaged value pool of the all-field image does, never a read
// outside the buffer.
#ifndef KELVORN_FIELDS_LEXICONFORMAT_H
#define KELVORN_FIELDS_LEXICONFORMAT_H

#include <cstddef>
#include <cstdint>

namespace kelvorn_fields_private {
namespace lexicon_format {

constexpr std::size_t kMagicLength = 16;
constexpr char kMagic[kMagicLength + 1] = "kelvorn lexicon\0";
constexpr std::uint32_t kFormatVersion = 1;

namespace header {
constexpr std::size_t kMagic = 0;
constexpr std::size_t kFormatVersion = 16;
constexpr std::size_t kTableCount = 20;
constexpr std::size_t kFileSize = 24;
constexpr std::size_t kImageHeader = 32;
constexpr std::size_t kImageHeaderSize = 48;
constexpr std::size_t kSize = 80;
}  // namespace header

namespace entry {
constexpr std::size_t kOffset = 0;
constexpr std::size_t kSize = 8;
constexpr std::size_t kLength = 16;
}  // namespace entry

constexpr std::size_t kOrderTable = 0;
constexpr std::size_t kGlossTable = 1;
constexpr std::size_t kFirstValueTable = 2;

namespace posting {
constexpr std::size_t kNameLength = 0;
constexpr std::size_t kKeyCount = 4;
constexpr std::size_t kItemCount = 8;
constexpr std::size_t kSlotCount = 12;
constexpr std::size_t kSize = 16;  // then the arrays
}  // namespace posting

constexpr std::size_t kU32 = 4;
constexpr std::size_t kTableAlignment = 4;
constexpr std::uint32_t kMaxCodePoint = 0x10FFFF;

}  // namespace lexicon_format
}  // namespace kelvorn_fields_private

#endif  // KELVORN_FIELDS_LEXICONFORMAT_H

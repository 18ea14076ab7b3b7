// The saved index, described once: what UnihanIndex::bytes writes and
// UnihanIndex::fromBytes reads, so that an index built with the images is
// opened later instead of being built again.
//
//   index   = magic (24 bytes: "kelvorn unihan index" and four zero bytes)
//             formatVersion:u32 tag:bytes body
//   body    = codePoints:list(u32)        held code points, ascending
//             keys                        parallel to codePoints
//             weights:list(u32)           parallel to codePoints
//             sortsAs:list(u32 cp, u32 target), ascending by cp
//             kRadicalSlots times list(u32 cp, i32 residual)   radical pages
//             (kMaxStrokes + 1) times list(u32)                stroke pages
//             kReadingFieldCount times (runs exact, runs loose)
//             (kMaxRadical + 1) * (kMaxMarks + 1) times u32    form ends
//             frequencies mandarinExtras:strings
//   keys    = count:u32, then per key hasRadicalStroke:u8 (0 or 1)
//             radical:u8 storedResidual:u8 totalStrokes:u8 marks:u8, pad
//   frequencies = held:u32 (1, or 0 for an index given none, whose lists
//             are all empty) readings:strings counts:list(u32)
//             fallbackCodePoints:list(u32) fallbackPlaces:list(u32)
//             kHanyuPinlu's counts, one per (character, reading), and
//             frequency order's fallback order: its characters ascending,
//             each with its place in that order
//   strings = codePoints:list(u32) starts:list(u32) bytes:bytes
//             one string per code point listed, ascending by code point, cut
//             from bytes at its start and the next (starts: one more, or
//             none when the list is empty)
//   runs    = keyBytes:bytes keyStarts:list(u32) runStarts:list(u32)
//             codePoints:list(u32)
//   list(T) = count:u32 and count elements
//   bytes   = count:u32 and count bytes, pad
//   pad     = zero bytes up to the next multiple of four from the start
//
// Integers are little-endian. Every list starts four-byte aligned, so that
// a little-endian host reads the lists where they lie (a mapped file, say)
// instead of copying them; the index keeps the bytes alive. The tag is the
// caller's name for the data the index was built from; an index opens only
// under the same tag. Reading checks every count against the bytes left and
// every table against the invariants its lookups rely on (parallel sizes,
// code points ascending and at most U+10FFFF, offsets that grow and stay
// inside their table), so damaged bytes are refused, never read past.
#ifndef KELVORN_INDEX_INDEXFORMAT_H
#define KELVORN_INDEX_INDEXFORMAT_H

#include <cstddef>
#include <cstdint>

namespace kelvorn_index_private {
namespace format {

constexpr std::size_t kMagicLength = 24;
constexpr char kMagic[kMagicLength + 1] = "kelvorn unihan index\0\0\0\0";
// 2: kMandarin's reading table holds every Mandarin reading field's.
// 3: frequency order's counts and fallback order, and each character's
// readings of the other Mandarin fields.
constexpr std::uint32_t kFormatVersion = 3;
constexpr std::size_t kKeyBytes = 5;
constexpr std::size_t kAlignment = 4;

}  // namespace format
}  // namespace kelvorn_index_private

#endif  // KELVORN_INDEX_INDEXFORMAT_H

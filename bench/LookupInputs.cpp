#include "LookupInputs.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "kelvorn/UnihanImage.h"
#include "support/LittleEndian.h"

namespace lookupinputs {
namespace {

// Both stores sit in plane 2, where the real data has blocks too.
constexpr int kBase = 0x20000;
constexpr int kNestedSpan = 4 * kNestedBlocks;

using testsupport::put16;
using testsupport::put32;

int radicalOf(int i) { return 1 + i % 214; }
int residualOf(int i) { return i % 20; }

int sortedCodePoint(int i) { return kBase + 2 * i; }

// One block record: its range, then one character record (a kRSUnicode pair
// and total strokes), an empty reading set and an all-zero HanYu record.
void putBlock(std::string* out, int first, int last, int i) {
  put32(out, static_cast<std::uint32_t>(first));
  put32(out, static_cast<std::uint32_t>(last));
  for (int count = 0; count < 3; ++count) put16(out, 1);
  const unsigned char record[] = {
      static_cast<unsigned char>(strokesOf(i)), 1, 1, 0, static_cast<unsigned char>(radicalOf(i)),
      static_cast<unsigned char>(residualOf(i))};
  out->append(reinterpret_cast<const char*>(record), sizeof record);
  out->append(4 + 5, '\0');
}

}  // namespace

int strokesOf(int i) { return 1 + i % 30; }

std::string sortedText() {
  std::string text = "# One-code-point blocks, two code points apart\n";
  char line[64];
  for (int i = 0; i < kSortedBlocks; ++i) {
    const int cp = sortedCodePoint(i);
    (void)std::snprintf(line, sizeof line, "U+%X\tkRSUnicode\t%d.%d\nU+%X\tkTotalStrokes\t%d\n", cp,
                        radicalOf(i), residualOf(i), cp, strokesOf(i));
    text += line;
  }
  return text;
}

Probes sortedHits() {
  Probes probes;
  for (int i = 0; i < kSortedBlocks; ++i) probes.push_back({sortedCodePoint(i), strokesOf(i)});
  return probes;
}

Probes sortedMisses() {
  Probes probes;
  for (int i = 0; i < kSortedBlocks; ++i) probes.push_back({sortedCodePoint(i) + 1, -1});
  return probes;
}

int nestedFirst(int block) { return kBase + 2 * (kNestedBlocks - 1 - block); }
int nestedLast(int block) { return kBase + kNestedSpan - 2 * (kNestedBlocks - 1 - block); }

int nestedAnsweringBlock(int codePoint) {
  if (codePoint < kBase || codePoint > kBase + kNestedSpan) return -1;
  // The deepest enclosing block is the first in the list that encloses.
  const int fromLeft = (codePoint - kBase) / 2;
  const int fromRight = (kBase + kNestedSpan - codePoint) / 2;
  const int depth = std::min({fromLeft, fromRight, kNestedBlocks - 1});
  return kNestedBlocks - 1 - depth;
}

std::string nestedImage() {
  std::string image(kelvorn::kImageMagic, kelvorn::kImageMagicLength);
  image.push_back('\0');  // little-endian
  put16(&image, 1);
  put16(&image, 4);
  put16(&image, kNestedBlocks);
  for (int j = 0; j < kNestedBlocks; ++j) putBlock(&image, nestedFirst(j), nestedLast(j), j);
  return image;
}

Probes nestedHits() {
  Probes probes;
  for (int j = kNestedBlocks - 1; j >= 0; --j) probes.push_back({nestedFirst(j), strokesOf(j)});
  return probes;
}

Probes nestedMisses() {
  Probes probes;
  for (int j = kNestedBlocks - 1; j >= 0; --j) probes.push_back({nestedFirst(j) + 1, -1});
  return probes;
}

}  // namespace lookupinputs

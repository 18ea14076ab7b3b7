// Stores whose block lists make the range lookup work hard: many
// one-code-point blocks in code-point order, made from Unihan text, and the
// most blocks an image can hold, all nested in one another. Each comes with
// the code points to ask about and the answers totalStrokes must give.
#ifndef KELVORN_BENCH_LOOKUPINPUTS_H
#define KELVORN_BENCH_LOOKUPINPUTS_H

#include <string>
#include <vector>

namespace lookupinputs {

constexpr int kSortedBlocks = 70000;
constexpr int kNestedBlocks = 32767;  // the largest block count of an image

// A code point to ask about and the totalStrokes answer it must get (-1 for
// a miss). Lists of them are in code-point order.
struct Probe {
  int codePoint;
  int answer;
};
using Probes = std::vector<Probe>;

// Unihan text holding kSortedBlocks code points two apart, each with a
// kRSUnicode and a kTotalStrokes line, so that each is a block of its own.
std::string sortedText();
// Hits: every code point of sortedText(). Misses: the one after each.
Probes sortedHits();
Probes sortedMisses();

// A binary image of kNestedBlocks blocks nested in one another, the
// innermost first in the list. Block j (depth d = kNestedBlocks - 1 - j)
// spans base + 2d to base + 4 * kNestedBlocks - 2d and holds one
// record, for its first code point. That code point lies inside every later
// block in the list and outside every earlier one, so block j answers it
// only after j blocks that do not enclose it; the code point after it lies
// in block j past its only record, and is a miss.
std::string nestedImage();
Probes nestedHits();
Probes nestedMisses();

// The block of nestedImage() that answers a code point (the first in list
// order that encloses it), or -1; and the range of block j.
int nestedAnsweringBlock(int codePoint);
int nestedFirst(int block);
int nestedLast(int block);
// The totalStrokes value of the record of block (or sorted code point) i.
int strokesOf(int i);

}  // namespace lookupinputs

#endif  // KELVORN_BENCH_LOOKUPINPUTS_H

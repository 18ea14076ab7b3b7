// Parsing the value of one known field into the record under construction.
#ifndef KELVORN_TEXT_FIELDVALUES_H
#define KELVORN_TEXT_FIELDVALUES_H

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <vector>
#include <string_view>

#include "store/ReadingSet.h"
#include "store/records.h"

namespace kelvorn_private {

class BlockLoad;

// What the reader gathers for one code point before it becomes a record.
// Slots 0 to 4 hold sources 0 to 4, slot 5 a second kRSUnicode value; the
// slots whose flags are set become the record's pairs, in that order.
struct RecordUnderConstruction {
  std::uint8_t totalStrokes = 0;
  std::uint8_t flags = 0;
  RadStrokePair slots[6];
  std::vector<CidEntry> cids;
  ReadingLists readings;
  HanYuRef hanyu;

  // Empties the record, keeping the lists' memory for the next one.
  void clear() {
    totalStrokes = 0;
    flags = 0;
    std::fill(std::begin(slots), std::end(slots), RadStrokePair());
    cids.clear();
    for (auto& list : readings) list.clear();
    hanyu = HanYuRef();
  }
};

// Applies one data line of field `prop` to the record. `afterCodePoint` is
// where the line continues after its "U+" code point, `fieldAt` where the
// field name was found. kRSVantu_Japan1_6 values also write the store's CID
// table for `codePoint`.
void applyFieldLine(int prop, std::string_view line, std::size_t afterCodePoint,
                    std::size_t fieldAt, std::uint32_t codePoint,
                    RecordUnderConstruction* record, BlockLoad* load);

}  // namespace kelvorn_private

#endif  // KELVORN_TEXT_FIELDVALUES_H

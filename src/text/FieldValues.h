// Parsing the value of one known field into the record under construction.
#ifndef KELVORN_TEXT_FIELDVALUES_H
#define KELVORN_TEXT_FIELDVALUES_H

#include <cstdint>
#include <string_view>

#include "store/records.h"

namespace kelvorn_private {

class UnihanData;

// What the reader gathers for one code point before it becomes a record.
// Slots 0 to 4 hold sources 0 to 4, slot 5 a second kRSUnicode value; the
// slots become the record's `rs` in that order when the record is appended.
struct RecordUnderConstruction {
  UnihanCharRec chars;
  RadStrokePair slots[6];
  ReadingSet readings;
  HanYuRef hanyu;
};

// Applies one data line of field `prop` to the record. `afterCodePoint` is
// where the line continues after its "U+" code point, `fieldAt` where the
// field name was found. kRSVantu_Japan1_6 values also write the store's CID
// table for `codePoint`.
void applyFieldLine(int prop, std::string_view line, std::size_t afterCodePoint,
                    std::size_t fieldAt, std::uint32_t codePoint,
                    RecordUnderConstruction* record, UnihanData* store);

}  // namespace kelvorn_private

#endif  // KELVORN_TEXT_FIELDVALUES_H

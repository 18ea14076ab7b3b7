// The CIDs that getUTF32ForCID can answer for, as the library documents
// them: 1124 to 23057, and 656, which shares the entry of 1124.
#ifndef KELVORN_TESTS_SUPPORT_CIDTABLE_H
#define KELVORN_TESTS_SUPPORT_CIDTABLE_H

#include <cstdint>

namespace testsupport {

constexpr std::uint32_t kFirstTableCid = 1124;
constexpr std::uint32_t kLastTableCid = 23057;
constexpr std::uint32_t kFoldedCid = 656;

}  // namespace testsupport

#endif  // KELVORN_TESTS_SUPPORT_CIDTABLE_H

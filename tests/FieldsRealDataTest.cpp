// The complete Unihan databases the build bundles: every line of the 17.0
// text comes back from the store byte for byte, the image is small, and the
// 15.0 text loads too.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "FieldsTestSupport.h"
#include "support/Files.h"
#include "support/TestDir.h"

using kelvorn::UnihanFields;
using fieldstest::valueOr;

namespace {

TEST(FieldsRealData, Unihan17EveryValueByteForByte) {
  const std::string text = testsupport::readFile(KELVORN_FIELDS_DATA_TXT);
  ASSERT_GT(text.size(), 40'000'000u);
  const UnihanFields built = UnihanFields::fromText({KELVORN_FIELDS_DATA_TXT}, "17.0");
  const std::string path = testsupport::tempPath("fields.bin");
  built.save(path);
  const UnihanFields f = UnihanFields::open(path, kelvorn::FieldsCheck::kChecksum);
  EXPECT_EQ(f.codePointCount(), 102998u);
  EXPECT_EQ(f.fieldCount(), 99u);
  EXPECT_LE(f.imageBytes().size() * 100, text.size() * 40) << f.imageBytes().size();

  // Each line's value is found, and the lines of a code point are all of
  // its fields.
  std::size_t mismatches = 0;
  char32_t current = 0;
  std::size_t fieldsOfCurrent = 0;
  const auto closeCodePoint = [&] {
    if (fieldsOfCurrent != 0 && f.fields(current).size() != fieldsOfCurrent) ++mismatches;
  };
  const std::size_t lines = fieldstest::forEachDataLine(text, [&](char32_t cp, std::string_view field,
                                                      std::string_view value) {
    if (cp != current) {
      closeCodePoint();
      current = cp;
      fieldsOfCurrent = 0;
    }
    ++fieldsOfCurrent;
    if (f.value(cp, field) != std::optional<std::string_view>(value) && ++mismatches < 10) {
      ADD_FAILURE() << std::hex << cp << " " << field << ": " << valueOr(f.value(cp, field), "~");
    }
  });
  closeCodePoint();
  EXPECT_EQ(mismatches, 0u);
  EXPECT_GT(lines, 1'500'000u);
  EXPECT_EQ(valueOr(f.value(0x6F22, "kMandarin"), "~"), "hàn");
  EXPECT_EQ(f.codePoints().front(), 0x3400u);
  EXPECT_EQ(f.codePointsWith("kTotalStrokes").size(), 102998u);
}

TEST(FieldsRealData, Unihan15Loads) {
  const UnihanFields f = UnihanFields::fromText({KELVORN_DATA15_TXT}, "15.0");
  EXPECT_EQ(f.codePointCount(), 98060u);
  EXPECT_EQ(f.unicodeVersion(), "15.0");
  EXPECT_EQ(valueOr(f.value(0x3400, "kCangjie"), "~"), "TM");
  EXPECT_FALSE(f.fieldIndex("kFanqie"));  // new in 16.0
}

}  // namespace

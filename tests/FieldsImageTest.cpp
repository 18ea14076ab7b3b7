// The all-field image: round trips through files and buffers, and what
// opening, verifying and querying do with images that are cut short,
// damaged, forged or not images at all.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <filesystem>
#include <vector>

#include "FieldsTestSupport.h"
#include "app/files/Crc32.h"
#include "fields/FieldsFormat.h"
#include "support/Files.h"
#include "support/TestDir.h"

using kelvorn::FieldsCheck;
using kelvorn::UnihanFields;
using fieldstest::build;
using fieldstest::errorOf;
using fieldstest::reseal;
using fieldstest::sectionEntryAt;
using fieldstest::sectionField;
using fieldstest::store32;
using fieldstest::valueOr;
using testsupport::readFile;
using testsupport::tempPath;
using testsupport::writeFile;
namespace format = kelvorn_fields_private::format;

namespace {

const char kSmallText[] =
    "U+3400\tkCangjie\tTM\nU+3400\tkTotalStrokes\t5\n"
    "U+4E00\tkTotalStrokes\t1\nU+4E00\tkDefinition\tone; a, an; alone\n"
    "U+20000\tkTotalStrokes\t5\n";

// Every answer the store gives for the small text, in one string, so that
// two stores can be compared whole.
std::string answers(const UnihanFields& f) {
  std::string out(f.unicodeVersion());
  for (const std::string_view name : f.fieldNames()) out += "|" + std::string(name);
  for (const char32_t cp : {0x3400, 0x4E00, 0x20000, 0x3401, 0x10FFFF}) {
    out += "\n" + std::to_string(cp) + (f.contains(cp) ? "+" : "-");
    for (const kelvorn::FieldValue& fv : f.fields(cp)) {
      out += " " + std::string(fv.field) + "=" + std::string(fv.value);
    }
    for (const std::string_view name : {"kCangjie", "kDefinition", "kTotalStrokes", "kNone"}) {
      const std::optional<std::size_t> field = f.fieldIndex(name);
      out += " " + (field ? valueOr(f.valueAt(cp, *field), "~") : std::string("?"));
    }
  }
  return out;
}

// The checksum is zlib's CRC-32, so that other tools can check an image: its
// check value, and a bit-at-a-time reference at every length and offset
// around the eight-byte steps the fast loop takes.
TEST(FieldsImage, ChecksumIsZlibsCrc32) {
  EXPECT_EQ(kelvorn_files::crc32("123456789"), 0xCBF43926U);
  EXPECT_EQ(kelvorn_files::crc32(""), 0U);
  EXPECT_EQ(kelvorn_files::sizeAndCrc32("123456789"), "9 bytes, CRC-32 cbf43926");  // the tags' form
  EXPECT_EQ(kelvorn_files::sizeAndCrc32(""), "0 bytes, CRC-32 00000000");
  const auto reference = [](std::string_view bytes) {
    std::uint32_t c = 0xFFFFFFFFU;
    for (const char b : bytes) {
      c ^= static_cast<unsigned char>(b);
      for (int bit = 0; bit < 8; ++bit) c = (c & 1U) != 0 ? 0xEDB88320U ^ (c >> 1) : c >> 1;
    }
    return ~c;
  };
  std::string bytes;
  for (int i = 0; i < 300; ++i) bytes.push_back(static_cast<char>(i * 131 + (i >> 3)));
  for (std::size_t from = 0; from < 9; ++from) {
    for (std::size_t length = 0; from + length <= bytes.size(); length += 7) {
      const std::string_view piece = std::string_view(bytes).substr(from, length);
      ASSERT_EQ(kelvorn_files::crc32(piece), reference(piece)) << from << " " << length;
    }
  }
}

TEST(FieldsImage, RoundTripsThroughFileAndBuffers) {
  const UnihanFields built = build(kSmallText);
  const std::string path = tempPath("fields.bin");
  built.save(path);
  const std::string bytes = readFile(path);
  EXPECT_EQ(bytes, built.imageBytes());
  EXPECT_EQ(bytes.substr(0, format::kMagicLength), std::string(format::kMagic, format::kMagicLength));
  for (std::size_t s = 0; s < format::kSectionCount; ++s) {
    EXPECT_EQ(sectionField(bytes, s, format::sectionEntry::kOffset) % format::kSectionAlignment, 0u);
  }
  // Integers are little-endian whatever the machine: the format version,
  // the file size, and the code points U+3400 and U+20000.
  EXPECT_EQ(bytes.substr(format::header::kFormatVersion, 4), std::string("\x01\0\0\0", 4));
  std::string size;
  for (int i = 0; i < 8; ++i) size.push_back(static_cast<char>(bytes.size() >> (8 * i)));
  EXPECT_EQ(bytes.substr(format::header::kFileSize, 8), size);
  const std::size_t cps = sectionField(bytes, format::kCodePoints, format::sectionEntry::kOffset);
  EXPECT_EQ(bytes.substr(cps, 12), std::string("\x00\x34\0\0\x00\x4E\0\0\x00\x00\x02\0", 12));
  EXPECT_EQ(sectionField(bytes, format::kCodePoints, format::sectionEntry::kSize), 12u);
  // The name hash is part of the format, for names shorter than a load too.
  EXPECT_EQ(std::vector<std::uint32_t>({format::nameHash(""), format::nameHash("k"), format::nameHash("k_z")}),
            std::vector<std::uint32_t>({0, 0x76B1CEEA, 0xA3298058}));

  const UnihanFields mapped = UnihanFields::open(path, FieldsCheck::kChecksum);
  const UnihanFields borrowed = UnihanFields::fromBuffer(bytes);
  const UnihanFields owned = UnihanFields::fromOwnedBuffer(std::string(bytes));
  const std::string expected = answers(built);
  EXPECT_NE(expected.find("13312+ kCangjie=TM kTotalStrokes=5 TM ~ 5 ?"), std::string::npos)
      << expected;
  EXPECT_EQ(answers(mapped), expected);
  EXPECT_EQ(answers(borrowed), expected);
  EXPECT_EQ(answers(owned), expected);
  mapped.verify();

  // Copies share the mapping, which outlives the original and the file name.
  UnihanFields copy = mapped;
  const UnihanFields moved = std::move(copy);
  std::filesystem::remove(path);
  EXPECT_EQ(answers(copy), expected);  // NOLINT(bugprone-use-after-move): moves copy
  EXPECT_EQ(answers(moved), expected);

  // Saving again gives the same bytes, over the old file.
  built.save(path);
  mapped.save(path);
  EXPECT_EQ(readFile(path), bytes);
  // The empty image: one name-table slot and one page-table entry, then a
  // page of no code point, and padding before the code points never read.
  std::string emptyImage(build("").imageBytes());
  EXPECT_EQ(sectionField(emptyImage, format::kNameHash, 8) + 2 * sectionField(emptyImage, format::kPageStarts, 8), 12u);
  store32(&emptyImage, sectionEntryAt(format::kPageStarts, format::sectionEntry::kSize), 8);
  store32(&emptyImage, sectionField(emptyImage, format::kCodePoints, format::sectionEntry::kOffset) - 4, ~0U);
  const UnihanFields empty = UnihanFields::fromOwnedBuffer(emptyImage);
  EXPECT_EQ(empty.codePointCount(), 0u);
  EXPECT_EQ(empty.fieldCount(), 0u);
  EXPECT_FALSE(empty.contains(0));
}

TEST(FieldsImage, RefusesEveryTruncationNamingTheSource) {
  const std::string image(build(kSmallText).imageBytes());
  for (std::size_t n = 0; n < image.size(); ++n) {
    const std::string message =
        errorOf([&] { UnihanFields::fromOwnedBuffer(image.substr(0, n), FieldsCheck::kStructure, "cut.bin"); });
    EXPECT_EQ(message.rfind("cut.bin: ", 0), 0u) << n << ": " << message;
  }
  // One longer file too, and a few lengths through the file path.
  EXPECT_NE(errorOf([&] { UnihanFields::fromBuffer(image + '\0'); }).find("its header says"),
            std::string::npos);
  for (const std::size_t n : {std::size_t{0}, format::kMagicLength, format::kFirstSectionOffset, image.size() - 1}) {
    const std::string path = writeFile(tempPath("cut.bin"), image.substr(0, n));
    EXPECT_EQ(errorOf([&] { UnihanFields::open(path); }),
              errorOf([&] { UnihanFields::fromBuffer(image.substr(0, n), FieldsCheck::kStructure, path); }));
  }
}

// A changed byte anywhere is caught: in the header and the tables by
// opening, in the values by the checksum. Queries on what opens stay inside the buffer meanwhile
// (the sanitizer builds check that).
TEST(FieldsImage, CatchesEveryFlippedByte) {
  const std::string image(build(kSmallText).imageBytes());
  for (std::size_t at = 0; at < image.size(); ++at) {
    std::string damaged = image;
    damaged[at] = static_cast<char>(damaged[at] ^ 0x5A);
    std::string message;
    try {
      const UnihanFields f = UnihanFields::fromBuffer(damaged);
      (void)answers(f);
      (void)f.codePointsWith("kTotalStrokes");
      f.verify();
    } catch (const kelvorn::FieldsError& e) {
      message = e.what();
    }
    EXPECT_FALSE(message.empty()) << "byte " << at << " changed unnoticed";
    if (at >= format::kFirstSectionOffset) {
      EXPECT_NE(message.find("damaged all-field image ("), std::string::npos) << at << ": " << message;
    }
  }
  EXPECT_NE(errorOf([&] {
              std::string damaged = image;
              damaged.back() = 'x';
              UnihanFields::fromOwnedBuffer(damaged, FieldsCheck::kChecksum, "x.bin");
            }),
            "");
}

// Forged tables with a matching checksum. Opening refuses every one that
// breaks what the lookups rely on; the values' offsets, which it leaves to
// each access, give empty answers, never a read outside the image.
TEST(FieldsImage, ForgedTablesAreRefusedOrBounded) {
  const std::string image(build(kSmallText).imageBytes());
  const auto at = [&](std::size_t section) {
    return static_cast<std::size_t>(sectionField(image, section, format::sectionEntry::kOffset));
  };
  const std::string damaged = "x.bin: damaged all-field image (";
  // The first set id past the table, which opening looks up among the
  // slots it leaves empty.
  const auto setsEnd = static_cast<std::uint32_t>(
      sectionField(image, format::kFieldSets, format::sectionEntry::kSize) / format::kU64 /
      format::setWords(build(kSmallText).fieldCount()));
  const struct {
    std::size_t offset;
    std::uint32_t value;
    std::string refusal;  // empty: opens
  } forgeries[] = {
      {at(format::kEntryValues), 0xFFFFFFF0, ""},  // a value past the pool
      {at(format::kEntryValues) + 4, 0x7FFFFFFF, ""},
      {at(format::kRecords) + format::kRecordFieldSet, 0x12345,  // a set past the table
       damaged + "a record disagrees with the entries)"},
      {at(format::kRecords) + format::kRecordFieldSet, setsEnd,
       damaged + "a record disagrees with the entries)"},
      {at(format::kRecords) + format::kRecordSize, 0xFFFFFFFF,  // entries past the end
       damaged + "a record disagrees with the entries)"},
      {at(format::kRecords), 3, damaged + "a record disagrees with the entries)"},
      {at(format::kRecords) + 3 * format::kRecordSize, 7,  // the closing record
       damaged + "the records disagree with the entries)"},
      {at(format::kFieldSets), 0x08, damaged + "a field set names no field)"},  // field 3 of 3
      {at(format::kPageStarts), 0xFFFFFFFF,
       damaged + "the page table disagrees with the code points)"},
      {at(format::kPageStarts) + 0x4E * 4, 0,
       damaged + "the page table disagrees with the code points)"},
      {at(format::kPageStarts) + 0x201 * 4, 2, damaged + "the page table disagrees with the code points)"},
      {at(format::kNameOffsets), 1, damaged + "a field name lies outside its table)"},
      {at(format::kNameOffsets) + 4, 0xFFFF, damaged + "a field name lies outside its table)"},
      {at(format::kNameOffsets) + 4, 1, damaged + "field names out of order)"},  // "k", "Cangjie"
      {at(format::kNameHash), 4, damaged + "the name table names no field)"},
      {at(format::kNameOffsets) + 4, 0, ""},  // an empty first name
      {at(format::kCodePoints) + 4, 0x3400, damaged + "code points out of order)"},
      {at(format::kCodePoints) + 4, 0xFFFFFFFF, damaged + "code points out of order)"},
      {at(format::kCodePoints) + 8, 0x110000, damaged + "code points out of order)"},
      {at(format::kCodePoints) + 8, 0x20100,  // in order, not in its page
       damaged + "the page table disagrees with the code points)"},
  };
  for (const auto& forgery : forgeries) {
    std::string forged = image;
    store32(&forged, forgery.offset, forgery.value);
    reseal(&forged);
    if (!forgery.refusal.empty()) {
      EXPECT_EQ(errorOf([&] { UnihanFields::fromOwnedBuffer(forged, FieldsCheck::kChecksum, "x.bin"); }),
                forgery.refusal)
          << forgery.offset << " = " << forgery.value;
      // The same bytes written under a reader, as into a mapped file, after
      // open: every lookup stays inside its section, and a set past the
      // table reads as no field.
      std::string live = image;
      const UnihanFields reader = UnihanFields::fromBuffer(live);
      store32(&live, forgery.offset, forgery.value);
      (void)answers(reader);
      (void)reader.codePointsWith("kCangjie");
      if (forgery.offset == at(format::kRecords) + format::kRecordFieldSet) {
        EXPECT_TRUE(reader.fields(0x3400).empty());
      }
      continue;
    }
    const UnihanFields f = UnihanFields::fromBuffer(forged, FieldsCheck::kChecksum);
    (void)answers(f);
    (void)f.codePointsWith("kCangjie");
  }
  // A value whose length runs a byte past the pool's end, one whose length
  // never ends, one whose length takes a byte more than any length may, and
  // the longest length form.
  const std::string poolSize(1, static_cast<char>(sectionField(image, format::kValueBytes, format::sectionEntry::kSize)));
  for (const auto& [pool, value] : {std::pair<std::string, std::string>{poolSize, ""}, {"\xFF\xFF\xFF\xFF\xFF\xFF", ""},
                                    {std::string("\x81\x80\x80\x80\x80\x00X", 7), ""}, {std::string("\x81\x80\x80\x80\x00X", 6), "X"}}) {
    std::string forged = image;
    forged.replace(at(format::kValueBytes), pool.size(), pool);
    reseal(&forged);
    const UnihanFields f = UnihanFields::fromBuffer(forged);
    EXPECT_EQ(valueOr(f.value(0x3400, "kCangjie"), "~"), value);
  }
}

// Sets of two words (65 to 128 fields, as in the real data) are counted
// and checked as sets of one are.
TEST(FieldsImage, TwoWordFieldSetsAreCountedAndChecked) {
  std::string text = "U+4E01\tkField100\tw\n";
  for (int f = 100; f < 170; ++f) text += "U+4E00\tkField" + std::to_string(f) + "\tv" + std::to_string(f) + "\n";
  const std::string image(build(text).imageBytes());
  const UnihanFields f = UnihanFields::fromBuffer(image);
  EXPECT_EQ(f.fields(0x4E00).size(), 70u);
  EXPECT_EQ(valueOr(f.value(0x4E00, "kField169"), "~"), "v169");
  EXPECT_EQ(valueOr(f.value(0x4E01, "kField100"), "~"), "w");
  std::string forged = image;  // field 127 in the second word of the last set
  const auto sets = sectionField(image, format::kFieldSets, format::sectionEntry::kOffset);
  const auto size = sectionField(image, format::kFieldSets, format::sectionEntry::kSize);
  store32(&forged, static_cast<std::size_t>(sets + size - 4), 0x80000000);
  reseal(&forged);
  EXPECT_EQ(errorOf([&] { UnihanFields::fromBuffer(forged, FieldsCheck::kStructure, "x.bin"); }),
            "x.bin: damaged all-field image (a field set names no field)");
}

TEST(FieldsImage, RefusesForeignFilesAndBadHeaders) {
  const std::string image(build(kSmallText).imageBytes());
  const auto refusal = [](const std::string& bytes) {
    return errorOf([&] { UnihanFields::fromBuffer(bytes, FieldsCheck::kStructure, "f"); });
  };
  EXPECT_EQ(refusal(""), "f: not an all-field Unihan image (no \"kelvorn unihan fields\" magic)");
  EXPECT_EQ(refusal("U+3400\tkCangjie\tTM\n"), refusal(""));
  EXPECT_EQ(refusal(std::string("kelvorn unihan\0\x01\x00", 17) + std::string(40, '\0')), refusal(""));
  // A file that holds the whole header is read on, and refused for what it lacks after.
  const std::size_t header = format::kFirstSectionOffset;
  for (const std::size_t n : {format::kMagicLength, header - 1}) {
    EXPECT_EQ(refusal(image.substr(0, n)),
              "f: truncated all-field image (" + std::to_string(n) + " bytes, shorter than its header)");
  }
  EXPECT_EQ(refusal(image.substr(0, header)), "f: truncated all-field image (" + std::to_string(header) +
                                                  " bytes, its header says " + std::to_string(image.size()) + ")");
  std::string v2 = image;
  store32(&v2, format::header::kFormatVersion, 2);
  EXPECT_EQ(refusal(v2), "f: all-field image format version 2, this library reads version 1");
  const std::size_t valuesAt = sectionField(image, format::kValueBytes, format::sectionEntry::kOffset);
  const struct { std::size_t at, value; const char* refusal; } forgeries[] = {
      {format::header::kSectionCount, format::kSectionCount + 1, "bad header"},
      {sectionEntryAt(format::kCodePoints, format::sectionEntry::kOffset), format::kFirstSectionOffset, "section 4 lies outside the file"},
      {sectionEntryAt(format::kValueBytes, format::sectionEntry::kSize), image.size() + 1 - valuesAt, "section 9 lies outside the file"},
      {sectionEntryAt(format::kCodePoints, format::sectionEntry::kSize), 13, "section 4 has a bad size"},
      {sectionEntryAt(format::kNameHash, format::sectionEntry::kSize), 0, "the name table's size is not a power of two"},
      {sectionEntryAt(format::kRecords, format::sectionEntry::kSize), 8, "its sections disagree in size"},
      {sectionEntryAt(format::kNameOffsets, format::sectionEntry::kSize), 4, "its sections disagree in size"},  // no field, three code points
  };
  for (const auto& forgery : forgeries) {
    std::string forged = image;
    store32(&forged, forgery.at, static_cast<std::uint32_t>(forgery.value));
    EXPECT_EQ(refusal(forged), std::string("f: damaged all-field image (") + forgery.refusal + ")") << forgery.at;
  }
  // The file opener is the application's (AppTest refuses a missing file, a
  // directory and a FIFO); a device, here.
  EXPECT_EQ(errorOf([&] { UnihanFields::open("/dev/null"); }), "/dev/null: is a device, not a regular file");
}

}  // namespace

// Core tables: a store opened from them answers, writes and dumps as the
// store they were written from, takes later loads without touching them,
// and refuses tables that would make it read outside them.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "store/UnihanData.h"

using namespace kelvorn_private;

namespace {

// Tables held in an exact-size heap block, so that a read past their end
// is caught by the sanitizers; the block's start is aligned as lent tables
// need.
std::shared_ptr<std::uint8_t> heapCopy(const std::string& bytes) {
  std::shared_ptr<std::uint8_t> copy(new std::uint8_t[std::max<std::size_t>(bytes.size(), 1)],
                                     std::default_delete<std::uint8_t[]>());
  std::memcpy(copy.get(), bytes.data(), bytes.size());
  return copy;
}

std::string openFrom(UnihanData* store, const std::string& tables, TablesImageTag* tag = nullptr) {
  TablesImageTag ignored;
  std::shared_ptr<std::uint8_t> copy = heapCopy(tables);
  return store->openTables(copy.get(), tables.size(), copy, tag != nullptr ? tag : &ignored);
}

void loadImage(UnihanData* store, const std::string& image) {
  ASSERT_EQ(store->readUnihanBinaryBuf(image.data(), static_cast<unsigned>(image.size())),
            static_cast<int>(image.size()));
}

// The image, the dump and the CID table; with `everyAnswer`, every answer
// of every code point a block of either store encloses too, and the rest of
// the code space by one answer.
void expectSameStore(UnihanData& a, UnihanData& b, bool everyAnswer) {
  for (std::int32_t cp = 0; everyAnswer && cp <= 0x110000; ++cp) {
    if (a.segmentFor(cp) == nullptr && b.segmentFor(cp) == nullptr) {
      ASSERT_EQ(b.totalStrokes(cp), -1) << cp;
      continue;
    }
    ASSERT_EQ(testsupport::describe(a, cp), testsupport::describe(b, cp)) << "U+" << std::hex << cp;
  }
  for (std::uint32_t cid = 0; cid <= 0x10000; ++cid) ASSERT_EQ(a.getUTF32ForCID(cid), b.getUTF32ForCID(cid)) << cid;
  std::string imageA, imageB;
  ASSERT_EQ(a.imageBytes(&imageA), b.imageBytes(&imageB));
  EXPECT_TRUE(imageA == imageB);
  EXPECT_TRUE(a.dumpBytes() == b.dumpBytes());
  EXPECT_EQ(a.versionMajor(), b.versionMajor());
  EXPECT_EQ(a.versionMinor(), b.versionMinor());
}

// A later text load appends to the store opened from tables as to the
// store they came from: a new block, a spilled record, readings of both
// encodings and a CID, so each lent array is copied before it changes.
const std::string kLaterText = testsupport::dataLine(0x2F800, "kRSUnicode", "1.1 2.2") +
                               testsupport::dataLine(0x2F800, "kRSVantu_Japan1_6", "C+1125+1.1.1 V+1126+1.1.1 V+1127+1.1.1") +
                               testsupport::dataLine(0x2F801, "kMandarin", std::string(300, 'a')) +
                               testsupport::dataLine(0x2F802, "kJapaneseKun", "SAKI");

void checkRealImage(const char* path, bool unicodeFirst) {
  const std::string image = testsupport::readFile(path);
  UnihanData fromImage;
  loadImage(&fromImage, image);
  using namespace kelvorn;  // the tables carry the preference, and the fast path's table with it
  const unihanPropT order[] = {kRSUnicode, kRSKangXi, kRSKanWa, kRSKorean, kRSJapanese, kRSVantu_Japan1_6};
  if (unicodeFirst) fromImage.setRadixStrokeSourcePref(order);
  const std::string tables = fromImage.tablesBytes({image.size(), 0x12345678});
  UnihanData fromTables;
  TablesImageTag tag;
  ASSERT_EQ(openFrom(&fromTables, tables, &tag), "");
  EXPECT_EQ(tag.size, image.size());
  EXPECT_EQ(tag.crc, 0x12345678u);
  expectSameStore(fromImage, fromTables, true);

  std::shared_ptr<std::uint8_t> lent = heapCopy(tables);
  UnihanData appended;
  ASSERT_EQ(appended.openTables(lent.get(), tables.size(), lent, &tag), "");
  fromImage.readUnihanText(kLaterText);
  appended.readUnihanText(kLaterText);
  expectSameStore(fromImage, appended, false);
  for (std::int32_t cp = 0x2F800; cp <= 0x2F802; ++cp) {
    EXPECT_EQ(testsupport::describe(fromImage, cp), testsupport::describe(appended, cp));
  }
  EXPECT_EQ(std::memcmp(lent.get(), tables.data(), tables.size()), 0) << "a load wrote into lent tables";
  // An image load replaces every lent array: the tables may go.
  lent.reset();
  loadImage(&appended, image);
  loadImage(&fromImage, image);
  expectSameStore(fromImage, appended, false);
}

#ifdef KELVORN_TEST_IMAGE  // the tool builds the images
TEST(CoreTables, RealImagesOpenAsTheyLoad) {
  checkRealImage(KELVORN_TEST_IMAGE, false);
  checkRealImage(KELVORN_EARLIER_TEST_IMAGE, true);
}
#endif

// A store with a record of each shape, whose last reading set is the
// arena's last bytes, and a wide set before it. The check takes sixteen
// code points at a time and the rest one by one: a spilled record with the
// wide set is the second of the first sixteen, another spilled record with
// the last set comes after them.
std::string fixtureTables() {
  const std::string cids = "C+1200+1.1.1 V+1201+1.1.1 V+1202+1.1.1";
  std::string strokes;  // one block from the first to the last
  for (std::int32_t cp = 0x4E02; cp < 0x4E10; ++cp) strokes += testsupport::dataLine(cp, "kTotalStrokes", "3");
  UnihanData store;  // of version 2.3, from an image of no block
  (void)store.readUnihanBinaryBuf((std::string(kelvorn::kImageMagic) + std::string("\0\2\0\3\0\0\0", 7)).c_str(), 26);
  store.readUnihanText(testsupport::dataLine(0x4E00, "kRSUnicode", "1.0") +
                       testsupport::dataLine(0x4E00, "kHanYu", "10001.010") +
                       testsupport::dataLine(0x4E01, "kRSVantu_Japan1_6", cids) +
                       testsupport::dataLine(0x4E01, "kMandarin", std::string(300, 'y')) + strokes +
                       testsupport::dataLine(0x4E10, "kRSVantu_Japan1_6", cids) +
                       testsupport::dataLine(0x4E10, "kJapaneseKun", "DERU DASU"));
  return store.tablesBytes({});
}

template <class T>
void put(std::string* bytes, std::size_t at, T value) {
  std::memcpy(&(*bytes)[at], &value, sizeof value);
}
template <class T>
T get(const std::string& bytes, std::size_t at) {
  T value;
  std::memcpy(&value, bytes.data() + at, sizeof value);
  return value;
}

TEST(CoreTables, HostileTablesAreRefused) {
  const std::string good = fixtureTables();
  UnihanData plain;
  ASSERT_EQ(openFrom(&plain, good), "");
  EXPECT_TRUE(plain.versionMajor() == 2 && plain.versionMinor() == 3);
  UnihanData empty, copied;
  EXPECT_EQ(openFrom(&empty, UnihanData().tablesBytes({})), "");  // an arena of the empty set alone
  const std::string shifted = " " + good + " ";  // tables at an odd address are read from an aligned copy
  TablesImageTag tag;
  EXPECT_EQ(copied.openTables(reinterpret_cast<const std::uint8_t*>(shifted.data()) + 1, good.size() + 1, nullptr, &tag), "");
  const auto header = get<tables::Header>(good, 0);
  const auto sectionField = [](std::size_t s, bool length) {
    return offsetof(tables::Header, sections) + s * sizeof(tables::SectionEntry) + (length ? 8 : 0);
  };
  const auto section = [&](std::size_t s) { return header.sections[s]; };
  std::vector<std::pair<std::string, std::string>> cases;  // what, tables
  const auto change = [&](const std::string& what, auto edit) {
    std::string bytes = good;
    edit(&bytes);
    cases.emplace_back(what, bytes);
  };

  cases.emplace_back("header cut short", good.substr(0, sizeof(tables::Header) - 1));
  for (std::size_t s = 0; s < tables::kSectionCount; ++s) {
    if (section(s).length > 0) cases.emplace_back("cut in section", good.substr(0, section(s).offset + section(s).length - 1));
    change("section misaligned", [&](std::string* b) { put(b, sectionField(s, false), section(s).offset + 1); });
    // A byte section may take the padding after it; one of records may not.
    if (s != tables::kSpill && s != tables::kArena) {
      change("section one longer", [&](std::string* b) { put(b, sectionField(s, true), section(s).length + 1); });
    }
    change("section past the end", [&](std::string* b) { put<std::uint64_t>(b, sectionField(s, false), good.size() + 8); });
  }
  change("sections overlap", [&](std::string* b) { put(b, sectionField(tables::kChars, false), section(tables::kBlocks).offset); });
  change("CID table one shorter", [&](std::string* b) { put(b, sectionField(tables::kCids, true), section(tables::kCids).length - 4); });
  change("magic", [](std::string* b) { (*b)[0] = 'X'; });
  change("format version", [](std::string* b) { put<std::uint32_t>(b, offsetof(tables::Header, formatVersion), 2); });
  change("byte order", [](std::string* b) { put<std::uint32_t>(b, offsetof(tables::Header, byteOrder), 0x04030201); });
  change("arena not led by the empty set", [&](std::string* b) { (*b)[section(tables::kArena).offset] = 1; });

  // Each list of the block one past its section.
  const std::size_t block = section(tables::kBlocks).offset;
  const std::size_t counts[] = {offsetof(tables::BlockEntry, charCount), offsetof(tables::BlockEntry, readingCount),
                                offsetof(tables::BlockEntry, hanyuCount)};
  for (std::size_t field : counts) {
    change("block list one past", [&](std::string* b) { put(b, block + field, get<std::uint32_t>(good, block + field) + 1); });
  }
  // Each spilled record (the second and the last) one byte past the spill
  // area, and the last one's count one more.
  const std::size_t spilled = section(tables::kChars).offset + 16 * sizeof(CharRec);
  for (std::size_t rec : {section(tables::kChars).offset + sizeof(CharRec), spilled}) {
    ASSERT_TRUE(get<CharRec>(good, rec).spilled());
    for (const std::size_t back : {8 + 15 - 1, 7}) {  // a value byte past the area, or a count byte
      change("spill offset one past", [&](std::string* b) {
        put(b, rec + offsetof(CharRec, payload), static_cast<std::uint32_t>(section(tables::kSpill).length - back));
      });
    }
  }
  change("spill count one more", [&](std::string* b) {
    const std::size_t cids = section(tables::kSpill).offset + get<std::uint32_t>(good, spilled + offsetof(CharRec, payload)) + 4;
    put(b, cids, get<std::uint32_t>(good, cids) + 1);
  });
  // The last reading set ends the arena: its last string one byte longer,
  // and the wide set's ref moved to where its counts no longer fit.
  const std::size_t arenaEnd = section(tables::kArena).offset + section(tables::kArena).length;
  change("last string one past the arena", [&](std::string* b) { ++(*b)[arenaEnd - 5]; });
  const std::size_t lastRef = section(tables::kReadings).offset + 16 * sizeof(ReadingRef);
  change("last set claims a string more", [&](std::string* b) { ++(*b)[section(tables::kArena).offset + get<ReadingRef>(good, lastRef) + 1]; });
  change("narrow counts one past the arena", [&](std::string* b) { put(b, lastRef, static_cast<ReadingRef>(section(tables::kArena).length - 3)); });
  const std::size_t refs = section(tables::kReadings).offset + sizeof(ReadingRef);
  ASSERT_NE(get<ReadingRef>(good, refs) & kWideReadingBit, 0u);
  change("wide counts one past the arena", [&](std::string* b) {
    put(b, refs, static_cast<ReadingRef>(section(tables::kArena).length - 16 + 1) | kWideReadingBit);
  });
  // The wide set made the last (the last code point's set left empty), its
  // first string reaching three bytes short of the arena's end, where it
  // claims a second string.
  change("wide set's next length cut by the arena's end", [&](std::string* b) {
    const std::size_t set = section(tables::kArena).offset + (get<ReadingRef>(good, refs) & ~kWideReadingBit);
    put(b, set, get<std::uint32_t>(good, set) + 1);
    put(b, set + 16, static_cast<std::uint32_t>(arenaEnd - 3 - (set + 20)));
    put(b, lastRef, kEmptyReadings);
  });
  change("wide string one past the arena", [&](std::string* b) {
    const std::size_t length = section(tables::kArena).offset + (get<ReadingRef>(good, refs) & ~kWideReadingBit) + 16;
    put(b, length, get<std::uint32_t>(good, length) + static_cast<std::uint32_t>(arenaEnd - length - 4 - 300) + 1);
  });

  for (const auto& [what, bytes] : cases) {
    UnihanData store;
    EXPECT_NE(openFrom(&store, bytes), "") << what;
    EXPECT_FALSE(store.valid()) << what;
    EXPECT_EQ(store.totalStrokes(0x4E00), -1) << what;
  }
}

// The largest narrow set, four lists of 255 strings of 255 bytes, as the
// arena's last bytes opens; with the arena one byte shorter, it starts one
// byte too near the end to be walked unchecked, and runs past it.
TEST(CoreTables, LargestNarrowSetEndsTheArena) {
  UnihanData store;
  store.readUnihanText(testsupport::dataLine(0x4E00, "kMandarin", "yi1"));
  const std::string small = store.tablesBytes({});
  const tables::SectionEntry arena = get<tables::Header>(small, 0).sections[tables::kArena];
  const tables::SectionEntry cids = get<tables::Header>(small, 0).sections[tables::kCids];
  ASSERT_EQ(arena.length, kEmptyReadingBytes + 8);  // the set of 0x4E00 at offset 4
  const std::size_t whole = kEmptyReadingBytes + kReadingLists * (1 + 255 * 256);
  const auto withArena = [&](std::size_t length) {
    std::string bytes = small.substr(0, arena.offset + kEmptyReadingBytes);
    bytes.resize(arena.offset + length, '\xFF');  // counts, lengths and bytes of 255 strings
    bytes.resize((bytes.size() + 7) / 8 * 8, '\0');
    const std::size_t sections = offsetof(tables::Header, sections);
    put<std::uint64_t>(&bytes, sections + tables::kArena * sizeof(tables::SectionEntry) + 8, length);
    put<std::uint64_t>(&bytes, sections + tables::kCids * sizeof(tables::SectionEntry), bytes.size());
    return bytes + small.substr(cids.offset, cids.length);
  };
  UnihanData opened;
  EXPECT_EQ(openFrom(&opened, withArena(whole)), "");
  UnihanData refused;
  EXPECT_NE(openFrom(&refused, withArena(whole - 1)), "");
}

}  // namespace

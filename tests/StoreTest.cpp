// White-box checks on stores that no reader builds: what write refuses,
// queries over records whose counts and flags disagree, and the lookup rule
// on block lists of every shape.
#include <random>

#include "TestSupport.h"
#include "query/RecordAccess.h"

using namespace kelvorn_private;
using testsupport::fileExists;
using testsupport::tempPath;

namespace {

// A store with one block for `cp`, whose single record `fill` shapes.
template <class Fill>
void oneRecordStore(UnihanData* store, std::int32_t cp, Fill fill) {
  BlockLoad load(store, BlockLoad::Mode::kAppend);
  UnihanBlock& block = load.addBlock();
  block.first = block.last = cp;
  fill(&load, &block);
  block.hanyu.emplace_back();
}

void plainRecord(BlockLoad* load, UnihanBlock* block) { load->addChar(block, 0, 0, 0, 0, nullptr, 0); }

TEST(Store, WriteRefusesWhatTheImageCannotCarry) {
  const std::vector<std::uint8_t> zeros(2 * 256, 0);
  auto readingsWith = [](int list, std::vector<std::string> strings) {
    return [list, strings](BlockLoad* load, UnihanBlock* block) {
      plainRecord(load, block);
      ReadingLists lists;
      lists[static_cast<std::size_t>(list)] = strings;
      load->addReadings(block, lists);
    };
  };
  std::vector<UnihanData> stores(3);
  oneRecordStore(&stores[0], 0x4E00, readingsWith(1, {std::string(64, 'k')}));
  oneRecordStore(&stores[1], 0x4E00, [&zeros](BlockLoad* load, UnihanBlock* block) {
    load->addChar(block, 0, 1, 256, 0, zeros.data(), zeros.size());
  });
  // One block too many is Image.LargestBlockAndBlockCount's.
  oneRecordStore(&stores[2], 0x4E00, readingsWith(2, std::vector<std::string>(256, "on")));
  for (std::size_t i = 0; i < stores.size(); ++i) {
    const std::string path = tempPath("refused" + std::to_string(i));
    EXPECT_EQ(stores[i].write(path.c_str(), 1), -1) << i;
    EXPECT_FALSE(fileExists(path)) << i;
    std::string image;
    EXPECT_FALSE(stores[i].imageBytes(&image)) << i;
  }
  UnihanData fits;
  oneRecordStore(&fits, 0x4E00, [&zeros](BlockLoad* load, UnihanBlock* block) {
    load->addChar(block, 0, 1, 255, 0, zeros.data(), zeros.size());
    ReadingLists lists;
    lists[1] = {std::string(63, 'k')};
    load->addReadings(block, lists);
  });
  EXPECT_EQ(fits.write(tempPath("fits").c_str(), 1), 0);
}

// The file form reads in chunks and the memory form at once; the lines, and
// so the stores, must be the same wherever a line ends.
TEST(Store, TextFromMemoryBuildsWhatTheFileBuilds) {
  const std::string line = "U+4E00\tkTotalStrokes\t1\n";
  std::string longLine = "U+4E00\tkMandarin\t";
  while (longLine.size() < 600) longLine += "xia ";
  std::string acrossChunks;
  for (int cp = 0x5000; acrossChunks.size() < (1 << 16) + 100; ++cp) {
    acrossChunks += testsupport::dataLine(cp, "kMandarin", "di");
  }
  const std::vector<std::string> texts = {
      "",
      line + "U+4E02\tkTotalStrokes\t4",            // no final line feed
      line + "U+4E02\tkTotalStrokes\t4\r\n",       // CR LF
      longLine + "\n" + line,  // cut to 511 bytes
      line + std::string("U+4E02\0\tkTotalStrokes\t5\n", 24),  // a zero byte ends the line
      acrossChunks + line,
      "\n" + line,  // an empty first line: nothing before the text is read
  };
  for (std::size_t i = 0; i < texts.size(); ++i) {
    UnihanData fromFile;
    UnihanData fromMemory;
    ASSERT_EQ(fromFile.readUnihan(testsupport::testFile("text.txt", texts[i]).c_str()), 0);
    fromMemory.readUnihanText(texts[i]);
    EXPECT_TRUE(fromMemory.valid()) << i;
    EXPECT_EQ(fromMemory.dumpBytes(), fromFile.dumpBytes()) << i;
    std::string fileImage;
    std::string memoryImage;
    ASSERT_TRUE(fromFile.imageBytes(&fileImage) && fromMemory.imageBytes(&memoryImage)) << i;
    EXPECT_EQ(memoryImage, fileImage) << i;
  }
}

TEST(Store, QueriesStayInsideListsThatDisagreeWithFlags) {
  UnihanData store;
  oneRecordStore(&store, 0x4E00, [](BlockLoad* load, UnihanBlock* block) {
    block->last = 0x4E0F;                         // range longer than its lists
    load->addChar(block, 0, 0xFF, 0, 0, nullptr, 0);  // every source claimed, no values
    load->addReadings(block, ReadingLists());
    load->addChar(block, 0, 0, 0, 0, nullptr, 0);     // a second record without readings
  });
  for (int source = 0; source < 6; ++source) {
    for (int k = -1; k < 3; ++k) {
      EXPECT_EQ(store.radix(0x4E00, source, k), -1);
      EXPECT_EQ(store.stroke(0x4E00, source, k), -1);
    }
  }
  EXPECT_EQ(store.radix(0x4E00, 0), -1);  // the preference walk finds nothing either
  EXPECT_EQ(store.stroke(0x4E00, 0), -1);
  EXPECT_EQ(store.totalVantuStrokes(0x4E00, 0), -1);
  EXPECT_EQ(store.getNumVals(0x4E00, kelvorn::kRSUnicode), 2);  // as the flag says
  EXPECT_EQ(store.getNumVals(0x4E05, kelvorn::kMandarin), 0);   // in range, no record
  EXPECT_EQ(store.totalStrokes(0x4E05), -1);
  std::vector<std::string> out;
  EXPECT_TRUE(store.getPronounceData(out, 0x4E05, kelvorn::kMandarin).empty());
  int v, p, pos, virt;
  EXPECT_EQ(store.getkHanYuData(0x4E05, &v, &p, &pos, &virt), -1);
  // Readings shorter than chars: the reading queries find nothing there.
  EXPECT_EQ(store.getNumVals(0x4E01, kelvorn::kJapaneseOn), 0);
  EXPECT_TRUE(store.getPronounceData(out, 0x4E01, kelvorn::kJapaneseOn).empty());
}

// CID entries are read by count, whatever the flag says; only the strokes
// need the flag. Both hold for entries kept inline (one pair and one entry)
// and spilled (three entries), at every index around the count.
TEST(Store, CidEntriesAnswerByCountAndStrokesByFlag) {
  const std::uint8_t inlineBytes[] = {1, 2, 0x34, 0x12, 9, 3, 4};
  const std::uint8_t spilledBytes[] = {0x01, 0, 1, 1, 1, 0x02, 0, 2, 2, 2, 0x03, 0, 3, 3, 3};
  for (const std::uint8_t flags : {std::uint8_t{0}, std::uint8_t{kFlagCids}}) {
    UnihanData store;
    oneRecordStore(&store, 0x4E00, [&](BlockLoad* load, UnihanBlock* block) {
      block->last = 0x4E01;
      load->addChar(block, 0, flags, 1, 1, inlineBytes, sizeof inlineBytes);
      load->addChar(block, 0, flags, 0, 3, spilledBytes, sizeof spilledBytes);
    });
    const bool flagged = flags != 0;
    EXPECT_EQ(store.getVantuCID(0x4E00, 0), 0x1234);
    EXPECT_EQ(store.totalVantuStrokes(0x4E00, 0), flagged ? 7 : -1);
    EXPECT_EQ(Record(store, 0x4E00).vantuStrokes(0) + Record(store, 0x4E01).vantuStrokes(2), flagged ? 13 : -2);
    for (const std::int32_t cp : {0x4E00, 0x4E01}) {
      for (const int k : {-1, INT32_MIN}) {
        EXPECT_EQ(store.getVantuCID(cp, k), -1);
        EXPECT_EQ(store.totalVantuStrokes(cp, k), -1);
      }
    }
    EXPECT_EQ(store.getVantuCID(0x4E00, 1), -1);
    EXPECT_EQ(store.totalVantuStrokes(0x4E00, 1), -1);
    for (int k = 0; k < 3; ++k) {
      EXPECT_EQ(store.getVantuCID(0x4E01, k), k + 1);
      EXPECT_EQ(store.totalVantuStrokes(0x4E01, k), flagged ? 2 * (k + 1) : -1);
    }
    EXPECT_EQ(store.getVantuCID(0x4E01, 3), -1);
    EXPECT_EQ(store.totalVantuStrokes(0x4E01, 3), -1);
  }
}

// The first enclosing block in list order: the rule the index must keep.
const UnihanBlock* firstEnclosing(const std::vector<UnihanBlock>& blocks, std::int32_t cp) {
  for (const UnihanBlock& block : blocks) {
    if (block.first <= cp && cp <= block.last) return &block;
  }
  return nullptr;
}

std::vector<UnihanBlock> blocksOf(const std::vector<std::pair<std::int32_t, std::int32_t>>& layout) {
  std::vector<UnihanBlock> blocks(layout.size());
  for (std::size_t i = 0; i < layout.size(); ++i) {
    blocks[i].first = layout[i].first;
    blocks[i].last = layout[i].second;
  }
  return blocks;
}

void expectFirstEnclosing(const std::vector<UnihanBlock>& blocks, const std::vector<std::int32_t>& probes) {
  SegmentIndex index;
  index.build(blocks);
  for (const std::int32_t cp : probes) {
    const SegmentIndex::Segment* segment = index.find(cp);
    ASSERT_EQ(segment == nullptr ? nullptr : segment->block, firstEnclosing(blocks, cp)) << std::hex << cp;
  }
}

TEST(Store, LookupKeepsTheFirstEnclosingBlock) {
  const std::vector<std::vector<std::pair<std::int32_t, std::int32_t>>> layouts = {
      {{0x4E00, 0x4E05}, {0x4E07, 0x4FFF}, {0x5000, 0x5000}, {0x20000, 0x2A6DF}},  // sorted
      {{0x4E07, 0x4E10}, {0x4E00, 0x4E05}},                                        // unsorted
      {{0x4E00, 0x4E10}, {0x4E05, 0x4E20}, {0x4E00, 0x4E30}},                      // overlapping
      {{0x4E10, 0x4E00}, {0x4E00, 0x4E00}},                                        // first > last
      {{-3, 2}, {0x10FFFF, 0x7FFFFFFF}, {INT32_MIN, -2}}};                         // outside
  for (const auto& layout : layouts) {
    std::vector<std::int32_t> probes = {0, 0x4E06, 0x10FFFF, 0x110000, INT32_MIN, INT32_MAX};
    for (const auto& [first, last] : layout) {
      for (const std::int64_t cp : {std::int64_t{first} - 1, std::int64_t{first}, std::int64_t{first} + 1,
                                    std::int64_t{last} - 1, std::int64_t{last}, std::int64_t{last} + 1}) {
        if (cp >= INT32_MIN && cp <= INT32_MAX) probes.push_back(static_cast<std::int32_t>(cp));
      }
    }
    expectFirstEnclosing(blocksOf(layout), probes);
  }
}

// Many small blocks, overlapping or not, crowded into a few pages, against
// the walk over the list.
TEST(Store, LookupMatchesTheWalkOnCrowdedPages) {
  std::mt19937 random(12345);
  std::vector<std::int32_t> probes;
  for (std::int32_t cp = 0x3F00; cp < 0x4300; ++cp) probes.push_back(cp);
  for (const int maxLength : {1, 4, 300}) {
    std::vector<std::pair<std::int32_t, std::int32_t>> layout;
    for (int i = 0; i < 2000; ++i) {
      const auto first = static_cast<std::int32_t>(0x4000 + random() % 0x200);
      layout.emplace_back(first, first + static_cast<std::int32_t>(random() % static_cast<unsigned>(maxLength)));
    }
    expectFirstEnclosing(blocksOf(layout), probes);
  }
}

// Past 65,535 blocks, more than a 16-bit position holds, every block and
// every gap between them still answers.
TEST(Store, LookupOverSeventyThousandBlocks) {
  constexpr int kBlocks = 70000;
  constexpr int kBase = 0x20000;
  auto strokesOf = [](int i) { return i % 250 + 1; };
  std::string text;
  for (int i = 0; i < kBlocks; ++i) {
    text += testsupport::dataLine(kBase + 2 * i, "kTotalStrokes", std::to_string(strokesOf(i)));
  }
  UnihanData store;
  store.readUnihanText(text);
  for (int i = 0; i < kBlocks; ++i) {
    ASSERT_EQ(store.totalStrokes(kBase + 2 * i), strokesOf(i)) << i;
    ASSERT_EQ(store.totalStrokes(kBase + 2 * i + 1), -1) << i;
  }
  EXPECT_EQ(store.totalStrokes(kBase - 1), -1);
  EXPECT_EQ(store.totalStrokes(0x10FFFF), -1);
}

}  // namespace

// White-box checks on stores that no reader builds: what write refuses, and
// queries over records whose counts and flags disagree.
#include "TestSupport.h"
#include "store/UnihanData.h"

using namespace kelvorn_private;
using testsupport::fileExists;
using testsupport::tempPath;

namespace {

UnihanBlock oneRecordBlock(std::int32_t cp) {
  UnihanBlock block;
  block.first = block.last = cp;
  block.chars.emplace_back();
  block.readings.emplace_back();
  block.hanyu.emplace_back();
  return block;
}

TEST(Store, WriteRefusesWhatTheImageCannotCarry) {
  std::vector<UnihanData> stores(4);
  stores[0].blocks.push_back(oneRecordBlock(0x4E00));
  stores[0].blocks[0].readings[0].kun.push_back(std::string(64, 'k'));
  stores[1].blocks.push_back(oneRecordBlock(0x4E00));
  stores[1].blocks[0].chars[0].rs.resize(256);
  stores[2].blocks.resize(32768);
  stores[3].blocks.push_back(oneRecordBlock(0x4E00));
  stores[3].blocks[0].readings[0].on.resize(256);
  for (std::size_t i = 0; i < stores.size(); ++i) {
    const std::string path = tempPath("refused" + std::to_string(i));
    EXPECT_EQ(stores[i].write(path.c_str(), 1), -1) << i;
    EXPECT_FALSE(fileExists(path)) << i;
  }
  UnihanData fits;
  fits.blocks.push_back(oneRecordBlock(0x4E00));
  fits.blocks[0].readings[0].kun.push_back(std::string(63, 'k'));
  fits.blocks[0].chars[0].rs.resize(255);
  EXPECT_EQ(fits.write(tempPath("fits").c_str(), 1), 0);
}

TEST(Store, QueriesStayInsideListsThatDisagreeWithFlags) {
  UnihanData store;
  UnihanBlock block = oneRecordBlock(0x4E00);
  block.last = 0x4E0F;                    // range longer than its lists
  block.chars[0].flags = 0xFF;            // every source claimed, no values
  store.blocks.push_back(block);
  for (int source = 0; source < 6; ++source) {
    for (int k = -1; k < 3; ++k) {
      EXPECT_EQ(store.radix(0x4E00, source, k), -1);
      EXPECT_EQ(store.stroke(0x4E00, source, k), -1);
    }
  }
  EXPECT_EQ(store.totalVantuStrokes(0x4E00, 0), -1);
  EXPECT_EQ(store.getNumVals(0x4E00, kelvorn::kRSUnicode), 2);  // as the flag says
  EXPECT_EQ(store.getNumVals(0x4E05, kelvorn::kMandarin), 0);   // in range, no record
  EXPECT_EQ(store.totalStrokes(0x4E05), -1);
  std::vector<std::string> out;
  EXPECT_TRUE(store.getPronounceData(out, 0x4E05, kelvorn::kMandarin).empty());
  int v, p, pos, virt;
  EXPECT_EQ(store.getkHanYuData(0x4E05, &v, &p, &pos, &virt), -1);

  // Readings shorter than chars: the reading queries find nothing there.
  store.blocks[0].chars.resize(2);
  EXPECT_EQ(store.getNumVals(0x4E01, kelvorn::kJapaneseOn), 0);
  EXPECT_TRUE(store.getPronounceData(out, 0x4E01, kelvorn::kJapaneseOn).empty());
}

// The first enclosing block in list order, the rule the index must keep.
const UnihanBlock* firstEnclosing(const UnihanData& store, std::int32_t cp) {
  for (const UnihanBlock& block : store.blocks) {
    if (block.first <= cp && cp <= block.last) return &block;
  }
  return nullptr;
}

TEST(Store, IndexedLookupKeepsTheFirstEnclosingBlock) {
  const std::vector<std::vector<std::pair<int, int>>> layouts = {
      {{0x4E00, 0x4E05}, {0x4E07, 0x4FFF}, {0x5000, 0x5000}, {0x20000, 0x2A6DF}},  // sorted
      {{0x4E07, 0x4E10}, {0x4E00, 0x4E05}},                                        // unsorted
      {{0x4E00, 0x4E10}, {0x4E05, 0x4E20}},                                        // overlapping
      {{-3, 2}, {0x10FFFF, 0x7FFFFFF0}}};                                          // outside
  for (const auto& layout : layouts) {
    UnihanData store;
    for (const auto& [first, last] : layout) store.blocks.push_back(oneRecordBlock(first));
    for (std::size_t i = 0; i < layout.size(); ++i) store.blocks[i].last = layout[i].second;
    store.indexBlocks();
    for (const auto& [first, last] : layout) {
      for (std::int32_t cp : {first - 1, first, first + 1, last - 1, last, last + 1, 0x4E06, 0x10FFFF}) {
        EXPECT_EQ(store.locate(cp).block, firstEnclosing(store, cp)) << std::hex << cp;
      }
    }
  }
}

}  // namespace

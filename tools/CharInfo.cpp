#include "CharInfo.h"

#include "FieldNames.h"

namespace unihan_tool {
namespace {

using kelvorn::unihanPropT;

constexpr unihanPropT kPairSources[] = {kelvorn::kRSUnicode, kelvorn::kRSKangXi, kelvorn::kRSKanWa,
                                        kelvorn::kRSKorean, kelvorn::kRSJapanese};

// The radical-stroke pairs of the five plain sources; kRSUnicode may carry a
// second value.
void addPairs(kelvorn::UnihanMgr& mgr, int cp, CharInfo* info) {
  for (const unihanPropT source : kPairSources) {
    const int values = source == kelvorn::kRSUnicode ? 2 : 1;
    for (int k = 0; k < values; ++k) {
      const int radical = mgr.radix(cp, source, k);
      if (radical == -1) continue;
      RadStroke row;
      row.source = fieldName(source);
      row.radical = radical;
      row.residual = mgr.stroke(cp, source, k);
      info->radStrokes.push_back(row);
    }
  }
}

// kRSVantu_Japan1_6 gives the radical, the strokes of its form and the CID
// glyph's total, so the residual is the total less the form.
void addVantu(kelvorn::UnihanMgr& mgr, int cp, CharInfo* info) {
  const int values = mgr.getNumVals(cp, kelvorn::kRSVantu_Japan1_6);
  for (int k = 0; k < values; ++k) {
    const int total = mgr.totalVantuStrokes(cp, k);
    RadStroke row;
    row.source = fieldName(kelvorn::kRSVantu_Japan1_6);
    row.radical = mgr.radix(cp, kelvorn::kRSVantu_Japan1_6, k);
    row.radicalFormStrokes = mgr.stroke(cp, kelvorn::kRSVantu_Japan1_6, k);
    row.residual = total < 0 || row.radicalFormStrokes < 0 ? -1 : total - row.radicalFormStrokes;
    info->radStrokes.push_back(row);
    info->cids.push_back({mgr.getVantuCID(cp, k), total});
  }
}

std::vector<std::string> readings(kelvorn::UnihanMgr& mgr, int cp, unihanPropT prop) {
  std::vector<std::string> out;
  return mgr.getPronounceData(out, cp, prop);
}

HanYuPosition hanYu(kelvorn::UnihanMgr& mgr, std::uint32_t cp) {
  HanYuPosition pos;
  const bool answered =
      mgr.getkHanYuData(cp, &pos.volume, &pos.page, &pos.position, &pos.virtualFlag) == 0;
  // A code point without a kHanYu value answers with zeros; no volume or page
  // of the dictionary is numbered 0.
  pos.present = answered && (pos.volume != 0 || pos.page != 0);
  return pos;
}

}  // namespace

CharInfo lookUp(kelvorn::UnihanMgr& mgr, std::uint32_t codePoint) {
  CharInfo info;
  info.codePoint = codePoint;
  const int cp = static_cast<int>(codePoint);
  info.known = mgr.getNumVals(cp, kelvorn::kMandarin) != -1;
  if (!info.known) return info;
  addPairs(mgr, cp, &info);
  addVantu(mgr, cp, &info);
  info.preferredRadical = mgr.radix(cp, 0);
  info.preferredStrokes = mgr.stroke(cp, 0);
  info.totalStrokes = mgr.totalStrokes(cp);
  info.mandarin = readings(mgr, cp, kelvorn::kMandarin);
  info.hanyuPinlu = readings(mgr, cp, kelvorn::kHanyuPinlu);
  info.japaneseKun = readings(mgr, cp, kelvorn::kJapaneseKun);
  info.japaneseOn = readings(mgr, cp, kelvorn::kJapaneseOn);
  info.hanYu = hanYu(mgr, codePoint);
  return info;
}

}  // namespace unihan_tool

#include "CharInfo.h"

namespace unihan_tool {
namespace {

using kelvorn::Source;

void addRadicalStrokes(const kelvorn::Unihan& unihan, char32_t cp, CharInfo* info) {
  for (const Source source : kelvorn::kSources) {
    if (source == Source::kRSVantu_Japan1_6) continue;
    for (const kelvorn::RadicalStroke& value : unihan.radicalStrokes(cp, source)) {
      info->radStrokes.push_back({kelvorn::fieldName(source), value.radical, value.residual, {}});
    }
  }
  // kRSVantu_Japan1_6 gives the radical, the strokes of its form and the CID
  // glyph's total, so the residual is the total less the form.
  for (const kelvorn::Cid& cid : info->cids) {
    info->radStrokes.push_back({kelvorn::fieldName(Source::kRSVantu_Japan1_6), cid.radical,
                                cid.glyphStrokes - cid.radicalFormStrokes,
                                cid.radicalFormStrokes});
  }
}

void addPreferred(const kelvorn::Unihan& unihan, char32_t cp, CharInfo* info) {
  const auto preferred = unihan.preferredRadicalStroke(cp);
  if (!preferred) return;
  info->preferredSource = std::string(kelvorn::fieldName(preferred->source));
  info->preferredRadical = preferred->value.radical;
  info->preferredResidual = preferred->value.residual;
}

}  // namespace

CharInfo lookUp(const kelvorn::Unihan& unihan, char32_t codePoint) {
  CharInfo info;
  info.codePoint = codePoint;
  info.known = unihan.contains(codePoint);
  if (!info.known) return info;
  info.cids = unihan.cids(codePoint);
  addRadicalStrokes(unihan, codePoint, &info);
  addPreferred(unihan, codePoint, &info);
  info.totalStrokes = unihan.totalStrokes(codePoint);
  info.mandarin = unihan.readings(codePoint, kelvorn::Reading::kMandarin);
  info.hanyuPinlu = unihan.readings(codePoint, kelvorn::Reading::kHanyuPinlu);
  info.japaneseKun = unihan.readings(codePoint, kelvorn::Reading::kJapaneseKun);
  info.japaneseOn = unihan.readings(codePoint, kelvorn::Reading::kJapaneseOn);
  info.hanYu = unihan.hanYu(codePoint);
  return info;
}

}  // namespace unihan_tool

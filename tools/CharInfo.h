// Everything the library answers about one code point, gathered once so that
// the text table and the JSON show the same facts.
#ifndef KELVORN_TOOLS_CHARINFO_H
#define KELVORN_TOOLS_CHARINFO_H

#include <cstdint>
#include <string>
#include <vector>

#include "kelvorn/UnihanMgr.h"

namespace unihan_tool {

struct RadStroke {
  std::string source;  // the field name, e.g. "kRSUnicode"
  int radical = -1;
  int residual = -1;
  // Only for kRSVantu_Japan1_6: strokes of the radical's form; -1 otherwise.
  int radicalFormStrokes = -1;
};

struct CidGlyph {
  int cid = -1;
  int strokes = -1;  // strokes of the CID's glyph
};

struct HanYuPosition {
  bool present = false;
  int volume = 0, page = 0, position = 0, virtualFlag = 0;
};

struct CharInfo {
  std::uint32_t codePoint = 0;
  bool known = false;  // false: no block of the data holds the code point
  std::vector<RadStroke> radStrokes;
  int preferredRadical = -1;
  int preferredStrokes = -1;
  int totalStrokes = -1;
  std::vector<CidGlyph> cids;
  std::vector<std::string> mandarin, hanyuPinlu, japaneseKun, japaneseOn;
  HanYuPosition hanYu;
};

CharInfo lookUp(kelvorn::UnihanMgr& mgr, std::uint32_t codePoint);

}  // namespace unihan_tool

#endif  // KELVORN_TOOLS_CHARINFO_H

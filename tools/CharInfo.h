// Everything the library answers about one code point, gathered once so that
// the text table and the JSON show the same facts.
#ifndef KELVORN_TOOLS_CHARINFO_H
#define KELVORN_TOOLS_CHARINFO_H

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kelvorn/Unihan.h"

namespace unihan_tool {

struct RadStroke {
  std::string_view source;  // the field name, e.g. "kRSUnicode"
  int radical = 0;
  int residual = 0;  // signed as the data writes it
  // Only for kRSVantu_Japan1_6: strokes of the radical's form.
  std::optional<int> radicalFormStrokes;
};

struct CharInfo {
  char32_t codePoint = 0;
  bool known = false;  // false: no block of the data holds the code point
  std::vector<RadStroke> radStrokes;
  // The first source in preference order that has a value, as
  // Unihan::preferredRadicalStroke answers it: the source, its radical and
  // its residual.
  std::string preferredSource;
  std::optional<int> preferredRadical;
  std::optional<int> preferredResidual;
  std::optional<int> totalStrokes;
  std::vector<kelvorn::Cid> cids;
  std::vector<std::string> mandarin, hanyuPinlu, japaneseKun, japaneseOn;
  std::optional<kelvorn::HanYuPosition> hanYu;
};

CharInfo lookUp(const kelvorn::Unihan& unihan, char32_t codePoint);

}  // namespace unihan_tool

#endif  // KELVORN_TOOLS_CHARINFO_H

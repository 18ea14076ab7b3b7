// A program as a packager's user writes it, against the installed files
// alone, through the one header and the one module of the application API:
// the core's answer, the saved index's and the all-field image's, all from
// the bundled data.
#include <kelvorn/Unihan.h>

#include <cstdio>
#include <string>

int main() {
  const kelvorn::Unihan unihan = kelvorn::Unihan::bundled();
  const auto rs = unihan.radicalStroke(U'漢', kelvorn::Source::kRSUnicode);
  int unstroked = 0;
  for (const kelvorn::RadicalEntry& e : unihan.index().byRadical(85)) unstroked += e.residual == 0;
  std::printf("U+6F22 radical %d +%d; radical 85 +0: %d; kCangjie %s\n", rs ? rs->radical : 0,
              rs ? rs->residual : 0, unstroked,
              std::string(unihan.field(U'漢', "kCangjie").value_or("?")).c_str());
  return 0;
}

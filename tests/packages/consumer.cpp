// A program as a packager's user writes it, against the installed files
// alone: the bundled image through the application API, the index over it,
// and the all-field image from the installed data directory: the one CMake's
// package names, or the one given on the command line (pkg-config's).
#include <kelvorn/Unihan.h>
#include <kelvorn/UnihanFields.h>
#include <kelvorn/UnihanIndex.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
#ifdef KELVORN_UNIHAN_DATA_DIR
  const std::string dir = argc > 1 ? argv[1] : KELVORN_UNIHAN_DATA_DIR;
#else
  if (argc != 2) {
    std::fprintf(stderr, "usage: consumer DATA_DIR\n");
    return 2;
  }
  const std::string dir = argv[1];
#endif
  const kelvorn::Unihan unihan = kelvorn::Unihan::bundled();
  const auto rs = unihan.radicalStroke(U'漢', kelvorn::Source::kRSUnicode);
  const kelvorn::UnihanMgr core = unihan.core();
  const kelvorn::UnihanIndex index(core);
  int unstroked = 0;
  for (const kelvorn::RadicalEntry& e : index.byRadical(85)) unstroked += e.residual == 0 ? 1 : 0;
  const kelvorn::UnihanFields fields =
      kelvorn::UnihanFields::open(dir + "/unihan-fields-" +
                                  std::string(kelvorn::Unihan::bundledUnicodeVersion()) + ".bin");
  std::printf("U+6F22 radical %d +%d; radical 85 +0: %d; kCangjie %s\n", rs ? rs->radical : 0,
              rs ? rs->residual : 0, unstroked,
              std::string(fields.value(0x6F22, "kCangjie").value_or("?")).c_str());
  return 0;
}

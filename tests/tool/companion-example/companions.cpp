// Prints the code points of radical 85 with no residual strokes, from the
// core image named first, and the kCangjie value of U+6F22 from the
// all-field image named second.
#include <cstdio>
#include <string>

#include "kelvorn/UnihanFields.h"
#include "kelvorn/UnihanIndex.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  kelvorn::UnihanMgr unihan;
  std::string path = argv[1];
  if (unihan.readUnihanBinary(path.data()) != 0) return 1;
  const kelvorn::UnihanIndex index(unihan);
  std::string line = "85 +0:";
  for (const kelvorn::RadicalEntry& e : index.byRadical(85)) {
    if (e.residual != 0) continue;
    char label[16];
    (void)std::snprintf(label, sizeof label, " U+%04X", static_cast<unsigned>(e.codePoint));
    line += label;
  }
  const auto fields = kelvorn::UnihanFields::open(argv[2], kelvorn::FieldsCheck::kChecksum);
  line += "; " + std::string(fields.unicodeVersion()) + " " +
          std::string(fields.value(0x6F22, "kCangjie").value_or("?"));
  std::puts(line.c_str());
  return 0;
}

// The typical road: load the bundled image once, then ask about a character.
#include <kelvorn/UnihanMgr.h>

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#ifndef KELVORN_UNIHAN_IMAGE
#define KELVORN_UNIHAN_IMAGE "unihan-15.0.bin"
#endif

int main(int argc, char** argv) {
  const std::string path = argc > 1 ? argv[1] : KELVORN_UNIHAN_IMAGE;
  std::ifstream in(path, std::ios::binary);
  std::vector<char> image{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  kelvorn::UnihanMgr unihan;
  const auto size = static_cast<unsigned int>(image.size());
  if (size == 0 || unihan.readUnihanBinaryBuf(image.data(), size) != static_cast<int>(size)) {
    std::cerr << "cannot load the image " << path << "\n";
    return 1;
  }
  const int han = 0x6F22;  // 漢
  std::vector<std::string> readings;
  for (kelvorn::unihanPropT prop : {kelvorn::kMandarin, kelvorn::kJapaneseKun, kelvorn::kJapaneseOn})
    unihan.getPronounceData(readings, han, prop);
  std::cout << "U+6F22 radical " << unihan.radix(han, kelvorn::kRSUnicode, 0) << " + "
            << unihan.stroke(han, kelvorn::kRSUnicode, 0) << ", total strokes "
            << unihan.totalStrokes(han) << ", CID " << unihan.getVantuCID(han, 0) << ", readings";
  for (const std::string& r : readings) std::cout << ' ' << r;
  std::cout << '\n';
}

// The typical road: load the bundled image once, then ask about a character.
#include <kelvorn/UnihanImage.h>
#include <kelvorn/UnihanMgr.h>

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

// A buffer loads when the library answers its length; a header cut short is
// answered with its own length too, so the size is checked first.
bool loadImage(kelvorn::UnihanMgr& unihan, std::vector<char>& image) {
  const auto size = static_cast<unsigned int>(image.size());
  return image.size() >= kelvorn::kImageHeaderLength &&
         unihan.readUnihanBinaryBuf(image.data(), size) == static_cast<int>(size);
}

int main(int argc, char** argv) {
#ifdef KELVORN_UNIHAN_IMAGE
  const std::string path = argc > 1 ? argv[1] : KELVORN_UNIHAN_IMAGE;
#else
  if (argc < 2) {
    std::cerr << "usage: typical_road IMAGE\n";
    return 2;
  }
  const std::string path = argv[1];
#endif
  std::ifstream in(path, std::ios::binary);
  std::vector<char> image{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  kelvorn::UnihanMgr unihan;
  if (!loadImage(unihan, image)) {
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

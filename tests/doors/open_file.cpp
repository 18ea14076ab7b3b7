// The C++ door of the hostile-file test: opens a file as a core image or
// Unihan text (`core PATH`) or as an all-field image (`fields PATH`) the way
// a program that was handed the file would, asks one question, and prints
// the answer, or the reason the file was refused, on one line.
#include <cstdio>
#include <cstring>
#include <string>

#include "kelvorn/Unihan.h"
#include "kelvorn/UnihanFields.h"

namespace {

int answer(const std::string& line) {
  (void)std::printf("%s\n", line.c_str());
  return 0;
}

int refuse(const char* reason) {
  (void)std::printf("refused: %s\n", reason);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    (void)std::fprintf(stderr, "usage: open_file core|fields PATH\n");
    return 2;
  }
  const std::string path = argv[2];
  try {
    if (std::strcmp(argv[1], "core") == 0) {
      const kelvorn::Unihan unihan = kelvorn::Unihan::open(path);
      return answer(std::to_string(unihan.totalStrokes(U'漢').value_or(0)));
    }
    const kelvorn::UnihanFields fields =
        kelvorn::UnihanFields::open(path, kelvorn::FieldsCheck::kChecksum);
    return answer(std::string(fields.value(U'漢', "kDefinition").value_or("")));
  } catch (const kelvorn::Error& e) {
    return refuse(e.what());
  }
}

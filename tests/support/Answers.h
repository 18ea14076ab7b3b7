// Every answer the library gives about one code point, so that two stores
// (one loaded from text, one from its image, say) can be compared code point
// by code point without restating what each query means.
#ifndef KELVORN_TESTS_SUPPORT_ANSWERS_H
#define KELVORN_TESTS_SUPPORT_ANSWERS_H

#include <string>
#include <vector>

#include "kelvorn/UnihanMgr.h"

namespace testsupport {

// Calls number(int) with the answer of every per-code-point query, for
// every source, property and value index from -1 to 2, and text(string)
// with every reading string, each reading list closed by its count. Store
// is a kelvorn::UnihanMgr, or any store with the same query members (the
// fuzz targets ask the library's internal store directly).
template <class Store, class Number, class Text>
void forEachAnswer(Store& store, int cp, Number&& number, Text&& text) {
  using kelvorn::unihanPropT;
  for (int source = kelvorn::kRSUnicode; source <= kelvorn::kRSVantu_Japan1_6; ++source) {
    for (int k = -1; k < 3; ++k) {
      number(store.radix(cp, static_cast<unihanPropT>(source), k));
      number(store.stroke(cp, static_cast<unihanPropT>(source), k));
    }
  }
  for (int k = -1; k < 3; ++k) {
    number(store.radix(cp, k));
    number(store.stroke(cp, k));
    number(store.getVantuCID(cp, k));
    number(store.totalVantuStrokes(cp, k));
  }
  number(store.totalStrokes(cp));
  for (int prop = kelvorn::kRSUnicode; prop <= kelvorn::kHanYu; ++prop) {
    number(store.getNumVals(cp, static_cast<unihanPropT>(prop)));
  }
  for (int prop = kelvorn::kHanyuPinlu; prop <= kelvorn::kMandarin; ++prop) {
    std::vector<std::string> readings;
    store.getPronounceData(readings, cp, static_cast<unihanPropT>(prop));
    for (const std::string& r : readings) text(r);
    number(static_cast<int>(readings.size()));
  }
  int volume = -1, page = -1, position = -1, virtualFlag = -1;
  number(store.getkHanYuData(static_cast<unsigned int>(cp), &volume, &page, &position, &virtualFlag));
  number(volume), number(page), number(position), number(virtualFlag);
}

// The answers as one printable string, for test messages.
template <class Store>
std::string describe(Store& store, int cp) {
  std::string s;
  forEachAnswer(
      store, cp, [&s](int v) { s += std::to_string(v) + ','; },
      [&s](const std::string& r) { s += r + ' '; });
  return s;
}

}  // namespace testsupport

#endif  // KELVORN_TESTS_SUPPORT_ANSWERS_H

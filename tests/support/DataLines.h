// Walking the data lines of a Unihan text, as the tests read the bundled
// text for the answers they expect.
#ifndef KELVORN_TESTS_SUPPORT_DATALINES_H
#define KELVORN_TESTS_SUPPORT_DATALINES_H

#include <cstddef>
#include <string>
#include <string_view>

namespace testsupport {

// Every data line "U+XXXX<TAB>field<TAB>value" of the text, visited in order.
template <class Visit>
std::size_t forEachDataLine(const std::string& text, Visit&& visit) {
  std::size_t lines = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    const std::string_view line(text.data() + at, end - at);
    at = end + 1;
    if (line.rfind("U+", 0) != 0) continue;
    const std::size_t tab1 = line.find('\t');
    const std::size_t tab2 = line.find('\t', tab1 + 1);
    const auto cp = static_cast<char32_t>(std::stoul(std::string(line.substr(2, tab1 - 2)), nullptr, 16));
    visit(cp, line.substr(tab1 + 1, tab2 - tab1 - 1), line.substr(tab2 + 1));
    ++lines;
  }
  return lines;
}

}  // namespace testsupport

#endif  // KELVORN_TESTS_SUPPORT_DATALINES_H

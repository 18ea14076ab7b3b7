#include "fields/SearchRank.h"

#include <algorithm>
#include <string_view>
#include <tuple>

#include "text/RadicalStrokeGrammar.h"

namespace kelvorn_fields_private {
namespace {

// Every count of a kHanyuPinlu value, "hé(9513) hè(1)" -> 9514. Digits
// outside parentheses are not counts and are passed over.
unsigned long pinluTotal(std::string_view value) {
  unsigned long total = 0;
  unsigned long count = 0;
  bool inCount = false;
  for (const char c : value) {
    if (c == '(') {
      inCount = true;
      count = 0;
    } else if (c == ')' && inCount) {
      total += count;
      inCount = false;
    } else if (inCount && c >= '0' && c <= '9' && count < 100000000UL) {
      count = count * 10 + static_cast<unsigned long>(c - '0');
    }
  }
  return total;
}

bool inMainBlock(char32_t cp) {
  static constexpr char32_t kUnifiedCompatibility[] = {0xFA0E, 0xFA0F, 0xFA11, 0xFA13, 0xFA14,
                                                       0xFA1F, 0xFA21, 0xFA23, 0xFA24, 0xFA27,
                                                       0xFA28, 0xFA29};
  return (cp >= 0x4E00 && cp <= 0x9FFF) ||
         std::find(std::begin(kUnifiedCompatibility), std::end(kUnifiedCompatibility), cp) !=
             std::end(kUnifiedCompatibility);
}

struct Place {
  int group;              // 0: counted, 1: in the core set, 2: the rest
  unsigned long count;    // kHanyuPinlu's total (group 0); regions (group 1)
  int noValue;            // 1 without a kRSUnicode value: after all with one
  int radical;
  int marks;
  int residual;
  int otherBlock;
  char32_t codePoint;

  auto tied() const {
    return std::tie(group, noValue, radical, marks, residual, otherBlock, codePoint);
  }
};

bool operator<(const Place& a, const Place& b) {
  if (a.group != b.group) return a.group < b.group;
  if (a.count != b.count) return a.count > b.count;
  return a.tied() < b.tied();
}

// The first piece of kRSUnicode in the strict form the orders use; a
// negative residual ranks as none.
bool readRSUnicode(std::string_view value, Place* place) {
  kelvorn_private::StrictRadicalStroke read;
  if (!kelvorn_private::readStrictRadicalStroke(value, &read)) return false;
  place->radical = read.radical;
  place->marks = read.marks;
  place->residual = read.residual < 0 ? 0 : read.residual;
  return true;
}

}  // namespace

std::vector<char32_t> searchOrder(const kelvorn::UnihanFields& fields,
                                  std::vector<char32_t> characters) {
  const std::optional<std::size_t> pinlu = fields.fieldIndex("kHanyuPinlu");
  const std::optional<std::size_t> core = fields.fieldIndex("kUnihanCore2020");
  const std::optional<std::size_t> rs = fields.fieldIndex("kRSUnicode");
  std::vector<Place> places;
  places.reserve(characters.size());
  for (const char32_t cp : characters) {
    Place p{2, 0, 1, 0, 0, 0, inMainBlock(cp) ? 0 : 1, cp};
    if (pinlu) p.count = pinluTotal(fields.valueAt(cp, *pinlu).value_or(""));
    if (p.count > 0) {
      p.group = 0;
    } else if (const std::optional<std::string_view> regions =
                   core ? fields.valueAt(cp, *core) : std::nullopt) {
      p.group = 1;
      p.count = regions->size();
    }
    const std::string_view first = rs ? fields.valueAt(cp, *rs).value_or("") : "";
    if (readRSUnicode(first.substr(0, first.find(' ')), &p)) p.noValue = 0;
    places.push_back(p);
  }
  std::sort(places.begin(), places.end());
  for (std::size_t i = 0; i < places.size(); ++i) characters[i] = places[i].codePoint;
  return characters;
}

}  // namespace kelvorn_fields_private

#include "index/ReadingFold.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "kelvorn/Utf8.h"

namespace kelvorn_index_private {
namespace {

// A pinyin letter with a tone mark or a diaeresis, upper or lower case, and
// what it folds to: its base letter (lower case; ü is "v") and its tone
// (0 for a letter that carries none).
struct MarkedLetter {
  char32_t codePoint;
  int tone;
  const char* base;
};

constexpr MarkedLetter kMarkedLetters[] = {
    {0x00C0, 4, "a"}, {0x00C1, 2, "a"}, {0x00C8, 4, "e"}, {0x00C9, 2, "e"},
    {0x00CA, 0, "\xC3\xAA"}, {0x00CC, 4, "i"}, {0x00CD, 2, "i"}, {0x00D2, 4, "o"},
    {0x00D3, 2, "o"}, {0x00D9, 4, "u"}, {0x00DA, 2, "u"}, {0x00DC, 0, "v"},
    {0x00E0, 4, "a"}, {0x00E1, 2, "a"}, {0x00E8, 4, "e"}, {0x00E9, 2, "e"},
    {0x00EA, 0, "\xC3\xAA"}, {0x00EC, 4, "i"}, {0x00ED, 2, "i"}, {0x00F2, 4, "o"},
    {0x00F3, 2, "o"}, {0x00F9, 4, "u"}, {0x00FA, 2, "u"}, {0x00FC, 0, "v"},
    {0x0100, 1, "a"}, {0x0101, 1, "a"}, {0x0112, 1, "e"}, {0x0113, 1, "e"},
    {0x011A, 3, "e"}, {0x011B, 3, "e"}, {0x012A, 1, "i"}, {0x012B, 1, "i"},
    {0x0143, 2, "n"}, {0x0144, 2, "n"}, {0x0147, 3, "n"}, {0x0148, 3, "n"},
    {0x014C, 1, "o"}, {0x014D, 1, "o"}, {0x016A, 1, "u"}, {0x016B, 1, "u"},
    {0x01CD, 3, "a"}, {0x01CE, 3, "a"}, {0x01CF, 3, "i"}, {0x01D0, 3, "i"},
    {0x01D1, 3, "o"}, {0x01D2, 3, "o"}, {0x01D3, 3, "u"}, {0x01D4, 3, "u"},
    {0x01D5, 1, "v"}, {0x01D6, 1, "v"}, {0x01D7, 2, "v"}, {0x01D8, 2, "v"},
    {0x01D9, 3, "v"}, {0x01DA, 3, "v"}, {0x01DB, 4, "v"}, {0x01DC, 4, "v"},
    {0x01F8, 4, "n"}, {0x01F9, 4, "n"}, {0x1E3E, 2, "m"}, {0x1E3F, 2, "m"},
    {0x1EBE, 2, "\xC3\xAA"}, {0x1EBF, 2, "\xC3\xAA"}, {0x1EC0, 4, "\xC3\xAA"},
    {0x1EC1, 4, "\xC3\xAA"},
};

const MarkedLetter* findMarkedLetter(char32_t cp) noexcept {
  const auto* end = std::end(kMarkedLetters);
  const auto* it = std::lower_bound(
      std::begin(kMarkedLetters), end, cp,
      [](const MarkedLetter& letter, char32_t value) { return letter.codePoint < value; });
  return it != end && it->codePoint == cp ? it : nullptr;
}

// Tone of a combining mark written after its letter; 0 for other characters.
int combiningTone(char32_t cp) noexcept {
  switch (cp) {
    case 0x0304: return 1;  // macron
    case 0x0301: return 2;  // acute
    case 0x030C: return 3;  // caron
    case 0x0300: return 4;  // grave
    default: return 0;
  }
}

char lowerAscii(char c) noexcept { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string foldCase(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), lowerAscii);
  return out;
}

struct PinyinParts {
  std::string base;
  int markTone = 0;   // tone of the first mark, 0 without one
  int digitTone = 0;  // final digit 1..5, 0 without one
};

// The base of a letter that a combining mark changes: u + diaeresis is ü,
// e + circumflex is ê. Returns false for any other pair.
bool combineWithPrevious(std::string* base, char32_t mark) {
  if (base->empty()) return false;
  if (mark == 0x0308 && base->back() == 'u') {
    base->back() = 'v';
    return true;
  }
  if (mark == 0x0302 && base->back() == 'e') {
    base->back() = '\xC3';
    base->push_back('\xAA');
    return true;
  }
  return false;
}

// Appends one character of pinyin to parts. Bytes that are not UTF-8 are
// kept as they are, so that they still match themselves.
void foldPinyinChar(std::string_view text, std::size_t* pos, PinyinParts* parts) {
  char32_t cp = 0;
  const std::size_t start = *pos;
  if (!kelvorn::utf8::next(text, pos, &cp)) {
    parts->base += text[start];
    *pos = start + 1;
    return;
  }
  int tone = combiningTone(cp);
  if (tone == 0) {
    if (const MarkedLetter* letter = findMarkedLetter(cp)) {
      parts->base += letter->base;
      tone = letter->tone;
    } else if (cp == ':' && !parts->base.empty() && parts->base.back() == 'u') {
      parts->base.back() = 'v';
    } else if (!combineWithPrevious(&parts->base, cp)) {
      parts->base.append(text.substr(start, *pos - start));
      if (cp < 0x80) parts->base.back() = lowerAscii(parts->base.back());
    }
  }
  if (parts->markTone == 0) parts->markTone = tone;
}

PinyinParts foldPinyin(std::string_view text) {
  PinyinParts parts;
  const char last = text.empty() ? '\0' : text.back();
  if (text.size() > 1 && last >= '1' && last <= '5') {
    parts.digitTone = last - '0';
    text.remove_suffix(1);
  }
  std::size_t pos = 0;
  while (pos < text.size()) foldPinyinChar(text, &pos, &parts);
  return parts;
}

}  // namespace

bool isPinyinField(kelvorn::unihanPropT field) noexcept {
  return field == kelvorn::kMandarin || field == kelvorn::kHanyuPinlu;
}

bool isReadingField(kelvorn::unihanPropT field) noexcept {
  return isPinyinField(field) || field == kelvorn::kJapaneseKun || field == kelvorn::kJapaneseOn;
}

FoldedReading foldStoredReading(std::string_view reading, kelvorn::unihanPropT field) {
  if (!isPinyinField(field)) return {foldCase(reading), kAnyTone};
  PinyinParts parts = foldPinyin(reading);
  const int tone = parts.markTone != 0 ? parts.markTone : parts.digitTone != 0 ? parts.digitTone : 5;
  return {std::move(parts.base), tone};
}

FoldedReading foldQuery(std::string_view query, kelvorn::unihanPropT field) {
  if (!isPinyinField(field)) return {foldCase(query), kAnyTone};
  PinyinParts parts = foldPinyin(query);
  int tone = parts.markTone != 0 ? parts.markTone : parts.digitTone;
  if (parts.markTone != 0 && parts.digitTone != 0 && parts.markTone != parts.digitTone) {
    tone = kNoTone;
  }
  return {std::move(parts.base), tone};
}

bool looseMatch(const FoldedReading& stored, const FoldedReading& query) noexcept {
  if (query.tone == kNoTone || stored.base != query.base) return false;
  return query.tone == kAnyTone || query.tone == stored.tone;
}

bool prefixMatch(const FoldedReading& stored, const FoldedReading& query) noexcept {
  if (query.tone == kNoTone || query.base.empty() ||
      stored.base.compare(0, query.base.size(), query.base) != 0) {
    return false;
  }
  return query.tone == kAnyTone || query.tone == stored.tone;
}

}  // namespace kelvorn_index_private

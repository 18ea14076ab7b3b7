#include "index/ReadingFold.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "index/Utf8Decode.h"

namespace kelvorn_index_private {
namespace {

// A pinyin letter with a tone mark or a diaeresis, upper or lower case, and
// what it folds to: its base letter (lower case; ü is "v") and its tone
// (0 for a letter that carries none).
struct MarkedLetter {
  char32_t codePoint;
  const char* base;
  int tone;
};

constexpr MarkedLetter kMarkedLetters[] = {
    {0x00C0, "a", 4}, {0x00C1, "a", 2}, {0x00C8, "e", 4}, {0x00C9, "e", 2},
    {0x00CA, "\xC3\xAA", 0}, {0x00CC, "i", 4}, {0x00CD, "i", 2}, {0x00D2, "o", 4},
    {0x00D3, "o", 2}, {0x00D9, "u", 4}, {0x00DA, "u", 2}, {0x00DC, "v", 0},
    {0x00E0, "a", 4}, {0x00E1, "a", 2}, {0x00E8, "e", 4}, {0x00E9, "e", 2},
    {0x00EA, "\xC3\xAA", 0}, {0x00EC, "i", 4}, {0x00ED, "i", 2}, {0x00F2, "o", 4},
    {0x00F3, "o", 2}, {0x00F9, "u", 4}, {0x00FA, "u", 2}, {0x00FC, "v", 0},
    {0x0100, "a", 1}, {0x0101, "a", 1}, {0x0112, "e", 1}, {0x0113, "e", 1},
    {0x011A, "e", 3}, {0x011B, "e", 3}, {0x012A, "i", 1}, {0x012B, "i", 1},
    {0x0143, "n", 2}, {0x0144, "n", 2}, {0x0147, "n", 3}, {0x0148, "n", 3},
    {0x014C, "o", 1}, {0x014D, "o", 1}, {0x016A, "u", 1}, {0x016B, "u", 1},
    {0x01CD, "a", 3}, {0x01CE, "a", 3}, {0x01CF, "i", 3}, {0x01D0, "i", 3},
    {0x01D1, "o", 3}, {0x01D2, "o", 3}, {0x01D3, "u", 3}, {0x01D4, "u", 3},
    {0x01D5, "v", 1}, {0x01D6, "v", 1}, {0x01D7, "v", 2}, {0x01D8, "v", 2},
    {0x01D9, "v", 3}, {0x01DA, "v", 3}, {0x01DB, "v", 4}, {0x01DC, "v", 4},
    {0x01F8, "n", 4}, {0x01F9, "n", 4}, {0x1E3E, "m", 2}, {0x1E3F, "m", 2},
    {0x1EBE, "\xC3\xAA", 2}, {0x1EBF, "\xC3\xAA", 2}, {0x1EC0, "\xC3\xAA", 4},
    {0x1EC1, "\xC3\xAA", 4},
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
  if (!nextCodePoint(text, pos, &cp)) {
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

}  // namespace kelvorn_index_private

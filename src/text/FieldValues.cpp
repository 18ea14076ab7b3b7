#include "text/FieldValues.h"

#include <cstring>

#include "store/UnihanData.h"
#include "text/RadicalStrokeGrammar.h"
#include "text/ScanPattern.h"

namespace kelvorn_private {
namespace {

// Token sizes of the whitespace-separated form: the field name keeps 63
// characters, each value 55. A longer token is cut to that many and the rest
// of it is passed over, so it never spills into the next token.
constexpr std::size_t kMaxFieldToken = 63;
constexpr std::size_t kMaxValueToken = 55;

std::string_view nextToken(Cursor* cur, std::size_t maxLength) {
  cur->skipSpace();
  const char* start = cur->p;
  while (!cur->atEnd() && !isScanSpace(*cur->p)) ++cur->p;
  std::string_view token(start, static_cast<std::size_t>(cur->p - start));
  return token.substr(0, maxLength);
}

struct ValueTokens {
  std::string_view first;
  std::string_view second;
};

ValueTokens valueTokens(std::string_view line, std::size_t afterCodePoint) {
  Cursor cur{line.data() + afterCodePoint, line.data() + line.size()};
  nextToken(&cur, kMaxFieldToken);  // the field name, already identified
  ValueTokens tokens;
  tokens.first = nextToken(&cur, kMaxValueToken);
  tokens.second = nextToken(&cur, kMaxValueToken);
  return tokens;
}

// A number's low byte, its sign applied as scanf's "%d" applies it.
std::uint8_t lowByte(const WrittenNumber& number) {
  return static_cast<std::uint8_t>(number.sign == '-' ? 0u - number.magnitude : number.magnitude);
}

Cursor cursorOver(std::string_view token) {
  return {token.data(), token.data() + token.size()};
}

// The radical and residual as scanf's "%d" reads them, signs and all, low
// bits kept; the marks on the radical are not kept. A token is marked when
// it holds "'." anywhere, and then the residual counts only after one to
// three marks. Returns false when not even the radical was read.
bool parseRadStroke(std::string_view token, RadStrokePair* pair) {
  const RadicalStrokePiece piece = scanRadicalStroke(token);
  if (!piece.radical.present()) return false;
  pair->radical = lowByte(piece.radical);
  const bool marked = token.find("'.") != std::string_view::npos;
  if (piece.residual.present() && piece.marks <= kMaxRadicalMarks && (piece.marks > 0 || !marked)) {
    pair->residual = lowByte(piece.residual);
  }
  return true;
}

void applyRadStroke(int source, const ValueTokens& tokens,
                    RecordUnderConstruction* record) {
  if (parseRadStroke(tokens.first, &record->slots[source])) {
    record->flags |= static_cast<std::uint8_t>(1u << source);
  }
  if (source == kelvorn::kRSUnicode && !tokens.second.empty() &&
      parseRadStroke(tokens.second, &record->slots[5])) {
    record->flags |= kFlagSecondUnicode;
  }
}

// "%1d%4d.%2d%1d": volume, page, position, virtual flag.
void applyHanYu(std::string_view token, HanYuRef* ref) {
  Cursor cur = cursorOver(token);
  std::int32_t value;
  if (!cur.readInt(1, &value)) return;
  ref->volume = static_cast<std::uint8_t>(value);
  if (!cur.readInt(4, &value)) return;
  ref->page = static_cast<std::uint16_t>(value);
  if (!cur.literal('.') || !cur.readInt(2, &value)) return;
  ref->position = static_cast<std::uint8_t>(value);
  if (!cur.readInt(1, &value)) return;
  ref->virtualFlag = static_cast<std::uint8_t>(value);
}

void applyTotalStrokes(std::string_view token, std::uint8_t* totalStrokes) {
  Cursor cur = cursorOver(token);
  std::int32_t value = 0;  // kept when no number is read
  (void)cur.readInt(0, &value);
  *totalStrokes = static_cast<std::uint8_t>(value);
}

bool isPieceSeparator(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// The line cut at spaces, tabs and line feeds; the code point and the field
// name are the first two pieces, every later piece is one value.
void applyReadings(int prop, std::string_view line, ReadingLists* lists) {
  std::vector<std::string>& list = (*lists)[readingListOf(prop)];  // prop is a reading field here
  const char* p = line.data();
  const char* end = p + line.size();
  int piece = 0;
  for (;;) {
    while (p < end && isPieceSeparator(*p)) ++p;
    if (p == end) break;
    const char* start = p;
    while (p < end && !isPieceSeparator(*p)) ++p;
    if (piece++ < 2) continue;
    std::string_view value(start, static_cast<std::size_t>(p - start));
    // kHanyuPinlu values carry a frequency in parentheses, which is cut off.
    if (prop == kelvorn::kHanyuPinlu) value = value.substr(0, value.find('('));
    list.emplace_back(value);
  }
}

// The next "C+" or "V+" mark at or after `from`, or npos.
std::size_t nextCidMark(std::string_view line, std::size_t from) {
  for (std::size_t i = from; i + 1 < line.size(); ++i) {
    if ((line[i] == 'C' || line[i] == 'V') && line[i + 1] == '+') return i;
  }
  return std::string_view::npos;
}

// Each value, "%c+%d+%d.%d.%d" at its mark, is taken in line order. A value
// whose CID cannot be read is passed over; otherwise the numbers read before
// a mismatch are kept and the others stay 0.
void applyCids(std::string_view line, std::size_t fieldAt,
               std::uint32_t codePoint, RecordUnderConstruction* record,
               BlockLoad* load) {
  for (std::size_t mark = nextCidMark(line, fieldAt);
       mark != std::string_view::npos; mark = nextCidMark(line, mark + 2)) {
    Cursor cur{line.data() + mark + 2, line.data() + line.size()};
    std::int32_t cid;
    if (!cur.readInt(0, &cid)) continue;
    CidEntry entry;
    entry.cid = static_cast<std::uint16_t>(cid);
    std::int32_t value;
    if (cur.literal('+') && cur.readInt(0, &value)) {
      entry.radical = static_cast<std::uint8_t>(value);
      if (cur.literal('.') && cur.readInt(0, &value)) {
        entry.radicalStrokes = static_cast<std::uint8_t>(value);
        if (cur.literal('.') && cur.readInt(0, &value)) {
          entry.residualStrokes = static_cast<std::uint8_t>(value);
        }
      }
    }
    record->cids.push_back(entry);
    record->flags |= kFlagCids;
    // The table is keyed by the CID as the record keeps it, 16 bits, so that
    // an image written from this store maps the same CIDs.
    load->mapCid(entry.cid, codePoint);
  }
}

}  // namespace

void applyFieldLine(int prop, std::string_view line, std::size_t afterCodePoint,
                    std::size_t fieldAt, std::uint32_t codePoint,
                    RecordUnderConstruction* record, BlockLoad* load) {
  switch (prop) {
    case kelvorn::kRSUnicode:
    case kelvorn::kRSKangXi:
    case kelvorn::kRSKanWa:
    case kelvorn::kRSKorean:
    case kelvorn::kRSJapanese:
      applyRadStroke(prop, valueTokens(line, afterCodePoint), record);
      break;
    case kelvorn::kRSVantu_Japan1_6:
      applyCids(line, fieldAt, codePoint, record, load);
      break;
    case kelvorn::kTotalStrokes:
      applyTotalStrokes(valueTokens(line, afterCodePoint).first, &record->totalStrokes);
      break;
    case kelvorn::kHanYu:
      applyHanYu(valueTokens(line, afterCodePoint).first, &record->hanyu);
      break;
    default:
      applyReadings(prop, line, &record->readings);
      break;
  }
}

}  // namespace kelvorn_private

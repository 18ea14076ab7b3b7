// The grammar of a kRSUnicode value, written once: pieces apart by single
// spaces, each a radical number, up to three apostrophes naming a
// non-traditional form of the radical (120'.3, 211''.5), a point, and the
// residual strokes, which may be negative (王 U+738B: 96.-1).
//
// The scanner takes a piece apart without judging it: it records each part
// as written and where the form stopped, so that every reader states its own
// acceptance in a few lines on top of it. The core's text reader keeps what
// it can of any piece, the index takes only what it can order, and the
// expanded form only what writes back byte for byte. It needs nothing but
// the standard library, so the core compiles it in too.
#ifndef KELVORN_TEXT_RADICALSTROKEGRAMMAR_H
#define KELVORN_TEXT_RADICALSTROKEGRAMMAR_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kelvorn_private {

// The Kangxi radicals are numbered 1 to 214.
constexpr int kLastRadical = 214;
// Apostrophes a radical may carry: one for its simplified form, and since
// Unicode 15.1 two or three for the other non-traditional forms.
constexpr int kMaxRadicalMarks = 3;

// A number as written: an optional sign, then decimal digits. With no
// digits there is no number, though a sign may stand where it would.
struct WrittenNumber {
  char sign = 0;  // '+', '-', or 0 when none is written
  std::string_view digits;
  // The digits' value modulo 2^32, as scanf's "%d" wraps it.
  std::uint32_t magnitude = 0;

  bool present() const { return !digits.empty(); }
  // Zeros before its first significant digit, which writing it back loses.
  bool padded() const { return digits.size() > 1 && digits[0] == '0'; }
};

struct RadicalStrokePiece {
  WrittenNumber radical;
  int marks = 0;       // apostrophes right after the radical, however many
  bool point = false;  // a '.' right after them
  WrittenNumber residual;  // read only after the point
  // Whatever follows the last part read, and so where the piece leaves the
  // form; the strict form leaves nothing.
  std::string_view rest;
};

// The number at *pos, moving *pos past it.
inline WrittenNumber scanWrittenNumber(std::string_view text, std::size_t* pos) {
  std::size_t at = *pos;
  WrittenNumber number;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) number.sign = text[at++];
  const std::size_t first = at;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    number.magnitude = number.magnitude * 10u + static_cast<std::uint32_t>(text[at] - '0');
  }
  number.digits = std::string_view(text.data() + first, at - first);
  *pos = at;
  return number;
}

// One piece taken apart as far as it keeps to the form.
inline RadicalStrokePiece scanRadicalStroke(std::string_view piece) {
  RadicalStrokePiece scanned;
  std::size_t pos = 0;
  scanned.radical = scanWrittenNumber(piece, &pos);
  if (scanned.radical.present()) {
    for (; pos < piece.size() && piece[pos] == '\''; ++pos) ++scanned.marks;
    scanned.point = pos < piece.size() && piece[pos] == '.';
    if (scanned.point) {
      ++pos;
      scanned.residual = scanWrittenNumber(piece, &pos);
    }
  }
  scanned.rest = std::string_view(piece.data() + pos, piece.size() - pos);
  return scanned;
}

// The strict form, which the orders are built on: a radical of one to three
// digits (zeros before it allowed) from 1 to kLastRadical, at most
// kMaxRadicalMarks marks, and a residual of one or two digits that a minus
// may precede, with nothing after it.
struct StrictRadicalStroke {
  int radical = 0;
  int marks = 0;
  int residual = 0;
};

inline bool readStrictRadicalStroke(std::string_view text, StrictRadicalStroke* out) {
  constexpr std::size_t kMaxRadicalDigits = 3;
  constexpr std::size_t kMaxResidualDigits = 2;
  const RadicalStrokePiece piece = scanRadicalStroke(text);
  const WrittenNumber& radical = piece.radical;
  const WrittenNumber& residual = piece.residual;
  if (radical.sign != 0 || radical.digits.size() > kMaxRadicalDigits ||
      piece.marks > kMaxRadicalMarks || !residual.present() || residual.sign == '+' ||
      residual.digits.size() > kMaxResidualDigits || !piece.rest.empty()) {
    return false;
  }
  const int strokes = static_cast<int>(residual.magnitude);
  out->radical = static_cast<int>(radical.magnitude);
  out->marks = piece.marks;
  out->residual = residual.sign == '-' ? -strokes : strokes;
  return out->radical >= 1 && out->radical <= kLastRadical;
}

// Calls visit(piece) for each piece of the value in turn, the text between
// single spaces: two spaces in a row enclose an empty piece, and an empty
// value is one empty piece. Stops at the first piece visit refuses, and
// answers whether none was refused.
template <typename Visit>
bool forEachRadicalStrokePiece(std::string_view value, Visit visit) {
  for (std::size_t start = 0;;) {
    const std::size_t end = std::min(value.find(' ', start), value.size());
    if (!visit(value.substr(start, end - start))) return false;
    if (end == value.size()) return true;
    start = end + 1;
  }
}

}  // namespace kelvorn_private

#endif  // KELVORN_TEXT_RADICALSTROKEGRAMMAR_H

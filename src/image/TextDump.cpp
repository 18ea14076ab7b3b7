// The text dump: the store in Unihan line form, for inspection, built in
// memory.
#include <string>

#include "store/UnihanData.h"

namespace kelvorn_private {
namespace {

class DumpSink {
 public:
  DumpSink(const UnihanData& store, std::string* out) : store_(store), out_(out) {}

  void block(const UnihanBlock& b) {
    const auto first = static_cast<std::uint32_t>(b.first);
    for (std::size_t i = 0; i < b.chars.size(); ++i) {
      charRecord(store_.charView(b.chars[i]), first + static_cast<std::uint32_t>(i));
    }
    for (const ReadingRef ref : b.readings) readingSet(store_.readingSet(ref));
    for (std::size_t i = 0; i < b.hanyu.size(); ++i) {
      hanyu(b.hanyu[i].decode(), first + static_cast<std::uint32_t>(i));
    }
  }

 private:
  void text(std::string_view s) { out_->append(s); }
  void ch(char c) { out_->push_back(c); }

  void number(std::uint32_t v) {
    char digits[10];
    int n = 0;
    do {
      digits[n++] = static_cast<char>('0' + v % 10);
      v /= 10;
    } while (v != 0);
    while (n > 0) ch(digits[--n]);
  }

  // "U+" and lower-case hexadecimal without leading zeros, then a tab and the
  // field name and a tab.
  void lineStart(std::uint32_t codePoint, std::string_view field) {
    static constexpr char kHex[] = "0123456789abcdef";
    char digits[8];
    int n = 0;
    do {
      digits[n++] = kHex[codePoint & 0xF];
      codePoint >>= 4;
    } while (codePoint != 0);
    text("U+");
    while (n > 0) ch(digits[--n]);
    ch('\t');
    text(field);
    ch('\t');
  }

  void pair(const RadStrokePair& p) {
    number(p.radical);
    ch('.');
    number(p.residual);
  }

  // The k-th pair goes with the k-th set flag among sources 0 to 4; the second
  // kRSUnicode value, the last pair, joins the kRSUnicode line.
  void radStrokeLines(const CharView& rec, std::uint32_t codePoint) {
    int source = 0;
    for (std::size_t i = 0; i < rec.pairCount(); ++i) {
      while (source < kPairSources && (rec.flags() & (1u << source)) == 0) ++source;
      if (source >= kPairSources) break;
      lineStart(codePoint, kelvorn::fieldName(static_cast<kelvorn::unihanPropT>(source)));
      pair(rec.pair(i));
      if (source == kelvorn::kRSUnicode && (rec.flags() & kFlagSecondUnicode) != 0) {
        ch(' ');
        pair(rec.pair(rec.pairCount() - 1));
      }
      ch('\n');
      ++source;
    }
  }

  void charRecord(const CharView& rec, std::uint32_t codePoint) {
    radStrokeLines(rec, codePoint);
    if (rec.cidCount() > 0) {
      lineStart(codePoint, kelvorn::fieldName(kelvorn::kRSVantu_Japan1_6));
      for (std::size_t k = 0; k < rec.cidCount(); ++k) {
        const CidEntry e = rec.cid(k);
        ch(k == 0 ? 'C' : 'V');
        ch('+');
        number(e.cid);
        ch('+');
        number(e.radical);
        ch('.');
        number(e.radicalStrokes);
        ch('.');
        number(e.residualStrokes);
        ch(' ');
      }
      ch('\n');
    }
    if (rec.totalStrokes() != 0) {
      lineStart(codePoint, kelvorn::fieldName(kelvorn::kTotalStrokes));
      number(rec.totalStrokes());
      ch('\n');
    }
  }

  // Reading strings carry no code point and no line end: each is followed by
  // one blank, and the block's first HanYu line continues after them.
  void readingSet(const ReadingSetView& set) {
    for (int list = 0; list < kReadingLists; ++list) {
      set.forEach(list, [this](std::string_view s) {
        text(s);
        ch(' ');
      });
    }
  }

  void hanyu(const HanYuRef& ref, std::uint32_t codePoint) {
    lineStart(codePoint, kelvorn::fieldName(kelvorn::kHanYu));
    number(ref.volume);
    number(ref.page);
    ch('.');
    number(ref.position);
    number(ref.virtualFlag);
    ch('\n');
  }

  const UnihanData& store_;
  std::string* out_;
};

}  // namespace

std::string UnihanData::dumpBytes() const {
  std::string dump;
  DumpSink sink(*this, &dump);
  for (const UnihanBlock& block : blocks_) sink.block(block);
  return dump;
}

}  // namespace kelvorn_private

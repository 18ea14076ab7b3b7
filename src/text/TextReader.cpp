// readUnihan and readUnihanText: one pass over Unihan text, from a file or
// from memory, one record per code point, one block per run of consecutive
// code points. The two differ only in where the lines come from.
#include <cstdio>
#include <memory>
#include <utility>

#include "store/UnihanData.h"
#include "text/FieldSearch.h"
#include "text/FieldValues.h"
#include "text/LineReader.h"
#include "text/ScanPattern.h"

namespace kelvorn_private {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { (void)std::fclose(f); }  // read-only: nothing to lose
};
using File = std::unique_ptr<std::FILE, FileCloser>;

class TextLoader {
 public:
  explicit TextLoader(BlockLoad* load) : load_(load) {}

  void line(std::string_view text) {
    if (text.size() < 2 || text[0] != 'U' || text[1] != '+') return;
    Cursor cur{text.data() + 2, text.data() + text.size()};
    std::uint32_t codePoint;
    // "U+" without a hexadecimal number is not a data line.
    if (!cur.readHex(&codePoint)) return;
    if (codePoint != previous_ && pending_) appendRecord();
    previous_ = codePoint;
    const FieldMatch field = findField(text);
    if (field.prop < 0) return;
    if (!pending_) {
      pending_ = true;
      recordCodePoint_ = codePoint;
    }
    applyFieldLine(field.prop, text, static_cast<std::size_t>(cur.p - text.data()),
                   field.offset, codePoint, &record_, load_);
  }

  void finish() {
    if (pending_) appendRecord();
    if (!block_.chars.empty()) storeBlock();
  }

 private:
  // A record joins the open block only when its code point is exactly one
  // above the block's last, so element i of a block is always `first` + i.
  void appendRecord() {
    const auto codePoint = static_cast<std::int32_t>(recordCodePoint_);
    if (!block_.chars.empty() &&
        static_cast<std::int64_t>(codePoint) != static_cast<std::int64_t>(block_.last) + 1) {
      storeBlock();
    }
    if (block_.chars.empty()) block_.first = codePoint;
    block_.last = codePoint;

    // The pairs in source order, the second kRSUnicode value last, then the
    // CID entries, in the record's byte layout.
    payload_.clear();
    std::size_t pairs = 0;
    for (int slot = 0; slot <= kPairSources; ++slot) {
      const unsigned bit = slot < kPairSources ? 1u << slot : unsigned{kFlagSecondUnicode};
      if ((record_.flags & bit) == 0) continue;
      payload_.push_back(record_.slots[slot].radical);
      payload_.push_back(record_.slots[slot].residual);
      ++pairs;
    }
    for (const CidEntry& e : record_.cids) {
      payload_.resize(payload_.size() + kCidEntryBytes);
      encodeCidEntry(e, payload_.data() + payload_.size() - kCidEntryBytes);
    }
    load_->addChar(&block_, record_.totalStrokes, record_.flags, pairs, record_.cids.size(), payload_.data(),
                   payload_.size());
    load_->addReadings(&block_, record_.readings);
    block_.hanyu.push_back(HanYuRecord::encode(record_.hanyu));
    record_.clear();
    pending_ = false;
  }

  void storeBlock() {
    load_->addBlock(std::move(block_));
    block_ = UnihanBlock();
  }

  BlockLoad* load_;
  std::uint32_t previous_ = 0;
  std::uint32_t recordCodePoint_ = 0;
  bool pending_ = false;
  RecordUnderConstruction record_;
  std::vector<std::uint8_t> payload_;
  UnihanBlock block_;
};

// Appends the blocks of every line the reader gives and sets IsValid.
void loadLines(UnihanData* store, LineReader* reader) {
  BlockLoad load(store, BlockLoad::Mode::kAppend);
  TextLoader loader(&load);
  std::string_view text;
  while (reader->next(&text)) loader.line(text);
  loader.finish();
  load.markValid();
}

}  // namespace

int UnihanData::readUnihan(const char* path) {
  if (path == nullptr) return -1;
  File file(std::fopen(path, "r"));
  if (!file) return -1;
  LineReader reader(file.get());
  loadLines(this, &reader);
  return 0;
}

void UnihanData::readUnihanText(std::string_view text) {
  LineReader reader(text);
  loadLines(this, &reader);
}

}  // namespace kelvorn_private

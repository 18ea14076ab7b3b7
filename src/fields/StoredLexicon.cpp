#include "fields/StoredLexicon.h"

#include <cstring>
#include <utility>

#include "fields/FieldsFormat.h"
#include "fields/GlossIndex.h"
#include "fields/LexiconFormat.h"

namespace kelvorn_fields_private {
namespace lf = lexicon_format;
namespace {

const unsigned char* bytesOf(std::string_view s) {
  return reinterpret_cast<const unsigned char*>(s.data());
}

}  // namespace

std::optional<PostingTable> PostingTable::open(const unsigned char* data, std::size_t size) {
  if (size < lf::posting::kSize) return std::nullopt;
  PostingTable t;
  const std::uint32_t nameLength = format::load32(data + lf::posting::kNameLength);
  t.keyCount_ = format::load32(data + lf::posting::kKeyCount);
  t.itemCount_ = format::load32(data + lf::posting::kItemCount);
  t.slotCount_ = format::load32(data + lf::posting::kSlotCount);
  // Counts are u32, so these sums cannot wrap in 64 bits.
  const std::uint64_t words = 2 * (std::uint64_t{t.keyCount_} + 1) + t.slotCount_ + t.itemCount_;
  const std::uint64_t fixed = lf::posting::kSize + words * lf::kU32 + nameLength;
  const bool slotsFit = t.slotCount_ > t.keyCount_ && (t.slotCount_ & (t.slotCount_ - 1)) == 0;
  if (!slotsFit || fixed > size) return std::nullopt;
  t.keyStarts_ = data + lf::posting::kSize;
  t.listStarts_ = t.keyStarts_ + (std::size_t{t.keyCount_} + 1) * lf::kU32;
  t.slots_ = t.listStarts_ + (std::size_t{t.keyCount_} + 1) * lf::kU32;
  t.items_ = t.slots_ + std::size_t{t.slotCount_} * lf::kU32;
  const unsigned char* name = t.items_ + std::size_t{t.itemCount_} * lf::kU32;
  t.name_ = {reinterpret_cast<const char*>(name), nameLength};
  t.keyBytes_ = {reinterpret_cast<const char*>(name) + nameLength,
                 static_cast<std::size_t>(size - fixed)};
  // The last starts close the arrays exactly; the others are checked where
  // a lookup reads them.
  if (t.at(t.keyStarts_, t.keyCount_) != t.keyBytes_.size() ||
      t.at(t.listStarts_, t.keyCount_) != t.itemCount_) {
    return std::nullopt;
  }
  return t;
}

std::uint32_t PostingTable::at(const unsigned char* array, std::size_t i) const noexcept {
  return format::load32(array + i * lf::kU32);
}

std::int64_t PostingTable::keyOf(std::string_view key) const {
  const std::uint32_t mask = slotCount_ - 1;
  std::uint32_t slot = format::nameHash(key) & mask;
  // Bounded by the table, so that slots with no empty one end the search.
  for (std::uint32_t probe = 0; probe < slotCount_; ++probe, slot = (slot + 1) & mask) {
    const std::uint32_t held = at(slots_, slot);
    if (held == 0) return kAbsent;
    if (held > keyCount_) return kDamaged;
    const std::uint32_t begin = at(keyStarts_, held - 1);
    const std::uint32_t end = at(keyStarts_, held);
    if (begin > end || end > keyBytes_.size()) return kDamaged;
    if (keyBytes_.substr(begin, end - begin) == key) return held - 1;
  }
  return kDamaged;
}

std::optional<std::vector<std::uint32_t>> PostingTable::listOf(std::uint32_t key,
                                                               std::uint32_t limit) const {
  const std::uint32_t first = at(listStarts_, key);
  const std::uint32_t last = at(listStarts_, std::size_t{key} + 1);
  if (first > last || last > itemCount_) return std::nullopt;
  std::vector<std::uint32_t> list(last - first);
  if (list.empty()) return list;
  std::memcpy(list.data(), items_ + std::size_t{first} * lf::kU32, list.size() * lf::kU32);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  for (std::uint32_t& item : list) item = __builtin_bswap32(item);
#endif
  // One pass without an early exit, which the compiler can vectorize:
  // lists of common words run to thousands of items.
  bool sound = list.back() < limit;
  for (std::size_t i = 1; i < list.size(); ++i) sound &= list[i - 1] < list[i];
  if (!sound) return std::nullopt;
  return list;
}

std::optional<std::vector<std::uint32_t>> PostingTable::find(std::string_view key,
                                                             std::uint32_t limit) const {
  const std::int64_t id = keyOf(key);
  if (id == kAbsent) return std::vector<std::uint32_t>();
  if (id == kDamaged) return std::nullopt;
  return listOf(static_cast<std::uint32_t>(id), limit);
}

StoredAnswers::StoredAnswers(std::uint32_t keyCount)
    : chunkCount_((std::size_t{keyCount} + kChunkKeys - 1) / kChunkKeys),
      chunks_(new std::atomic<Chunk*>[chunkCount_]()) {}

StoredAnswers::~StoredAnswers() {
  for (std::size_t c = 0; c < chunkCount_; ++c) {
    const Chunk* chunk = chunks_[c].load(std::memory_order_relaxed);
    if (chunk == nullptr) continue;
    for (const Answer& answer : chunk->answers) delete answer.load(std::memory_order_relaxed);
    delete chunk;
  }
}

namespace {

// The slot's object, or `made` put there; a thread that put one there first
// keeps its own, and `made` is dropped.
template <class T>
T* installOnce(std::atomic<T*>* slot, std::unique_ptr<T> made) {
  T* raced = nullptr;
  if (slot->compare_exchange_strong(raced, made.get(), std::memory_order_acq_rel)) {
    return made.release();
  }
  return raced;
}

}  // namespace

const std::vector<char32_t>* StoredAnswers::find(const PostingTable& table,
                                                 std::string_view value) const {
  // Values no character has are not kept, so that asking for many of them
  // costs no memory.
  static const std::vector<char32_t> kNone;
  const std::int64_t id = table.keyOf(value);
  if (id == PostingTable::kAbsent) return &kNone;
  if (id == PostingTable::kDamaged) return nullptr;
  const auto key = static_cast<std::uint32_t>(id);
  if (key / kChunkKeys >= chunkCount_) return nullptr;  // not this table's
  std::atomic<Chunk*>* chunkSlot = &chunks_[key / kChunkKeys];
  Chunk* chunk = chunkSlot->load(std::memory_order_acquire);
  if (chunk == nullptr) chunk = installOnce(chunkSlot, std::make_unique<Chunk>());
  Answer* answer = &chunk->answers[key % kChunkKeys];
  if (const std::vector<char32_t>* known = answer->load(std::memory_order_acquire)) return known;
  const std::optional<std::vector<std::uint32_t>> list = table.listOf(key, lf::kMaxCodePoint + 1);
  if (!list) return nullptr;
  return installOnce(answer,
                     std::make_unique<const std::vector<char32_t>>(list->begin(), list->end()));
}

std::shared_ptr<const StoredLexicon> StoredLexicon::fromMapping(std::unique_ptr<MappedFile> mapping,
                                                                const kelvorn::UnihanFields& fields,
                                                                const std::string& name) {
  std::shared_ptr<StoredLexicon> opened(new StoredLexicon());
  opened->bytes_ = mapping->bytes();
  opened->mapping_ = std::move(mapping);
  opened->open(fields, name);
  return opened;
}

std::shared_ptr<const StoredLexicon> StoredLexicon::fromOwned(std::string bytes,
                                                              const kelvorn::UnihanFields& fields,
                                                              const std::string& name) {
  std::shared_ptr<StoredLexicon> opened(new StoredLexicon());
  opened->owned_ = std::move(bytes);
  opened->bytes_ = opened->owned_;
  opened->open(fields, name);
  return opened;
}

void StoredLexicon::open(const kelvorn::UnihanFields& fields, const std::string& name) {
  const auto refuse = [&name](const std::string& why) {
    throw kelvorn::FieldsError(name + ": " + why);
  };
  const unsigned char* data = bytesOf(bytes_);
  if (bytes_.size() < lf::header::kSize || std::memcmp(data, lf::kMagic, lf::kMagicLength) != 0) {
    refuse("not a stored lexicon file");
  }
  if (format::load32(data + lf::header::kFormatVersion) != lf::kFormatVersion) {
    refuse("unsupported stored lexicon format version");
  }
  if (format::load64(data + lf::header::kFileSize) != bytes_.size()) {
    refuse("the file's size is not the one its header records (cut short or extended)");
  }
  const std::string_view image = fields.imageBytes();
  if (image.size() < lf::header::kImageHeaderSize ||
      std::memcmp(data + lf::header::kImageHeader, image.data(), lf::header::kImageHeaderSize) !=
          0) {
    refuse("written for another all-field image");
  }
  const std::uint32_t tableCount = format::load32(data + lf::header::kTableCount);
  const std::uint64_t directoryEnd =
      lf::header::kSize + std::uint64_t{tableCount} * lf::entry::kLength;
  if (tableCount < lf::kFirstValueTable || directoryEnd > bytes_.size()) {
    refuse("the table directory does not fit the file");
  }
  byField_.assign(fields.fieldCount(), nullptr);
  tables_.reserve(tableCount - lf::kFirstValueTable);
  for (std::uint32_t t = 0; t < tableCount; ++t) {
    const unsigned char* entry = data + lf::header::kSize + std::size_t{t} * lf::entry::kLength;
    const std::uint64_t offset = format::load64(entry + lf::entry::kOffset);
    const std::uint64_t size = format::load64(entry + lf::entry::kSize);
    if (offset < directoryEnd || offset > bytes_.size() || size > bytes_.size() - offset) {
      refuse("table " + std::to_string(t) + " lies outside the file");
    }
    const unsigned char* table = data + offset;
    if (t == lf::kOrderTable) {
      if (size % lf::kU32 != 0) refuse("the search order is not a whole number of code points");
      order_ = table;
      orderCount_ = static_cast<std::uint32_t>(size / lf::kU32);
      continue;
    }
    std::optional<PostingTable> posting = PostingTable::open(table, static_cast<std::size_t>(size));
    if (!posting) refuse("table " + std::to_string(t) + "'s counts do not match its size");
    if (t == lf::kGlossTable) {
      gloss_ = *posting;
      continue;
    }
    tables_.push_back(*posting);
    const std::optional<std::size_t> field = fields.fieldIndex(posting->name());
    if (field) byField_[*field] = &tables_.back();
  }
}

std::optional<std::vector<char32_t>> StoredLexicon::search(std::string_view query) const {
  const std::optional<std::vector<std::uint32_t>> places = placesOfQuery(
      query, [this](const std::string& form, std::vector<std::uint32_t>* scratch, PlaceList* list) {
        std::optional<std::vector<std::uint32_t>> found = gloss_.find(form, orderCount_);
        if (!found) return false;
        *scratch = std::move(*found);
        list->begin = scratch->data();
        list->end = scratch->data() + scratch->size();
        return true;
      });
  if (!places) return std::nullopt;
  std::vector<char32_t> result;
  result.reserve(places->size());
  for (const std::uint32_t place : *places) {
    const std::uint32_t cp = format::load32(order_ + std::size_t{place} * lf::kU32);
    if (cp > lf::kMaxCodePoint) return std::nullopt;
    result.push_back(cp);
  }
  return result;
}

}  // namespace kelvorn_fields_private

// The stored lexicon tables (LexiconFormat.h) opened in place: checked at
// open as far as a few words tell, and at each lookup for what it reads.
#ifndef KELVORN_FIELDS_STOREDLEXICON_H
#define KELVORN_FIELDS_STOREDLEXICON_H

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fields/MappedFile.h"
#include "kelvorn/UnihanFields.h"

namespace kelvorn_fields_private {

// One posting table: keys to ascending lists of u32.
class PostingTable {
 public:
  PostingTable() = default;
  // Empty when the arrays the counts promise do not fill the bytes exactly.
  static std::optional<PostingTable> open(const unsigned char* data, std::size_t size);

  std::string_view name() const noexcept { return name_; }
  // The key's list, each item below `limit`: empty for a key the table does
  // not hold; nullopt when the table breaks one of its invariants there.
  std::optional<std::vector<std::uint32_t>> find(std::string_view key, std::uint32_t limit) const;
  // The same in two steps: the key's id (kAbsent, kDamaged), then its list.
  static constexpr std::int64_t kAbsent = -1;
  static constexpr std::int64_t kDamaged = -2;
  std::int64_t keyOf(std::string_view key) const;
  std::optional<std::vector<std::uint32_t>> listOf(std::uint32_t key, std::uint32_t limit) const;
  std::uint32_t keyCount() const noexcept { return keyCount_; }

 private:
  std::uint32_t at(const unsigned char* array, std::size_t i) const noexcept;

  const unsigned char* keyStarts_ = nullptr;
  const unsigned char* listStarts_ = nullptr;
  const unsigned char* slots_ = nullptr;
  const unsigned char* items_ = nullptr;
  std::string_view name_;
  std::string_view keyBytes_;
  std::uint32_t keyCount_ = 0;
  std::uint32_t itemCount_ = 0;
  std::uint32_t slotCount_ = 0;
};

class StoredLexicon {
 public:
  // Each checks the file against the store it was written for; throws
  // kelvorn::FieldsError naming `name` and the reason.
  static std::shared_ptr<const StoredLexicon> fromMapping(std::unique_ptr<MappedFile> mapping,
                                                          const kelvorn::UnihanFields& fields,
                                                          const std::string& name);
  static std::shared_ptr<const StoredLexicon> fromOwned(std::string bytes,
                                                        const kelvorn::UnihanFields& fields,
                                                        const std::string& name);

  // What GlossIndex::search answers; nullopt where the tables are damaged.
  std::optional<std::vector<char32_t>> search(std::string_view query) const;
  // The table of the field, by its index in the store; null when not stored.
  const PostingTable* values(std::size_t field) const noexcept {
    return field < byField_.size() ? byField_[field] : nullptr;
  }

 private:
  StoredLexicon() = default;
  void open(const kelvorn::UnihanFields& fields, const std::string& name);

  std::string owned_;
  std::unique_ptr<MappedFile> mapping_;
  std::string_view bytes_;
  const unsigned char* order_ = nullptr;
  std::uint32_t orderCount_ = 0;
  PostingTable gloss_;
  std::vector<PostingTable> tables_;
  std::vector<const PostingTable*> byField_;
};

// One field's answers from its stored table, each decoded on its first
// lookup and kept, so that the reference a lookup returns lasts as long as
// the lexicon; later lookups of the value take no lock. The answers hang
// in chunks of keys made as lookups reach them, so that a first lookup
// clears a chunk, not a slot for every key.
class StoredAnswers {
 public:
  explicit StoredAnswers(std::uint32_t keyCount);
  StoredAnswers(const StoredAnswers&) = delete;
  StoredAnswers& operator=(const StoredAnswers&) = delete;
  ~StoredAnswers();

  // The characters with the value, ascending; null where the table is
  // damaged.
  const std::vector<char32_t>* find(const PostingTable& table, std::string_view value) const;

 private:
  static constexpr std::size_t kChunkKeys = 256;
  using Answer = std::atomic<const std::vector<char32_t>*>;
  struct Chunk {
    Answer answers[kChunkKeys] = {};
  };
  std::size_t chunkCount_;
  std::unique_ptr<std::atomic<Chunk*>[]> chunks_;
};

// The stored tables of the store: its gloss index and the value indexes of
// those of `valueFields` it has.
std::string writeStoredLexicon(const kelvorn::UnihanFields& fields,
                               const std::vector<std::string_view>& valueFields);

}  // namespace kelvorn_fields_private

#endif  // KELVORN_FIELDS_STOREDLEXICON_H

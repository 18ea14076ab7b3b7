// An all-field image, checked at open and answered in place: the sections
// located once and their order and counts checked, every later read of a
// value bounded by the section it reads from.
#ifndef KELVORN_FIELDS_FIELDSIMAGE_H
#define KELVORN_FIELDS_FIELDSIMAGE_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fields/FieldsFormat.h"
#include "fields/MappedFile.h"

namespace kelvorn_fields_private {

// One section's bytes.
struct Span {
  const unsigned char* data = nullptr;
  std::size_t size = 0;
};

// Entries [begin, end) of one code point.
struct EntryRange {
  std::size_t begin = 0;
  std::size_t end = 0;
};

class FieldsImage {
 public:
  // Each checks the header, the section table and the tables the lookups
  // trust, and takes the sections; throws kelvorn::FieldsError naming
  // `name`. The image keeps the mapping
  // or the string; borrowed bytes must outlive it.
  static std::shared_ptr<const FieldsImage> fromMapping(std::unique_ptr<MappedFile> mapping,
                                                        std::string name);
  static std::shared_ptr<const FieldsImage> fromOwned(std::string bytes, std::string name);
  static std::shared_ptr<const FieldsImage> fromBorrowed(std::string_view bytes,
                                                         std::string name);
  FieldsImage(const FieldsImage&) = delete;
  FieldsImage& operator=(const FieldsImage&) = delete;

  std::string_view bytes() const noexcept { return bytes_; }
  const std::string& name() const noexcept { return name_; }
  // Throws kelvorn::FieldsError when the checksum does not match.
  void verify() const;

  std::string_view version() const noexcept;

  std::size_t fieldCount() const noexcept { return fieldCount_; }
  std::string_view fieldName(std::size_t field) const noexcept;
  std::optional<std::size_t> findField(std::string_view name) const noexcept;

  std::size_t codePointCount() const noexcept { return codePointCount_; }
  char32_t codePointAt(std::size_t index) const noexcept;
  std::optional<std::size_t> findCodePoint(char32_t codePoint) const noexcept;

  // The value of `field` for the code point, if it has one.
  std::optional<std::string_view> fieldValue(std::size_t codePointIndex,
                                             std::size_t field) const noexcept;
  // Calls visit(field, value) for each field of the code point, in field
  // order.
  template <class Visit>
  void forEachField(std::size_t codePointIndex, Visit&& visit) const;

 private:
  explicit FieldsImage(std::string name) : name_(std::move(name)) {}
  // Checks bytes_ and fills in the sections and counts.
  void open();
  Span section(format::Section s) const noexcept { return sections_[s]; }
  std::uint32_t u32At(format::Section s, std::size_t index) const noexcept {
    return format::load32(sections_[s].data + index * format::kU32);
  }
  // Bytes [offsets[i], offsets[i+1]) of `bytes`, empty when the offsets are
  // out of order or past the end.
  std::string_view stringAt(format::Section offsets, format::Section bytes,
                            std::size_t i) const noexcept;
  // The code point's entries, clamped to the entry array.
  EntryRange entries(std::size_t codePointIndex) const noexcept;
  // The first word of the code point's field set; null for a set id past
  // the table (a damaged image), which then has no fields.
  const unsigned char* fieldSet(std::size_t codePointIndex) const noexcept;
  std::uint32_t recordField(std::size_t codePointIndex, std::size_t field) const noexcept {
    return format::load32(sections_[format::kRecords].data +
                          codePointIndex * format::kRecordSize + field);
  }
  std::string_view entryValue(std::size_t entry) const noexcept;
  [[noreturn]] void refuse(const std::string& what) const;
  void checkHeader() const;
  void takeSections();
  void takeCounts();
  // The tables' contents, against what every reader above relies on
  // (FieldsImageCheck.cpp).
  void checkTables() const;
  void checkNames() const;
  void checkCodePoints() const;
  // Each set's field count, in a table whose size is a power of two.
  std::vector<std::uint64_t> setSizes() const;
  void checkRecords() const;

  std::string owned_;
  std::unique_ptr<MappedFile> mapping_;
  std::string_view bytes_;
  std::string name_;
  std::array<Span, format::kSectionCount> sections_{};
  std::size_t fieldCount_ = 0;
  std::size_t codePointCount_ = 0;
  std::size_t pageCount_ = 0;
  std::size_t hashSlots_ = 0;
  std::size_t setWords_ = 0;
  std::size_t setCount_ = 0;
  std::size_t entryCount_ = 0;
};

template <class Visit>
void FieldsImage::forEachField(std::size_t codePointIndex, Visit&& visit) const {
  const EntryRange range = entries(codePointIndex);
  const unsigned char* set = fieldSet(codePointIndex);
  if (set == nullptr) return;
  std::size_t entry = range.begin;
  for (std::size_t w = 0; w < setWords_; ++w) {
    std::uint64_t bits = format::load64(set + w * format::kU64);
    while (bits != 0) {
      if (entry >= range.end) return;
      const auto bit = static_cast<std::size_t>(__builtin_ctzll(bits));
      const std::size_t field = w * format::kBitsPerWord + bit;
      if (field >= fieldCount_) return;
      visit(field, entryValue(entry));
      ++entry;
      bits &= bits - 1;
    }
  }
}

}  // namespace kelvorn_fields_private

#endif  // KELVORN_FIELDS_FIELDSIMAGE_H

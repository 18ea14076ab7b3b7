#include "fields/FieldsImage.h"

#include <algorithm>

#include "app/files/Crc32.h"
#include "kelvorn/UnihanFields.h"

namespace kelvorn_fields_private {
namespace {

using format::Section;

const unsigned char* unsignedData(std::string_view bytes) {
  return reinterpret_cast<const unsigned char*>(bytes.data());
}

std::string_view asChars(const unsigned char* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace

std::shared_ptr<const FieldsImage> FieldsImage::fromMapping(std::unique_ptr<MappedFile> mapping,
                                                            std::string name) {
  std::shared_ptr<FieldsImage> image(new FieldsImage(std::move(name)));
  image->mapping_ = std::move(mapping);
  image->bytes_ = image->mapping_->bytes();
  image->open();
  return image;
}

std::shared_ptr<const FieldsImage> FieldsImage::fromOwned(std::string bytes, std::string name) {
  std::shared_ptr<FieldsImage> image(new FieldsImage(std::move(name)));
  image->owned_ = std::move(bytes);
  image->bytes_ = image->owned_;
  image->open();
  return image;
}

std::shared_ptr<const FieldsImage> FieldsImage::fromBorrowed(std::string_view bytes,
                                                             std::string name) {
  std::shared_ptr<FieldsImage> image(new FieldsImage(std::move(name)));
  image->bytes_ = bytes;
  image->open();
  return image;
}

void FieldsImage::refuse(const std::string& what) const {
  throw kelvorn::FieldsError(name_ + ": " + what);
}

void FieldsImage::open() {
  checkHeader();
  takeSections();
  takeCounts();
  checkTables();
}

void FieldsImage::checkHeader() const {
  namespace h = format::header;
  const unsigned char* p = unsignedData(bytes_);
  if (bytes_.size() < format::kMagicLength ||
      bytes_.substr(0, format::kMagicLength) !=
          std::string_view(format::kMagic, format::kMagicLength)) {
    refuse("not an all-field Unihan image (no \"kelvorn unihan fields\" magic)");
  }
  if (bytes_.size() < format::kFirstSectionOffset) {
    refuse("truncated all-field image (" + std::to_string(bytes_.size()) +
           " bytes, shorter than its header)");
  }
  const std::uint32_t version = format::load32(p + h::kFormatVersion);
  if (version != format::kFormatVersion) {
    refuse("all-field image format version " + std::to_string(version) +
           ", this library reads version " + std::to_string(format::kFormatVersion));
  }
  if (format::load32(p + h::kSectionCount) != format::kSectionCount ||
      format::load32(p + h::kReserved) != 0) {
    refuse("damaged all-field image (bad header)");
  }
  const std::uint64_t declared = format::load64(p + h::kFileSize);
  if (declared != bytes_.size()) {
    refuse(std::string(declared > bytes_.size() ? "truncated" : "damaged") +
           " all-field image (" + std::to_string(bytes_.size()) + " bytes, its header says " +
           std::to_string(declared) + ")");
  }
}

// Sections lie past the table, in table order, without overlap, each on an
// aligned offset and wholly inside the file.
void FieldsImage::takeSections() {
  const unsigned char* p = unsignedData(bytes_);
  const std::size_t size = bytes_.size();
  std::size_t previousEnd = format::kFirstSectionOffset;
  for (std::size_t s = 0; s < format::kSectionCount; ++s) {
    const unsigned char* entry = p + format::header::kSize + s * format::sectionEntry::kLength;
    const std::uint64_t offset = format::load64(entry + format::sectionEntry::kOffset);
    const std::uint64_t length = format::load64(entry + format::sectionEntry::kSize);
    if (offset < previousEnd || offset % format::kSectionAlignment != 0 || offset > size ||
        length > size - offset) {
      refuse("damaged all-field image (section " + std::to_string(s) +
             " lies outside the file)");
    }
    sections_[s] = Span{p + offset, static_cast<std::size_t>(length)};
    previousEnd = static_cast<std::size_t>(offset + length);
  }
}

// The arrays' sizes must agree: offsets tables one longer than what they
// index, one record a code point and one more, whole elements only.
void FieldsImage::takeCounts() {
  const auto elements = [this](Section s, std::size_t width, std::size_t extra) {
    const std::size_t size = sections_[s].size;
    if (size % width != 0 || size / width < extra) {
      refuse("damaged all-field image (section " + std::to_string(s) + " has a bad size)");
    }
    return size / width - extra;
  };
  fieldCount_ = elements(format::kNameOffsets, format::kU32, 1);
  hashSlots_ = elements(format::kNameHash, format::kU32, 0);
  if (hashSlots_ == 0 || (hashSlots_ & (hashSlots_ - 1)) != 0) {
    refuse("damaged all-field image (the name table's size is not a power of two)");
  }
  codePointCount_ = elements(format::kCodePoints, format::kU32, 0);
  pageCount_ = elements(format::kPageStarts, format::kU32, 1);
  entryCount_ = elements(format::kEntryValues, format::kU32, 0);
  setWords_ = format::setWords(fieldCount_);
  // Without fields there are no sets, and no code point can hold one.
  setCount_ = setWords_ == 0 ? 0 : elements(format::kFieldSets, setWords_ * format::kU64, 0);
  const bool setsFit = setWords_ != 0 || (sections_[format::kFieldSets].size == 0 &&
                                          codePointCount_ == 0);
  if (!setsFit || elements(format::kRecords, format::kRecordSize, 1) != codePointCount_) {
    refuse("damaged all-field image (its sections disagree in size)");
  }
}

void FieldsImage::verify() const {
  const std::uint32_t stored = format::load32(unsignedData(bytes_) + format::header::kChecksum);
  if (kelvorn_files::crc32(bytes_.substr(format::header::kSize)) != stored) {
    refuse("damaged all-field image (checksum mismatch)");
  }
}

std::string_view FieldsImage::version() const noexcept {
  const Span s = section(format::kVersion);
  return asChars(s.data, s.size);
}

std::string_view FieldsImage::stringAt(Section offsets, Section bytes,
                                       std::size_t i) const noexcept {
  const std::uint32_t begin = u32At(offsets, i);
  const std::uint32_t end = u32At(offsets, i + 1);
  const Span pool = section(bytes);
  if (begin > end || end > pool.size) return {};
  return asChars(pool.data + begin, end - begin);
}

std::string_view FieldsImage::fieldName(std::size_t field) const noexcept {
  return stringAt(format::kNameOffsets, format::kNameBytes, field);
}

// At most every slot is probed, so a damaged table that never shows an
// empty slot still ends the search.
std::optional<std::size_t> FieldsImage::findField(std::string_view name) const noexcept {
  const std::size_t mask = hashSlots_ - 1;
  std::size_t slot = format::nameHash(name) & mask;
  for (std::size_t probes = 0; probes < hashSlots_; ++probes, slot = (slot + 1) & mask) {
    const std::uint32_t entry = u32At(format::kNameHash, slot);
    if (entry == 0) return std::nullopt;
    const std::size_t field = entry - 1;
    if (field < fieldCount_ && fieldName(field) == name) return field;
  }
  return std::nullopt;
}

char32_t FieldsImage::codePointAt(std::size_t index) const noexcept {
  return u32At(format::kCodePoints, index);
}

// The page table narrows the search to the code points of one 256-wide
// page; its entries are clamped, so a damaged table narrows wrongly but
// never past the array. Code points are distinct and ascending, so one
// stands at most its offset in the page past the page's first index, and
// exactly there when the page is full.
std::optional<std::size_t> FieldsImage::findCodePoint(char32_t codePoint) const noexcept {
  const std::size_t page = codePoint >> format::kPageShift;
  if (page >= pageCount_) return std::nullopt;
  std::size_t lo = std::min<std::size_t>(u32At(format::kPageStarts, page), codePointCount_);
  std::size_t hi = std::min<std::size_t>(u32At(format::kPageStarts, page + 1), codePointCount_);
  const std::size_t direct = lo + (codePoint & ((1U << format::kPageShift) - 1));
  if (direct < hi) {
    if (codePointAt(direct) == codePoint) return direct;
    hi = direct;
  }
  while (lo < hi) {
    const std::size_t mid = lo + (hi - lo) / 2;
    const char32_t found = codePointAt(mid);
    if (found == codePoint) return mid;
    if (found < codePoint) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  return std::nullopt;
}

EntryRange FieldsImage::entries(std::size_t codePointIndex) const noexcept {
  const std::size_t end = std::min<std::size_t>(
      recordField(codePointIndex + 1, format::kRecordFirstEntry), entryCount_);
  const std::size_t begin =
      std::min<std::size_t>(recordField(codePointIndex, format::kRecordFirstEntry), end);
  return {begin, end};
}

const unsigned char* FieldsImage::fieldSet(std::size_t codePointIndex) const noexcept {
  const std::uint32_t set = recordField(codePointIndex, format::kRecordFieldSet);
  if (set >= setCount_) return nullptr;
  return section(format::kFieldSets).data + set * setWords_ * format::kU64;
}

// The length is read byte by byte up to the pool's end, and the value must
// fit in what is left of it.
std::string_view FieldsImage::entryValue(std::size_t entry) const noexcept {
  const Span pool = section(format::kValueBytes);
  std::size_t at = u32At(format::kEntryValues, entry);
  std::uint64_t length = 0;
  for (unsigned shift = 0;; shift += 7) {
    if (at >= pool.size || shift >= 7 * format::kMaxLengthBytes) return {};
    const unsigned char byte = pool.data[at++];
    length |= static_cast<std::uint64_t>(byte & 0x7FU) << shift;
    if ((byte & 0x80U) == 0) break;
  }
  if (length > pool.size - at) return {};
  return asChars(pool.data + at, static_cast<std::size_t>(length));
}

// The entry's place among the code point's is the number of its fields
// below this one: whole words before, and the bits below in this word.
std::optional<std::string_view> FieldsImage::fieldValue(std::size_t codePointIndex,
                                                        std::size_t field) const noexcept {
  if (field >= fieldCount_) return std::nullopt;
  const unsigned char* set = fieldSet(codePointIndex);
  if (set == nullptr) return std::nullopt;
  const std::size_t word = field / format::kBitsPerWord;
  const std::uint64_t bit = std::uint64_t{1} << (field % format::kBitsPerWord);
  const std::uint64_t bits = format::load64(set + word * format::kU64);
  if ((bits & bit) == 0) return std::nullopt;
  std::size_t rank = static_cast<std::size_t>(__builtin_popcountll(bits & (bit - 1)));
  for (std::size_t w = 0; w < word; ++w) {
    rank += static_cast<std::size_t>(__builtin_popcountll(format::load64(set + w * format::kU64)));
  }
  const EntryRange range = entries(codePointIndex);
  if (rank >= range.end - range.begin) return std::nullopt;
  return entryValue(range.begin + rank);
}

}  // namespace kelvorn_fields_private

#include "fields/ImageBuilder.h"

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "app/files/Crc32.h"
#include "fields/FieldsFormat.h"
#include "kelvorn/UnihanFields.h"

namespace kelvorn_fields_private {
namespace {

namespace fmt = format;

void put16(std::string* out, std::uint16_t v) {
  out->push_back(static_cast<char>(v & 0xFFU));
  out->push_back(static_cast<char>(v >> 8));
}

void put32(std::string* out, std::uint32_t v) {
  put16(out, static_cast<std::uint16_t>(v & 0xFFFFU));
  put16(out, static_cast<std::uint16_t>(v >> 16));
}

void put64(std::string* out, std::uint64_t v) {
  put32(out, static_cast<std::uint32_t>(v & 0xFFFFFFFFU));
  put32(out, static_cast<std::uint32_t>(v >> 32));
}

void store32(std::string* out, std::size_t at, std::uint32_t v) {
  std::string bytes;
  put32(&bytes, v);
  out->replace(at, bytes.size(), bytes);
}

void store64(std::string* out, std::size_t at, std::uint64_t v) {
  std::string bytes;
  put64(&bytes, v);
  out->replace(at, bytes.size(), bytes);
}

std::uint32_t narrow(std::size_t n, const char* what) {
  if (n > fmt::kMaxCount) {
    throw kelvorn::FieldsError(std::string("too much data for an all-field image: ") + what);
  }
  return static_cast<std::uint32_t>(n);
}

using Sections = std::array<std::string, fmt::kSectionCount>;

void addFieldNames(const ParsedText& text, Sections* s) {
  std::string& offsets = (*s)[fmt::kNameOffsets];
  std::string& bytes = (*s)[fmt::kNameBytes];
  put32(&offsets, 0);
  for (const std::string_view name : text.fieldNames) {
    bytes.append(name);
    put32(&offsets, narrow(bytes.size(), "field names"));
  }
}

// Twice as many slots as names (and at least one) keeps the probes short.
void addNameHash(const ParsedText& text, Sections* s) {
  std::size_t slots = 1;
  while (slots < 2 * text.fieldNames.size()) slots *= 2;
  std::vector<std::uint32_t> table(slots, 0);
  for (std::size_t field = 0; field < text.fieldNames.size(); ++field) {
    std::size_t slot = fmt::nameHash(text.fieldNames[field]) & (slots - 1);
    while (table[slot] != 0) slot = (slot + 1) & (slots - 1);
    table[slot] = narrow(field + 1, "fields");
  }
  for (const std::uint32_t entry : table) put32(&(*s)[fmt::kNameHash], entry);
}

// Field sets are kept as their bytes in the image, which makes them their
// own keys for sharing.
class FieldSets {
 public:
  explicit FieldSets(std::size_t fieldCount) : words_(fmt::setWords(fieldCount)) {}
  void add(std::uint32_t field) { bits_.at(field / fmt::kBitsPerWord) |= std::uint64_t{1} << (field % fmt::kBitsPerWord); }
  std::uint32_t finishSet(std::string* table) {
    std::string bytes;
    for (const std::uint64_t word : bits_) put64(&bytes, word);
    bits_.assign(words_, 0);
    const auto [it, added] = ids_.emplace(bytes, narrow(ids_.size(), "field sets"));
    if (added) table->append(bytes);
    return it->second;
  }

 private:
  std::size_t words_;
  std::vector<std::uint64_t> bits_ = std::vector<std::uint64_t>(words_, 0);
  std::unordered_map<std::string, std::uint32_t> ids_;
};

// Code points, where each one's entries start, its field set, and the page
// table over them.
void addCodePoints(const ParsedText& text, Sections* s) {
  std::string& codePoints = (*s)[fmt::kCodePoints];
  std::string& cpRecords = (*s)[fmt::kRecords];
  std::vector<char32_t> held;
  FieldSets sets(text.fieldNames.size());
  const std::vector<Record>& records = text.records;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const char32_t cp = records[i].codePoint;
    held.push_back(cp);
    put32(&codePoints, cp);
    put32(&cpRecords, narrow(i, "entries"));
    for (; i < records.size() && records[i].codePoint == cp; ++i) sets.add(records[i].field);
    put32(&cpRecords, sets.finishSet(&(*s)[fmt::kFieldSets]));
    --i;
  }
  put32(&cpRecords, narrow(records.size(), "entries"));
  put32(&cpRecords, 0);
  std::string& pages = (*s)[fmt::kPageStarts];
  const std::size_t pageCount = held.empty() ? 0 : (held.back() >> fmt::kPageShift) + 1;
  std::size_t index = 0;
  for (std::size_t page = 0; page < pageCount; ++page) {
    while (index < held.size() && (held[index] >> fmt::kPageShift) < page) ++index;
    put32(&pages, narrow(index, "code points"));
  }
  put32(&pages, narrow(held.size(), "code points"));
}

void putLength(std::string* out, std::size_t length) {
  do {
    const auto low = static_cast<unsigned char>(length & 0x7FU);
    length >>= 7;
    out->push_back(static_cast<char>(length != 0 ? low | 0x80U : low));
  } while (length != 0);
}

// Values repeat often enough (stroke counts, readings, radicals) that each
// distinct one is stored once and entries point at it.
void addValues(const ParsedText& text, Sections* s) {
  std::string& entries = (*s)[fmt::kEntryValues];
  std::string& pool = (*s)[fmt::kValueBytes];
  entries.reserve(text.records.size() * fmt::kU32);
  std::unordered_map<std::string_view, std::uint32_t> offsets;
  offsets.reserve(text.records.size());
  for (const Record& r : text.records) {
    const auto [it, added] = offsets.emplace(r.value, narrow(pool.size(), "values"));
    if (added) {
      putLength(&pool, r.value.size());
      pool.append(r.value);
    }
    put32(&entries, it->second);
  }
}

std::string assemble(const Sections& sections) {
  std::string image(fmt::kFirstSectionOffset, '\0');
  image.replace(fmt::header::kMagic, fmt::kMagicLength, fmt::kMagic, fmt::kMagicLength);
  store32(&image, fmt::header::kFormatVersion, fmt::kFormatVersion);
  store32(&image, fmt::header::kSectionCount, fmt::kSectionCount);
  for (std::size_t i = 0; i < sections.size(); ++i) {
    image.resize((image.size() + fmt::kSectionAlignment - 1) / fmt::kSectionAlignment *
                     fmt::kSectionAlignment, '\0');
    const std::size_t entry = fmt::header::kSize + i * fmt::sectionEntry::kLength;
    store64(&image, entry + fmt::sectionEntry::kOffset, image.size());
    store64(&image, entry + fmt::sectionEntry::kSize, sections[i].size());
    image.append(sections[i]);
  }
  store64(&image, fmt::header::kFileSize, image.size());
  store32(&image, fmt::header::kChecksum,
          kelvorn_files::crc32(std::string_view(image).substr(fmt::header::kSize)));
  return image;
}

}  // namespace

std::string buildImage(const ParsedText& text, std::string_view unicodeVersion) {
  if (unicodeVersion.empty()) throw kelvorn::FieldsError("an all-field image needs a Unicode version");
  Sections sections;
  sections[fmt::kVersion] = std::string(unicodeVersion);
  addFieldNames(text, &sections);
  addNameHash(text, &sections);
  addCodePoints(text, &sections);
  addValues(text, &sections);
  return assemble(sections);
}

}  // namespace kelvorn_fields_private

#include "fields/ImageBuilder.h"

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "fields/Crc32.h"
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

// A list of strings as an offsets array and the bytes they index.
struct StringTable {
  std::string offsets;
  std::string bytes;

  explicit StringTable(std::size_t expected) { offsets.reserve((expected + 1) * fmt::kU32); put32(&offsets, 0); }
  void add(std::string_view s) {
    bytes.append(s);
    put32(&offsets, narrow(bytes.size(), "string pool"));
  }
};

using Sections = std::array<std::string, fmt::kSectionCount>;

void addFieldNames(const ParsedText& text, Sections* s) {
  if (text.fieldNames.size() > fmt::kMaxFields) {
    throw kelvorn::FieldsError("too many fields for an all-field image");
  }
  StringTable names(text.fieldNames.size());
  for (const std::string_view name : text.fieldNames) names.add(name);
  (*s)[fmt::kNameOffsets] = std::move(names.offsets);
  (*s)[fmt::kNameBytes] = std::move(names.bytes);
}

// Code points, where each one's entries start, and the page table over them.
void addCodePoints(const ParsedText& text, Sections* s) {
  std::string& codePoints = (*s)[fmt::kCodePoints];
  std::string& starts = (*s)[fmt::kEntryStarts];
  std::vector<char32_t> held;
  for (std::size_t i = 0; i < text.records.size(); ++i) {
    const char32_t cp = text.records[i].codePoint;
    if (!held.empty() && held.back() == cp) continue;
    held.push_back(cp);
    put32(&codePoints, cp);
    put32(&starts, narrow(i, "entries"));
  }
  put32(&starts, narrow(text.records.size(), "entries"));
  std::string& pages = (*s)[fmt::kPageStarts];
  const std::size_t pageCount = held.empty() ? 0 : (held.back() >> fmt::kPageShift) + 1;
  std::size_t index = 0;
  for (std::size_t page = 0; page < pageCount; ++page) {
    while (index < held.size() && (held[index] >> fmt::kPageShift) < page) ++index;
    put32(&pages, narrow(index, "code points"));
  }
  put32(&pages, narrow(held.size(), "code points"));
}

// Values repeat a great deal (stroke counts, readings, sources), so each
// distinct one is stored once and entries refer to it.
void addEntries(const ParsedText& text, Sections* s) {
  std::string& fields = (*s)[fmt::kEntryFields];
  std::string& values = (*s)[fmt::kEntryValues];
  fields.reserve(text.records.size() * fmt::kU16);
  values.reserve(text.records.size() * fmt::kU32);
  std::unordered_map<std::string_view, std::uint32_t> ids;
  StringTable pool(text.records.size() / 4);
  for (const Record& r : text.records) {
    const auto [it, added] = ids.emplace(r.value, narrow(ids.size(), "distinct values"));
    if (added) pool.add(r.value);
    put16(&fields, static_cast<std::uint16_t>(r.field));
    put32(&values, it->second);
  }
  (*s)[fmt::kValueOffsets] = std::move(pool.offsets);
  (*s)[fmt::kValueBytes] = std::move(pool.bytes);
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
          crc32(std::string_view(image).substr(fmt::header::kSize)));
  return image;
}

}  // namespace

std::string buildImage(const ParsedText& text, std::string_view unicodeVersion) {
  if (unicodeVersion.empty()) throw kelvorn::FieldsError("an all-field image needs a Unicode version");
  Sections sections;
  sections[fmt::kVersion] = std::string(unicodeVersion);
  addFieldNames(text, &sections);
  addCodePoints(text, &sections);
  addEntries(text, &sections);
  return assemble(sections);
}

}  // namespace kelvorn_fields_private

// Writing the stored lexicon tables (LexiconFormat.h) from the indexes a
// lexicon builds, so that the tables answer what the indexes would.
#include <algorithm>
#include <string>
#include <utility>

#include "fields/FieldsFormat.h"
#include "fields/GlossIndex.h"
#include "fields/LexiconFormat.h"
#include "fields/StoredLexicon.h"
#include "fields/ValueIndex.h"

namespace kelvorn_fields_private {
namespace lf = lexicon_format;
namespace {

void put32(std::string* out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out->push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void put64(std::string* out, std::uint64_t v) {
  put32(out, static_cast<std::uint32_t>(v));
  put32(out, static_cast<std::uint32_t>(v >> 32));
}

// A posting table of keys in bytewise order, so that the same store always
// gives the same file.
template <class Map>
std::string postingTable(std::string_view name, const Map& lists) {
  std::vector<std::string_view> keys;
  keys.reserve(lists.size());
  for (const auto& entry : lists) keys.emplace_back(entry.first);
  std::sort(keys.begin(), keys.end());
  std::uint32_t slotCount = 1;
  while (slotCount <= 2 * keys.size()) slotCount *= 2;
  std::vector<std::uint32_t> slots(slotCount, 0);
  std::string keyStarts, listStarts, items, keyBytes;
  for (std::uint32_t k = 0; k < keys.size(); ++k) {
    put32(&keyStarts, static_cast<std::uint32_t>(keyBytes.size()));
    put32(&listStarts, static_cast<std::uint32_t>(items.size() / lf::kU32));
    keyBytes += keys[k];
    for (const auto item : lists.find(typename Map::key_type(keys[k]))->second) {
      put32(&items, static_cast<std::uint32_t>(item));
    }
    std::uint32_t slot = format::nameHash(keys[k]) & (slotCount - 1);
    while (slots[slot] != 0) slot = (slot + 1) & (slotCount - 1);
    slots[slot] = k + 1;
  }
  put32(&keyStarts, static_cast<std::uint32_t>(keyBytes.size()));
  put32(&listStarts, static_cast<std::uint32_t>(items.size() / lf::kU32));
  std::string out;
  put32(&out, static_cast<std::uint32_t>(name.size()));
  put32(&out, static_cast<std::uint32_t>(keys.size()));
  put32(&out, static_cast<std::uint32_t>(items.size() / lf::kU32));
  put32(&out, slotCount);
  out += keyStarts;
  out += listStarts;
  for (const std::uint32_t s : slots) put32(&out, s);
  out += items;
  out += name;
  out += keyBytes;
  return out;
}

}  // namespace

std::string writeStoredLexicon(const kelvorn::UnihanFields& fields,
                               const std::vector<std::string_view>& valueFields) {
  std::vector<std::string> tables;
  const GlossIndex gloss(fields);
  std::string order;
  for (const char32_t cp : gloss.order()) put32(&order, static_cast<std::uint32_t>(cp));
  tables.push_back(std::move(order));
  tables.push_back(postingTable("", gloss.words()));
  for (const std::string_view name : valueFields) {
    const std::optional<std::size_t> field = fields.fieldIndex(name);
    if (field) tables.push_back(postingTable(name, ValueIndex(fields, *field).lists()));
  }

  std::string out(lf::kMagic, lf::kMagicLength);
  put32(&out, lf::kFormatVersion);
  put32(&out, static_cast<std::uint32_t>(tables.size()));
  put64(&out, 0);  // the size, once known
  out.append(fields.imageBytes().substr(0, lf::header::kImageHeaderSize));
  out.resize(lf::header::kSize, '\0');
  std::uint64_t offset = lf::header::kSize + tables.size() * lf::entry::kLength;
  for (const std::string& table : tables) {
    offset += (lf::kTableAlignment - offset % lf::kTableAlignment) % lf::kTableAlignment;
    put64(&out, offset);
    put64(&out, table.size());
    offset += table.size();
  }
  for (const std::string& table : tables) {
    out.resize(
        out.size() + (lf::kTableAlignment - out.size() % lf::kTableAlignment) % lf::kTableAlignment,
        '\0');
    out += table;
  }
  std::string size;
  put64(&size, out.size());
  out.replace(lf::header::kFileSize, size.size(), size);
  return out;
}

}  // namespace kelvorn_fields_private

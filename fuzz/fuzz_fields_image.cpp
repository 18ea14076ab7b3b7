// Arbitrary bytes as an all-field image: opening either refuses them with a
// FieldsError or gives a store whose every query, and every conversion and
// search of a lexicon over it, stays inside the buffer,
// and a store that also passes verify() saves and reopens unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "kelvorn/UnihanFields.h"
#include "kelvorn/UnihanLexicon.h"

namespace {

// Touches every byte a query hands back, so that a view past the buffer is
// read (and caught by the address sanitizer) rather than only formed.
std::size_t touch(std::string_view s) {
  std::size_t sum = 0;
  for (const char c : s) sum += static_cast<unsigned char>(c);
  return sum;
}

std::size_t queryAll(const kelvorn::UnihanFields& f) {
  std::size_t sum = touch(f.unicodeVersion());
  const std::vector<std::string_view> names = f.fieldNames();
  for (const std::string_view name : names) sum += touch(name);
  std::vector<char32_t> probes = f.codePoints();
  if (probes.size() > 64) probes.resize(64);
  for (const char32_t extra : {0x0U, 0x3400U, 0x10FFFFU, 0xFFFFFFFFU}) probes.push_back(extra);
  for (const char32_t cp : probes) {
    for (const kelvorn::FieldValue& fv : f.fields(cp)) sum += touch(fv.field) + touch(fv.value);
    for (std::size_t i = 0; i < names.size() && i < 8; ++i) {
      if (const auto v = f.value(cp, names[i])) sum += touch(*v);
      for (const std::string_view piece : f.values(cp, names[i])) sum += touch(piece);
    }
    sum += f.valueAt(cp, names.size()).has_value() ? 1 : 0;
  }
  if (!names.empty()) sum += f.codePointsWith(names.front()).size();
  // The lexicon's tables are sized from what the image holds.
  const kelvorn::UnihanLexicon lexicon(f);
  for (const kelvorn::Script to : {kelvorn::Script::kSimplified, kelvorn::Script::kTraditional}) {
    sum += lexicon.conversionTable(to).size() + lexicon.convert("\xE6\xBC\xA2\xE5\xAD\x97 x", to).size();
  }
  sum += lexicon.search("water").size();
  return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A heap block of exactly the input's size, so that a read past its end
  // is caught.
  const std::vector<char> exact(data, data + size);
  const std::string_view bytes(exact.data(), exact.size());
  try {
    const kelvorn::UnihanFields f = kelvorn::UnihanFields::fromBuffer(bytes);
    (void)queryAll(f);
    f.verify();
    const kelvorn::UnihanFields copy = kelvorn::UnihanFields::fromOwnedBuffer(std::string(bytes));
    if (copy.imageBytes() != bytes || copy.fieldNames() != f.fieldNames() ||
        copy.codePoints() != f.codePoints()) {
      std::abort();
    }
  } catch (const kelvorn::FieldsError&) {
    // Refused: the defined answer to bytes that are not a sound image.
  }
  return 0;
}

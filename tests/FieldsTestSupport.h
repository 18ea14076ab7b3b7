// What the all-field tests share: building a store from text in one call,
// the message of the error a call throws (the application tests' too), and
// forging images whose checksum still matches.
#ifndef KELVORN_TESTS_FIELDSTESTSUPPORT_H
#define KELVORN_TESTS_FIELDSTESTSUPPORT_H

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "app/files/Crc32.h"
#include "fields/FieldsFormat.h"
#include "kelvorn/UnihanFields.h"
#include "support/DataLines.h"

namespace fieldstest {

inline kelvorn::UnihanFields build(std::string_view text) {
  return kelvorn::UnihanFields::fromTextBuffer(text, "17.0", "t.txt");
}

// The message of the kelvorn::Error (a FieldsError, say) that `f` throws;
// fails the test (and returns "") when it throws nothing.
template <class F>
std::string errorOf(F&& f) {
  try {
    f();
  } catch (const kelvorn::Error& e) {
    return e.what();
  }
  ADD_FAILURE() << "no kelvorn::Error";
  return "";
}

inline std::string valueOr(const std::optional<std::string_view>& v, std::string absent) {
  return v ? std::string(*v) : absent;
}

using testsupport::forEachDataLine;

// Where field `field` (kOffset or kSize) of a section's entry lies.
inline std::size_t sectionEntryAt(std::size_t section, std::size_t field) {
  namespace format = kelvorn_fields_private::format;
  return format::header::kSize + section * format::sectionEntry::kLength + field;
}

inline std::uint64_t sectionField(const std::string& image, std::size_t section, std::size_t field) {
  std::uint64_t v = 0;
  std::memcpy(&v, image.data() + sectionEntryAt(section, field), sizeof v);
  return v;
}

inline void store32(std::string* image, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) (*image)[at + i] = static_cast<char>(v >> (8 * i));
}

// A forged image: damaged and given a checksum that matches again, which
// only opening's checks and the readers' own bounds stand against.
inline void reseal(std::string* image) {
  namespace format = kelvorn_fields_private::format;
  store32(image, format::header::kChecksum,
          kelvorn_files::crc32(std::string_view(*image).substr(format::header::kSize)));
}

}  // namespace fieldstest

#endif  // KELVORN_TESTS_FIELDSTESTSUPPORT_H

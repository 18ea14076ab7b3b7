// What the all-field tests share: building a store from text in one call,
// and expecting a FieldsError whose message mentions something.
#ifndef KELVORN_TESTS_FIELDSTESTSUPPORT_H
#define KELVORN_TESTS_FIELDSTESTSUPPORT_H

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "kelvorn/UnihanFields.h"

namespace fieldstest {

inline kelvorn::UnihanFields build(std::string_view text) {
  return kelvorn::UnihanFields::fromTextBuffer(text, "17.0", "t.txt");
}

// The message of the FieldsError that `f` throws; fails the test (and
// returns "") when it throws nothing.
template <class F>
std::string errorOf(F&& f) {
  try {
    f();
  } catch (const kelvorn::FieldsError& e) {
    return e.what();
  }
  ADD_FAILURE() << "no FieldsError";
  return "";
}

inline std::string valueOr(const std::optional<std::string_view>& v, std::string absent) {
  return v ? std::string(*v) : absent;
}

}  // namespace fieldstest

#endif  // KELVORN_TESTS_FIELDSTESTSUPPORT_H

// The shared file layer (src/app/files) throws kelvorn::Error; what the
// all-field library throws is a kelvorn::FieldsError, whose callers catch
// it by that name. The message stays as the file layer wrote it, so that
// every door refuses a file with the same words.
#ifndef KELVORN_FIELDS_FILEERRORS_H
#define KELVORN_FIELDS_FILEERRORS_H

#include <utility>

#include "kelvorn/UnihanFields.h"

namespace kelvorn_fields_private {

template <class Action>
decltype(auto) asFieldsError(Action&& action) {
  try {
    return std::forward<Action>(action)();
  } catch (const kelvorn::FieldsError&) {
    throw;
  } catch (const kelvorn::Error& e) {
    throw kelvorn::FieldsError(e.what());
  }
}

}  // namespace kelvorn_fields_private

#endif  // KELVORN_FIELDS_FILEERRORS_H

// Writing a file so that it is complete or absent: the bytes go to a new
// file in the target's directory, which is flushed to disk and only then
// renamed over the target. On any failure the new file is removed and the
// target is left as it was.
#ifndef KELVORN_FIELDS_ATOMICWRITE_H
#define KELVORN_FIELDS_ATOMICWRITE_H

#include <string>
#include <string_view>

namespace kelvorn_fields_private {

// Throws kelvorn::FieldsError naming the path.
void writeFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace kelvorn_fields_private

#endif  // KELVORN_FIELDS_ATOMICWRITE_H

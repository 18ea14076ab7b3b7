// Writing an index's tables as bytes and reading them back (IndexFormat.h
// describes the bytes).
#ifndef KELVORN_INDEX_INDEXCODEC_H
#define KELVORN_INDEX_INDEXCODEC_H

#include <string>
#include <string_view>

#include "index/IndexData.h"

namespace kelvorn_index_private {

class IndexCodec {
 public:
  static std::string write(const IndexData& data, std::string_view tag);
  // Fills data's tables from bytes written under the same tag. False, with
  // the tables in an unspecified state, when the bytes are damaged, of
  // another format version or tagged otherwise.
  static bool read(std::string_view bytes, std::string_view tag, IndexData* data);

 private:
  class Body;
};

}  // namespace kelvorn_index_private

#endif  // KELVORN_INDEX_INDEXCODEC_H

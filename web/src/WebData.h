// What one loaded WebAssembly instance answers from: the core, and, when
// the caller gave them, the all-field store with its lexicon and the reverse
// index. The module keeps one of these; JavaScript makes a new instance for
// each data set it loads.
#ifndef KELVORN_WEB_WEBDATA_H
#define KELVORN_WEB_WEBDATA_H

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "kelvorn/Unihan.h"
#include "kelvorn/UnihanFields.h"
#include "kelvorn/UnihanIndex.h"
#include "kelvorn/UnihanLexicon.h"

namespace kelvorn_web {

// A buffer that JavaScript filled through the module's allocator and handed
// over; freed with the data that answers from it.
struct Buffer {
  std::shared_ptr<char> bytes;
  std::size_t length = 0;
  std::string_view view() const { return {bytes.get(), length}; }
};

Buffer adopt(char* bytes, std::size_t length);

struct WebData {
  kelvorn::Unihan unihan;
  Buffer coreBytes;    // named in the saved index's data tag
  Buffer fieldsBytes;  // the all-field store answers from it in place
  std::optional<kelvorn::UnihanFields> fields;
  std::optional<kelvorn::UnihanLexicon> lexicon;
  std::optional<kelvorn::UnihanIndex> index;
};

// Each throws kelvorn::Error or kelvorn::FieldsError with the reason. The
// core comes first; the all-field store and the index may follow when they
// are first asked for.
std::unique_ptr<WebData> loadCore(const Buffer& core);
// An all-field image, or Unihan text.
void addFields(WebData& data, const Buffer& fields);
// The saved index when it was saved for these images, otherwise (an empty
// or foreign one) an index built here.
void addIndex(WebData& data, const Buffer& saved);

}  // namespace kelvorn_web

#endif  // KELVORN_WEB_WEBDATA_H

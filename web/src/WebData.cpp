#include "WebData.h"

#include <cstdlib>
#include <utility>

#include "index/saved/DataTag.h"
#include "index/saved/FieldExtras.h"

namespace kelvorn_web {
namespace {

constexpr std::string_view kFieldsMagic("kelvorn unihan fields");

kelvorn::UnihanFields openFields(std::string_view bytes) {
  if (bytes.substr(0, kFieldsMagic.size()) == kFieldsMagic) {
    return kelvorn::UnihanFields::fromBuffer(bytes, kelvorn::FieldsCheck::kStructure,
                                             "the all-field data");
  }
  // Unihan text does not say which release it is.
  return kelvorn::UnihanFields::fromTextBuffer(bytes, "unknown", "the all-field data");
}

}  // namespace

Buffer adopt(char* bytes, std::size_t length) {
  return Buffer{std::shared_ptr<char>(bytes, [](char* p) { std::free(p); }), length};
}

std::unique_ptr<WebData> loadCore(const Buffer& core) {
  auto data = std::make_unique<WebData>();
  data->unihan = kelvorn::Unihan::fromMemory(core.view(), "the core data");
  data->coreBytes = core;
  return data;
}

void addFields(WebData& data, const Buffer& fields) {
  kelvorn::UnihanFields opened = openFields(fields.view());
  data.fieldsBytes = fields;
  data.lexicon.emplace(opened);
  data.fields.emplace(std::move(opened));
}

void addIndex(WebData& data, const Buffer& saved) {
  const kelvorn::UnihanMgr core = data.unihan.core();
  if (!data.fields) {
    data.index.emplace(core);
    return;
  }
  if (saved.length > 0) {
    const std::string tag =
        kelvorn_saved_index::dataTagOf(data.coreBytes.view(), data.fields->imageBytes());
    std::optional<kelvorn::UnihanIndex> index =
        kelvorn::UnihanIndex::fromBytes(core, saved.bytes, saved.view(), tag);
    if (index) {
      data.index.emplace(std::move(*index));
      return;
    }
  }
  data.index.emplace(core, kelvorn_saved_index::radicalStrokeExtras(*data.fields));
}

}  // namespace kelvorn_web

#include "IndexOptions.h"

#include <fstream>
#include <optional>

#include "DataFiles.h"
#include "FieldsImageFile.h"
#include "kelvorn/UnihanImage.h"
#include "ToolError.h"
#include "index/saved/FieldExtras.h"
#include "index/saved/SavedIndex.h"
#include "CharArguments.h"

namespace unihan_tool {

bool isCoreImage(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string head(kelvorn::kImageMagicLength, '\0');
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  return in.gcount() == static_cast<std::streamsize>(head.size()) &&
         head == std::string_view(kelvorn::kImageMagic, kelvorn::kImageMagicLength);
}

kelvorn::RadicalStrokeExtras radicalStrokeExtras(const kelvorn::UnihanFields& fields) {
  return kelvorn_saved_index::radicalStrokeExtras(fields);
}

std::optional<std::string> coreImagePath(const GlobalOptions& global) {
  if (global.dataGiven) {
    if (isCoreImage(global.data)) return global.data;
    return std::nullopt;
  }
  try {
    return bundledFilePath("unihan-" KELVORN_UNICODE_VERSION ".bin");
  } catch (const ToolError&) {
    return std::nullopt;
  }
}

int parseNumberArgument(const std::string& arg, const std::string& what, int low, int high) {
  const bool digits = !arg.empty() && arg.size() <= 9 &&
                      arg.find_first_not_of("0123456789") == std::string::npos;
  const int value = digits ? std::stoi(arg) : -1;
  if (value < low || value > high) {
    throw ToolError("bad " + what + " '" + arg + "' (expected " + std::to_string(low) + " to " +
                    std::to_string(high) + ")");
  }
  return value;
}

// The bundle of --data (or the bundled core image) and the all-field data
// that gives the radical marks: --fields-data, else the bundled all-field
// image beside the bundled core image, or the same text for a text --data.
// A core image alone has no marks; then, as for text the all-field reader
// refuses, the order falls back to the core's values.
kelvorn::Unihan openSelectedBundle(const GlobalOptions& global, const std::string& fieldsData) {
  if (!global.dataGiven) {
    if (fieldsData.empty()) return kelvorn::Unihan::bundled();
    return kelvorn::Unihan::open(bundledFilePath("unihan-" KELVORN_UNICODE_VERSION ".bin"),
                                 fieldsData);
  }
  if (fieldsData.empty()) return kelvorn::Unihan::open(global.data);
  return kelvorn::Unihan::open(global.data, fieldsData);
}

nlohmann::ordered_json charJson(char32_t codePoint) {
  return {{"codePoint", codePointLabel(codePoint)}, {"char", kelvorn::utf8::encode(codePoint)}};
}

std::string jsonLine(const nlohmann::ordered_json& value) {
  return value.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace unihan_tool

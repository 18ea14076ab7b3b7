#include "IndexOptions.h"

#include <algorithm>
#include <fstream>
#include <optional>

#include "DataFiles.h"
#include "FieldsImageFile.h"
#include "kelvorn/UnihanImage.h"
#include "ToolError.h"
#include "CharArguments.h"

namespace unihan_tool {
namespace {

std::string namesOf(const std::vector<kelvorn::unihanPropT>& fields) {
  std::string out;
  for (const kelvorn::unihanPropT f : fields) {
    out += (out.empty() ? "" : ", ") + std::string(kelvorn::fieldName(f));
  }
  return out;
}

bool isCoreImage(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string head(kelvorn::kImageMagicLength, '\0');
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  return in.gcount() == static_cast<std::streamsize>(head.size()) &&
         head == std::string_view(kelvorn::kImageMagic, kelvorn::kImageMagicLength);
}

// The all-field data beside the selected data: the bundled all-field image
// beside the bundled image, the same text for a text --data. A core image
// has no kRSUnicode marks, and text the all-field reader refuses (which the
// core reads leniently) gives none either: the order then falls back to the
// core's values.
std::optional<kelvorn::UnihanFields> fieldsOfSelectedData(const GlobalOptions& global) {
  try {
    if (!global.dataGiven) return openFieldsImage("");
    if (isCoreImage(global.data)) return std::nullopt;
    return kelvorn::UnihanFields::fromText({global.data}, "unknown");
  } catch (const kelvorn::FieldsError&) {
    return std::nullopt;
  } catch (const ToolError&) {
    return std::nullopt;
  }
}

kelvorn::RadicalStrokeExtras radicalStrokeExtras(const GlobalOptions& global) {
  kelvorn::RadicalStrokeExtras extras;
  const std::optional<kelvorn::UnihanFields> fields = fieldsOfSelectedData(global);
  if (!fields) return extras;
  for (const char32_t cp : fields->codePointsWith("kRSUnicode")) {
    extras.addRSUnicode(cp, fields->value(cp, "kRSUnicode").value_or(""));
  }
  for (const char32_t cp : fields->codePointsWith("kCompatibilityVariant")) {
    extras.addCompatibilityVariant(cp, fields->value(cp, "kCompatibilityVariant").value_or(""));
  }
  return extras;
}

}  // namespace

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

kelvorn::unihanPropT parseFieldName(const std::string& name,
                                    const std::vector<kelvorn::unihanPropT>& allowed) {
  const auto it = std::find_if(allowed.begin(), allowed.end(),
                               [&name](kelvorn::unihanPropT f) { return kelvorn::fieldName(f) == name; });
  if (it == allowed.end()) {
    throw ToolError("unknown field '" + name + "' (expected one of " + namesOf(allowed) + ")");
  }
  return *it;
}

std::unique_ptr<LoadedIndex> loadIndex(const GlobalOptions& global) {
  auto loaded = std::make_unique<LoadedIndex>();
  loaded->unihan = loadSelectedData(global);
  loaded->index = std::make_unique<kelvorn::UnihanIndex>(loaded->unihan.core(),
                                                         radicalStrokeExtras(global));
  return loaded;
}

nlohmann::ordered_json charJson(char32_t codePoint) {
  return {{"codePoint", codePointLabel(codePoint)}, {"char", kelvorn::utf8::encode(codePoint)}};
}

std::string jsonLine(const nlohmann::ordered_json& value) {
  return value.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace unihan_tool

#include "IndexOptions.h"

#include <algorithm>

#include "DataFiles.h"
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
  loaded->index = std::make_unique<kelvorn::UnihanIndex>(loaded->unihan.core());
  return loaded;
}

nlohmann::ordered_json charJson(char32_t codePoint) {
  return {{"codePoint", codePointLabel(codePoint)}, {"char", kelvorn::utf8::encode(codePoint)}};
}

std::string jsonLine(const nlohmann::ordered_json& value) {
  return value.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace unihan_tool

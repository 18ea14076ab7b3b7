#include "IndexOptions.h"

#include <algorithm>
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
namespace {

std::string namesOf(const std::vector<kelvorn::unihanPropT>& fields) {
  std::string out;
  for (const kelvorn::unihanPropT f : fields) {
    out += (out.empty() ? "" : ", ") + std::string(kelvorn::fieldName(f));
  }
  return out;
}

}  // namespace

bool isCoreImage(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string head(kelvorn::kImageMagicLength, '\0');
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  return in.gcount() == static_cast<std::streamsize>(head.size()) &&
         head == std::string_view(kelvorn::kImageMagic, kelvorn::kImageMagicLength);
}

namespace {

// The all-field data that gives the radical marks: the image --fields-data
// names; else the bundled all-field image beside the bundled image, or the
// same text for a text --data. A core image has no kRSUnicode marks, and
// text the all-field reader refuses (which the core reads leniently) gives
// none either: the order then falls back to the core's values.
struct MarksData {
  std::optional<kelvorn::UnihanFields> fields;
  std::string imagePath;  // empty when the marks come from text
};

MarksData marksData(const GlobalOptions& global, const std::string& fieldsData) {
  if (!fieldsData.empty()) return {openFieldsImage(fieldsData), fieldsData};
  try {
    if (!global.dataGiven) {
      const std::string path = bundledFieldsImagePath();
      return {kelvorn::UnihanFields::open(path), path};
    }
    if (isCoreImage(global.data)) return {};
    return {kelvorn::UnihanFields::fromText({global.data}, "unknown"), ""};
  } catch (const kelvorn::FieldsError&) {
    return {};
  } catch (const ToolError&) {
    return {};
  }
}

}  // namespace

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

kelvorn::unihanPropT parseFieldName(const std::string& name,
                                    const std::vector<kelvorn::unihanPropT>& allowed) {
  const auto it = std::find_if(allowed.begin(), allowed.end(),
                               [&name](kelvorn::unihanPropT f) { return kelvorn::fieldName(f) == name; });
  if (it == allowed.end()) {
    throw UsageError("unknown field '" + name + "' (expected one of " + namesOf(allowed) + ")");
  }
  return *it;
}

std::unique_ptr<LoadedIndex> loadIndex(const GlobalOptions& global, const std::string& fieldsData,
                                       IndexUse use) {
  auto loaded = std::make_unique<LoadedIndex>();
  const std::optional<std::string> corePath = coreImagePath(global);
  MarksData marks = marksData(global, fieldsData);
  // Two images may have their index saved beside the all-field one, which
  // spares building it, and loading the store at all when only the index's
  // own tables are asked.
  bool storeLoaded = false;
  if (corePath && marks.fields && !marks.imagePath.empty()) {
    if (use == IndexUse::kWithReadings) {
      loaded->unihan = kelvorn::Unihan::open(*corePath);
      storeLoaded = true;
    }
    // Only the bytes that were loaded name the data: the file may have been
    // replaced since, and then the index saved for it would answer for
    // other data than the store holds.
    const std::string coreTag =
        storeLoaded ? loaded->unihan.loadedImageTag() : kelvorn_saved_index::coreImageTag(*corePath);
    std::optional<kelvorn::UnihanIndex> saved = kelvorn_saved_index::openBeside(
        loaded->unihan.core(), kelvorn_saved_index::dataTag(coreTag, *marks.fields),
        marks.imagePath, std::string(marks.fields->unicodeVersion()));
    if (saved) {
      loaded->index = std::make_unique<kelvorn::UnihanIndex>(std::move(*saved));
      loaded->fields = std::move(marks.fields);
      return loaded;
    }
  }
  if (!storeLoaded) {
    loaded->unihan = corePath ? kelvorn::Unihan::open(*corePath) : loadSelectedData(global);
  }
  loaded->index = std::make_unique<kelvorn::UnihanIndex>(
      loaded->unihan.core(),
      marks.fields ? radicalStrokeExtras(*marks.fields) : kelvorn::RadicalStrokeExtras(),
      marks.fields ? kelvorn_saved_index::mandarinReadings(*marks.fields)
                   : kelvorn::MandarinReadings());
  loaded->fields = std::move(marks.fields);
  return loaded;
}

nlohmann::ordered_json charJson(char32_t codePoint) {
  return {{"codePoint", codePointLabel(codePoint)}, {"char", kelvorn::utf8::encode(codePoint)}};
}

std::string jsonLine(const nlohmann::ordered_json& value) {
  return value.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace unihan_tool

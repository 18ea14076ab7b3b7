// unihan show: everything the data says about some characters.
#include <memory>
#include <optional>

#include <nlohmann/json.hpp>

#include "CharFormat.h"
#include "Commands.h"
#include "FieldsImageFile.h"
#include "DataFiles.h"
#include "Stdout.h"
#include "CharArguments.h"

namespace unihan_tool {
namespace {

struct ShowOptions {
  std::vector<std::string> chars;
  bool json = false;
  bool all = false;  // every Unihan field too, from the all-field store
  std::string fieldsData;
};

// "  kDefinition           the Chinese people, ..." for every field.
std::string fieldRows(const kelvorn::UnihanFields& fields, char32_t cp) {
  std::string out;
  for (const kelvorn::FieldValue& fv : fields.fields(cp)) {
    out += formatRow(std::string(fv.field), fv.value);
  }
  return out;
}

// The JSON object with a "fields" member added before its closing brace.
std::string withFields(std::string json, const kelvorn::UnihanFields& fields, char32_t cp) {
  nlohmann::ordered_json all = nlohmann::ordered_json::object();
  for (const kelvorn::FieldValue& fv : fields.fields(cp)) {
    all[std::string(fv.field)] = std::string(fv.value);
  }
  json.pop_back();
  return json + ",\"fields\":" +
         all.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "}";
}

// Every argument is checked before anything is printed, so a bad one leaves
// no partial answer behind.
std::u32string codePointsOf(const std::vector<std::string>& args) {
  std::u32string out;
  for (const std::string& arg : args) out += parseCharArgument(arg);
  return out;
}

void runShow(const ShowOptions& opts, const GlobalOptions& global) {
  const std::u32string cps = codePointsOf(opts.chars);
  const kelvorn::Unihan unihan = loadSelectedData(global);
  std::optional<kelvorn::Unihan> bundle;
  if (opts.all) bundle = openFieldsBundle(opts.fieldsData);
  const kelvorn::UnihanFields* fields = bundle ? &bundle->fieldStore() : nullptr;
  std::string out;
  for (std::size_t i = 0; i < cps.size(); ++i) {
    const CharInfo info = lookUp(unihan, cps[i]);
    if (opts.json) {
      out += (fields ? withFields(formatJson(info), *fields, cps[i]) : formatJson(info)) + "\n";
    } else {
      out += (i == 0 ? "" : "\n") + formatTable(info);
      if (fields) out += fieldRows(*fields, cps[i]);
    }
  }
  writeStdout(out);
}

}  // namespace

Command addShowCommand(CLI::App& parent, const GlobalOptions& global) {
  auto opts = std::make_shared<ShowOptions>();
  CLI::App* app = parent.add_subcommand(
      "show", "Show radical/strokes, CIDs, readings and HanYu position of characters");
  app->add_option("CHAR", opts->chars, "Characters in UTF-8 (several per argument) or U+XXXX")
      ->required();
  app->add_flag("--json", opts->json, "Print one JSON object per character, one per line");
  app->add_flag("--all", opts->all, "Also print every Unihan field, from the all-field store");
  addFieldsDataOption(app, &opts->fieldsData);
  return {app, [opts, &global] { runShow(*opts, global); }};
}

}  // namespace unihan_tool

// unihan lookup: the characters that have a value as one of a field's
// space-separated values.
#include <memory>

#include "CharArguments.h"
#include "Commands.h"
#include "FieldsImageFile.h"
#include "IndexOptions.h"
#include "Stdout.h"
#include "ToolError.h"
#include "kelvorn/UnihanLexicon.h"

namespace unihan_tool {
namespace {

struct LookupOptions {
  std::string field;
  std::string value;
  bool json = false;
  std::string fieldsData;
};

void runLookup(const LookupOptions& opts) {
  requireUtf8(opts.value);
  // Neither could ever match one of the values a space separates.
  if (opts.value.empty()) throw ToolError("empty value");
  if (opts.value.find(' ') != std::string::npos) {
    throw ToolError("'" + opts.value + "' holds a space; look up one value at a time");
  }
  const kelvorn::Unihan bundle = openFieldsBundle(opts.fieldsData);
  const kelvorn::UnihanLexicon& lexicon = bundle.lexicon();
  const std::size_t field = requireFieldNamed(lexicon.fields(), opts.field);
  std::string out;
  for (const char32_t cp : lexicon.charsWith(opts.field, opts.value)) {
    const std::string_view whole = lexicon.fields().valueAt(cp, field).value_or("");
    if (opts.json) {
      nlohmann::ordered_json line = charJson(cp);
      line[opts.field] = std::string(whole);
      out += jsonLine(line);
    } else {
      out += codePointLabel(cp) + " " + kelvorn::utf8::encode(cp) + " " + std::string(whole) + "\n";
    }
  }
  writeAnswers(out);
}

}  // namespace

Command addLookupCommand(CLI::App& parent) {
  auto opts = std::make_shared<LookupOptions>();
  CLI::App* app = parent.add_subcommand(
      "lookup",
      "List the characters that have VALUE as one of FIELD's values, exactly, with "
      "the field's whole value");
  app->add_option("FIELD", opts->field, "Any Unihan field, e.g. kCangjie")->required();
  app->add_option("VALUE", opts->value, "One value, e.g. ETLO")->required();
  app->add_flag("--json", opts->json, "Print one JSON object per character, one per line");
  addFieldsDataOption(app, &opts->fieldsData);
  return {app, [opts] { runLookup(*opts); }};
}

}  // namespace unihan_tool

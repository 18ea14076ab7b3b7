// unihan fields: every field the all-field data has, what it holds, where
// Unicode publishes it and how many characters have it.
#include <iomanip>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "Commands.h"
#include "FieldCatalogue.h"
#include "FieldsImageFile.h"
#include "IndexOptions.h"
#include "Stdout.h"
#include "fields/expand/FieldGrammar.h"

namespace unihan_tool {
namespace {

struct FieldsOptions {
  bool json = false;
  std::string fieldsData;
};

// One pass over the code points rather than one per field.
std::map<std::string_view, std::size_t> characterCounts(const kelvorn::UnihanFields& fields) {
  std::map<std::string_view, std::size_t> counts;
  for (const char32_t cp : fields.codePoints()) {
    for (const kelvorn::FieldValue& fv : fields.fields(cp)) ++counts[fv.field];
  }
  return counts;
}

std::string textRow(std::string_view field, const FieldDescription* d, std::size_t count) {
  std::ostringstream row;
  row << std::left << std::setw(28) << field << std::setw(31)
      << (d ? d->file : "-") << std::right << std::setw(6) << count << "  "
      << (d ? d->description : "(not described: a field of a later release)") << '\n';
  return row.str();
}

std::string jsonRow(std::string_view field, const FieldDescription* d, std::size_t count) {
  nlohmann::ordered_json row;
  row["field"] = std::string(field);
  row["file"] = d ? nlohmann::ordered_json(std::string(d->file)) : nullptr;
  row["characters"] = count;
  row["structured"] = kelvorn_expand::expanderOf(field) != nullptr;
  row["description"] = d ? nlohmann::ordered_json(std::string(d->description)) : nullptr;
  return jsonLine(row);
}

void runFields(const FieldsOptions& opts) {
  const kelvorn::Unihan bundle = openFieldsBundle(opts.fieldsData);
  const kelvorn::UnihanFields& fields = bundle.fieldStore();
  // A field that no character has (one a crafted image names) counts 0.
  std::map<std::string_view, std::size_t> counts = characterCounts(fields);
  std::string out;
  for (const std::string_view field : fields.fieldNames()) {
    const std::size_t n = counts[field];
    out += opts.json ? jsonRow(field, describeField(field), n)
                     : textRow(field, describeField(field), n);
  }
  writeStdout(out);
}

}  // namespace

Command addFieldsCommand(CLI::App& parent) {
  auto opts = std::make_shared<FieldsOptions>();
  CLI::App* app = parent.add_subcommand(
      "fields", "List every field of the all-field data: name, the Unihan_*.txt file it comes "
                "from, how many characters have it, and what it holds");
  app->add_flag("--json", opts->json, "Print one JSON object per field, one per line");
  addFieldsDataOption(app, &opts->fieldsData);
  return {app, [opts] { runFields(*opts); }};
}

}  // namespace unihan_tool

// unihan field: one field's raw value for each character given.
#include <memory>
#include <string>
#include <vector>

#include "CharArguments.h"
#include "Commands.h"
#include "FieldsImageFile.h"
#include "EscapedText.h"
#include "IndexOptions.h"
#include "Stdout.h"
#include "ToolError.h"

namespace unihan_tool {
namespace {

struct FieldOptions {
  std::string field;
  std::vector<std::string> chars;
  std::string fieldsData;
  bool json = false;
};

void runField(const FieldOptions& opts) {
  std::u32string codePoints;
  for (const std::string& arg : opts.chars) {
    codePoints += parseCharArgument(arg);
  }
  const kelvorn::Unihan bundle = openFieldsBundle(opts.fieldsData);
  const kelvorn::UnihanFields& fields = bundle.fieldStore();
  const std::size_t field = requireFieldNamed(fields, opts.field);
  std::string out;
  for (const char32_t cp : codePoints) {
    const std::optional<std::string_view> value = fields.valueAt(cp, field);
    if (opts.json) {
      nlohmann::ordered_json line = charJson(cp);
      line[opts.field] = value ? nlohmann::ordered_json(std::string(*value)) : nullptr;
      out += jsonLine(line);
      continue;
    }
    out += codePointLabel(cp);
    out += '\t';
    out += kelvorn::utf8::encode(cp);
    out += '\t';
    // A record is a line, whatever a crafted image holds.
    appendEscaped(value.value_or(std::string_view()), &out);
    out += '\n';
  }
  writeStdout(out);
}

}  // namespace

Command addFieldCommand(CLI::App& parent) {
  auto opts = std::make_shared<FieldOptions>();
  CLI::App* app = parent.add_subcommand(
      "field", "Print one field's raw value for each character: U+XXXX<TAB>char<TAB>value "
               "(empty when the character has no such value)");
  app->add_option("NAME", opts->field, "Field name, e.g. kCangjie")->required();
  app->add_option("CHAR", opts->chars, "Characters, or U+XXXX code points")->required();
  app->add_flag("--json", opts->json,
                "Print one JSON object per character, one per line (null for no value)");
  addFieldsDataOption(app, &opts->fieldsData);
  return {app, [opts] { runField(*opts); }};
}

}  // namespace unihan_tool

// unihan field: one field's raw value for each character given.
#include <memory>
#include <string>
#include <vector>

#include "Commands.h"
#include "FieldsImageFile.h"
#include "Stdout.h"
#include "app/files/StagedOutput.h"
#include "ToolError.h"
#include "CharArguments.h"
#include "EscapedText.h"

namespace unihan_tool {
namespace {

struct FieldOptions {
  std::string field;
  std::vector<std::string> chars;
  std::string fieldsData;
};

void runField(const FieldOptions& opts) {
  std::u32string codePoints;
  for (const std::string& arg : opts.chars) {
    codePoints += parseCharArgument(arg);
  }
  const kelvorn::UnihanFields fields = openFieldsImage(opts.fieldsData);
  // A misspelt name would otherwise print nothing but empty values.
  const std::optional<std::size_t> field = fields.fieldIndex(opts.field);
  if (!field) throw ToolError("no field " + opts.field + " in the all-field data");
  std::string out;
  for (const char32_t cp : codePoints) {
    out += codePointLabel(cp);
    out += '\t';
    out += kelvorn::utf8::encode(cp);
    out += '\t';
    // A record is a line, whatever a crafted image holds.
    appendEscaped(fields.valueAt(cp, *field).value_or(std::string_view()), &out);
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
  addFieldsDataOption(app, &opts->fieldsData);
  return {app, [opts] { runField(*opts); }};
}

}  // namespace unihan_tool

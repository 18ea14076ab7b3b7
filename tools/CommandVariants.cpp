// unihan variants: every variant field of each character, read into the
// characters it names and their sources, and the character's script class.
#include <cstddef>
#include <memory>
#include <string_view>

#include "CharArguments.h"
#include "Commands.h"
#include "FieldsImageFile.h"
#include "IndexOptions.h"
#include "Stdout.h"
#include "kelvorn/UnihanLexicon.h"

namespace unihan_tool {
namespace {

struct VariantsOptions {
  std::vector<std::string> chars;
  bool json = false;
  std::string fieldsData;
};

std::string joined(const std::vector<std::string_view>& sources) {
  std::string out;
  for (const std::string_view s : sources) out.append(out.empty() ? "" : ",").append(s);
  return out;
}

std::string jsonOf(char32_t cp, const kelvorn::UnihanLexicon& lexicon) {
  nlohmann::ordered_json line = charJson(cp);
  line["class"] = kelvorn::scriptClassName(lexicon.scriptClass(cp));
  nlohmann::ordered_json variants = nlohmann::ordered_json::object();
  for (const kelvorn::Variant& v : lexicon.variants(cp)) {
    nlohmann::ordered_json target = charJson(v.codePoint);
    target["sources"] = nlohmann::ordered_json::array();
    for (const std::string_view s : v.sources) target["sources"].push_back(std::string(s));
    variants[std::string(v.field)].push_back(target);
  }
  line["variants"] = variants;
  return jsonLine(line);
}

// Every variant field's name (kSpecializedSemanticVariant the longest) is
// shorter than the column, so each is followed by a space at least.
constexpr std::size_t kFieldColumn = 28;
constexpr bool fieldNamesFitTheColumn() {
  for (const std::string_view field : kelvorn::kVariantFields) {
    if (field.size() >= kFieldColumn) return false;
  }
  return true;
}
static_assert(fieldNamesFitTheColumn(), "a variant field's name is as wide as the column");

// U+6F22 漢 (traditional), then a line per target: field, character, sources.
std::string textOf(char32_t cp, const kelvorn::UnihanLexicon& lexicon) {
  std::string out = codePointLabel(cp) + " " + kelvorn::utf8::encode(cp) + " (" +
                    kelvorn::scriptClassName(lexicon.scriptClass(cp)) + ")\n";
  for (const kelvorn::Variant& v : lexicon.variants(cp)) {
    out += "  " + std::string(v.field) + std::string(kFieldColumn - v.field.size(), ' ') +
           codePointLabel(v.codePoint) + " " + kelvorn::utf8::encode(v.codePoint);
    if (!v.sources.empty()) out += "  " + joined(v.sources);
    out += '\n';
  }
  return out;
}

void runVariants(const VariantsOptions& opts) {
  std::u32string codePoints;
  for (const std::string& arg : opts.chars) codePoints += parseCharArgument(arg);
  const kelvorn::Unihan bundle = openFieldsBundle(opts.fieldsData);
  const kelvorn::UnihanLexicon& lexicon = bundle.lexicon();
  std::string out;
  for (const char32_t cp : codePoints) {
    out += opts.json ? jsonOf(cp, lexicon) : textOf(cp, lexicon);
  }
  writeStdout(out);
}

}  // namespace

Command addVariantsCommand(CLI::App& parent) {
  auto opts = std::make_shared<VariantsOptions>();
  CLI::App* app =
      parent.add_subcommand("variants",
                            "Print each character's variants (every k...Variant field) with their "
                            "sources, and whether it is simplified, traditional, both or neither");
  app->add_option("CHAR", opts->chars, "Characters, or U+XXXX code points")->required();
  app->add_flag("--json", opts->json, "Print one JSON object per character, one per line");
  addFieldsDataOption(app, &opts->fieldsData);
  return {app, [opts] { runVariants(*opts); }};
}

}  // namespace unihan_tool

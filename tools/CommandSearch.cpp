// unihan search: the characters whose kDefinition has every word given.
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

struct SearchOptions {
  std::vector<std::string> words;
  bool json = false;
  std::string fieldsData;
};

bool hasAsciiLetter(const std::string& text) {
  for (const char c : text) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
  }
  return false;
}

void runSearch(const SearchOptions& opts) {
  std::string query;
  for (const std::string& word : opts.words) query += word + " ";
  requireUtf8(query);
  // A query of digits and punctuation would find nothing; say why instead.
  if (!hasAsciiLetter(query)) throw ToolError("no word in the query (a word is ASCII letters)");
  const kelvorn::Unihan bundle = openFieldsBundle(opts.fieldsData);
  const kelvorn::UnihanLexicon& lexicon = bundle.lexicon();
  const kelvorn::UnihanFields& fields = lexicon.fields();
  std::string out;
  for (const char32_t cp : lexicon.search(query)) {
    const std::string_view definition = fields.value(cp, "kDefinition").value_or("");
    if (opts.json) {
      nlohmann::ordered_json line = charJson(cp);
      line["kDefinition"] = std::string(definition);
      out += jsonLine(line);
    } else {
      out += codePointLabel(cp) + " " + kelvorn::utf8::encode(cp) + " " + std::string(definition) +
             "\n";
    }
  }
  writeAnswers(out);
}

}  // namespace

Command addSearchCommand(CLI::App& parent) {
  auto opts = std::make_shared<SearchOptions>();
  CLI::App* app = parent.add_subcommand(
      "search",
      "List the characters whose kDefinition has every word given (ASCII letters, "
      "any case), in code-point order");
  app->add_option("WORDS", opts->words, "English words, e.g. to lick")->required();
  app->add_flag("--json", opts->json, "Print one JSON object per character, one per line");
  addFieldsDataOption(app, &opts->fieldsData);
  return {app, [opts] { runSearch(*opts); }};
}

}  // namespace unihan_tool

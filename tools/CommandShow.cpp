// unihan show: everything the data says about some characters.
#include <memory>

#include "CharFormat.h"
#include "Commands.h"
#include "DataFiles.h"
#include "Stdout.h"
#include "CharArguments.h"

namespace unihan_tool {
namespace {

struct ShowOptions {
  std::vector<std::string> chars;
  bool json = false;
};

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
  std::string out;
  for (std::size_t i = 0; i < cps.size(); ++i) {
    const CharInfo info = lookUp(unihan, cps[i]);
    if (opts.json) {
      out += formatJson(info) + "\n";
    } else {
      out += (i == 0 ? "" : "\n") + formatTable(info);
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
  return {app, [opts, &global] { runShow(*opts, global); }};
}

}  // namespace unihan_tool

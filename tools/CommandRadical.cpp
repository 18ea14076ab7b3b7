// unihan radical: the radical index page of one radical, grouped by residual
// strokes, under one of the six radical-stroke sources.
#include <memory>

#include "Commands.h"
#include "IndexOptions.h"
#include "Stdout.h"
#include "ToolError.h"
#include "CharArguments.h"

namespace unihan_tool {
namespace {

struct RadicalOptions {
  std::string radical;
  std::string source = "kRSUnicode";
  bool json = false;
};

std::vector<kelvorn::unihanPropT> sourceFields() {
  std::vector<kelvorn::unihanPropT> fields;
  fields.reserve(kelvorn::kSources.size());
  for (const kelvorn::Source source : kelvorn::kSources) fields.push_back(kelvorn::toField(source));
  return fields;
}

// "+3", or "-1" for the rare negative residual.
std::string residualLabel(int residual) {
  return (residual >= 0 ? "+" : "") + std::to_string(residual);
}

// "85 +0: 水 氵 氺", one line per residual.
std::string pageText(int radical, const std::vector<kelvorn::RadicalEntry>& entries) {
  std::string out;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (i == 0 || entries[i].residual != entries[i - 1].residual) {
      out += (i == 0 ? "" : "\n") + std::to_string(radical) + " " +
             residualLabel(entries[i].residual) + ":";
    }
    out += " " + kelvorn::utf8::encode(entries[i].codePoint);
  }
  return out.empty() ? out : out + "\n";
}

std::string pageJson(int radical, const std::vector<kelvorn::RadicalEntry>& entries) {
  std::string out;
  for (const kelvorn::RadicalEntry& e : entries) {
    nlohmann::ordered_json line = charJson(e.codePoint);
    line["radical"] = radical;
    line["residual"] = e.residual;
    out += jsonLine(line);
  }
  return out;
}

// Releases differ in the sources they carry (Unicode 15.1 dropped kRSKangXi),
// and an empty page would read as "no character has this radical".
bool carriesSource(const kelvorn::UnihanIndex& index, kelvorn::unihanPropT source) {
  for (int radical = 1; radical <= 214; ++radical) {
    if (!index.byRadical(radical, source).empty()) return true;
  }
  return false;
}

void runRadical(const RadicalOptions& opts, const GlobalOptions& global) {
  const int radical = parseNumberArgument(opts.radical, "radical", 1, 214);
  const kelvorn::unihanPropT source = parseFieldName(opts.source, sourceFields());
  const auto loaded = loadIndex(global);
  if (!carriesSource(*loaded->index, source)) {
    throw ToolError("the data has no " + opts.source + " values (Unicode 15.1 and later carry " +
                    "only kRSUnicode and kRSVantu_Japan1_6)");
  }
  const auto& entries = loaded->index->byRadical(radical, source);
  writeStdout(opts.json ? pageJson(radical, entries) : pageText(radical, entries));
}

}  // namespace

Command addRadicalCommand(CLI::App& parent, const GlobalOptions& global) {
  auto opts = std::make_shared<RadicalOptions>();
  CLI::App* app = parent.add_subcommand(
      "radical", "List the characters under a radical (1-214), grouped by residual strokes");
  app->add_option("N", opts->radical, "Radical number, 1 to 214")->required();
  app->add_option("--source", opts->source,
                  "Radical-stroke field: kRSUnicode (default), kRSKangXi, kRSKanWa, kRSKorean, "
                  "kRSJapanese or kRSVantu_Japan1_6");
  app->add_flag("--json", opts->json, "Print one JSON object per character, one per line");
  return {app, [opts, &global] { runRadical(*opts, global); }};
}

}  // namespace unihan_tool

// unihan strokes: the characters with a given total stroke count, grouped by
// their kRSUnicode radical, in radical-stroke order.
#include <memory>

#include "Commands.h"
#include "FieldsImageFile.h"
#include "IndexOptions.h"
#include "Stdout.h"
#include "CharArguments.h"

namespace unihan_tool {
namespace {

struct StrokesOptions {
  std::string strokes;
  bool json = false;
  std::string fieldsData;
};

// "radical 85", or "no radical" for characters without a kRSUnicode value.
std::string groupLabel(const kelvorn::RadicalStrokeKey& key) {
  return key.hasValue ? "radical " + std::to_string(key.radical) : "no radical";
}

std::string listText(const kelvorn::UnihanIndex& index, const std::vector<char32_t>& cps) {
  std::string out;
  int group = -1;  // the radical of the group written last, 0 for none
  for (const char32_t cp : cps) {
    const kelvorn::RadicalStrokeKey key = index.radicalStrokeKey(cp);
    const int radical = key.hasValue ? key.radical : 0;
    if (radical != group) {
      if (group != -1) out += '\n';
      out += groupLabel(key);
      out += ':';
      group = radical;
    }
    out += ' ';
    kelvorn::utf8::append(cp, &out);
  }
  return out.empty() ? out : out + "\n";
}

std::string listJson(const kelvorn::UnihanIndex& index, int strokes,
                     const std::vector<char32_t>& cps) {
  std::string out;
  for (const char32_t cp : cps) {
    const kelvorn::RadicalStrokeKey key = index.radicalStrokeKey(cp);
    nlohmann::ordered_json line = charJson(cp);
    line["totalStrokes"] = strokes;
    line["radical"] = key.hasValue ? nlohmann::ordered_json(key.radical) : nlohmann::ordered_json(nullptr);
    line["residual"] = key.hasValue ? nlohmann::ordered_json(key.residual) : nlohmann::ordered_json(nullptr);
    out += jsonLine(line);
  }
  return out;
}

void runStrokes(const StrokesOptions& opts, const GlobalOptions& global) {
  const int strokes = parseNumberArgument(opts.strokes, "stroke count", 1, 255);
  const kelvorn::Unihan bundle = openSelectedBundle(global, opts.fieldsData);
  const kelvorn::UnihanIndex& index = bundle.index();
  const auto& cps = index.byTotalStrokes(strokes);
  writeAnswers(opts.json ? listJson(index, strokes, cps) : listText(index, cps));
}

}  // namespace

Command addStrokesCommand(CLI::App& parent, const GlobalOptions& global) {
  auto opts = std::make_shared<StrokesOptions>();
  CLI::App* app = parent.add_subcommand(
      "strokes", "List the characters with N total strokes (kTotalStrokes), grouped by radical");
  app->add_option("N", opts->strokes, "Total stroke count, 1 to 255")->required();
  app->add_flag("--json", opts->json, "Print one JSON object per character, one per line");
  addFieldsDataOption(app, &opts->fieldsData);
  return {app, [opts, &global] { runStrokes(*opts, global); }};
}

}  // namespace unihan_tool

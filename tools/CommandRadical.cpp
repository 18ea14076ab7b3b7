// unihan radical: the radical index page of one radical, grouped by residual
// strokes, under one of the six radical-stroke sources.
#include <memory>
#include <optional>

#include "Commands.h"
#include "FieldsImageFile.h"
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
  std::string fieldsData;
};

// "+3", or "-1" for the rare negative residual.
std::string residualLabel(int residual) {
  return (residual >= 0 ? "+" : "") + std::to_string(residual);
}

// A radical as the data writes it: "120", or "120'" for its simplified form.
std::string radicalLabel(int radical, int marks) {
  return std::to_string(radical) + std::string(static_cast<std::size_t>(marks), '\'');
}

// One part of a page: all of it, or the characters of one form of the
// radical (its number of marks) on kRSUnicode's page.
struct PagePart {
  int marks;
  std::vector<kelvorn::RadicalEntry> entries;
};

// "85 +0: 水 氵 氺", one line per form and residual.
std::string pageText(int radical, const std::vector<PagePart>& parts) {
  std::string out;
  for (const PagePart& part : parts) {
    const auto& entries = part.entries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (i == 0 || entries[i].residual != entries[i - 1].residual) {
        out += (out.empty() ? "" : "\n") + radicalLabel(radical, part.marks) + " " +
               residualLabel(entries[i].residual) + ":";
      }
      out += ' ';
      kelvorn::utf8::append(entries[i].codePoint, &out);
    }
  }
  return out.empty() ? out : out + "\n";
}

std::string pageJson(int radical, const std::vector<PagePart>& parts) {
  std::string out;
  for (const PagePart& part : parts) {
    for (const kelvorn::RadicalEntry& e : part.entries) {
      nlohmann::ordered_json line = charJson(e.codePoint);
      line["radical"] = radical;
      line["residual"] = e.residual;
      if (part.marks > 0) line["marks"] = part.marks;  // a simplified form's line only
      out += jsonLine(line);
    }
  }
  return out;
}

// Releases differ in the sources they carry (Unicode 15.1 dropped kRSKangXi),
// and an empty page would read as "no character has this radical".
bool carriesSource(const kelvorn::UnihanIndex& index, kelvorn::Source source) {
  for (int radical = 1; radical <= 214; ++radical) {
    if (!index.byRadical(radical, source).empty()) return true;
  }
  return false;
}

// "120" is the whole page; "120'" (up to three marks) one simplified form's
// part of kRSUnicode's page, the only source that writes the marks.
constexpr int kMaxMarks = 3;  // 17.0 writes up to three apostrophes

struct RadicalArgument {
  int radical{};
  std::optional<int> marks;  // none: the whole page
};

RadicalArgument parseRadical(const std::string& arg, const std::string& source) {
  const std::size_t digits = arg.find('\'');
  const int radical = parseNumberArgument(arg.substr(0, digits), "radical", 1, 214);
  if (digits == std::string::npos) return {radical, std::nullopt};
  const std::string marks = arg.substr(digits);
  if (marks.size() > static_cast<std::size_t>(kMaxMarks) || marks.find_first_not_of('\'') != std::string::npos) {
    throw ToolError("bad radical '" + arg + "' (expected 1 to 214, simplified forms as 120')");
  }
  if (source != "kRSUnicode") throw ToolError("only kRSUnicode marks simplified radicals");
  return {radical, static_cast<int>(marks.size())};
}

void runRadical(const RadicalOptions& opts, const GlobalOptions& global) {
  const RadicalArgument arg = parseRadical(opts.radical, opts.source);
  const int radical = arg.radical;
  const kelvorn::Source source = parseFieldName(opts.source, kelvorn::kSources);
  const kelvorn::Unihan bundle = openSelectedBundle(global, opts.fieldsData);
  const kelvorn::UnihanIndex& index = bundle.index();
  if (!carriesSource(index, source)) {
    throw ToolError("the data has no " + opts.source + " values (Unicode 15.1 and later carry " +
                    "only kRSUnicode and kRSVantu_Japan1_6)");
  }
  std::vector<PagePart> parts;
  if (arg.marks) {
    parts.push_back({*arg.marks, index.byRadicalForm(radical, *arg.marks)});
  } else if (source != kelvorn::Source::kRSUnicode) {
    parts.push_back({0, index.byRadical(radical, source)});
  } else {  // the radical's own form first, then each simplified one
    for (int marks = 0; marks <= kMaxMarks; ++marks) {
      parts.push_back({marks, index.byRadicalForm(radical, marks)});
    }
  }
  writeAnswers(opts.json ? pageJson(radical, parts) : pageText(radical, parts));
}

}  // namespace

Command addRadicalCommand(CLI::App& parent, const GlobalOptions& global) {
  auto opts = std::make_shared<RadicalOptions>();
  CLI::App* app = parent.add_subcommand(
      "radical", "List the characters under a radical (1-214), grouped by residual strokes");
  app->add_option("N", opts->radical,
                  "Radical number, 1 to 214; 120' for the simplified form's part of 120's page")
      ->required();
  app->add_option("--source", opts->source,
                  "Radical-stroke field: kRSUnicode (default), kRSKangXi, kRSKanWa, kRSKorean, "
                  "kRSJapanese or kRSVantu_Japan1_6");
  app->add_flag("--json", opts->json, "Print one JSON object per character, one per line");
  addFieldsDataOption(app, &opts->fieldsData);
  return {app, [opts, &global] { runRadical(*opts, global); }};
}

}  // namespace unihan_tool

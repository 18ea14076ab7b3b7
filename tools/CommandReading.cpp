// unihan reading: the characters with a reading, in code-point order or
// most frequent first.
#include <algorithm>
#include <functional>
#include <map>
#include <memory>

#include "CharArguments.h"
#include "Commands.h"
#include "FieldsImageFile.h"
#include "IndexOptions.h"
#include "Stdout.h"
#include "ToolError.h"
#include "index/saved/SavedIndex.h"

namespace unihan_tool {
namespace {

struct ReadingOptions {
  std::string text;
  std::string field = "kMandarin";
  bool exact = false;
  bool prefix = false;
  bool json = false;
  std::string order = "codepoint";
  std::string fieldsData;
};

kelvorn::ReadingMatch matchOf(const ReadingOptions& opts) {
  if (opts.exact) return kelvorn::ReadingMatch::kExact;
  return opts.prefix ? kelvorn::ReadingMatch::kPrefix : kelvorn::ReadingMatch::kLoose;
}

// Frequency order takes kHanyuPinlu's counts and the common characters from
// the bundle's all-field data.
kelvorn::ReadingOrder orderOf(const ReadingOptions& opts) {
  return opts.order == "codepoint" ? kelvorn::ReadingOrder::kCodePoint
                                   : kelvorn::ReadingOrder::kCommonFirst;
}

// The character's readings that answer the query: with a loose query,
// the readings the user's spelling stood for. kMandarin's lookups search the
// other Mandarin fields too, so their readings are shown as well; the index
// keeps them, so the all-field image stays closed. The characters found
// share a few readings, so each reading's verdict is worked out once
// (folding the query and the reading) and kept.
std::vector<std::string> matchingReadings(const kelvorn::Unihan& bundle, char32_t cp,
                                          const ReadingOptions& opts, kelvorn::Reading field,
                                          std::map<std::string, bool, std::less<>>* verdicts) {
  std::vector<std::string> readings = field == kelvorn::Reading::kMandarin
                                          ? bundle.index().mandarinReadings(cp)
                                          : bundle.index().readings(cp, field);
  std::vector<std::string> out;
  for (std::string& r : readings) {
    auto verdict = verdicts->find(r);
    if (verdict == verdicts->end()) {
      verdict = verdicts->emplace(r, kelvorn::readingMatches(r, opts.text, field, matchOf(opts))).first;
    }
    if (verdict->second) out.push_back(std::move(r));
  }
  return out;
}

void appendAnswerLine(std::string* out, char32_t cp, const std::vector<std::string>& readings,
                      bool json) {
  if (json) {
    nlohmann::ordered_json line = charJson(cp);
    line["readings"] = readings;
    *out += jsonLine(line);
    return;
  }
  *out += codePointLabel(cp);
  *out += ' ';
  kelvorn::utf8::append(cp, out);
  for (const std::string& r : readings) {
    *out += ' ';
    *out += r;
  }
  *out += '\n';
}

bool isNamedField(const std::string& name) {
  const auto& names = kelvorn::NamedReadings::fieldNames();
  return std::find(names.begin(), names.end(), name) != names.end();
}

// A field the core's store lacks is read from the bundle's all-field data.
void runNamedReading(const ReadingOptions& opts, const GlobalOptions& global) {
  const kelvorn::Unihan bundle = openSelectedBundle(global, opts.fieldsData);
  const kelvorn::ReadingMatch match = matchOf(opts);
  const std::vector<char32_t> found = bundle.byReading(opts.text, opts.field, match, orderOf(opts));
  // The readings shown beside each character.
  const kelvorn::NamedReadings named =
      kelvorn_saved_index::namedReadings(bundle.fieldStore(), opts.field);
  std::string out;
  for (const char32_t cp : found) {
    std::vector<std::string> readings;
    for (std::string& r : named.readings(cp)) {
      if (kelvorn::NamedReadings::matches(r, opts.text, match)) readings.push_back(std::move(r));
    }
    appendAnswerLine(&out, cp, readings, opts.json);
  }
  writeAnswers(out);
}

void runReading(const ReadingOptions& opts, const GlobalOptions& global) {
  if (opts.text.empty()) throw ToolError("empty reading");
  requireUtf8(opts.text);
  if (!kelvorn_saved_index::isReadingFieldName(opts.field)) {
    throw UsageError(kelvorn_saved_index::unknownReadingFieldMessage(opts.field));
  }
  if (isNamedField(opts.field)) {
    runNamedReading(opts, global);
    return;
  }
  const kelvorn::Reading field = parseFieldName(opts.field, kelvorn::kReadings);
  const kelvorn::Unihan bundle = openSelectedBundle(global, opts.fieldsData);
  const std::vector<char32_t> found =
      bundle.byReading(opts.text, field, matchOf(opts), orderOf(opts));
  std::string out;
  std::map<std::string, bool, std::less<>> verdicts;
  for (const char32_t cp : found) {
    appendAnswerLine(&out, cp, matchingReadings(bundle, cp, opts, field, &verdicts), opts.json);
  }
  writeAnswers(out);
}

}  // namespace

Command addReadingCommand(CLI::App& parent, const GlobalOptions& global) {
  auto opts = std::make_shared<ReadingOptions>();
  CLI::App* app = parent.add_subcommand(
      "reading", "List the characters with a reading (loose: any case, tone marks optional)");
  app->add_option("TEXT", opts->text,
                  "The reading: \"han4\", \"hàn\" or \"han\" (any tone); ü as ü, v or u:")
      ->required();
  app->add_option("--field", opts->field,
                  "kMandarin (default; with the all-field image also kHanyuPinyin, kXHC1983, "
                  "kTGHZ2013 and kHanyuPinlu), kHanyuPinlu, kJapaneseKun or kJapaneseOn; "
                  "from the all-field image alone, one of kCantonese, kHangul, kHanyuPinyin, "
                  "kJapanese, kKorean, kTGHZ2013, kTang, kVietnamese or kXHC1983");
  CLI::Option* exact =
      app->add_flag("--exact", opts->exact, "Match the stored value byte for byte");
  app->add_flag("--prefix", opts->prefix,
                "TEXT is the start of the reading (\"zh\": zhōng, zhè, ...), as typed")
      ->excludes(exact);
  app->add_flag("--json", opts->json, "Print one JSON object per character, one per line");
  app->add_option("--order", opts->order,
                  "codepoint (default), or frequency: kHanyuPinlu's most frequent first, "
                  "then the rest in radical-stroke order")
      ->check(CLI::IsMember({"codepoint", "frequency"}));
  addFieldsDataOption(app, &opts->fieldsData);
  return {app, [opts, &global] { runReading(*opts, global); }};
}

}  // namespace unihan_tool

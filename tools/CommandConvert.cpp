// unihan convert: text between simplified and traditional characters,
// character by character, everything else of the text as it was.
#include <memory>

#include "Commands.h"
#include "FieldsImageFile.h"
#include "IndexOptions.h"
#include "Stdout.h"
#include "TextInput.h"
#include "ToolError.h"
#include "app/files/StagedOutput.h"
#include "kelvorn/UnihanLexicon.h"
#include "kelvorn/Utf8.h"

namespace unihan_tool {
namespace {

struct ConvertOptions {
  std::string to;
  std::string file;  // empty for standard input
  std::string output;
  bool json = false;
  std::string fieldsData;
};

// Where an ambiguous character stands, as a reader counts: lines from 1 at
// LF, columns in characters from 1. The list comes in text order, so the
// text is walked once.
class Positions {
 public:
  explicit Positions(std::string_view text) : text_(text) {}
  std::pair<std::size_t, std::size_t> at(std::size_t offset) {
    for (; scanned_ < offset; ++scanned_) {
      if (text_[scanned_] == '\n') {
        ++line_;
        lineStart_ = scanned_ + 1;
      }
    }
    std::size_t column = 1;
    for (std::size_t i = lineStart_; i < offset; ++i) {
      column += (static_cast<unsigned char>(text_[i]) & 0xC0U) != 0x80U;
    }
    return {line_, column};
  }

 private:
  std::string_view text_;
  std::size_t scanned_ = 0, line_ = 1, lineStart_ = 0;
};

std::string report(std::string_view text, const std::vector<kelvorn::AmbiguousChar>& ambiguous) {
  std::string out;
  Positions positions(text);
  for (const kelvorn::AmbiguousChar& a : ambiguous) {
    const auto [line, column] = positions.at(a.offset);
    nlohmann::ordered_json item = charJson(a.codePoint);
    item["line"] = line;
    item["column"] = column;
    item["to"] = kelvorn::utf8::encode(a.chosen);
    item["candidates"] = nlohmann::ordered_json::array();
    for (const char32_t c : a.candidates) item["candidates"].push_back(kelvorn::utf8::encode(c));
    out += jsonLine(item);
  }
  return out;
}

void runConvert(const ConvertOptions& opts) {
  const kelvorn::Script to =
      opts.to == "simplified" ? kelvorn::Script::kSimplified : kelvorn::Script::kTraditional;
  // The output is checked against the input before anything is read.
  std::vector<kelvorn_files::InputFile> inputs;
  if (auto file = openTextInput(opts.file)) inputs.push_back(std::move(*file));
  if (!opts.output.empty()) kelvorn_files::refuseUnsafeOutput(opts.output, inputs);
  const std::string text =
      readTextInput(inputs.empty() ? nullptr : &inputs[0], "convert at most that much at once");
  const kelvorn::UnihanLexicon lexicon(openFieldsImage(opts.fieldsData));
  kelvorn::Conversion converted;
  try {
    converted = lexicon.convertReporting(text, to);
  } catch (const kelvorn::FieldsError& e) {
    throw ToolError((inputs.empty() ? std::string("standard input") : opts.file) + ": " + e.what());
  }
  if (!opts.output.empty()) {
    kelvorn_files::StagedOutput file(opts.output);
    file.write(converted.text);
    file.commit();
  }
  if (opts.json) {
    writeStdout(report(text, converted.ambiguous));
  } else if (opts.output.empty()) {
    writeStdout(converted.text);
  }
}

}  // namespace

Command addConvertCommand(CLI::App& parent) {
  auto opts = std::make_shared<ConvertOptions>();
  CLI::App* app = parent.add_subcommand(
      "convert", "Convert text to simplified or traditional characters, character by character");
  app->add_option("--to", opts->to, "simplified or traditional")
      ->required()
      ->check(CLI::IsMember({"simplified", "traditional"}));
  app->add_option("FILE", opts->file, "UTF-8 text to convert (default: standard input)");
  app->add_option("-o,--output", opts->output, "File to write (default: standard output)");
  app->add_flag("--json", opts->json,
                "Print, instead of the text, one JSON object per character that had several "
                "candidates (the text still goes to -o)");
  addFieldsDataOption(app, &opts->fieldsData);
  return {app, [opts] { runConvert(*opts); }};
}

}  // namespace unihan_tool

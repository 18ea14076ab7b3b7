// unihan convert: text between simplified and traditional characters,
// character by character, everything else of the text as it was. A filter:
// each line is answered as soon as it has been read.
#include <unistd.h>

#include <cstdint>
#include <memory>
#include <optional>

#include "Commands.h"
#include "FieldsImageFile.h"
#include "IndexOptions.h"
#include "LinePieces.h"
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

// A line longer than this is converted in pieces, cut between characters,
// so that memory stays bounded on endless input; conversion goes character
// by character, so the pieces convert as the whole line would.
constexpr std::size_t kMaxPiece = std::size_t{1} << 16;
// Output is held until the input would make the tool wait, or this much.
constexpr std::size_t kOutputBatch = std::size_t{1} << 16;

// Where the walk through the input stands, as a reader counts: lines from 1
// at LF, columns in characters from 1, byte offsets in the line from 0.
struct Place {
  std::size_t line = 1;
  std::size_t charsBefore = 0;  // characters of the line before the piece
  std::size_t bytesBefore = 0;  // bytes of the line before the piece

  void passPiece(std::string_view piece) {
    if (!piece.empty() && piece.back() == '\n') {
      *this = Place{line + 1, 0, 0};
      return;
    }
    bytesBefore += piece.size();
    for (const char c : piece) charsBefore += (static_cast<unsigned char>(c) & 0xC0U) != 0x80U;
  }
};

// The message the library gives for a whole text, for a piece of a line:
// "line 3: not valid UTF-8: byte 0xFF at offset 5".
std::string notUtf8(std::string_view piece, const Place& place) {
  std::size_t pos = 0;
  std::size_t bad = 0;
  char32_t cp = 0;
  while (kelvorn::utf8::next(piece, &pos, &cp, &bad)) {
  }
  static constexpr char kHex[] = "0123456789ABCDEF";
  const auto byte = static_cast<unsigned char>(piece[bad]);
  return "line " + std::to_string(place.line) + ": not valid UTF-8: byte 0x" + kHex[byte >> 4] +
         kHex[byte & 0xFU] + " at offset " + std::to_string(place.bytesBefore + bad);
}

void appendReport(const std::vector<kelvorn::AmbiguousChar>& ambiguous, const Place& place,
                  std::string* out) {
  for (const kelvorn::AmbiguousChar& a : ambiguous) {
    nlohmann::ordered_json item = charJson(a.codePoint);
    item["line"] = place.line;
    item["column"] = place.charsBefore + a.index + 1;
    item["to"] = kelvorn::utf8::encode(a.chosen);
    item["candidates"] = nlohmann::ordered_json::array();
    for (const char32_t c : a.candidates) item["candidates"].push_back(kelvorn::utf8::encode(c));
    *out += jsonLine(item);
  }
}

void runConvert(const ConvertOptions& opts) {
  const kelvorn::Script to =
      opts.to == "simplified" ? kelvorn::Script::kSimplified : kelvorn::Script::kTraditional;
  // The output is checked against the input before anything is read.
  std::vector<kelvorn_files::InputFile> inputs;
  if (auto file = openTextInput(opts.file)) inputs.push_back(std::move(*file));
  if (!opts.output.empty()) kelvorn_files::refuseUnsafeOutput(opts.output, inputs);
  const std::string inputName = inputs.empty() ? std::string("standard input") : opts.file;
  const kelvorn::Unihan bundle = openFieldsBundle(opts.fieldsData);
  const kelvorn::UnihanLexicon& lexicon = bundle.lexicon();
  std::optional<kelvorn_files::StagedOutput> file;
  if (!opts.output.empty()) file.emplace(opts.output);
  LinePieces input(inputs.empty() ? STDIN_FILENO : inputs[0].descriptor(), inputName, kMaxPiece,
                   inputs.empty() ? SIZE_MAX : currentSize(inputs[0]));
  std::string printed;
  const auto print = [&printed] {
    if (!printed.empty()) writeStdout(printed);
    printed.clear();
  };
  Place place;
  for (std::string_view piece = input.next(print); !piece.empty(); piece = input.next(print)) {
    kelvorn::Conversion converted;
    try {
      converted = lexicon.convertReporting(piece, to);
    } catch (const kelvorn::FieldsError&) {
      print();
      throw ToolError(inputName + ": " + notUtf8(piece, place));
    }
    if (opts.json) appendReport(converted.ambiguous, place, &printed);
    if (file) {
      file->write(converted.text);
    } else if (!opts.json) {
      printed += converted.text;
    }
    if (printed.size() >= kOutputBatch) print();
    place.passPiece(piece);
  }
  print();
  if (file) file->commit();
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

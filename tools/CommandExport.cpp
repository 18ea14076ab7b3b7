// unihan export: every held code point with its fields, in code-point order,
// as JSON Lines, one JSON array, or CSV.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Commands.h"
#include "ExportFormats.h"
#include "FieldsImageFile.h"
#include "fields/expand/FieldGrammar.h"
#include "Stdout.h"
#include "app/files/StagedOutput.h"
#include "ToolError.h"
#include "CharArguments.h"

namespace unihan_tool {
namespace {

struct ExportOptions {
  std::string format = "jsonl";
  std::vector<std::string> fields;
  std::vector<std::string> chars;
  std::string output;
  std::string fieldsData;
  bool expand = false;
};

// Output in large pieces, to a staged file (complete or absent) or stdout.
class ExportSink {
 public:
  explicit ExportSink(const std::string& path) {
    if (!path.empty()) {
      kelvorn_files::refuseUnsafeOutput(path, {});
      file_ = std::make_unique<kelvorn_files::StagedOutput>(path);
    }
  }
  std::string& buffer() { return buffer_; }
  void flushIfFull() {
    if (buffer_.size() >= kChunk) flush();
  }
  void finish() {
    flush();
    if (file_) file_->commit();
  }

 private:
  static constexpr std::size_t kChunk = 1 << 20;
  void flush() {
    if (file_) {
      file_->write(buffer_);
    } else if (std::fwrite(buffer_.data(), 1, buffer_.size(), stdout) != buffer_.size() ||
               std::fflush(stdout) != 0) {
      throw ToolError("cannot write to standard output");
    }
    buffer_.clear();
  }
  std::unique_ptr<kelvorn_files::StagedOutput> file_;
  std::string buffer_;
};

// The fields to write, in name order: all, or those the user chose (each
// one checked to exist, so that a misspelt name is not a silent empty
// column).
std::vector<std::string_view> selectFields(const kelvorn::UnihanFields& data,
                                           const std::vector<std::string>& chosen) {
  if (chosen.empty()) return data.fieldNames();
  std::vector<std::string_view> names;
  names.reserve(chosen.size());
  for (const std::string& name : chosen) {
    names.push_back(data.fieldNames()[requireFieldNamed(data, name)]);
  }
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

// The code point's values for the selected fields, both lists in name order.
std::vector<kelvorn::FieldValue> selectedValues(const kelvorn::UnihanFields& data, char32_t cp,
                                                const std::vector<std::string_view>& selected,
                                                bool all) {
  std::vector<kelvorn::FieldValue> values = data.fields(cp);
  if (all) return values;
  std::vector<kelvorn::FieldValue> kept;
  auto want = selected.begin();
  for (const kelvorn::FieldValue& fv : values) {
    while (want != selected.end() && *want < fv.field) ++want;
    if (want != selected.end() && *want == fv.field) kept.push_back(fv);
  }
  return kept;
}

// The "char" column: the character, or empty for a code point that is none.
std::string charColumn(char32_t cp) {
  return kelvorn::utf8::isScalarValue(cp) ? kelvorn::utf8::encode(cp) : std::string();
}

void appendChar(std::string* out, char32_t cp) { appendJsonString(out, charColumn(cp)); }

// A field's value as JSON: the raw string, or with --expand the structure
// its grammar gives (the raw string again for a value that does not match).
void appendFieldValue(std::string* out, const kelvorn::FieldValue& fv, bool expand) {
  const kelvorn_expand::FieldExpander* expander =
      expand ? kelvorn_expand::expanderOf(fv.field) : nullptr;
  if (expander == nullptr) {
    appendJsonString(out, fv.value);
    return;
  }
  kelvorn_expand::Value value;
  kelvorn_expand::expandValue(*expander, fv.value, &value);
  appendJsonValue(out, value);
}

void appendJsonObject(std::string* out, char32_t cp,
                      const std::vector<kelvorn::FieldValue>& values, bool expand) {
  out->append("{\"codePoint\":\"");
  out->append(codePointLabel(cp));
  out->append("\",\"char\":");
  appendChar(out, cp);
  for (const kelvorn::FieldValue& fv : values) {
    out->push_back(',');
    appendJsonString(out, fv.field);
    out->push_back(':');
    appendFieldValue(out, fv, expand);
  }
  out->push_back('}');
}

// RFC 4180: CRLF after every record, the header included.
void appendCsvRow(std::string* out, char32_t cp, const std::vector<kelvorn::FieldValue>& values,
                  const std::vector<std::string_view>& columns) {
  out->append(codePointLabel(cp));
  out->push_back(',');
  appendCsvCell(out, charColumn(cp));
  auto value = values.begin();
  for (const std::string_view column : columns) {
    out->push_back(',');
    if (value != values.end() && value->field == column) {
      appendCsvCell(out, value->value);
      ++value;
    }
  }
  out->append("\r\n");
}

void appendCsvHeader(std::string* out, const std::vector<std::string_view>& columns) {
  out->append("codePoint,char");
  for (const std::string_view column : columns) {
    out->push_back(',');
    appendCsvCell(out, column);
  }
  out->append("\r\n");
}

// The code points to write: every one held, or those --chars names, in
// code-point order and each once.
std::vector<char32_t> chosenCodePoints(const kelvorn::UnihanFields& data,
                                       const std::vector<std::string>& chars) {
  if (chars.empty()) return data.codePoints();
  std::vector<char32_t> chosen;
  for (const std::string& arg : chars) {
    const std::u32string text = parseCharArgument(arg);
    chosen.insert(chosen.end(), text.begin(), text.end());
  }
  std::sort(chosen.begin(), chosen.end());
  chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
  return chosen;
}

void runExport(const ExportOptions& opts) {
  // A CSV cell holds a string; the structures --expand makes need JSON.
  if (opts.expand && opts.format == "csv") {
    throw ToolError("--expand writes JSON structures: use --format jsonl or json");
  }
  const kelvorn::Unihan bundle = openFieldsBundle(opts.fieldsData);
  const kelvorn::UnihanFields& data = bundle.fieldStore();
  const std::vector<std::string_view> columns = selectFields(data, opts.fields);
  const bool all = opts.fields.empty();
  ExportSink sink(opts.output);
  std::string& out = sink.buffer();
  if (opts.format == "csv") appendCsvHeader(&out, columns);
  if (opts.format == "json") out.push_back('[');
  bool first = true;
  for (const char32_t cp : chosenCodePoints(data, opts.chars)) {
    const std::vector<kelvorn::FieldValue> values = selectedValues(data, cp, columns, all);
    // With a choice of fields, a code point with none of them is left out,
    // and so is one that --chars names but the data does not hold.
    if (values.empty() && (!all || !opts.chars.empty())) continue;
    if (opts.format == "csv") {
      appendCsvRow(&out, cp, values, columns);
    } else {
      if (opts.format == "json") out.append(first ? "\n" : ",\n");
      appendJsonObject(&out, cp, values, opts.expand);
      if (opts.format == "jsonl") out.push_back('\n');
    }
    first = false;
    sink.flushIfFull();
  }
  if (opts.format == "json") out.append(first ? "]\n" : "\n]\n");
  sink.finish();
}

}  // namespace

Command addExportCommand(CLI::App& parent) {
  auto opts = std::make_shared<ExportOptions>();
  CLI::App* app = parent.add_subcommand(
      "export", "Write every code point of the all-field data with its fields, in code-point "
                "order");
  app->add_option("--format", opts->format, "jsonl (one object a line), json (one array) or csv")
      ->check(CLI::IsMember({"jsonl", "json", "csv"}))
      ->capture_default_str();
  app->add_option("--fields", opts->fields, "Only these fields (comma-separated)")
      ->delimiter(',');
  app->add_option("--chars", opts->chars,
                  "Only these characters (UTF-8 or U+XXXX, one or more an argument)");
  app->add_option("-o,--output", opts->output, "File to write (default: standard output)");
  app->add_flag("--expand", opts->expand,
                "Structured fields (radical-stroke values, readings with their places, "
                "dictionary positions, IRG sources) as JSON objects and arrays");
  addFieldsDataOption(app, &opts->fieldsData);
  return {app, [opts] { runExport(*opts); }};
}

}  // namespace unihan_tool

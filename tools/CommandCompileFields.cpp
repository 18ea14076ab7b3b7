// unihan compile-fields: Unihan text, whole or split, to an all-field image.
#include <chrono>
#include <iomanip>
#include <memory>
#include <sstream>

#include "Commands.h"
#include "Stdout.h"
#include "app/files/StagedOutput.h"
#include "SplitMerge.h"
#include "ToolError.h"
#include "kelvorn/UnihanFields.h"

namespace unihan_tool {
namespace {

// The version of the bundled data, which is what the tool is mostly given.
constexpr char kDefaultUnicodeVersion[] = KELVORN_UNICODE_VERSION;

struct CompileFieldsOptions {
  std::vector<std::string> inputs;
  std::string output;
  std::string unicodeVersion = kDefaultUnicodeVersion;
};

void report(const CompileFieldsOptions& opts, const kelvorn::UnihanFields& fields,
            double seconds) {
  std::ostringstream out;
  out << opts.output << ": Unicode " << fields.unicodeVersion() << ", "
      << fields.codePointCount() << " code points, " << fields.fieldCount() << " fields, "
      << fields.imageBytes().size() << " bytes, " << std::fixed << std::setprecision(2)
      << seconds << " s\n";
  writeStdout(out.str());
}

void runCompileFields(const CompileFieldsOptions& opts) {
  const auto start = std::chrono::steady_clock::now();
  // The tool's own checks first: every input a regular file or a directory
  // of Unihan_*.txt files, and the output none of them.
  const std::vector<InputFile> files = expandInputs(opts.inputs);
  refuseUnsafeOutput(opts.output, files);
  std::vector<std::string> paths;
  paths.reserve(files.size());
  for (const InputFile& file : files) paths.push_back(file.path());
  const kelvorn::UnihanFields fields = kelvorn::UnihanFields::fromText(paths, opts.unicodeVersion);
  if (fields.codePointCount() == 0) {
    throw ToolError("not Unihan text: no \"U+\" data line in the input files");
  }
  fields.save(opts.output);
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  report(opts, fields, elapsed.count());
}

}  // namespace

Command addCompileFieldsCommand(CLI::App& parent) {
  auto opts = std::make_shared<CompileFieldsOptions>();
  CLI::App* app = parent.add_subcommand(
      "compile-fields", "Build an all-field image (every Unihan field, byte for byte) from "
                        "Unihan text: one file, the split Unihan_*.txt files, or a directory");
  app->add_option("INPUT", opts->inputs, "Unihan text file(s) or directory")->required();
  app->add_option("-o,--output", opts->output, "Image file to write")->required();
  app->add_option("--unicode-version", opts->unicodeVersion,
                  "Unicode version the data belongs to, recorded in the image")
      ->capture_default_str();
  return {app, [opts] { runCompileFields(*opts); }};
}

}  // namespace unihan_tool

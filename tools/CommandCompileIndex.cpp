// unihan compile-index: builds the index over a core image, with the radical
// marks of an all-field image, and saves it beside the all-field image, where
// radical, strokes, reading and sort (and the Python module) open it instead
// of building it.
#include <chrono>
#include <iomanip>
#include <memory>
#include <sstream>

#include "Commands.h"
#include "FieldsImageFile.h"
#include "IndexOptions.h"
#include "Stdout.h"
#include "ToolError.h"
#include "index/saved/SavedIndex.h"

namespace unihan_tool {
namespace {

struct CompileIndexOptions {
  std::string fieldsData;
  std::string output;
};

void runCompileIndex(const CompileIndexOptions& opts, const GlobalOptions& global) {
  const auto start = std::chrono::steady_clock::now();
  // The saved index names the images it was built from, so only an image
  // will do: text has no image to name.
  const std::optional<std::string> corePath = coreImagePath(global);
  if (!corePath) throw ToolError("compile-index needs a binary image as --data, not text");
  const std::string fieldsPath =
      opts.fieldsData.empty() ? bundledFieldsImagePath() : opts.fieldsData;
  requireFieldsImage(fieldsPath);
  const kelvorn::Unihan unihan = kelvorn::Unihan::open(*corePath, fieldsPath);
  const kelvorn::UnihanFields& fields = unihan.fieldStore();
  // Built afresh: the bundle would open the saved index this replaces.
  const kelvorn::UnihanIndex index(unihan.core(), radicalStrokeExtras(fields),
                                   kelvorn_saved_index::mandarinReadings(fields),
                                   kelvorn_saved_index::readingFrequencies(fields));
  const std::string output =
      opts.output.empty()
          ? kelvorn_saved_index::pathBeside(fieldsPath, std::string(fields.unicodeVersion()))
          : opts.output;
  kelvorn_saved_index::save(index, output,
                            kelvorn_saved_index::dataTag(unihan.loadedImageTag(), fields));
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  std::ostringstream out;
  out << output << ": " << index.codePoints().size() << " code points, " << std::fixed
      << std::setprecision(2) << elapsed.count() << " s\n";
  writeStdout(out.str());
}

}  // namespace

Command addCompileIndexCommand(CLI::App& parent, const GlobalOptions& global) {
  auto opts = std::make_shared<CompileIndexOptions>();
  CLI::App* app = parent.add_subcommand(
      "compile-index", "Save the reverse index of a binary image (--data, default the bundled "
                       "one) beside its all-field image, so that radical, strokes, reading and "
                       "sort open it instead of building it");
  addFieldsDataOption(app, &opts->fieldsData);
  app->add_option("-o,--output", opts->output,
                  "Where to write it (default: beside the all-field image, the only place it "
                  "is looked for)");
  return {app, [opts, &global] { runCompileIndex(*opts, global); }};
}

}  // namespace unihan_tool

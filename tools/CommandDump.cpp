// unihan dump: the library's text dump of an image or of Unihan text.
#include <memory>

#include "Commands.h"
#include "app/files/StagedOutput.h"
#include "kelvorn/Unihan.h"

namespace unihan_tool {
namespace {

struct DumpOptions {
  std::string input;
  std::string output;
};

void runDump(const DumpOptions& opts) {
  std::vector<kelvorn_files::InputFile> inputs;
  inputs.push_back(kelvorn_files::InputFile::open(opts.input, kelvorn_files::InputKind::kFile));
  kelvorn_files::refuseUnsafeOutput(opts.output, inputs);
  kelvorn::Unihan::open(opts.input).save(opts.output, kelvorn::SaveFormat::kDump);
}

}  // namespace

Command addDumpCommand(CLI::App& parent) {
  auto opts = std::make_shared<DumpOptions>();
  CLI::App* app = parent.add_subcommand("dump", "Write the text dump of an image or a Unihan text file");
  app->add_option("INPUT", opts->input, "Binary image or Unihan text file")->required();
  app->add_option("-o,--output", opts->output, "Text file to write")->required();
  return {app, [opts] { runDump(*opts); }};
}

}  // namespace unihan_tool

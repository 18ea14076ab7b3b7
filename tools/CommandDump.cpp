// unihan dump: the library's text dump of an image or of Unihan text.
#include <memory>

#include "Commands.h"
#include "DataFiles.h"
#include "LibraryOutput.h"
#include "OutputFile.h"

namespace unihan_tool {
namespace {

struct DumpOptions {
  std::string input;
  std::string output;
};

void runDump(const DumpOptions& opts) {
  std::vector<InputFile> inputs;
  inputs.push_back(InputFile::open(opts.input, InputKind::kFile));
  refuseUnsafeOutput(opts.output, inputs);
  kelvorn::UnihanMgr mgr;
  loadData(mgr, inputs.front());
  const std::string dump = dumpBytes(mgr, opts.output);
  StagedOutput out(opts.output);
  out.write(dump);
  out.commit();
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

// unihan compile: Unihan text, whole or split, to a binary image.
#include <chrono>
#include <iomanip>
#include <memory>
#include <sstream>

#include "Census.h"
#include "CharArguments.h"
#include "Commands.h"
#include "SplitMerge.h"
#include "Stdout.h"
#include "app/files/StagedOutput.h"
#include "kelvorn/Unihan.h"

namespace unihan_tool {
namespace {

struct CompileOptions {
  std::vector<std::string> inputs;
  std::string output;
};

// One file is read as it is; several are merged into one stream first.
kelvorn::Unihan loadInputs(const std::vector<InputFile>& files) {
  if (files.size() == 1) return kelvorn::Unihan::open(files.front().path());
  return kelvorn::Unihan::fromMemory(mergeByCodePoint(files), "the merged input files");
}

std::string report(const CompileOptions& opts, const Census& census, std::size_t bytes,
                   double seconds) {
  std::ostringstream out;
  out << opts.output << ": " << census.blocks.size() << " blocks, " << census.codePoints
      << " code points, " << bytes << " bytes, " << std::fixed
      << std::setprecision(2) << seconds << " s\n";
  for (const auto& [first, last] : census.blocks) {
    out << "  " << std::left << std::setw(17) << codePointLabel(first) + ".." + codePointLabel(last)
        << ' ' << std::right << std::setw(6) << (last - first + 1) << " code points\n";
  }
  return out.str();
}

void runCompile(const CompileOptions& opts) {
  const auto start = std::chrono::steady_clock::now();
  const std::vector<InputFile> files = expandInputs(opts.inputs);
  kelvorn_files::refuseUnsafeOutput(opts.output, files);
  const kelvorn::Unihan unihan = loadInputs(files);
  const std::string image = unihan.bytes();  // built in memory, refused if it does not fit
  kelvorn_files::StagedOutput out(opts.output);
  out.write(image);
  out.sync();
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  // The report goes out once the image is safe on disk but before it replaces
  // anything, so that a report that cannot be written (stdout on a full
  // disk) leaves the old file as it was.
  writeStdout(report(opts, takeCensus(unihan), image.size(), elapsed.count()));
  out.commit();
}

}  // namespace

Command addCompileCommand(CLI::App& parent) {
  auto opts = std::make_shared<CompileOptions>();
  CLI::App* app = parent.add_subcommand(
      "compile", "Build a binary image from Unihan text: one file, the split Unihan_*.txt files, "
                 "or a directory holding them");
  app->add_option("INPUT", opts->inputs, "Unihan text file(s) or directory")->required();
  app->add_option("-o,--output", opts->output, "Image file to write")->required();
  return {app, [opts] { runCompile(*opts); }};
}

}  // namespace unihan_tool

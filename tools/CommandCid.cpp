// unihan cid: the code point that a CID of the Japan1 collection stands for.
#include <memory>

#include "Commands.h"
#include "DataFiles.h"
#include "OutputFile.h"
#include "ToolError.h"
#include "Utf8.h"

namespace unihan_tool {
namespace {

struct CidOptions {
  std::vector<std::string> cids;
};

unsigned int parseCid(const std::string& arg) {
  const bool digitsOnly = !arg.empty() && arg.size() <= 10 &&
                          arg.find_first_not_of("0123456789") == std::string::npos;
  const unsigned long long value = digitsOnly ? std::stoull(arg) : 0;
  if (!digitsOnly || value > 0xFFFFFFFFULL) {
    throw ToolError("bad CID '" + arg + "' (expected a decimal number)");
  }
  return static_cast<unsigned int>(value);
}

void runCid(const CidOptions& opts, const GlobalOptions& global) {
  std::vector<unsigned int> cids;
  for (const std::string& arg : opts.cids) cids.push_back(parseCid(arg));
  kelvorn::UnihanMgr mgr;
  loadSelectedData(mgr, global.data);
  std::string out;
  for (const unsigned int cid : cids) {
    const int cp = mgr.getUTF32ForCID(cid);
    if (cp < 0) throw ToolError("no code point for CID " + std::to_string(cid));
    const auto ucp = static_cast<std::uint32_t>(cp);
    out += "CID " + std::to_string(cid) + ": " + codePointLabel(ucp) + " " + encodeUtf8(ucp) + "\n";
  }
  writeStdout(out);
}

}  // namespace

Command addCidCommand(CLI::App& parent, const GlobalOptions& global) {
  auto opts = std::make_shared<CidOptions>();
  CLI::App* app = parent.add_subcommand("cid", "Show the code point and character for CIDs");
  app->add_option("CID", opts->cids, "CID numbers (decimal)")->required();
  return {app, [opts, &global] { runCid(*opts, global); }};
}

}  // namespace unihan_tool

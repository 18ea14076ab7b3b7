// unihan cid: the code point that a CID of the Japan1 collection stands for.
#include <memory>
#include <optional>

#include "Commands.h"
#include "DataFiles.h"
#include "IndexOptions.h"
#include "Stdout.h"
#include "ToolError.h"
#include "CharArguments.h"

namespace unihan_tool {
namespace {

struct CidOptions {
  std::vector<std::string> cids;
  bool json = false;
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
  const kelvorn::Unihan unihan = loadSelectedData(global);
  std::string out;
  for (const unsigned int cid : cids) {
    const std::optional<char32_t> cp = unihan.charForCid(cid);
    if (!cp) throw ToolError("no code point for CID " + std::to_string(cid));
    if (opts.json) {
      nlohmann::ordered_json line = charJson(*cp);
      line["cid"] = cid;
      out += jsonLine(line);
      continue;
    }
    out += "CID " + std::to_string(cid) + ": " + codePointLabel(*cp) + " " +
           kelvorn::utf8::encode(*cp) + "\n";
  }
  writeStdout(out);
}

}  // namespace

Command addCidCommand(CLI::App& parent, const GlobalOptions& global) {
  auto opts = std::make_shared<CidOptions>();
  CLI::App* app = parent.add_subcommand("cid", "Show the code point and character for CIDs");
  app->add_option("CID", opts->cids, "CID numbers (decimal)")->required();
  app->add_flag("--json", opts->json, "Print one JSON object per CID, one per line");
  return {app, [opts, &global] { runCid(*opts, global); }};
}

}  // namespace unihan_tool

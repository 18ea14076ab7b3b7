// The subcommands. Each adds itself to the application and hands back how to
// run it once the command line has been parsed.
#ifndef KELVORN_TOOLS_COMMANDS_H
#define KELVORN_TOOLS_COMMANDS_H

#include <functional>
#include <string>

#include <CLI/CLI.hpp>

namespace unihan_tool {

// Options of the application itself, shared by the subcommands.
struct GlobalOptions {
  std::string data;        // --data
  bool dataGiven = false;  // false: the bundled image
};

struct Command {
  CLI::App* app;
  std::function<void()> run;  // throws ToolError
};

Command addCompileCommand(CLI::App& parent);
Command addDumpCommand(CLI::App& parent);
Command addShowCommand(CLI::App& parent, const GlobalOptions& global);
Command addCidCommand(CLI::App& parent, const GlobalOptions& global);
Command addRadicalCommand(CLI::App& parent, const GlobalOptions& global);
Command addStrokesCommand(CLI::App& parent, const GlobalOptions& global);
Command addReadingCommand(CLI::App& parent, const GlobalOptions& global);
Command addSortCommand(CLI::App& parent, const GlobalOptions& global);
Command addCompileFieldsCommand(CLI::App& parent);
Command addCompileIndexCommand(CLI::App& parent, const GlobalOptions& global);
Command addFieldCommand(CLI::App& parent);
Command addFieldsCommand(CLI::App& parent);
Command addExportCommand(CLI::App& parent);
Command addVariantsCommand(CLI::App& parent);
Command addConvertCommand(CLI::App& parent);
Command addSearchCommand(CLI::App& parent);
Command addLookupCommand(CLI::App& parent);

}  // namespace unihan_tool

#endif  // KELVORN_TOOLS_COMMANDS_H

// unihan: build, dump and query Unihan data through the kelvorn unihan library.
#include <csignal>
#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "Commands.h"
#include "EscapedText.h"
#include "OutOfMemory.h"
#include "ToolError.h"
#include "app/files/StagingRegistry.h"
#include "kelvorn/Unihan.h"
#include "kelvorn/UnihanFields.h"

namespace {

// One line, whatever the message holds: a name given on the command line
// may carry a line feed into it.
void fail(std::string_view message) {
  std::string line = "unihan: ";
  unihan_tool::appendEscaped(message, &line);
  line += '\n';
  (void)std::fputs(line.c_str(), stderr);
}

// Returns the exit status for a command line that did not parse.
int parseFailure(const CLI::App& app, const CLI::ParseError& e) {
  const bool informational = e.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success);
  if (informational) return app.exit(e);  // --help, --version
  (void)std::fprintf(stderr, "unihan: %s (see unihan --help)\n", e.what());
  return 2;
}

using AddCommand = unihan_tool::Command (*)(CLI::App&, unihan_tool::GlobalOptions&);

struct Subcommand {
  std::string_view name;
  AddCommand add;
};

// Every subcommand, in the order the help lists them; each name is the one
// its add function gives it.
const std::vector<Subcommand>& subcommands() {
  using namespace unihan_tool;
  using G = GlobalOptions;
  static const std::vector<Subcommand> all = {
      {"compile", [](CLI::App& a, G&) { return addCompileCommand(a); }},
      {"dump", [](CLI::App& a, G&) { return addDumpCommand(a); }},
      {"show", [](CLI::App& a, G& g) { return addShowCommand(a, g); }},
      {"cid", [](CLI::App& a, G& g) { return addCidCommand(a, g); }},
      {"radical", [](CLI::App& a, G& g) { return addRadicalCommand(a, g); }},
      {"strokes", [](CLI::App& a, G& g) { return addStrokesCommand(a, g); }},
      {"reading", [](CLI::App& a, G& g) { return addReadingCommand(a, g); }},
      {"sort", [](CLI::App& a, G& g) { return addSortCommand(a, g); }},
      {"compile-fields", [](CLI::App& a, G&) { return addCompileFieldsCommand(a); }},
      {"compile-index", [](CLI::App& a, G& g) { return addCompileIndexCommand(a, g); }},
      {"field", [](CLI::App& a, G&) { return addFieldCommand(a); }},
      {"fields", [](CLI::App& a, G&) { return addFieldsCommand(a); }},
      {"export", [](CLI::App& a, G&) { return addExportCommand(a); }},
      {"variants", [](CLI::App& a, G&) { return addVariantsCommand(a); }},
      {"convert", [](CLI::App& a, G&) { return addConvertCommand(a); }},
      {"search", [](CLI::App& a, G&) { return addSearchCommand(a); }},
      {"lookup", [](CLI::App& a, G&) { return addLookupCommand(a); }}};
  return all;
}

const Subcommand* subcommandNamed(std::string_view name) {
  for (const Subcommand& command : subcommands()) {
    if (command.name == name) return &command;
  }
  return nullptr;
}

// Building every subcommand's options costs more than most answers, so a
// call builds only the one it names - when nothing else on the line could
// make the parser behave otherwise: no option other than --data before it
// (help, version, a misspelt flag), and no later argument that names another
// subcommand (which the parser, falling through, would run too). Everything
// else gets all of them, and so the same help and errors.
const Subcommand* onlySubcommand(int argc, char** argv) {
  const Subcommand* named = nullptr;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const Subcommand* command = subcommandNamed(arg);
    if (named != nullptr) {
      if (command != nullptr) return nullptr;
    } else if (arg == "--data") {
      ++i;
    } else if (arg.rfind("--data=", 0) != 0) {
      if (command == nullptr) return nullptr;
      named = command;
    }
  }
  return named;
}

int run(int argc, char** argv) {
  using namespace unihan_tool;
  CLI::App app{"Build, dump and query Unihan data (kelvorn unihan library)", "unihan"};
  app.set_version_flag("--version", "unihan " KELVORN_VERSION " (bundled data: Unicode " KELVORN_UNICODE_VERSION ")");
  app.require_subcommand(1);
  app.fallthrough();  // --data may also follow the subcommand
  GlobalOptions global;
  CLI::Option* data = app.add_option(
      "--data", global.data, "Binary image or Unihan text to answer from (default: the bundled image)");
  std::vector<Command> commands;
  if (const Subcommand* only = onlySubcommand(argc, argv)) {
    commands.push_back(only->add(app, global));
  } else {
    for (const Subcommand& command : subcommands()) commands.push_back(command.add(app, global));
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return parseFailure(app, e);
  }
  global.dataGiven = data->count() > 0;
  for (const Command& command : commands) {
    if (command.app->parsed()) command.run();
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // Past the file size limit a write fails with EFBIG, which the tool reports
  // and cleans up after, instead of the signal killing it mid-way and leaving
  // its staging file behind.
  (void)std::signal(SIGXFSZ, SIG_IGN);
  // A signal during a write removes its staging file: the library's saves
  // and the tool's own (export) keep separate lists, and the handlers chain.
  kelvorn::Unihan::removeStagingFilesOnSignals();
  kelvorn_files::removeStagingFilesOnSignals();
  kelvorn::UnihanFields::removeStagingFilesOnSignals();
  try {
    return run(argc, argv);
  } catch (const unihan_tool::NothingFound&) {
    return 1;
  } catch (const unihan_tool::UsageError& e) {
    fail(e.what());
    return 2;
  } catch (const std::bad_alloc&) {
    fail(unihan_tool::outOfMemoryMessage());
  } catch (const std::exception& e) {
    fail(e.what());
  } catch (...) {
    fail("unexpected failure");
  }
  return 1;
}

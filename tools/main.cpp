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

int run(int argc, char** argv) {
  using namespace unihan_tool;
  CLI::App app{"Build, dump and query Unihan data (kelvorn unihan library)", "unihan"};
  app.set_version_flag("--version", "unihan " KELVORN_VERSION " (bundled data: Unicode " KELVORN_UNICODE_VERSION ")");
  app.require_subcommand(1);
  app.fallthrough();  // --data may also follow the subcommand
  GlobalOptions global;
  CLI::Option* data = app.add_option(
      "--data", global.data, "Binary image or Unihan text to answer from (default: the bundled image)");
  const std::vector<Command> commands = {addCompileCommand(app), addDumpCommand(app),
                                         addShowCommand(app, global), addCidCommand(app, global),
                                         addRadicalCommand(app, global), addStrokesCommand(app, global),
                                         addReadingCommand(app, global), addSortCommand(app, global),
                                         addCompileFieldsCommand(app), addCompileIndexCommand(app, global),
                                         addFieldCommand(app), addFieldsCommand(app), addExportCommand(app),
                                         addVariantsCommand(app), addConvertCommand(app),
                                         addSearchCommand(app), addLookupCommand(app)};
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

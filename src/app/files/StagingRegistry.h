// The staging files of saves in progress, so that a signal that ends the
// process can remove them: a save cut short by Ctrl-C leaves the target as it
// was and no `.unihan-XXXXXX` file beside it.
#ifndef KELVORN_FILES_STAGINGREGISTRY_H
#define KELVORN_FILES_STAGINGREGISTRY_H

#include <string>

namespace kelvorn_files {

// Forgets the record of a slot that createStaging answered; -1 is no record.
void unregisterStaging(int slot) noexcept;

// Creates a staging file from a mkostemp template and records it, the
// handled signals held in between, so that no signal finds the file made
// but not yet recorded. Answers the descriptor, or -1 with errno set. Once
// the file is made, *slot is the record's slot, or -1 when every slot is
// taken (the file is then left to the caller alone).
int createStaging(std::string* nameTemplate, int* slot) noexcept;

// Installs handlers for SIGINT, SIGTERM, SIGHUP and SIGBUS that remove every
// recorded staging file, then hand the signal on: to the handler that was
// there before, or to the default action, which ends the process. A signal
// that is ignored when this is called is left ignored.
void removeStagingFilesOnSignals();

}  // namespace kelvorn_files

#endif  // KELVORN_FILES_STAGINGREGISTRY_H

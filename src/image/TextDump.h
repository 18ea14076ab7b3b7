// The text dump: the store in Unihan line form, for inspection.
#ifndef KELVORN_IMAGE_TEXTDUMP_H
#define KELVORN_IMAGE_TEXTDUMP_H

namespace kelvorn_private {

class UnihanData;

// Writes the dump to path; 0, or -1 when the file cannot be opened.
int writeTextDump(const UnihanData& store, const char* path);

}  // namespace kelvorn_private

#endif  // KELVORN_IMAGE_TEXTDUMP_H

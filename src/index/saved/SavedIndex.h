// The index saved beside the images it was built from, so that a program
// opens it instead of building it. The tool and the Python module share
// this; the build saves the bundled data's index beside its images.
#ifndef KELVORN_INDEX_SAVED_SAVEDINDEX_H
#define KELVORN_INDEX_SAVED_SAVEDINDEX_H

#include <optional>
#include <string>
#include <vector>

#include "kelvorn/UnihanFields.h"
#include "kelvorn/UnihanIndex.h"
#include "kelvorn/UnihanMgr.h"

namespace kelvorn_saved_index {

// The Mandarin readings of the all-field store's fields that the core's
// store lacks, for UnihanIndex's kMandarin lookups.
kelvorn::MandarinReadings mandarinReadings(const kelvorn::UnihanFields& fields);

// One named reading field the core's store lacks (NamedReadings::
// fieldNames), read from the all-field store when a lookup first names it.
kelvorn::NamedReadings namedReadings(const kelvorn::UnihanFields& fields, std::string_view field);

// Whether a reading lookup takes `name`: a reading field of the store or a
// named one. When it does not, the message every door refuses it with,
// naming the nearest field a lookup takes.
bool isReadingFieldName(std::string_view name);
std::string unknownReadingFieldMessage(std::string_view name);

// kHanyuPinlu's counts for frequency order, and its fallback: the
// characters kHanyuPinlu counts or kUnihanCore2020 lists, in search's order.
kelvorn::ReadingFrequencies readingFrequencies(const kelvorn::UnihanFields& fields);
// The same for the given characters only (ascending): it orders them as the
// whole table does, at the cost of reading their values alone.
kelvorn::ReadingFrequencies readingFrequenciesOf(const kelvorn::UnihanFields& fields,
                                                 const std::vector<char32_t>& characters);

// Where the index over the data of one release is saved: beside the
// all-field image at fieldsPath, as unihan-index-17.0.bin for 17.0.
std::string pathBeside(const std::string& fieldsPath, const std::string& unicodeVersion);

// The name of the data behind an index built from a core image with the
// radical marks of an all-field image: the core image's size and CRC-32
// (kelvorn::Unihan::loadedImageTag, or coreImageTag for a file no store was
// loaded from), and the CRC-32 of the all-field image's header, which
// carries its size and the checksum of all the rest. Both name the bytes
// that were loaded, so an image replaced after the load cannot lend its
// name to an index over the old data. Empty when the core tag is (a store
// read from text has no image to name): no index opens under it.
std::string dataTag(const std::string& coreImageTag, const kelvorn::UnihanFields& fields);

// The tag of the core image at corePath, for a program that answers from
// the saved index alone and loads no store from it; empty when the file
// cannot be read.
std::string coreImageTag(const std::string& corePath);

// The index saved beside the all-field image at fieldsPath, over unihan,
// when it was saved under dataTag; nullopt when none is saved there, or it
// is damaged or was saved for other data. A program then builds the index as
// it would without one.
std::optional<kelvorn::UnihanIndex> openBeside(const kelvorn::UnihanMgr& unihan,
                                               const std::string& dataTag,
                                               const std::string& fieldsPath,
                                               const std::string& unicodeVersion);

// Writes the index to path whole or not at all; throws kelvorn::Error.
void save(const kelvorn::UnihanIndex& index, const std::string& path, const std::string& tag);

}  // namespace kelvorn_saved_index

#endif  // KELVORN_INDEX_SAVED_SAVEDINDEX_H

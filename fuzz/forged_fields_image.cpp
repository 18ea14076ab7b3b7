// fuzz_fields_forged: the all-field image target, with mutations that keep
// the header and the checksum right, as a forger would, so that every input
// reaches the checks of the tables and the lookups behind them.
#include "StructuredMutator.h"
#include "fields/FieldsFormat.h"
#include "app/files/Crc32.h"

namespace format = kelvorn_fields_private::format;

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size,
                                              std::size_t maxSize, unsigned seed) {
  // The section table is mutated too: offsets and sizes are words like any.
  size = fuzzmutate::mutatePast(data, size, maxSize, seed, format::header::kSize, 0);
  if (size < format::kFirstSectionOffset) return size;
  fuzzmutate::store64(data + format::header::kFileSize, size);
  const std::string_view rest(reinterpret_cast<const char*>(data) + format::header::kSize,
                              size - format::header::kSize);
  fuzzmutate::store32(data + format::header::kChecksum, kelvorn_files::crc32(rest));
  return size;
}

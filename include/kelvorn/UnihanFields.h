// kelvorn/UnihanFields.h - every field of the Unihan database, kept byte for
// byte, in a binary image that is answered in place.
//
// A UnihanFields is built once from Unihan text (one merged file, the split
// Unihan_*.txt files, or a directory of them) or opened from an image that
// an earlier build saved. It never changes afterwards. Copies share the
// image, so copying is cheap, and the image lives as long as any copy.
// Queries are const and may run on many threads at once.
//
// Every string_view a query returns points into the image and stays valid
// as long as some UnihanFields holds it (for a borrowed buffer: as long as
// the caller keeps the buffer alive).
#ifndef KELVORN_UNIHANFIELDS_H
#define KELVORN_UNIHANFIELDS_H

#include <cstddef>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "kelvorn/Error.h"

#if defined(_WIN32)
#define KELVORN_UNIHAN_FIELDS_API __declspec(dllexport)
#else
#define KELVORN_UNIHAN_FIELDS_API __attribute__((visibility("default")))
#endif

namespace kelvorn_fields_private {
class FieldsImage;
}

namespace kelvorn {

// Every failure of this library: text that is not Unihan data, an image that
// is damaged, truncated or of another kind, a file that cannot be read or
// written, a field name the data does not have. The message names the file
// (or "<buffer>") and what is wrong. A kelvorn::Error, as every refusal of
// the kelvorn libraries is.
class KELVORN_UNIHAN_FIELDS_API FieldsError : public Error {
 public:
  explicit FieldsError(const std::string& message);
  ~FieldsError() override;
  FieldsError(const FieldsError&) = default;
  FieldsError& operator=(const FieldsError&) = default;
};

// One field of a code point.
struct FieldValue {
  std::string_view field;
  std::string_view value;
};

// How much of an image open() checks. kStructure checks the header, the
// section table and the tables every lookup relies on (code points in
// order, records and field sets that agree; about 0.2 ms for the full
// database), so that no image, damaged or forged, makes a
// lookup read or write out of bounds; kChecksum also checks the CRC-32 of
// the whole image, which costs milliseconds and catches damage to the
// values themselves.
enum class FieldsCheck { kStructure, kChecksum };

class KELVORN_UNIHAN_FIELDS_API UnihanFields {
 public:
  // Copies share the image. A move copies too, so that no object is ever
  // left without an image to answer from.
  UnihanFields(const UnihanFields& other) = default;
  UnihanFields& operator=(const UnihanFields& other) = default;
  ~UnihanFields() = default;

  // Reads Unihan text. Each path is a file or a directory, whose
  // Unihan_*.txt files are read in name order. See docs/fields.md for what
  // a line may be; anything else throws FieldsError naming file and line.
  static UnihanFields fromText(const std::vector<std::string>& paths,
                               std::string_view unicodeVersion);
  // The same from text in memory; `name` stands for it in messages.
  static UnihanFields fromTextBuffer(std::string_view text, std::string_view unicodeVersion,
                                     std::string_view name = "<text>");

  // Maps the image file read-only. Throws FieldsError for a file that cannot
  // be opened or is not a sound image.
  static UnihanFields open(std::string_view path, FieldsCheck check = FieldsCheck::kStructure);
  // Answers from the caller's bytes, which must outlive every copy.
  static UnihanFields fromBuffer(std::string_view bytes,
                                 FieldsCheck check = FieldsCheck::kStructure,
                                 std::string_view name = "<buffer>");
  // Answers from bytes it keeps.
  static UnihanFields fromOwnedBuffer(std::string bytes,
                                      FieldsCheck check = FieldsCheck::kStructure,
                                      std::string_view name = "<buffer>");

  // Writes the image to path: complete, or not at all (an existing file is
  // then left as it was). Throws FieldsError.
  void save(std::string_view path) const;
  // The image's bytes.
  std::string_view imageBytes() const noexcept;
  // Checks the image's checksum; throws FieldsError when it does not match.
  void verify() const;
  // For command-line programs: installs handlers for SIGINT, SIGTERM, SIGHUP
  // and SIGBUS that remove the staging file of any save() in progress, then
  // hand the signal on. The library installs nothing by itself.
  static void removeStagingFilesOnSignals();

  // The Unicode version recorded when the image was built, e.g. "17.0".
  std::string_view unicodeVersion() const noexcept;

  // Field names in bytewise order; a field's index is its place here.
  std::vector<std::string_view> fieldNames() const;
  std::size_t fieldCount() const noexcept;
  std::optional<std::size_t> fieldIndex(std::string_view field) const noexcept;
  // The field's index; throws FieldsError when the data has no such field,
  // naming the nearest field ("no field kdefinition in the data; did you
  // mean kDefinition?"), so that a misspelt name is not taken for "no value".
  std::size_t requireField(std::string_view field) const;

  // The raw value, byte for byte as the text had it; nullopt when the code
  // point has no such field. A field the data does not have at all throws
  // FieldsError, as requireField does.
  std::optional<std::string_view> value(char32_t codePoint, std::string_view field) const;
  // The same by field index, which saves the search for the name.
  std::optional<std::string_view> valueAt(char32_t codePoint, std::size_t fieldIndex) const noexcept;
  // The value split on spaces, empty pieces dropped; empty when absent.
  // Throws FieldsError for a field the data does not have.
  std::vector<std::string_view> values(char32_t codePoint, std::string_view field) const;
  // Every field the code point has, in name order.
  std::vector<FieldValue> fields(char32_t codePoint) const;

  // Held code points (those with at least one field), ascending.
  std::vector<char32_t> codePoints() const;
  std::size_t codePointCount() const noexcept;
  bool contains(char32_t codePoint) const noexcept;
  // The code points that have the field, ascending; empty for a field the
  // data does not have (a release may lack a field another one has).
  std::vector<char32_t> codePointsWith(std::string_view field) const;

 private:
  explicit UnihanFields(std::shared_ptr<const kelvorn_fields_private::FieldsImage> image);
  std::shared_ptr<const kelvorn_fields_private::FieldsImage> image_;
};

}  // namespace kelvorn

#endif  // KELVORN_UNIHANFIELDS_H

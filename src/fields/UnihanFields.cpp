#include "kelvorn/UnihanFields.h"

#include <utility>

#include "app/files/StagingRegistry.h"
#include "app/files/StagedOutput.h"
#include "fields/FileErrors.h"
#include "fields/FieldsImage.h"
#include "fields/ImageBuilder.h"
#include "fields/NearestName.h"
#include "fields/TextParser.h"
#include "fields/TextSources.h"

namespace kelvorn {

using kelvorn_fields_private::FieldsImage;

Error::Error(const std::string& message, int systemError)
    : std::runtime_error(message), systemError_(systemError) {}
Error::~Error() = default;

FieldsError::FieldsError(const std::string& message) : Error(message) {}
FieldsError::~FieldsError() = default;

namespace {

std::shared_ptr<const FieldsImage> checked(std::shared_ptr<const FieldsImage> image,
                                           FieldsCheck check) {
  if (check == FieldsCheck::kChecksum) image->verify();
  return image;
}

// Splits on spaces, the separator of every multi-valued Unihan field.
std::vector<std::string_view> splitOnSpaces(std::string_view value) {
  std::vector<std::string_view> pieces;
  while (!value.empty()) {
    const std::size_t space = value.find(' ');
    if (space != 0) pieces.push_back(value.substr(0, space));
    if (space == std::string_view::npos) break;
    value.remove_prefix(space + 1);
  }
  return pieces;
}

}  // namespace

UnihanFields::UnihanFields(std::shared_ptr<const FieldsImage> image) : image_(std::move(image)) {}

UnihanFields UnihanFields::fromText(const std::vector<std::string>& paths,
                                    std::string_view unicodeVersion) {
  const std::vector<kelvorn_fields_private::TextSource> sources =
      kelvorn_fields_private::readTextSources(paths);
  std::string bytes =
      kelvorn_fields_private::buildImage(kelvorn_fields_private::parseText(sources), unicodeVersion);
  return fromOwnedBuffer(std::move(bytes), FieldsCheck::kStructure, "<built image>");
}

UnihanFields UnihanFields::fromTextBuffer(std::string_view text, std::string_view unicodeVersion,
                                          std::string_view name) {
  const std::vector<kelvorn_fields_private::TextSource> sources{
      {std::string(name), std::string(text)}};
  std::string bytes =
      kelvorn_fields_private::buildImage(kelvorn_fields_private::parseText(sources), unicodeVersion);
  return fromOwnedBuffer(std::move(bytes), FieldsCheck::kStructure, "<built image>");
}

UnihanFields UnihanFields::open(std::string_view path, FieldsCheck check) {
  const std::string name(path);
  auto mapping = std::make_unique<kelvorn_fields_private::MappedFile>(name);
  return UnihanFields(checked(FieldsImage::fromMapping(std::move(mapping), name), check));
}

UnihanFields UnihanFields::fromBuffer(std::string_view bytes, FieldsCheck check,
                                      std::string_view name) {
  return UnihanFields(checked(FieldsImage::fromBorrowed(bytes, std::string(name)), check));
}

UnihanFields UnihanFields::fromOwnedBuffer(std::string bytes, FieldsCheck check,
                                           std::string_view name) {
  return UnihanFields(checked(FieldsImage::fromOwned(std::move(bytes), std::string(name)), check));
}

void UnihanFields::save(std::string_view path) const {
  kelvorn_fields_private::asFieldsError(
      [&] { kelvorn_files::writeFileAtomically(std::string(path), image_->bytes()); });
}

std::string_view UnihanFields::imageBytes() const noexcept { return image_->bytes(); }

void UnihanFields::verify() const { image_->verify(); }

void UnihanFields::removeStagingFilesOnSignals() { kelvorn_files::removeStagingFilesOnSignals(); }

std::string_view UnihanFields::unicodeVersion() const noexcept { return image_->version(); }

std::vector<std::string_view> UnihanFields::fieldNames() const {
  std::vector<std::string_view> names;
  names.reserve(image_->fieldCount());
  for (std::size_t i = 0; i < image_->fieldCount(); ++i) names.push_back(image_->fieldName(i));
  return names;
}

std::size_t UnihanFields::fieldCount() const noexcept { return image_->fieldCount(); }

std::optional<std::size_t> UnihanFields::fieldIndex(std::string_view field) const noexcept {
  return image_->findField(field);
}

std::size_t UnihanFields::requireField(std::string_view field) const {
  const std::optional<std::size_t> id = image_->findField(field);
  if (!id) throw FieldsError(kelvorn_fields_private::unknownFieldMessage(fieldNames(), field));
  return *id;
}

std::optional<std::string_view> UnihanFields::value(char32_t codePoint,
                                                    std::string_view field) const {
  return valueAt(codePoint, requireField(field));
}

std::optional<std::string_view> UnihanFields::valueAt(char32_t codePoint,
                                                      std::size_t fieldIndex) const noexcept {
  const std::optional<std::size_t> index = image_->findCodePoint(codePoint);
  if (!index) return std::nullopt;
  return image_->fieldValue(*index, fieldIndex);
}

std::vector<std::string_view> UnihanFields::values(char32_t codePoint,
                                                   std::string_view field) const {
  const std::optional<std::string_view> raw = value(codePoint, field);
  return raw ? splitOnSpaces(*raw) : std::vector<std::string_view>();
}

std::vector<FieldValue> UnihanFields::fields(char32_t codePoint) const {
  std::vector<FieldValue> out;
  const std::optional<std::size_t> index = image_->findCodePoint(codePoint);
  if (!index) return out;
  image_->forEachField(*index, [&](std::size_t field, std::string_view value) {
    out.push_back({image_->fieldName(field), value});
  });
  return out;
}

std::vector<char32_t> UnihanFields::codePoints() const {
  std::vector<char32_t> out(image_->codePointCount());
  for (std::size_t i = 0; i < out.size(); ++i) out[i] = image_->codePointAt(i);
  return out;
}

std::size_t UnihanFields::codePointCount() const noexcept { return image_->codePointCount(); }

bool UnihanFields::contains(char32_t codePoint) const noexcept {
  return image_->findCodePoint(codePoint).has_value();
}

std::vector<char32_t> UnihanFields::codePointsWith(std::string_view field) const {
  std::vector<char32_t> out;
  const std::optional<std::size_t> id = image_->findField(field);
  if (!id) return out;
  for (std::size_t i = 0; i < image_->codePointCount(); ++i) {
    if (image_->fieldValue(i, *id)) out.push_back(image_->codePointAt(i));
  }
  return out;
}

}  // namespace kelvorn

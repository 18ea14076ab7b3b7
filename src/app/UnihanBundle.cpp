// kelvorn::Unihan: opening a bundle, and the companions underneath it.
#include <filesystem>
#include <string>
#include <utility>

#include "app/Bundle.h"
#include "app/Load.h"
#include "app/files/BundledFiles.h"
#include "app/files/UnihanTextFiles.h"
#include "fields/TextSources.h"
#include "kelvorn/Unihan.h"

namespace kelvorn {
namespace {

using kelvorn_app_private::Bundle;
using kelvorn_app_private::BundleSources;

// A directory of Unihan_*.txt files, read whole for the core, which reads
// one text.
std::shared_ptr<kelvorn_app_private::Store> loadTextDirectory(const std::string& path) {
  std::string joined;
  for (const kelvorn_fields_private::TextSource& source :
       kelvorn_fields_private::readTextSources({path})) {
    joined += source.text;
    joined += '\n';
  }
  return kelvorn_app_private::loadBytes(joined, path);
}

bool isDirectory(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_directory(path, ec);
}

// Whether a directory offers Unihan text, by the one rule of what a Unihan
// text file is called; one that cannot be listed offers none.
bool offersText(const std::string& directory) {
  try {
    return !kelvorn_files::unihanTextFilesIn(directory).empty();
  } catch (const kelvorn::Error&) {
    return false;
  }
}

std::string inDirectory(const std::string& directory, const char* name) {
  return (std::filesystem::path(directory) / name).string();
}

// A core image under the bundle's own name comes with the core tables
// written from it beside it, which open in place of it.
std::shared_ptr<kelvorn_app_private::Store> loadCore(const std::string& corePath) {
  const std::filesystem::path path(corePath);
  if (path.filename() != KELVORN_IMAGE_NAME) return kelvorn_app_private::loadFile(corePath);
  return kelvorn_app_private::loadBundledImage(corePath, (path.parent_path() / KELVORN_CORE_TABLES_NAME).string());
}

}  // namespace

Unihan Unihan::open(std::string_view path) {
  const std::string name(path);
  BundleSources sources;
  sources.files = &kelvorn_app_private::kFileOpeners;
  sources.name = name;
  if (isDirectory(name)) {
    const std::string core = inDirectory(name, KELVORN_IMAGE_NAME);
    if (std::filesystem::exists(core)) {
      return open(core, inDirectory(name, KELVORN_FIELDS_IMAGE_NAME),
                  inDirectory(name, KELVORN_INDEX_NAME));
    }
    // Any other directory is refused as every door refuses one.
    auto store = offersText(name) ? loadTextDirectory(name) : kelvorn_app_private::loadFile(name);
    sources.fields = BundleSources::Fields::kTextFiles;
    sources.fieldsPath = name;
    return Unihan(std::move(store), std::make_shared<Bundle>(std::move(sources)));
  }
  auto store = kelvorn_app_private::loadFile(name);
  // Text, unlike an image, has every field: the all-field store is built
  // from the same file when first asked for.
  if (store->imageTag.empty()) {
    sources.fields = BundleSources::Fields::kTextFiles;
    sources.fieldsPath = name;
  }
  return Unihan(std::move(store), std::make_shared<Bundle>(std::move(sources)));
}

Unihan Unihan::open(std::string_view corePath, std::string_view fieldsPath,
                    std::string_view indexPath) {
  BundleSources sources;
  sources.files = &kelvorn_app_private::kFileOpeners;
  sources.name = std::string(corePath);
  auto store = loadCore(sources.name);
  sources.fields = BundleSources::Fields::kFile;
  sources.fieldsPath = std::string(fieldsPath);
  // An image named by the caller may come from anywhere: its values are
  // checked too, not only its structure.
  sources.checkFieldsWhole = true;
  sources.indexPath = std::string(indexPath);
  return Unihan(std::move(store), std::make_shared<Bundle>(std::move(sources)));
}

namespace {

// The installed all-field image and index, opened when first asked for.
std::shared_ptr<Bundle> bundledCompanions() {
  BundleSources sources;
  sources.files = &kelvorn_app_private::kFileOpeners;
  sources.name = "the bundled data";
  sources.fields = BundleSources::Fields::kFile;
  // Where they should be when they are not, so that the first question
  // that needs them fails with the usual message for a missing file.
  sources.fieldsPath = kelvorn_files::bundledFileGuess(KELVORN_FIELDS_IMAGE_NAME);
  sources.indexPath = kelvorn_files::bundledFileGuess(KELVORN_INDEX_NAME);
  return std::make_shared<Bundle>(std::move(sources));
}

}  // namespace

Unihan Unihan::bundled() {
  auto store = loadCore(kelvorn_files::bundledFilePath(KELVORN_IMAGE_NAME));
  return Unihan(std::move(store), bundledCompanions());
}

Unihan Unihan::bundledFieldsOnly() {
  return Unihan(std::make_shared<kelvorn_app_private::Store>(), bundledCompanions());
}

std::string_view Unihan::bundledUnicodeVersion() noexcept { return KELVORN_UNICODE_VERSION; }

Unihan Unihan::fromMemory(std::string_view bytes, std::string_view name) {
  BundleSources sources;
  sources.name = std::string(name);
  auto store = kelvorn_app_private::loadBytes(bytes, sources.name);
  if (store->imageTag.empty()) {
    // Text: the all-field store is built from a copy, when first asked for.
    sources.fields = BundleSources::Fields::kTextBytes;
    sources.fieldsBytes = std::string(bytes);
  }
  return Unihan(std::move(store), std::make_shared<Bundle>(std::move(sources)));
}

Unihan Unihan::fromMemory(std::string_view core, std::string_view fields, std::string_view index,
                          std::string_view name) {
  BundleSources sources;
  sources.name = std::string(name);
  auto store = kelvorn_app_private::loadBytes(core, sources.name);
  if (!fields.empty()) {
    sources.fields = BundleSources::Fields::kBytes;
    sources.fieldsBytes = std::string(fields);
    sources.checkFieldsWhole = true;
  }
  sources.indexBytes = std::string(index);
  return Unihan(std::move(store), std::make_shared<Bundle>(std::move(sources)));
}

const UnihanFields& Unihan::fieldStore() const { return bundle_->fields(); }

const UnihanLexicon& Unihan::lexicon() const { return bundle_->lexicon(); }

const UnihanIndex& Unihan::index() const { return bundle_->index(*store_); }

}  // namespace kelvorn

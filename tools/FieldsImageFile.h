// Finding and opening the all-field image the field and export commands
// answer from.
#ifndef KELVORN_TOOLS_FIELDSIMAGEFILE_H
#define KELVORN_TOOLS_FIELDSIMAGEFILE_H

#include <cstddef>
#include <string>

#include <CLI/CLI.hpp>

#include "kelvorn/Unihan.h"

namespace unihan_tool {

// A file installed with the libraries, found where the application library
// finds its image (app/files/BundledFiles.h). Throws ToolError when there is
// none.
std::string bundledFilePath(const std::string& name);

// The bundled all-field image's path; throws ToolError when there is none.
std::string bundledFieldsImagePath();

// Adds --fields-data PATH to a subcommand. (--data names the core's data,
// and export's --fields selects fields.)
void addFieldsDataOption(CLI::App* app, std::string* path);

// The bundle would take text for every field; --fields-data names an
// image, so anything else is refused here in the image reader's words.
void requireFieldsImage(const std::string& path);

// The bundle the all-field commands answer from: the bundled all-field
// image alone (they ask the core nothing), or the bundled core image with
// the all-field image at path. The all-field image
// opens on the first question for it: one the user names is checked whole
// (its checksum), since it may come from anywhere; the bundled image is the
// build's own and is only checked for structure. Throws ToolError or
// kelvorn::Error.
kelvorn::Unihan openFieldsBundle(const std::string& path);

// The index of a field the user named; a name the data does not have is a
// UsageError naming the nearest field.
std::size_t requireFieldNamed(const kelvorn::UnihanFields& fields, const std::string& name);

}  // namespace unihan_tool

#endif  // KELVORN_TOOLS_FIELDSIMAGEFILE_H

// Finding and opening the all-field image the field and export commands
// answer from.
#ifndef KELVORN_TOOLS_FIELDSIMAGEFILE_H
#define KELVORN_TOOLS_FIELDSIMAGEFILE_H

#include <cstddef>
#include <string>

#include <CLI/CLI.hpp>

#include "kelvorn/UnihanFields.h"

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

// Opens the image at path, or the bundled one when
// path is empty. An image the user names is checked whole (its checksum)
// before use, since it may come from anywhere; the bundled image is the
// build's own and is only checked for structure. Throws ToolError or
// kelvorn::FieldsError.
kelvorn::UnihanFields openFieldsImage(const std::string& path);

// The index of a field the user named; a name the data does not have is a
// UsageError naming the nearest field.
std::size_t requireFieldNamed(const kelvorn::UnihanFields& fields, const std::string& name);

}  // namespace unihan_tool

#endif  // KELVORN_TOOLS_FIELDSIMAGEFILE_H

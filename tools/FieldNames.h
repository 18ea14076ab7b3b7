// The Unihan names of the library's fields, as the tool prints and parses
// them.
#ifndef KELVORN_TOOLS_FIELDNAMES_H
#define KELVORN_TOOLS_FIELDNAMES_H

#include <string>

#include "kelvorn/UnihanMgr.h"

namespace unihan_tool {

// The field's Unihan name, "kRSUnicode" for example.
std::string fieldName(kelvorn::unihanPropT field);

}  // namespace unihan_tool

#endif  // KELVORN_TOOLS_FIELDNAMES_H

#include "DataFiles.h"

namespace unihan_tool {

kelvorn::Unihan loadSelectedData(const GlobalOptions& global) {
  if (!global.dataGiven) return kelvorn::Unihan::bundled();
  return kelvorn::Unihan::open(global.data);
}

}  // namespace unihan_tool

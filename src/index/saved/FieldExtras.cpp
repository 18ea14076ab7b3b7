#include "index/saved/FieldExtras.h"

namespace kelvorn_saved_index {

kelvorn::RadicalStrokeExtras radicalStrokeExtras(const kelvorn::UnihanFields& fields) {
  kelvorn::RadicalStrokeExtras extras;
  for (const char32_t cp : fields.codePointsWith("kRSUnicode")) {
    extras.addRSUnicode(cp, fields.value(cp, "kRSUnicode").value_or(""));
  }
  for (const char32_t cp : fields.codePointsWith("kCompatibilityVariant")) {
    extras.addCompatibilityVariant(cp, fields.value(cp, "kCompatibilityVariant").value_or(""));
  }
  return extras;
}

}  // namespace kelvorn_saved_index

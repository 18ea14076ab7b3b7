// The name a misspelt field name most likely meant, so that an unknown name
// is refused with a suggestion instead of answered with silence.
#ifndef KELVORN_FIELDS_NEARESTNAME_H
#define KELVORN_FIELDS_NEARESTNAME_H

#include <string>
#include <string_view>
#include <vector>

namespace kelvorn_fields_private {

// The name closest to `wanted` by edit distance, letter case ignored (so
// that kdefinition finds kDefinition first); empty when none is close
// enough to be a plausible typo.
std::string_view nearestName(const std::vector<std::string_view>& names, std::string_view wanted);

// "no field W in the data; did you mean N?", or without the question when
// no name is near.
std::string unknownFieldMessage(const std::vector<std::string_view>& names, std::string_view wanted);

}  // namespace kelvorn_fields_private

#endif  // KELVORN_FIELDS_NEARESTNAME_H

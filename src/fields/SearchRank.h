// The order in which search answers characters: the ones people write most
// first, so that a query's everyday answer is not lost among rare variants.
#ifndef KELVORN_FIELDS_SEARCHRANK_H
#define KELVORN_FIELDS_SEARCHRANK_H

#include <vector>

#include "kelvorn/UnihanFields.h"

namespace kelvorn_fields_private {

// The given characters sorted into search order: first those kHanyuPinlu
// counts, most counted first (all readings together); then those in
// kUnihanCore2020, those in everyday use in the most regions first; then the
// rest. Between equal counts, and within the last group, radical-stroke order: the first kRSUnicode value's radical,
// its apostrophes, residual strokes (a negative residual as 0), the main
// block before the others, code point; characters without a value last.
std::vector<char32_t> searchOrder(const kelvorn::UnihanFields& fields,
                                  std::vector<char32_t> characters);

}  // namespace kelvorn_fields_private

#endif  // KELVORN_FIELDS_SEARCHRANK_H

// What an index built from the core takes from the all-field store: the
// radical marks of kRSUnicode (120') and the compatibility variants, which
// the core does not keep, so that it sorts as the tool's saved index does.
#ifndef KELVORN_INDEX_SAVED_FIELDEXTRAS_H
#define KELVORN_INDEX_SAVED_FIELDEXTRAS_H

#include "kelvorn/UnihanFields.h"
#include "kelvorn/UnihanIndex.h"

namespace kelvorn_saved_index {

kelvorn::RadicalStrokeExtras radicalStrokeExtras(const kelvorn::UnihanFields& fields);

}  // namespace kelvorn_saved_index

#endif  // KELVORN_INDEX_SAVED_FIELDEXTRAS_H

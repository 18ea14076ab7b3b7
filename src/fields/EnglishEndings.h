// English words with their endings taken off, so that a search for "dragons"
// meets the "dragon" of a definition. No dictionary: every way a word might
// have been made is offered, and only the words the definitions have count.
#ifndef KELVORN_FIELDS_ENGLISHENDINGS_H
#define KELVORN_FIELDS_ENGLISHENDINGS_H

#include <string>
#include <vector>

namespace kelvorn_fields_private {

// The word itself first, then each base it may have been made from by -s,
// -es, -ies, -ed, -ied or -ing (with a doubled last consonant or a dropped
// e): dragons -> dragons, dragon; flies -> flies, fly, fli, flie; running ->
// running, runn, runne, run. An ending comes off only where at least two
// letters stay.
std::vector<std::string> baseForms(const std::string& word);

}  // namespace kelvorn_fields_private

#endif  // KELVORN_FIELDS_ENGLISHENDINGS_H

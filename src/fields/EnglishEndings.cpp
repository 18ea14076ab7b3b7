#include "fields/EnglishEndings.h"

#include <string_view>

namespace kelvorn_fields_private {

std::vector<std::string> baseForms(const std::string& word) {
  std::vector<std::string> forms{word};
  const auto endsWith = [&word](std::string_view ending) {
    return word.size() > ending.size() + 1 &&
           word.compare(word.size() - ending.size(), ending.size(), ending) == 0;
  };
  const auto stem = [&word](std::size_t cut) { return word.substr(0, word.size() - cut); };
  if (endsWith("ies")) forms.push_back(stem(3) + "y");
  if (endsWith("es")) forms.push_back(stem(2));
  if (endsWith("s") && !endsWith("ss")) forms.push_back(stem(1));
  if (endsWith("ied")) forms.push_back(stem(3) + "y");
  if (endsWith("ed")) {
    forms.push_back(stem(2));
    forms.push_back(stem(1));  // used -> use
  }
  if (endsWith("ing")) {
    forms.push_back(stem(3));
    forms.push_back(stem(3) + "e");  // making -> make
  }
  // A doubled last consonant before -ed or -ing: planned, running.
  for (const std::string_view ending : {"ed", "ing"}) {
    const std::size_t cut = ending.size();
    if (endsWith(ending) && word.size() > cut + 2 &&
        word[word.size() - cut - 1] == word[word.size() - cut - 2]) {
      forms.push_back(stem(cut + 1));
    }
  }
  return forms;
}

}  // namespace kelvorn_fields_private

#include "fields/TextParser.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

#include "fields/DataLine.h"
#include "kelvorn/UnihanFields.h"

namespace kelvorn_fields_private {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Where a record came from, kept beside the records only while they are
// checked for repeats.
struct Located {
  Record record;
  std::uint32_t source;
  std::uint32_t line;
};

std::string codePointLabel(char32_t cp) {
  char buffer[16];
  (void)std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(cp));
  return buffer;
}

class Collector {
 public:
  void addSource(const TextSource& source, std::uint32_t sourceIndex);
  ParsedText finish(const std::vector<TextSource>& sources);

 private:
  std::uint32_t fieldId(std::string_view name);
  std::vector<std::uint32_t> sortFieldNames(std::vector<std::string_view>* sorted) const;

  std::unordered_map<std::string_view, std::uint32_t> fieldIds_;
  std::vector<std::string_view> names_;  // by first appearance
  std::vector<Located> located_;
};

std::uint32_t Collector::fieldId(std::string_view name) {
  const auto [it, added] = fieldIds_.emplace(name, static_cast<std::uint32_t>(names_.size()));
  if (added) names_.push_back(name);
  return it->second;
}

void Collector::addSource(const TextSource& source, std::uint32_t sourceIndex) {
  std::string_view text = source.text;
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) text.remove_prefix(kByteOrderMark.size());
  std::uint32_t lineNumber = 0;
  while (!text.empty()) {
    const std::size_t lf = text.find('\n');
    std::string_view line = text.substr(0, lf);
    text = lf == std::string_view::npos ? std::string_view() : text.substr(lf + 1);
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    DataLine data;
    const LineKind kind = classifyLine(line, &data);
    if (kind == LineKind::kSkipped) continue;
    if (kind == LineKind::kMalformed) {
      throw kelvorn::FieldsError(source.name + ":" + std::to_string(lineNumber) +
                                 ": not a Unihan data line (U+XXXX<TAB>field<TAB>value)");
    }
    const std::uint32_t field = fieldId(data.field);
    if (field >= kMaxFieldCount) {
      throw kelvorn::FieldsError(source.name + ":" + std::to_string(lineNumber) + ": field " +
                                 std::string(data.field) + " is one more than the " +
                                 std::to_string(kMaxFieldCount) +
                                 " distinct fields an all-field image holds");
    }
    located_.push_back({{data.codePoint, field, data.value}, sourceIndex, lineNumber});
  }
}

// The permutation from first-appearance ids to ids in name order.
std::vector<std::uint32_t> Collector::sortFieldNames(std::vector<std::string_view>* sorted) const {
  *sorted = names_;
  std::sort(sorted->begin(), sorted->end());
  std::vector<std::uint32_t> newId(names_.size());
  for (std::size_t i = 0; i < names_.size(); ++i) {
    newId[i] = static_cast<std::uint32_t>(
        std::lower_bound(sorted->begin(), sorted->end(), names_[i]) - sorted->begin());
  }
  return newId;
}

ParsedText Collector::finish(const std::vector<TextSource>& sources) {
  ParsedText parsed;
  const std::vector<std::uint32_t> newId = sortFieldNames(&parsed.fieldNames);
  for (Located& l : located_) l.record.field = newId[l.record.field];
  const auto before = [](const Located& a, const Located& b) {
    if (a.record.codePoint != b.record.codePoint) return a.record.codePoint < b.record.codePoint;
    return a.record.field < b.record.field;
  };
  std::stable_sort(located_.begin(), located_.end(), before);
  for (std::size_t i = 1; i < located_.size(); ++i) {
    const Located& a = located_[i - 1];
    const Located& b = located_[i];
    if (before(a, b)) continue;
    throw kelvorn::FieldsError(
        sources[b.source].name + ":" + std::to_string(b.line) + ": " +
        codePointLabel(b.record.codePoint) + " " + std::string(parsed.fieldNames[b.record.field]) +
        " given again (first at " + sources[a.source].name + ":" + std::to_string(a.line) + ")");
  }
  parsed.records.reserve(located_.size());
  for (const Located& l : located_) parsed.records.push_back(l.record);
  return parsed;
}

}  // namespace

ParsedText parseText(const std::vector<TextSource>& sources) {
  Collector collector;
  for (std::size_t i = 0; i < sources.size(); ++i) {
    collector.addSource(sources[i], static_cast<std::uint32_t>(i));
  }
  return collector.finish(sources);
}

}  // namespace kelvorn_fields_private

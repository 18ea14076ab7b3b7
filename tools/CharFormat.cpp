#include "CharFormat.h"

#include <algorithm>
#include <utility>

#include <nlohmann/json.hpp>

#include "CharArguments.h"

namespace unihan_tool {
namespace {

using json = nlohmann::ordered_json;

std::string joined(const std::vector<std::string>& values) {
  std::string out;
  for (const std::string& v : values) out += (out.empty() ? "" : " ") + v;
  return out.empty() ? "-" : out;
}

std::string number(std::optional<int> value) { return value ? std::to_string(*value) : "-"; }

std::string padRight(std::string s, std::size_t width) {
  if (s.size() < width) s.append(width - s.size(), ' ');
  return s;
}

std::string padLeft(const std::string& s, std::size_t width) {
  return s.size() < width ? std::string(width - s.size(), ' ') + s : s;
}


std::string columns(const std::string& label, const std::string& radical,
                    const std::string& strokes) {
  return "    " + padRight(label, 20) + " " + padLeft(radical, 7) + " " + padLeft(strokes, 8);
}

std::string radStrokeRow(std::string_view label, std::optional<int> radical,
                         std::optional<int> strokes, const std::string& note) {
  return columns(std::string(label), number(radical), number(strokes)) + note + "\n";
}

std::string radStrokeTable(const CharInfo& info) {
  std::string out = columns("source", "radical", "residual") + "\n";
  for (const RadStroke& rs : info.radStrokes) {
    const std::string note =
        rs.radicalFormStrokes ? "  (radical form " + number(rs.radicalFormStrokes) + " strokes)" : "";
    out += radStrokeRow(rs.source, rs.radical, rs.residual, note);
  }
  const std::string note = info.preferredSource.empty()
                               ? "  (no source has a value)"
                               : "  (" + info.preferredSource + ", first in preference order)";
  return out + radStrokeRow("preferred", info.preferredRadical, info.preferredResidual, note);
}

std::string hanYuText(const std::optional<kelvorn::HanYuPosition>& position) {
  if (!position) return "-";
  const kelvorn::HanYuPosition& h = *position;
  return "volume " + std::to_string(h.volume) + ", page " + std::to_string(h.page) +
         ", position " + std::to_string(h.position) + ", virtual " +
         std::to_string(h.virtualFlag);
}

std::vector<std::string> concat(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

json intOrNull(std::optional<int> value) { return value ? json(*value) : json(nullptr); }

json radStrokesJson(const CharInfo& info) {
  json out = json::object();
  for (const RadStroke& rs : info.radStrokes) {
    json value = {{"radical", rs.radical}, {"residual", rs.residual}};
    if (rs.radicalFormStrokes) value["radicalFormStrokes"] = *rs.radicalFormStrokes;
    out[std::string(rs.source)].push_back(value);
  }
  return out;
}

json cidsJson(const CharInfo& info) {
  json out = json::array();
  for (const kelvorn::Cid& c : info.cids) out.push_back({{"cid", c.cid}, {"strokes", c.glyphStrokes}});
  return out;
}

json hanYuJson(const std::optional<kelvorn::HanYuPosition>& position) {
  if (!position) return nullptr;
  const kelvorn::HanYuPosition& h = *position;
  return {{"volume", h.volume}, {"page", h.page}, {"position", h.position},
          {"virtual", h.virtualFlag}};
}

}  // namespace

std::string formatRow(std::string label, std::string_view value) {
  const std::size_t width = std::max<std::size_t>(22, label.size() + 1);
  return "  " + padRight(std::move(label), width) + std::string(value) + "\n";
}

std::string formatTable(const CharInfo& info) {
  std::string out = codePointLabel(info.codePoint) + " " + kelvorn::utf8::encode(info.codePoint) + "\n";
  if (!info.known) return out + "  not in the Unihan data (no block holds this code point)\n";
  out += radStrokeTable(info);
  out += formatRow("total strokes", number(info.totalStrokes));
  for (const kelvorn::Cid& c : info.cids) {
    out += formatRow("CID " + std::to_string(c.cid), "glyph " + number(c.glyphStrokes) + " strokes");
  }
  out += formatRow("Mandarin", joined(info.mandarin));
  out += formatRow("HanyuPinlu", joined(info.hanyuPinlu));
  out += formatRow("Japanese (kun, on)", joined(concat(info.japaneseKun, info.japaneseOn)));
  return out + formatRow("HanYu", hanYuText(info.hanYu));
}

std::string formatJson(const CharInfo& info) {
  json out = {{"codePoint", codePointLabel(info.codePoint)},
              {"char", kelvorn::utf8::encode(info.codePoint)},
              {"known", info.known}};
  if (info.known) {
    out["radicalStrokes"] = radStrokesJson(info);
    out["preferred"] = {
        {"source", info.preferredSource.empty() ? json() : json(info.preferredSource)},
        {"radical", intOrNull(info.preferredRadical)},
        {"residual", intOrNull(info.preferredResidual)}};
    out["totalStrokes"] = intOrNull(info.totalStrokes);
    out["cids"] = cidsJson(info);
    out["readings"] = {{"kMandarin", info.mandarin},
                       {"kHanyuPinlu", info.hanyuPinlu},
                       {"kJapaneseKun", info.japaneseKun},
                       {"kJapaneseOn", info.japaneseOn}};
    out["kHanYu"] = hanYuJson(info.hanYu);
  }
  // Readings are passed through from the data; a byte that is not UTF-8 is
  // replaced rather than aborting the whole answer.
  return out.dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace unihan_tool

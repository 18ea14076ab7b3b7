#include "CharFormat.h"

#include <nlohmann/json.hpp>

#include "Utf8.h"

namespace unihan_tool {
namespace {

using nlohmann::json;

std::string joined(const std::vector<std::string>& values) {
  std::string out;
  for (const std::string& v : values) out += (out.empty() ? "" : " ") + v;
  return out.empty() ? "-" : out;
}

std::string number(int value) { return value < 0 ? "-" : std::to_string(value); }

std::string padRight(std::string s, std::size_t width) {
  if (s.size() < width) s.append(width - s.size(), ' ');
  return s;
}

std::string padLeft(const std::string& s, std::size_t width) {
  return s.size() < width ? std::string(width - s.size(), ' ') + s : s;
}

// "  label               value"
std::string row(const std::string& label, const std::string& value) {
  return "  " + padRight(label, 22) + value + "\n";
}

std::string columns(const std::string& label, const std::string& radical,
                    const std::string& strokes) {
  return "    " + padRight(label, 20) + " " + padLeft(radical, 7) + " " + padLeft(strokes, 8);
}

std::string radStrokeRow(const std::string& label, int radical, int strokes,
                         const std::string& note) {
  return columns(label, number(radical), number(strokes)) + note + "\n";
}

std::string radStrokeTable(const CharInfo& info) {
  std::string out = columns("source", "radical", "residual") + "\n";
  for (const RadStroke& rs : info.radStrokes) {
    const std::string note = rs.radicalFormStrokes < 0
        ? ""
        : "  (radical form " + number(rs.radicalFormStrokes) + " strokes)";
    out += radStrokeRow(rs.source, rs.radical, rs.residual, note);
  }
  return out + radStrokeRow("preferred", info.preferredRadical, info.preferredStrokes,
                            "  (first source in preference order)");
}

std::string hanYuText(const HanYuPosition& h) {
  if (!h.present) return "-";
  return "volume " + std::to_string(h.volume) + ", page " + std::to_string(h.page) +
         ", position " + std::to_string(h.position) + ", virtual " +
         std::to_string(h.virtualFlag);
}

std::vector<std::string> concat(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

json intOrNull(int value) { return value < 0 ? json(nullptr) : json(value); }

json radStrokesJson(const CharInfo& info) {
  json out = json::object();
  for (const RadStroke& rs : info.radStrokes) {
    json value = {{"radical", intOrNull(rs.radical)}, {"residual", intOrNull(rs.residual)}};
    if (rs.radicalFormStrokes >= 0) value["radicalFormStrokes"] = rs.radicalFormStrokes;
    out[rs.source].push_back(value);
  }
  return out;
}

json cidsJson(const CharInfo& info) {
  json out = json::array();
  for (const CidGlyph& c : info.cids) out.push_back({{"cid", c.cid}, {"strokes", intOrNull(c.strokes)}});
  return out;
}

json hanYuJson(const HanYuPosition& h) {
  if (!h.present) return nullptr;
  return {{"volume", h.volume}, {"page", h.page}, {"position", h.position},
          {"virtual", h.virtualFlag}};
}

}  // namespace

std::string formatTable(const CharInfo& info) {
  std::string out = codePointLabel(info.codePoint) + " " + encodeUtf8(info.codePoint) + "\n";
  if (!info.known) return out + "  not in the Unihan data (no block holds this code point)\n";
  out += radStrokeTable(info);
  out += row("total strokes", info.totalStrokes > 0 ? number(info.totalStrokes) : "-");
  for (const CidGlyph& c : info.cids) {
    out += row("CID " + std::to_string(c.cid), "glyph " + number(c.strokes) + " strokes");
  }
  out += row("Mandarin", joined(info.mandarin));
  out += row("HanyuPinlu", joined(info.hanyuPinlu));
  out += row("Japanese (kun, on)", joined(concat(info.japaneseKun, info.japaneseOn)));
  return out + row("HanYu", hanYuText(info.hanYu));
}

std::string formatJson(const CharInfo& info) {
  json out = {{"codePoint", codePointLabel(info.codePoint)},
              {"char", encodeUtf8(info.codePoint)},
              {"known", info.known}};
  if (info.known) {
    out["radicalStrokes"] = radStrokesJson(info);
    out["preferred"] = {{"radical", intOrNull(info.preferredRadical)},
                        {"strokes", intOrNull(info.preferredStrokes)}};
    out["totalStrokes"] = info.totalStrokes > 0 ? json(info.totalStrokes) : json(nullptr);
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

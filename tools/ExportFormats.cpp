#include "ExportFormats.h"

#include <cstdint>

#include "kelvorn/Utf8.h"

namespace unihan_tool {
namespace {

// The length of the valid UTF-8 sequence at the start of text, or 0.
std::size_t validSequence(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  std::size_t n = 0;
  std::uint32_t cp = 0;
  std::uint32_t min = 0;
  if (lead >= 0xC2 && lead <= 0xDF) { n = 2; cp = lead & 0x1FU; min = 0x80; }
  else if (lead >= 0xE0 && lead <= 0xEF) { n = 3; cp = lead & 0x0FU; min = 0x800; }
  else if (lead >= 0xF0 && lead <= 0xF4) { n = 4; cp = lead & 0x07U; min = 0x10000; }
  if (n == 0 || n > text.size()) return 0;
  for (std::size_t k = 1; k < n; ++k) {
    const auto b = static_cast<unsigned char>(text[k]);
    if ((b & 0xC0U) != 0x80U) return 0;
    cp = cp << 6 | (b & 0x3FU);
  }
  return cp >= min && kelvorn::utf8::isScalarValue(cp) ? n : 0;
}

void appendEscapedAscii(std::string* out, unsigned char c) {
  static constexpr char kHex[] = "0123456789abcdef";
  switch (c) {
    case '"': out->append("\\\""); return;
    case '\\': out->append("\\\\"); return;
    case '\n': out->append("\\n"); return;
    case '\r': out->append("\\r"); return;
    case '\t': out->append("\\t"); return;
    default: break;
  }
  if (c < 0x20) {
    out->append("\\u00");
    out->push_back(kHex[c >> 4]);
    out->push_back(kHex[c & 0xFU]);
    return;
  }
  out->push_back(static_cast<char>(c));
}

}  // namespace

// Bytes that need no escaping are copied in runs rather than one by one:
// most values are plain ASCII or valid UTF-8 from end to end.
void appendJsonString(std::string* out, std::string_view text) {
  out->push_back('"');
  std::size_t run = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c < 0x80 && c != '"' && c != '\\') {
      ++i;
      continue;
    }
    const std::size_t n = c < 0x80 ? 0 : validSequence(text.substr(i));
    if (n != 0) {
      i += n;
      continue;
    }
    out->append(text.data() + run, i - run);
    if (c < 0x80) {
      appendEscapedAscii(out, c);
    } else {
      out->append("\\ufffd");
    }
    run = ++i;
  }
  out->append(text.data() + run, i - run);
  out->push_back('"');
}

void appendJsonValue(std::string* out, const kelvorn_expand::Value& value) {
  using Kind = kelvorn_expand::Value::Kind;
  switch (value.kind) {
    case Kind::kNull: out->append("null"); return;
    case Kind::kInteger: out->append(std::to_string(value.integer)); return;
    case Kind::kString: appendJsonString(out, value.text); return;
    case Kind::kArray:
    case Kind::kObject: break;
  }
  const bool object = value.kind == Kind::kObject;
  out->push_back(object ? '{' : '[');
  for (std::size_t i = 0; i < value.items.size(); ++i) {
    if (i > 0) out->push_back(',');
    if (object) {
      appendJsonString(out, value.items[i].key);
      out->push_back(':');
    }
    appendJsonValue(out, value.items[i]);
  }
  out->push_back(object ? '}' : ']');
}

void appendCsvCell(std::string* out, std::string_view text) {
  const bool quote = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                     (!text.empty() && (text.front() == ' ' || text.back() == ' '));
  if (!quote) {
    out->append(text);
    return;
  }
  out->push_back('"');
  for (const char c : text) {
    if (c == '"') out->push_back('"');
    out->push_back(c);
  }
  out->push_back('"');
}

}  // namespace unihan_tool

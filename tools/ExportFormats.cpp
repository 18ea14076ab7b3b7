#include "ExportFormats.h"

#include "kelvorn/Utf8.h"

namespace unihan_tool {
namespace {

// A byte below 0x20, a quote or a backslash, as JSON escapes it.
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
  out->append("\\u00");
  out->push_back(kHex[c >> 4]);
  out->push_back(kHex[c & 0xFU]);
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
    char32_t cp = 0;
    if (c >= 0x20 && c != '"' && c != '\\' && kelvorn::utf8::next(text, &i, &cp)) continue;
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

#include "EscapedText.h"

namespace unihan_tool {

void appendEscaped(std::string_view text, std::string* out) {
  static constexpr char kHex[] = "0123456789abcdef";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\') {
      *out += "\\\\";
    } else if (c == '\n') {
      *out += "\\n";
    } else if (c == '\r') {
      *out += "\\r";
    } else if (c == '\t') {
      *out += "\\t";
    } else if (byte < 0x20 || byte == 0x7F) {
      *out += "\\x";
      *out += kHex[byte >> 4];
      *out += kHex[byte & 0xFU];
    } else {
      *out += c;
    }
  }
}

}  // namespace unihan_tool

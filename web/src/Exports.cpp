// The module's door to JavaScript: plain C functions over numbers, so that
// a per-character call is one WebAssembly call with no marshalling. Strings
// and lists go out through the reply (an address and a length the caller
// reads from memory), strings come in as UTF-8 the caller wrote into a
// buffer of the module's allocator. A call that can fail answers -1 with the
// reason in the reply; JavaScript turns it into the exception it throws.
//
// Every answer comes from one kelvorn::Unihan, opened from the bytes
// JavaScript hands over as the other doors open theirs, so that the module
// refuses what they refuse, for the same reasons.
#include <emscripten.h>

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "kelvorn/Unihan.h"

namespace {

// A buffer that JavaScript filled through the module's allocator and handed
// over; freed when the call that took it returns.
struct Buffer {
  std::unique_ptr<char, decltype(&std::free)> bytes;
  std::uint32_t length;
  std::string_view view() const { return {bytes.get(), length}; }
};

Buffer adopt(char* bytes, std::uint32_t length) { return {{bytes, &std::free}, length}; }

// What the module answers from. The core's bytes are kept: the all-field
// image and the index may come later, and the Unihan that answers them all
// is opened from the three.
struct Data {
  std::string core;
  kelvorn::Unihan unihan;
  // The unihan's all-field store once it has one, kept at hand for the
  // per-character field(), which asks it by index.
  const kelvorn::UnihanFields* fields = nullptr;
};

struct Reply {
  std::uint32_t address = 0;
  std::uint32_t length = 0;
};

Reply reply;
std::unique_ptr<Data> data;
// Answers the module made rather than found in the data, kept until the
// next such call.
std::string madeText;
std::vector<char32_t> madeChars;
std::string errorText;

std::uint32_t addressOf(const void* p) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(p));
}

int answer(std::string_view text) {
  reply = {addressOf(text.data()), static_cast<std::uint32_t>(text.size())};
  return 0;
}

int answer(const std::vector<char32_t>& chars) {
  reply = {addressOf(chars.data()), static_cast<std::uint32_t>(chars.size())};
  return 0;
}

int refuse(const char* reason) {
  errorText = reason;
  answer(errorText);
  return -1;
}

// Runs a call that may throw, answering -1 with the reason when it does.
template <typename Call>
int guarded(Call call) noexcept {
  try {
    return call();
  } catch (const std::exception& e) {
    return refuse(e.what());
  } catch (...) {
    return refuse("an unknown C++ exception");
  }
}

std::string_view textAt(const char* bytes, std::uint32_t length) { return {bytes, length}; }

kelvorn::Script scriptOf(int traditional) {
  return traditional != 0 ? kelvorn::Script::kTraditional : kelvorn::Script::kSimplified;
}

// The offset that keeps a negative residual (王 is 96.-1) in the low byte.
constexpr int kResidualBias = 128;

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE const Reply* kw_reply() { return &reply; }

EMSCRIPTEN_KEEPALIVE char* kw_alloc(std::uint32_t length) {
  return static_cast<char*>(std::malloc(length == 0 ? 1 : length));
}

EMSCRIPTEN_KEEPALIVE void kw_free(char* bytes) { std::free(bytes); }

// Each takes the buffers it is given and frees them before it returns. The
// core comes first, and answers at once.
EMSCRIPTEN_KEEPALIVE int kw_load_core(char* bytes, std::uint32_t length) {
  const Buffer core = adopt(bytes, length);
  return guarded([&] {
    auto loaded = std::make_unique<Data>();
    loaded->unihan = kelvorn::Unihan::fromMemory(core.view(), "the core data");
    loaded->core.assign(core.view());
    data = std::move(loaded);
    return 0;
  });
}

// The all-field image (or Unihan text) and the saved index (empty: none)
// with the core given before. The all-field store opens here, so that data
// it refuses is refused now; the index opens on the first question that
// needs it (one saved for other data, or none, is built then). Refused, the
// core alone keeps answering.
EMSCRIPTEN_KEEPALIVE int kw_load_fields(char* fieldBytes, std::uint32_t fieldLength,
                                        char* indexBytes, std::uint32_t indexLength) {
  const Buffer fields = adopt(fieldBytes, fieldLength);
  const Buffer index = adopt(indexBytes, indexLength);
  return guarded([&] {
    kelvorn::Unihan unihan =
        kelvorn::Unihan::fromMemory(data->core, fields.view(), index.view(), "the all-field data");
    (void)unihan.fieldStore();
    data->unihan = std::move(unihan);
    data->fields = &data->unihan.fieldStore();
    return 0;
  });
}

EMSCRIPTEN_KEEPALIVE int kw_radical_stroke(std::uint32_t cp) {
  const auto rs = data->unihan.radicalStroke(cp, kelvorn::Source::kRSUnicode);
  if (!rs) return -1;
  return rs->radical * 256 + rs->residual + kResidualBias;
}

EMSCRIPTEN_KEEPALIVE int kw_total_strokes(std::uint32_t cp) {
  return data->unihan.totalStrokes(cp).value_or(0);
}

EMSCRIPTEN_KEEPALIVE int kw_field_count() {
  return data->fields == nullptr ? 0 : static_cast<int>(data->fields->fieldCount());
}

EMSCRIPTEN_KEEPALIVE int kw_field_name(std::uint32_t index) {
  return guarded([&] { return answer(data->unihan.fieldNames().at(index)); });
}

// -1 with the reason when the data has no field of that name: the reason
// the other doors give, naming the nearest field.
EMSCRIPTEN_KEEPALIVE int kw_require_field(const char* name, std::uint32_t length) {
  return guarded([&] {
    // Any character's value will do: asked of a field the data lacks, it
    // throws what field() throws at every door.
    (void)data->unihan.field(0, textAt(name, length));
    return 0;
  });
}

// 1 with the value in the reply, 0 when the character has none.
EMSCRIPTEN_KEEPALIVE int kw_field(std::uint32_t cp, std::uint32_t fieldIndex) {
  const auto value = data->fields->valueAt(cp, fieldIndex);
  if (!value) return 0;
  answer(*value);
  return 1;
}

EMSCRIPTEN_KEEPALIVE int kw_unicode_version() {
  return answer(data->fields != nullptr ? data->fields->unicodeVersion() : std::string_view());
}

// Lists of characters: the reply holds the address and count of 32-bit
// code points; by_radical's holds (code point, residual) pairs.
EMSCRIPTEN_KEEPALIVE int kw_by_radical(int radical) {
  return guarded([&] {
    const std::vector<kelvorn::RadicalEntry>& entries = data->unihan.index().byRadical(radical);
    static_assert(sizeof(kelvorn::RadicalEntry) == 8, "two 32-bit numbers");
    reply = {addressOf(entries.data()), static_cast<std::uint32_t>(entries.size())};
    return 0;
  });
}

EMSCRIPTEN_KEEPALIVE int kw_by_total_strokes(int strokes) {
  return guarded([&] {
    madeChars = data->unihan.byTotalStrokes(strokes);
    return answer(madeChars);
  });
}

EMSCRIPTEN_KEEPALIVE int kw_by_reading(const char* text, std::uint32_t length) {
  return guarded([&] {
    madeChars = data->unihan.byReading(textAt(text, length));
    return answer(madeChars);
  });
}

EMSCRIPTEN_KEEPALIVE int kw_search(const char* text, std::uint32_t length) {
  return guarded([&] {
    madeChars = data->unihan.search(textAt(text, length));
    return answer(madeChars);
  });
}

EMSCRIPTEN_KEEPALIVE int kw_convert(const char* text, std::uint32_t length, int traditional) {
  return guarded([&] {
    madeText = data->unihan.convert(textAt(text, length), scriptOf(traditional));
    return answer(madeText);
  });
}

EMSCRIPTEN_KEEPALIVE int kw_sort_key(const char* text, std::uint32_t length) {
  return guarded([&] {
    madeText = data->unihan.sortKey(textAt(text, length));
    return answer(madeText);
  });
}

// -1, 0 or 1 as a sorts before, with or after b.
EMSCRIPTEN_KEEPALIVE int kw_compare(const char* a, std::uint32_t aLength, const char* b,
                                    std::uint32_t bLength) {
  const std::string_view left = textAt(a, aLength);
  const std::string_view right = textAt(b, bLength);
  int order = 0;
  const int status = guarded([&] {
    const int compared = data->unihan.compare(left, right);
    order = compared < 0 ? -1 : (compared > 0 ? 1 : 0);
    return 0;
  });
  if (status != 0) return -2;
  return order;
}

}  // extern "C"

// kelvorn/Unihan.h - per-character access to the Unicode Han Database for
// applications: one value type that cannot be misused.
//
//   const kelvorn::Unihan unihan = kelvorn::Unihan::bundled();
//   if (auto rs = unihan.radicalStroke(U'漢', kelvorn::Source::kRSUnicode)) {
//     std::printf("%d.%d\n", rs->radical, rs->residual);  // 85.11
//   }
//
// A Unihan is an immutable, cheap-to-copy value: copies share one loaded
// store through an atomic reference count, so copies may be made, used and
// dropped from any number of threads at once. Every per-character query is
// const and noexcept and answers std::optional (nullopt when the data has
// nothing to say) or a list (empty likewise); the lists allocate, so they may
// throw std::bad_alloc and nothing else. Loads and saves throw kelvorn::Error.
#ifndef KELVORN_UNIHAN_H
#define KELVORN_UNIHAN_H

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "kelvorn/Error.h"
#include "kelvorn/UnihanFieldNames.h"
#include "kelvorn/UnihanMgr.h"

#if defined(_WIN32)
#define KELVORN_UNIHAN_APP_API __declspec(dllexport)
#else
#define KELVORN_UNIHAN_APP_API __attribute__((visibility("default")))
#endif

namespace kelvorn_app_private {
struct Store;
}

namespace kelvorn {

// A radical and its residual strokes, the residual signed as the data writes
// it (王 U+738B is 96.-1).
struct RadicalStroke {
  int radical = 0;
  int residual = 0;
};
inline bool operator==(const RadicalStroke& a, const RadicalStroke& b) {
  return a.radical == b.radical && a.residual == b.residual;
}
inline bool operator!=(const RadicalStroke& a, const RadicalStroke& b) { return !(a == b); }

// The answer of the source preference: which source answered, and its value.
struct PreferredRadicalStroke {
  Source source = Source::kRSUnicode;
  RadicalStroke value;
};

// One kRSVantu_Japan1_6 value: the CID, its radical, the strokes of the
// radical's form and of the whole glyph.
struct Cid {
  int cid = 0;
  int radical = 0;
  int radicalFormStrokes = 0;
  int glyphStrokes = 0;
};

// Position in the HanYu Da Zidian.
struct HanYuPosition {
  int volume = 0;
  int page = 0;
  int position = 0;
  int virtualFlag = 0;
};

enum class SaveFormat { kImage, kDump };

class KELVORN_UNIHAN_APP_API Unihan {
 public:
  // Loads a binary image or a Unihan text file, told apart by the image
  // magic. Only a regular file is read: a directory, FIFO, device or socket
  // is refused before anything is read, as are a damaged image and a file
  // that holds no Unihan line the library keeps. Throws Error.
  static Unihan open(std::string_view path);
  // The image installed with the library: <libdir>/../share/kelvorn-unihan/,
  // or <libdir>/data/ in a build tree. Throws Error when there is none.
  static Unihan bundled();
  // The Unicode release of that image's data, such as "17.0".
  static std::string_view bundledUnicodeVersion() noexcept;
  // Loads from memory, image or text alike; `name` stands for the bytes in
  // messages. The bytes are not kept. Throws Error.
  static Unihan fromMemory(std::string_view bytes, std::string_view name = "the buffer");

  // An empty store: holds nothing, answers nothing.
  Unihan();

  // The source preference of preferredRadicalStroke: up to six distinct
  // sources, the first with a value answers. The copy shares the store.
  Unihan withSourcePreference(const std::vector<Source>& preference) const;
  const std::vector<Source>& sourcePreference() const noexcept;

  // Whether a block of the data holds the code point (it may still have no
  // value of a given field).
  bool contains(char32_t codePoint) const noexcept;

  // The value at `index` under one source: kRSUnicode has up to two values,
  // kRSVantu_Japan1_6 one per CID value (residual: glyph less radical form),
  // the other sources one.
  std::optional<RadicalStroke> radicalStroke(char32_t codePoint, Source source,
                                             int index = 0) const noexcept;
  std::vector<RadicalStroke> radicalStrokes(char32_t codePoint, Source source) const;
  std::optional<PreferredRadicalStroke> preferredRadicalStroke(char32_t codePoint) const noexcept;

  // kTotalStrokes; nullopt also for a held code point without one.
  std::optional<int> totalStrokes(char32_t codePoint) const noexcept;

  std::optional<Cid> cid(char32_t codePoint, int index = 0) const noexcept;
  std::vector<Cid> cids(char32_t codePoint) const;
  // The character that the data gives a CID, if any.
  std::optional<char32_t> charForCid(unsigned int cid) const noexcept;

  std::vector<std::string> readings(char32_t codePoint, Reading field) const;
  std::optional<HanYuPosition> hanYu(char32_t codePoint) const noexcept;

  // Every held code point, ascending; worked out once, on first use.
  const std::vector<char32_t>& codePoints() const;

  // Writes the binary image or the text dump and answers its size. The file
  // is replaced by the complete new content or left as it was, never
  // half-written; a symbolic link is followed and stays a link. Throws Error.
  std::size_t save(std::string_view path, SaveFormat format = SaveFormat::kImage) const;
  // The image or dump as bytes; throws Error when the data does not fit the
  // image format.
  std::string bytes(SaveFormat format = SaveFormat::kImage) const;

  // For command-line programs: installs handlers for SIGINT, SIGTERM, SIGHUP
  // and SIGBUS (a mapped file truncated under the program) that remove the staging file of any save in progress and then hand
  // the signal on (to the handler that was there, or the default action). The
  // library installs nothing by itself.
  static void removeStagingFilesOnSignals();

  // The core's handle onto the same store, for the core's own interface and
  // the companion index.
  UnihanMgr core() const;

  // The size and CRC-32 of the binary image this store was loaded from, as
  // "2070345 bytes, CRC-32 1a2b3c4d", worked out from the bytes read at
  // load, not from the file, which may have been replaced since; a saved
  // index records it to open only over the same data. The checksum is a
  // third of what loading an image costs (6.3 of 19.5 million instructions
  // for the bundled one, about 1 ms). Empty for a store read from text, and
  // for an empty one.
  const std::string& loadedImageTag() const noexcept;

 private:
  explicit Unihan(std::shared_ptr<kelvorn_app_private::Store> store);

  std::shared_ptr<kelvorn_app_private::Store> store_;
  std::shared_ptr<const std::vector<Source>> preference_;
};

}  // namespace kelvorn

#endif  // KELVORN_UNIHAN_H

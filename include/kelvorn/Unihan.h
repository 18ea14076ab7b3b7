// kelvorn/Unihan.h - per-character access to the Unicode Han Database for
// applications: one value type that cannot be misused.
//
//   const kelvorn::Unihan unihan = kelvorn::Unihan::bundled();
//   if (auto rs = unihan.radicalStroke(U'漢', kelvorn::Source::kRSUnicode)) {
//     std::printf("%d.%d\n", rs->radical, rs->residual);  // 85.11
//   }
//   auto definition = unihan.field(U'漢', "kDefinition");
//   auto hang = unihan.byReading("hang2");
//
// One Unihan answers every question from one bundle: the core image (the
// typed per-character queries), the all-field image (any field, variants,
// conversion, search) and the reverse index (by radical, strokes, reading;
// sort keys). The all-field image and the index are opened on the first
// question that needs them, once, whichever thread asks first.
//
// A Unihan is an immutable, cheap-to-copy value: copies share one loaded
// bundle through an atomic reference count, so copies may be made, used and
// dropped from any number of threads at once. Every per-character query of
// the core is const and noexcept and answers std::optional (nullopt when the
// data has nothing to say) or a list (empty likewise); the lists allocate,
// so they may throw std::bad_alloc and nothing else. Loads, saves, a field
// name the data does not have, and a question for data the bundle was opened
// without throw kelvorn::Error.
//
// Every string_view a query answers points into the bundle and stays valid
// as long as some copy of the Unihan lives.
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
#include "kelvorn/UnihanFields.h"
#include "kelvorn/UnihanIndex.h"
#include "kelvorn/UnihanLexicon.h"
#include "kelvorn/UnihanMgr.h"
#include "kelvorn/Utf8.h"

#if defined(_WIN32)
#define KELVORN_UNIHAN_APP_API __declspec(dllexport)
#else
#define KELVORN_UNIHAN_APP_API __attribute__((visibility("default")))
#endif

namespace kelvorn_app_private {
struct Store;
class Bundle;
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

// The expanded value of a structured field, the tree `unihan export
// --expand` writes: null, an integer, a string (a piece of the raw value),
// an array, or an object whose members keep their grammar's order and carry
// their names in `key`.
struct ExpandedValue {
  enum class Kind : unsigned char { kNull, kInteger, kString, kArray, kObject };
  Kind kind = Kind::kNull;
  std::string_view key;
  long long integer = 0;
  std::string_view text;
  std::vector<ExpandedValue> items;
};

// Where byReading puts what it finds: code-point order, or the characters
// most read so first (kHanyuPinlu's counts, then the common characters,
// then the rest; ties in radical-stroke order).
enum class ReadingOrder { kCodePoint, kCommonFirst };

class KELVORN_UNIHAN_APP_API Unihan {
 public:
  // Loads one path. A binary core image answers the core's questions and
  // those of an index built from it; a Unihan text file, or a directory of
  // Unihan_*.txt files, answers everything (the all-field store is built
  // from the same text when first asked for); a directory that holds the
  // installed files (unihan-17.0.bin, unihan-fields-17.0.bin and
  // unihan-index-17.0.bin, for its release) opens them as bundled() does.
  // A FIFO, device or socket is refused before anything is read, as are a
  // damaged image and a file that holds no Unihan line the library keeps.
  // Throws Error.
  static Unihan open(std::string_view path);
  // The core (an image or text), where every field comes from (the
  // all-field image built from the same release, or a Unihan text file; not
  // a core image, which keeps twelve fields only), and the index saved for
  // the two (empty: the one saved beside the all-field image for its
  // release, unihan-index-17.0.bin, if any). An index saved for other data,
  // or none, is built when first asked for. Only the core is read here.
  static Unihan open(std::string_view corePath, std::string_view fieldsPath,
                     std::string_view indexPath = {});
  // The files installed with the library: <libdir>/../share/kelvorn-unihan/,
  // <libdir>/data/ in a build tree, or the directory KELVORN_UNIHAN_DATA_DIR
  // names. Throws Error when there is no core image; a missing all-field
  // image throws on the first question that needs it.
  static Unihan bundled();
  // The installed all-field image alone, for a program that asks only
  // field, lexicon and search questions: nothing is read here, the image is
  // opened on the first such question, and the core image is never read,
  // so the core's typed questions, and the index's built on them, answer as
  // an empty store's.
  static Unihan bundledFieldsOnly();
  // The Unicode release of that image's data, such as "17.0".
  static std::string_view bundledUnicodeVersion() noexcept;
  // Loads from memory, image or text alike; `name` stands for the bytes in
  // messages. The bytes are not kept. Throws Error.
  static Unihan fromMemory(std::string_view bytes, std::string_view name = "the buffer");
  // The three files' bytes: a core image, an all-field image (or Unihan
  // text, told apart as open() tells a file) and a saved index (which may be
  // empty). The bytes are copied, not kept.
  static Unihan fromMemory(std::string_view core, std::string_view fields, std::string_view index,
                           std::string_view name = "the buffer");

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

  // Every Unihan field, from the all-field store. A field name the data
  // does not have throws Error naming the nearest one; so does every
  // question below that needs the all-field store when the bundle has none
  // (a core image opened alone).
  std::optional<std::string_view> field(char32_t codePoint, std::string_view name) const;
  std::vector<FieldValue> fields(char32_t codePoint) const;
  std::vector<std::string_view> fieldNames() const;
  // The value as a tree, by the field's grammar (docs/fields.md); a field
  // without one, or a value that does not match it, is one string.
  std::optional<ExpandedValue> expandedField(char32_t codePoint, std::string_view name) const;
  // The characters that have `value` among the field's space-separated
  // values, ascending.
  std::vector<char32_t> charsWith(std::string_view field, std::string_view value) const;

  // From the lexicon: variants, the simplified/traditional class, script
  // conversion (text that is not UTF-8 throws Error), and the characters
  // whose kDefinition holds every word, in code-point order.
  std::vector<Variant> variants(char32_t codePoint) const;
  ScriptClass scriptClass(char32_t codePoint) const;
  std::string convert(std::string_view utf8, Script to) const;
  std::vector<char32_t> search(std::string_view words) const;

  // From the index: radical 1..214 under a source, ordered by residual then
  // code point, each character once (empty outside 1..214); kTotalStrokes
  // (ordered by radical-stroke key); and a reading (kMandarin also searches
  // kHanyuPinyin, kXHC1983, kTGHZ2013 and kHanyuPinlu when the bundle has
  // the all-field store). An empty reading throws Error.
  std::vector<char32_t> byRadical(int radical, Source source = Source::kRSUnicode) const;
  std::vector<char32_t> byTotalStrokes(int strokes) const;
  std::vector<char32_t> byReading(std::string_view text, Reading field = Reading::kMandarin,
                                  ReadingMatch match = ReadingMatch::kLoose,
                                  ReadingOrder order = ReadingOrder::kCodePoint) const;
  // A reading field by name: those of Reading, or one the all-field store
  // answers (kCantonese, kJapanese, kKorean, kHangul, kVietnamese, kTang,
  // kHanyuPinyin, kXHC1983, kTGHZ2013). Another name throws Error naming the
  // nearest.
  std::vector<char32_t> byReading(std::string_view text, std::string_view field,
                                  ReadingMatch match = ReadingMatch::kLoose,
                                  ReadingOrder order = ReadingOrder::kCodePoint) const;

  // Sorting in Unihan's radical-stroke order (or total strokes, then that):
  // a byte string whose bytewise order is compare's, and a three-way
  // comparison of two UTF-8 strings (negative, 0, positive). Text that is
  // not UTF-8 throws Error.
  std::string sortKey(std::string_view utf8, SortOrder order = SortOrder::kRadicalStroke) const;
  int compare(std::string_view a, std::string_view b,
              SortOrder order = SortOrder::kRadicalStroke) const;

  // The companions underneath, opened or built on first use: for what the
  // members above do not ask.
  const UnihanFields& fieldStore() const;
  const UnihanLexicon& lexicon() const;
  const UnihanIndex& index() const;

  // The core's handle onto the same store, for the core's own interface.
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
  Unihan(std::shared_ptr<kelvorn_app_private::Store> store,
         std::shared_ptr<kelvorn_app_private::Bundle> bundle);

  std::shared_ptr<kelvorn_app_private::Store> store_;
  std::shared_ptr<const std::vector<Source>> preference_;
  // The all-field store and the index, opened on first use.
  std::shared_ptr<kelvorn_app_private::Bundle> bundle_;
};

}  // namespace kelvorn

#endif  // KELVORN_UNIHAN_H

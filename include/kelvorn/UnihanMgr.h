// kelvorn/UnihanMgr.h - per-character access to a selection of the Unicode Han
// Database (Unihan).
//
// A UnihanMgr is a small handle onto a shared, reference-counted store. Fill the
// store once, from Unihan text (readUnihan) or from a binary image that this
// library wrote (readUnihanBinary, readUnihanBinaryBuf), then ask per-code-point
// questions. Copies of a handle share one store; the last copy to go frees it.
//
// Threads: queries (radix, stroke, totalStrokes, getVantuCID,
// totalVantuStrokes, getUTF32ForCID, getNumVals, getPronounceData,
// getkHanYuData, IsValid, VersionCheck) only read the store, so several
// threads may query one loaded store at once, through one handle or several,
// as long as no thread meanwhile loads into it or changes its preference.
// The reference count is atomic: threads may copy and destroy handles of one
// store at once, each its own handle. Anything else (one handle assigned in
// one thread and used in another, a load) must be serialised by the caller.
//
// Failures are results, never messages: a query answers -1 when it has
// nothing to say. The only exceptions that leave the library are
// std::bad_alloc and, for an image whose block count is negative,
// std::length_error.
#ifndef KELVORN_UNIHANMGR_H
#define KELVORN_UNIHANMGR_H

#include <string>
#include <vector>

// The library is built with hidden symbols; this class is its interface.
#define KELVORN_UNIHAN_API __attribute__((visibility("default")))

namespace kelvorn_private {
class UnihanData;
struct HandleAccess;
}

namespace kelvorn {

// The twelve Unihan fields the library keeps. Values 0 to 5 are the
// radical-stroke sources, 7 to 10 the reading properties.
enum unihanPropT : int {
  kRSUnicode = 0,
  kRSKangXi = 1,
  kRSKanWa = 2,
  kRSKorean = 3,
  kRSJapanese = 4,
  kRSVantu_Japan1_6 = 5,
  kTotalStrokes = 6,
  kHanyuPinlu = 7,
  kJapaneseKun = 8,
  kJapaneseOn = 9,
  kMandarin = 10,
  kHanYu = 11
};

class KELVORN_UNIHAN_API UnihanMgr {
 public:
  // Creates a handle with a new, empty store: IsValid() false, version 1.4,
  // source preference 5, 4, 3, 2, 1, 0, every query -1.
  UnihanMgr();
  // Shares other's store. A handle built from itself has no store: it answers
  // as an empty store does, its loads and write fail, and copies of it work.
  UnihanMgr(const UnihanMgr& other);
  // Releases the store; the last handle destroys it.
  ~UnihanMgr();
  // Releases this handle's store and shares other's (nothing when they
  // already share one).
  UnihanMgr& operator=(const UnihanMgr& other);

  // True once a load has completed on the store; a failed load never makes
  // it false again.
  bool IsValid();
  // True when the store's data version is exactly major.minor: 1.4 unless a
  // binary image brought another.
  bool VersionCheck(short major, short minor);

  // Appends the blocks of a Unihan text file and sets IsValid. Returns 0
  // once the end of the file is reached, -1 when path is null or the file
  // cannot be opened (the store is then untouched). Lines it does not
  // understand are skipped; nothing else fails. The path is read to its end
  // as given: a FIFO blocks until a writer comes, an endless device never
  // ends, and a directory reads as an empty file (0, IsValid true).
  int readUnihan(char* path);
  // Writes the store: mode 0 the text dump, any other mode the binary image.
  // Returns -1, creating or truncating nothing, for a null path or, for an
  // image, a store the format cannot carry (more than 32,767 blocks, 65,535
  // records in a block's list, 255 pairs, CID entries or strings in a list,
  // or a string of 64 bytes or more); -1 when the file cannot be opened or,
  // for an image, the header cannot be written. Otherwise 0 - also when a
  // later write or the close fails (a full disk, a file-size limit), which
  // is not detected: a caller that must know reads the file back.
  int write(char* path, int mode);
  // Replaces the blocks with those of a binary image file. Returns -1 for a
  // null path, a file that cannot be opened or does not begin with the magic
  // (store untouched); -1 too when the file ends inside the header (store
  // untouched) or inside a block record (the blocks read so far stay,
  // IsValid is unchanged); 0 when every block was read (IsValid true).
  int readUnihanBinary(char* path);
  // Replaces the blocks with those of a binary image in memory, read in
  // place and never kept. Returns len, as an int, when every block was read
  // (so a len above INT_MAX returns a negative number on success); 0 for a
  // null buffer, fewer than 19 bytes, a wrong magic or a block record cut
  // short or holding a string of 64 bytes or more (the blocks read so far
  // stay); 19 for the magic alone and 20 for a header cut short (store
  // untouched in both). A negative block count throws std::length_error and
  // leaves the store without blocks. Neither loader ever clears a CID that
  // the image does not name.
  int readUnihanBinaryBuf(char* buf, unsigned int len);

  // Sets the order in which the preference-driven radix and stroke consult the
  // radical-stroke sources. Reads exactly six entries and validates none; -1
  // leaves a slot empty, a value that is not a source (0 to 5) never answers.
  // Seen through every handle of the store, kept across loads.
  void setRadixStrokeSourcePref(unihanPropT* pref);

  // Radical number under one source, or -1. valueIndex 1 asks kRSUnicode for
  // its second value and kRSVantu_Japan1_6 for its second CID value; sources
  // 1 to 4 ignore it.
  int radix(int codePoint, unihanPropT source, int valueIndex);
  // Radical number from the first preferred source that has one, or -1.
  int radix(int codePoint, int valueIndex);
  // Residual stroke count under one source (strokes of the radical form for
  // kRSVantu_Japan1_6), 0 to 255 as stored, or -1.
  int stroke(int codePoint, unihanPropT source, int valueIndex);
  // Stroke count from the first preferred source that has one, or -1.
  int stroke(int codePoint, int valueIndex);
  // A source given without its value index would otherwise convert to int
  // and ask the preference walk instead: radix(cp, kRSKangXi) must name the
  // index, radix(cp, kRSKangXi, 0).
  int radix(int codePoint, unihanPropT source) = delete;
  int stroke(int codePoint, unihanPropT source) = delete;
  // kTotalStrokes value; 0 for a code point the store holds without one, -1
  // for one it does not hold.
  int totalStrokes(int codePoint);

  // CID (0 to 65535) of the code point's kRSVantu_Japan1_6 value at
  // valueIndex, or -1.
  int getVantuCID(int codePoint, int valueIndex);
  // Strokes of that value's glyph (radical form plus residual, 0 to 510), or
  // -1.
  int totalVantuStrokes(int codePoint, int valueIndex);
  // Code point that the last load naming the CID gave it, or -1 for a CID
  // outside 1124 to 23057 (656 counts as 1124) or one no load has named.
  int getUTF32ForCID(unsigned int cid);

  // Number of values of a property: -1 when no block holds the code point;
  // otherwise for the four reading properties the number of strings, for
  // kRSVantu_Japan1_6 the number of CID values, for kRSUnicode 2 when it has
  // a second value and 0 when not, and 0 for every other property and for a
  // code point inside a block but past its records.
  int getNumVals(int codePoint, unihanPropT prop);
  // Appends the values of a reading property (kHanyuPinlu, kJapaneseKun,
  // kJapaneseOn, kMandarin) to out, which is not cleared, and returns out.
  // Any other property, or a code point without values, appends nothing.
  std::vector<std::string>& getPronounceData(std::vector<std::string>& out,
                                             int codePoint, unihanPropT prop);
  // Writes the kHanYu position (zeros for a held code point without one)
  // through the four pointers and returns 0, or returns -1 and writes
  // nothing.
  int getkHanYuData(unsigned int codePoint, int* volume, int* page,
                    int* position, int* virtualFlag);

 private:
  // The library's own application layer reaches the store through it; it
  // is no part of the interface.
  friend struct kelvorn_private::HandleAccess;

  kelvorn_private::UnihanData* data;
  // The handle's own version pair: 1.4 at creation, copied by copy and
  // assignment. VersionCheck asks the store, whose pair a loaded image sets.
  unsigned short versionMajor;
  unsigned short versionMinor;
};

}  // namespace kelvorn

#endif  // KELVORN_UNIHANMGR_H

// kelvorn/UnihanMgr.h - per-character access to a selection of the Unicode Han
// Database (Unihan).
//
// A UnihanMgr is a small handle onto a shared, reference-counted store. Fill the
// store once, from Unihan text (readUnihan) or from a binary image that this
// library wrote (readUnihanBinary, readUnihanBinaryBuf), then ask per-code-point
// questions. Copies of a handle share one store; the last copy to go frees it.
// A store and all handles sharing it must be used by one thread at a time.
#ifndef KELVORN_UNIHANMGR_H
#define KELVORN_UNIHANMGR_H

#include <string>
#include <vector>

#if defined(_WIN32)
#define KELVORN_UNIHAN_API __declspec(dllexport)
#else
#define KELVORN_UNIHAN_API __attribute__((visibility("default")))
#endif

namespace kelvorn_private {
class UnihanData;
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
  // Creates a handle with a new, empty store.
  UnihanMgr();
  // Shares other's store.
  UnihanMgr(const UnihanMgr& other);
  // Releases the store; the last handle destroys it.
  ~UnihanMgr();
  // Releases this handle's store and shares other's.
  UnihanMgr& operator=(const UnihanMgr& other);

  // True once a load has completed on the store.
  bool IsValid();
  // True when the store's data version is exactly major.minor (1.4 unless a
  // binary image brought another).
  bool VersionCheck(short major, short minor);

  // Appends the blocks of a Unihan text file. 0 at end of file, -1 when the
  // file cannot be opened.
  int readUnihan(char* path);
  // Writes the store: mode 0 the text dump, any other mode the binary image.
  // 0 on success, -1 when the file cannot be opened or the store does not fit
  // the image format.
  int write(char* path, int mode);
  // Replaces the blocks with those of a binary image file. 0 or -1.
  int readUnihanBinary(char* path);
  // Replaces the blocks with those of a binary image in memory. Returns len on
  // success; 0, 19 or 20 otherwise. The buffer is read in place, never kept.
  int readUnihanBinaryBuf(char* buf, unsigned int len);

  // Sets the order in which the preference-driven radix and stroke consult the
  // radical-stroke sources. Reads exactly six entries; -1 leaves a slot empty.
  void setRadixStrokeSourcePref(unihanPropT* pref);

  // Radical number under one source, or -1.
  int radix(int codePoint, unihanPropT source, int valueIndex);
  // Radical number from the first preferred source that has one, or -1.
  int radix(int codePoint, int valueIndex);
  // Residual stroke count under one source (strokes of the radical form for
  // kRSVantu_Japan1_6), or -1.
  int stroke(int codePoint, unihanPropT source, int valueIndex);
  // Stroke count from the first preferred source that has one, or -1.
  int stroke(int codePoint, int valueIndex);
  // kTotalStrokes value; 0 for a known code point without one, -1 otherwise.
  int totalStrokes(int codePoint);

  // CID of the code point's kRSVantu_Japan1_6 value at valueIndex, or -1.
  int getVantuCID(int codePoint, int valueIndex);
  // Stroke count of that value's glyph, or -1.
  int totalVantuStrokes(int codePoint, int valueIndex);
  // Code point held for a CID, or -1.
  int getUTF32ForCID(unsigned int cid);

  // Number of values of a property, or -1 when no block holds the code point.
  int getNumVals(int codePoint, unihanPropT prop);
  // Appends the values of a reading property (kHanyuPinlu, kJapaneseKun,
  // kJapaneseOn, kMandarin) to out, which is not cleared, and returns out.
  std::vector<std::string>& getPronounceData(std::vector<std::string>& out,
                                             int codePoint, unihanPropT prop);
  // Writes the kHanYu position through the four pointers and returns 0, or
  // returns -1 and writes nothing.
  int getkHanYuData(unsigned int codePoint, int* volume, int* page,
                    int* position, int* virtualFlag);

 private:
  kelvorn_private::UnihanData* data;
  // The handle's own version pair: 1.4 at creation, copied by copy and
  // assignment. VersionCheck asks the store, whose pair a loaded image sets.
  unsigned short versionMajor;
  unsigned short versionMinor;
};

}  // namespace kelvorn

#endif  // KELVORN_UNIHANMGR_H

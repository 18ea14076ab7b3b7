// The exported handle: lifetime operations over a shared store, and members
// that forward to it unchanged.
#include "kelvorn/UnihanMgr.h"

#include "store/UnihanData.h"

namespace kelvorn {

using kelvorn_private::kDefaultVersionMajor;
using kelvorn_private::kDefaultVersionMinor;
using kelvorn_private::UnihanData;

UnihanMgr::UnihanMgr()
    : data(new UnihanData), versionMajor(kDefaultVersionMajor), versionMinor(kDefaultVersionMinor) {
  kelvorn_private::retain(data);
}

// A handle constructed from itself has nothing to share and starts empty.
UnihanMgr::UnihanMgr(const UnihanMgr& other)
    : data(&other == this ? nullptr : other.data),
      versionMajor(&other == this ? kDefaultVersionMajor : other.versionMajor),
      versionMinor(&other == this ? kDefaultVersionMinor : other.versionMinor) {
  if (data != nullptr) kelvorn_private::retain(data);
}

UnihanMgr::~UnihanMgr() {
  if (data != nullptr) kelvorn_private::release(data);
}

UnihanMgr& UnihanMgr::operator=(const UnihanMgr& other) {
  if (this == &other) return *this;
  if (data != other.data) {
    // Take the new reference first so that the order of release cannot
    // matter, then drop the old one.
    if (other.data != nullptr) kelvorn_private::retain(other.data);
    if (data != nullptr) kelvorn_private::release(data);
    data = other.data;
  }
  versionMajor = other.versionMajor;
  versionMinor = other.versionMinor;
  return *this;
}

// A handle built from itself holds no store; it answers as a handle with an
// empty store would, and its loads fail.
bool UnihanMgr::IsValid() { return data != nullptr && data->valid(); }

bool UnihanMgr::VersionCheck(short major, short minor) {
  const int storeMajor = data == nullptr ? kDefaultVersionMajor : data->versionMajor();
  const int storeMinor = data == nullptr ? kDefaultVersionMinor : data->versionMinor();
  return major == storeMajor && minor == storeMinor;
}

int UnihanMgr::readUnihan(char* path) { return data == nullptr ? -1 : data->readUnihan(path); }

int UnihanMgr::write(char* path, int mode) { return data == nullptr ? -1 : data->write(path, mode); }

int UnihanMgr::readUnihanBinary(char* path) {
  return data == nullptr ? -1 : data->readUnihanBinary(path);
}

int UnihanMgr::readUnihanBinaryBuf(char* buf, unsigned int len) {
  return data == nullptr ? 0 : data->readUnihanBinaryBuf(buf, len);
}

void UnihanMgr::setRadixStrokeSourcePref(unihanPropT* pref) {
  if (data != nullptr) data->setRadixStrokeSourcePref(pref);
}

int UnihanMgr::radix(int codePoint, unihanPropT source, int valueIndex) {
  return data == nullptr ? -1 : data->radix(codePoint, source, valueIndex);
}

int UnihanMgr::radix(int codePoint, int valueIndex) {
  return data == nullptr ? -1 : data->radix(codePoint, valueIndex);
}

int UnihanMgr::stroke(int codePoint, unihanPropT source, int valueIndex) {
  return data == nullptr ? -1 : data->stroke(codePoint, source, valueIndex);
}

int UnihanMgr::stroke(int codePoint, int valueIndex) {
  return data == nullptr ? -1 : data->stroke(codePoint, valueIndex);
}

int UnihanMgr::totalStrokes(int codePoint) {
  return data == nullptr ? -1 : data->totalStrokes(codePoint);
}

int UnihanMgr::getVantuCID(int codePoint, int valueIndex) {
  return data == nullptr ? -1 : data->getVantuCID(codePoint, valueIndex);
}

int UnihanMgr::totalVantuStrokes(int codePoint, int valueIndex) {
  return data == nullptr ? -1 : data->totalVantuStrokes(codePoint, valueIndex);
}

int UnihanMgr::getUTF32ForCID(unsigned int cid) {
  return data == nullptr ? -1 : data->getUTF32ForCID(cid);
}

int UnihanMgr::getNumVals(int codePoint, unihanPropT prop) {
  return data == nullptr ? -1 : data->getNumVals(codePoint, prop);
}

std::vector<std::string>& UnihanMgr::getPronounceData(
    std::vector<std::string>& out, int codePoint, unihanPropT prop) {
  return data == nullptr ? out : data->getPronounceData(out, codePoint, prop);
}

int UnihanMgr::getkHanYuData(unsigned int codePoint, int* volume, int* page,
                             int* position, int* virtualFlag) {
  if (data == nullptr) return -1;
  return data->getkHanYuData(codePoint, volume, page, position, virtualFlag);
}

}  // namespace kelvorn

// A growable list of small, trivially copyable values that keeps its first
// few elements inside the object. Nearly every record of the Unihan data has
// one to three radical-stroke pairs and at most one CID entry, so keeping
// those inline spares one heap allocation per record: a third of the cost of
// loading an image, and a good part of the store's memory.
#ifndef KELVORN_STORE_INLINELIST_H
#define KELVORN_STORE_INLINELIST_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>

namespace kelvorn_private {

template <class T, std::uint32_t N>
class InlineList {
  static_assert(std::is_trivially_copyable_v<T>, "elements are copied as bytes");
  static_assert(N > 0, "at least one element is kept inline");

 public:
  InlineList() = default;
  InlineList(const InlineList& other) { append(other.data(), other.size_); }
  InlineList(InlineList&& other) noexcept { take(&other); }
  InlineList& operator=(const InlineList& other) {
    if (this != &other) {
      size_ = 0;
      append(other.data(), other.size_);
    }
    return *this;
  }
  InlineList& operator=(InlineList&& other) noexcept {
    if (this != &other) {
      freeHeap();
      take(&other);
    }
    return *this;
  }
  ~InlineList() { freeHeap(); }

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  T* data() { return onHeap() ? storage_.heap : storage_.inline_; }
  const T* data() const { return onHeap() ? storage_.heap : storage_.inline_; }
  T* begin() { return data(); }
  T* end() { return data() + size_; }
  const T* begin() const { return data(); }
  const T* end() const { return data() + size_; }
  T& operator[](std::size_t i) { return data()[i]; }
  const T& operator[](std::size_t i) const { return data()[i]; }
  T& back() { return data()[size_ - 1]; }
  const T& back() const { return data()[size_ - 1]; }

  void reserve(std::size_t n) {
    if (n > capacity_) grow(n);
  }
  void push_back(const T& value) {
    if (size_ == capacity_) grow(static_cast<std::size_t>(capacity_) * 2);
    data()[size_++] = value;
  }
  // New elements are value-initialised, as a standard vector's are.
  void resize(std::size_t n) {
    reserve(n);
    for (std::size_t i = size_; i < n; ++i) data()[i] = T();
    size_ = static_cast<std::uint32_t>(n);
  }

 private:
  // The inline array and the heap pointer share their bytes; the capacity
  // says which one is in use; the inline array is the one in use whenever
  // no heap block is held.
  union Storage {
    Storage() : inline_() {}
    T inline_[N];
    T* heap;
  };

  bool onHeap() const { return capacity_ > N; }

  void grow(std::size_t n) {
    if (n > UINT32_MAX) throw std::bad_alloc();
    std::unique_ptr<T[]> fresh(new T[n]);
    std::memcpy(static_cast<void*>(fresh.get()), data(), size_ * sizeof(T));
    freeHeap();
    storage_.heap = fresh.release();
    capacity_ = static_cast<std::uint32_t>(n);
  }

  void append(const T* values, std::uint32_t count) {
    reserve(count);
    std::memcpy(static_cast<void*>(data()), values, count * sizeof(T));
    size_ = count;
  }

  void take(InlineList* other) {
    size_ = other->size_;
    capacity_ = other->capacity_;
    if (other->onHeap()) {
      storage_.heap = other->storage_.heap;
    } else {
      std::memcpy(static_cast<void*>(storage_.inline_), other->storage_.inline_, sizeof(storage_.inline_));
    }
    other->size_ = 0;
    other->capacity_ = N;
    other->storage_ = Storage();
  }

  void freeHeap() {
    if (onHeap()) {
      delete[] storage_.heap;
      storage_ = Storage();
    }
    capacity_ = N;
  }

  std::uint32_t size_ = 0;
  std::uint32_t capacity_ = N;
  Storage storage_;
};

}  // namespace kelvorn_private

#endif  // KELVORN_STORE_INLINELIST_H

// An array of the store: items of its own, or items lent by opened core
// tables (store/TablesFormat.h) and kept alive by the store. Readers see one
// pointer and one size either way, so a query costs the same on both. Lent
// items never change: a load that would change an array copies them into
// items of its own first.
#ifndef KELVORN_STORE_STOREARRAY_H
#define KELVORN_STORE_STOREARRAY_H

#include <cstddef>
#include <utility>
#include <vector>

namespace kelvorn_private {

template <class T>
class StoreArray {
 public:
  StoreArray() = default;
  StoreArray(std::size_t n, const T& value) : items_(n, value) { sync(); }
  // A moved vector keeps its buffer, so the view stays right.
  StoreArray(StoreArray&& other) noexcept
      : items_(std::move(other.items_)), data_(other.data_), size_(other.size_), lent_(other.lent_) {
    other.reset();
  }
  StoreArray& operator=(StoreArray&& other) noexcept {
    items_ = std::move(other.items_);
    data_ = other.data_;
    size_ = other.size_;
    lent_ = other.lent_;
    other.reset();
    return *this;
  }
  StoreArray(const StoreArray&) = delete;
  StoreArray& operator=(const StoreArray&) = delete;
  ~StoreArray() = default;

  const T* data() const { return data_; }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const T& operator[](std::size_t i) const { return data_[i]; }
  const T* begin() const { return data_; }
  const T* end() const { return data_ + size_; }

  // Shows `n` items held elsewhere, dropping any of its own.
  void lend(const T* items, std::size_t n) {
    std::vector<T>().swap(items_);
    data_ = items;
    size_ = n;
    lent_ = true;
  }
  bool lent() const { return lent_; }

  // Changes. Each first gives the array items of its own.
  void reserve(std::size_t n) { own().reserve(n); sync(); }
  T& emplace_back() {
    T& item = own().emplace_back();
    sync();
    return item;
  }
  void push_back(const T& item) {
    own().push_back(item);
    sync();
  }
  void append(const T* first, const T* last) {
    std::vector<T>& items = own();
    items.insert(items.end(), first, last);
    sync();
  }
  void resize(std::size_t n) {
    own().resize(n);
    sync();
  }
  void assign(std::size_t n, const T& value) {
    lent_ = false;
    items_.assign(n, value);
    sync();
  }
  void shrink_to_fit() {
    own().shrink_to_fit();
    sync();
  }
  T* mutableData() { return own().data(); }

 private:
  std::vector<T>& own() {
    if (lent_) {
      items_.assign(data_, data_ + size_);
      lent_ = false;
      sync();
    }
    return items_;
  }
  void sync() {
    data_ = items_.data();
    size_ = items_.size();
  }
  void reset() {
    items_.clear();
    lent_ = false;
    sync();
  }

  std::vector<T> items_;
  const T* data_ = nullptr;
  std::size_t size_ = 0;
  bool lent_ = false;
};

}  // namespace kelvorn_private

#endif  // KELVORN_STORE_STOREARRAY_H

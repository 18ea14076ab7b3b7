// The two shapes an index's tables take: built, they own their elements;
// opened from a saved index, they are views of its bytes, which the index
// keeps alive, so that opening copies nothing it does not have to.
#ifndef KELVORN_INDEX_TABLES_H
#define KELVORN_INDEX_TABLES_H

#include <cstddef>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace kelvorn_index_private {

// A read-only array: elements of its own, or a view.
template <class T>
class Table {
 public:
  Table() = default;
  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;
  Table(Table&& other) noexcept { *this = std::move(other); }
  Table& operator=(Table&& other) noexcept {
    // A vector's elements stay where they are when the vector moves, so
    // the pointer stays good.
    owned_ = std::move(other.owned_);
    data_ = other.data_;
    size_ = other.size_;
    other.owned_.clear();
    other.data_ = nullptr;
    other.size_ = 0;
    return *this;
  }

  void own(std::vector<T> elements) {
    owned_ = std::move(elements);
    owned_.shrink_to_fit();
    data_ = owned_.data();
    size_ = owned_.size();
  }
  void view(const T* data, std::size_t size) {
    owned_.clear();
    data_ = data;
    size_ = size;
  }

  const T* data() const noexcept { return data_; }
  std::size_t size() const noexcept { return size_; }
  bool empty() const noexcept { return size_ == 0; }
  const T& operator[](std::size_t i) const noexcept { return data_[i]; }
  const T* begin() const noexcept { return data_; }
  const T* end() const noexcept { return data_ + size_; }
  const T& back() const noexcept { return data_[size_ - 1]; }

 private:
  std::vector<T> owned_;
  const T* data_ = nullptr;
  std::size_t size_ = 0;
};

// Numbered pages that the public interface hands out as vectors. Built,
// every page is a vector at once. Opened, each page is a view until it is
// first asked for, and only then copied into its vector: a program that
// reads one radical's page copies that page, not all 1,290.
template <class T>
class Pages {
 public:
  explicit Pages(std::size_t count)
      : vectors_(count), views_(count), once_(new std::once_flag[count]) {}

  std::size_t count() const noexcept { return vectors_.size(); }

  // For the builder, before the index is shared.
  std::vector<T>& built(std::size_t i) { return vectors_[i]; }
  void view(std::size_t i, const T* data, std::size_t size) {
    views_[i] = {data, size};
    viewed_ = true;
  }

  // Thread-safe, as the index's copies may be used from several threads.
  const std::vector<T>& page(std::size_t i) const {
    if (viewed_) {
      std::call_once(once_[i], [this, i] {
        const View& v = views_[i];
        vectors_[i].assign(v.data, v.data + v.size);
      });
    }
    return vectors_[i];
  }
  std::size_t pageSize(std::size_t i) const noexcept {
    return viewed_ ? views_[i].size : vectors_[i].size();
  }

 private:
  struct View {
    const T* data = nullptr;
    std::size_t size = 0;
  };

  mutable std::vector<std::vector<T>> vectors_;
  std::vector<View> views_;
  bool viewed_ = false;
  std::unique_ptr<std::once_flag[]> once_;
};

}  // namespace kelvorn_index_private

#endif  // KELVORN_INDEX_TABLES_H

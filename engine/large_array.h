// An array for the search tables, which run to hundreds of megabytes.
//
// The pages of a fresh table are faulted in as the table is cleared, and on a
// virtual machine each 4 KB fault is slow: a 64 MB table took over half a
// second, all of it counted against the first move's clock. The array asks
// for 2 MB pages where the system grants them (one fault per 2 MB) and falls
// back to ordinary memory elsewhere.
#pragma once

#include <cstddef>
#include <memory>
#include <new>

namespace kestrel {

namespace large_memory {
// `bytes` of zeroed memory aligned to 2 MB, or nullptr when none is left.
void* Allocate(std::size_t bytes);
void Free(void* p, std::size_t bytes);
}  // namespace large_memory

template <typename T>
class TLargeArray {
 public:
  TLargeArray() = default;
  TLargeArray(const TLargeArray&) = delete;
  TLargeArray& operator=(const TLargeArray&) = delete;
  TLargeArray(TLargeArray&& o) noexcept : data_(o.data_), count_(o.count_) {
    o.data_ = nullptr;
    o.count_ = 0;
  }
  TLargeArray& operator=(TLargeArray&& o) noexcept {
    if (this != &o) {
      Release();
      data_ = o.data_;
      count_ = o.count_;
      o.data_ = nullptr;
      o.count_ = 0;
    }
    return *this;
  }
  ~TLargeArray() { Release(); }

  // `count` value-initialised elements; an empty array when memory is short.
  static TLargeArray Make(std::size_t count) {
    TLargeArray a;
    if (count == 0 || count > static_cast<std::size_t>(-1) / sizeof(T)) return a;
    void* p = large_memory::Allocate(count * sizeof(T));
    if (p == nullptr) return a;
    a.data_ = static_cast<T*>(p);
    a.count_ = count;
    std::uninitialized_value_construct_n(a.data_, count);
    return a;
  }

  explicit operator bool() const { return data_ != nullptr; }
  std::size_t size() const { return count_; }
  T& operator[](std::size_t i) { return data_[i]; }
  const T& operator[](std::size_t i) const { return data_[i]; }

 private:
  void Release() {
    if (data_ == nullptr) return;
    std::destroy_n(data_, count_);
    large_memory::Free(data_, count_ * sizeof(T));
    data_ = nullptr;
    count_ = 0;
  }

  T* data_ = nullptr;
  std::size_t count_ = 0;
};

}  // namespace kestrel

#pragma once

#include <cstddef>

namespace pelorin {

// An object several owners share, deleted with the last of them: what a button's pictures
// and fonts are held by. The programs are single-threaded, so the count is a plain number;
// std::shared_ptr brings atomic counting and a control block with virtual members.
template <class T>
class SharedRef {
 public:
  SharedRef() = default;
  SharedRef(std::nullptr_t) {}
  // Takes ownership of `object`, which new made.
  explicit SharedRef(T* object) : object_(object), count_(object ? new int(1) : nullptr) {}
  SharedRef(const SharedRef& other) : object_(other.object_), count_(other.count_) {
    if (count_) ++*count_;
  }
  SharedRef(SharedRef&& other) noexcept : object_(other.object_), count_(other.count_) {
    other.object_ = nullptr;
    other.count_ = nullptr;
  }
  SharedRef& operator=(SharedRef other) noexcept {
    Swap(other);
    return *this;
  }
  ~SharedRef() {
    if (count_ && --*count_ == 0) {
      delete object_;
      delete count_;
    }
  }

  T* operator->() const { return object_; }
  T& operator*() const { return *object_; }
  explicit operator bool() const { return object_ != nullptr; }
  // The same object, or both none.
  friend bool operator==(const SharedRef& a, const SharedRef& b) { return a.object_ == b.object_; }
  friend bool operator==(const SharedRef& a, std::nullptr_t) { return a.object_ == nullptr; }

 private:
  void Swap(SharedRef& other) {
    T* object = object_;
    int* count = count_;
    object_ = other.object_;
    count_ = other.count_;
    other.object_ = object;
    other.count_ = count;
  }

  T* object_ = nullptr;
  int* count_ = nullptr;
};

}  // namespace pelorin

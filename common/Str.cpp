#include "Str.h"

#include <cstdint>
#include <cstring>

namespace pelorin {

char String::emptyText_[1] = {};

String::String(std::string_view text) { append(text); }

String::String(const char* text) { append(text); }

String::String(std::size_t count, char c) { append(count, c); }

String::String(const String& other) { append(other); }

String& String::operator=(const String& other) { return assign(other); }

String& String::operator=(String&& other) noexcept {
  swap(other);
  return *this;
}

void String::swap(String& other) noexcept {
  std::swap(data_, other.data_);
  std::swap(size_, other.size_);
  std::swap(capacity_, other.capacity_);
}

// Room for at least `size` characters and the NUL; growing by half again keeps a run of
// appends linear.
void String::Grow(std::size_t size) {
  if (size <= capacity_) return;
  const std::size_t capacity = size < capacity_ + capacity_ / 2 ? capacity_ + capacity_ / 2 : size;
  void* grown = std::realloc(capacity_ != 0 ? data_ : nullptr, capacity + 1);
  if (grown == nullptr) std::abort();
  data_ = static_cast<char*>(grown);
  capacity_ = capacity;
}

void String::reserve(std::size_t capacity) {
  Grow(capacity);
  data_[size_] = '\0';
}

String& String::replace(std::size_t pos, std::size_t count, std::string_view text) {
  if (pos > size_) std::abort();
  const auto at = reinterpret_cast<std::uintptr_t>(text.data());
  if (!text.empty() && at >= reinterpret_cast<std::uintptr_t>(data_) &&
      at <= reinterpret_cast<std::uintptr_t>(data_ + size_)) {
    // Growing or shifting may move or overwrite the text itself: take a copy first.
    const String copy(text);
    return replace(pos, count, copy);
  }
  if (count > size_ - pos) count = size_ - pos;
  const std::size_t size = size_ - count + text.size();
  if (size == 0 && capacity_ == 0) return *this;
  Grow(size);
  std::memmove(data_ + pos + text.size(), data_ + pos + count, size_ - pos - count);
  if (!text.empty()) std::memcpy(data_ + pos, text.data(), text.size());
  size_ = size;
  data_[size_] = '\0';
  return *this;
}

String& String::append(std::size_t count, char c) {
  if (count == 0) return *this;
  Grow(size_ + count);
  std::memset(data_ + size_, c, count);
  size_ += count;
  data_[size_] = '\0';
  return *this;
}

void String::resize(std::size_t size, char c) {
  if (size > size_) {
    append(size - size_, c);
  } else if (capacity_ != 0) {
    size_ = size;
    data_[size_] = '\0';
  }
}

String String::substr(std::size_t pos, std::size_t count) const {
  if (pos > size_) std::abort();
  return String(View().substr(pos, count));
}

bool operator==(const String& a, std::string_view b) noexcept { return a.View() == b; }

String String::Join(std::string_view a, std::string_view b) {
  String text;
  text.Grow(a.size() + b.size());
  text.append(a);
  text.append(b);
  return text;
}

}  // namespace pelorin

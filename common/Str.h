#pragma once

#include <concepts>
#include <cstddef>
#include <cstdlib>
#include <iterator>
#include <string_view>
#include <type_traits>
#include <utility>

namespace pelorin {

class String;

// Text of another type (std::string, a view's owner) that a String takes over by copying;
// mainly for tests and tools.
template <class Text>
concept ForeignText = !std::same_as<Text, String> && std::is_convertible_v<const Text&, std::string_view> &&
                      !std::is_convertible_v<const Text&, const char*>;

// A growable, NUL-terminated byte string on the heap, standing in for std::string, whose
// inlined short-string code (construction, destruction and moves at every caller) was a large
// share of the programs' code: here everything longer than a call is one call. An empty string
// that never grew points at a shared "" and owns nothing, so data() and c_str() never return
// null. Running out of memory ends the program, as std::string does without exceptions.
class String {
 public:
  static constexpr std::size_t npos = std::string_view::npos;

  constexpr String() = default;
  String(std::string_view text);
  String(const char* text);
  String(const char* text, std::size_t count) : String(std::string_view(text, count)) {}
  String(std::size_t count, char c);
  template <ForeignText Text>
  String(const Text& text) : String(std::string_view(text)) {}
  String(const String& other);
  String(String&& other) noexcept : data_(other.data_), size_(other.size_), capacity_(other.capacity_) {
    other.data_ = emptyText_;
    other.size_ = other.capacity_ = 0;
  }
  ~String() {
    if (capacity_ != 0) std::free(data_);
  }

  String& operator=(const String& other);
  String& operator=(String&& other) noexcept;
  String& operator=(std::string_view text) { return assign(text); }
  String& operator=(const char* text) { return assign(text); }
  template <ForeignText Text>
  String& operator=(const Text& text) {
    return assign(std::string_view(text));
  }
  String& operator=(char c) { return assign(std::string_view(&c, 1)); }

  operator std::string_view() const noexcept { return {data_, size_}; }

  const char* c_str() const noexcept { return data_; }
  const char* data() const noexcept { return data_; }
  char* data() noexcept { return data_; }
  std::size_t size() const noexcept { return size_; }
  std::size_t length() const noexcept { return size_; }
  bool empty() const noexcept { return size_ == 0; }
  char& operator[](std::size_t i) noexcept { return data_[i]; }
  char operator[](std::size_t i) const noexcept { return data_[i]; }
  char& front() noexcept { return data_[0]; }
  char front() const noexcept { return data_[0]; }
  char& back() noexcept { return data_[size_ - 1]; }
  char back() const noexcept { return data_[size_ - 1]; }
  char* begin() noexcept { return data_; }
  char* end() noexcept { return data_ + size_; }
  const char* begin() const noexcept { return data_; }
  const char* end() const noexcept { return data_ + size_; }
  std::reverse_iterator<const char*> rbegin() const noexcept { return std::reverse_iterator(end()); }
  std::reverse_iterator<const char*> rend() const noexcept { return std::reverse_iterator(begin()); }

  // Every change is a replacement of `count` characters at `pos` (clipped to the end; a `pos`
  // beyond the end ends the program). `text` may lie inside this string.
  String& replace(std::size_t pos, std::size_t count, std::string_view text);
  String& assign(std::string_view text) { return replace(0, npos, text); }
  String& assign(const char* text, std::size_t count) { return assign(std::string_view(text, count)); }
  String& append(std::string_view text) { return replace(size_, 0, text); }
  String& append(std::size_t count, char c);
  String& append(const char* text, std::size_t count) { return append(std::string_view(text, count)); }
  String& insert(std::size_t pos, std::string_view text) { return replace(pos, 0, text); }
  String& insert(std::size_t pos, std::size_t count, char c) { return replace(pos, 0, String(count, c)); }
  String& erase(std::size_t pos = 0, std::size_t count = npos) { return replace(pos, count, {}); }
  String& operator+=(std::string_view text) { return append(text); }
  String& operator+=(char c) { return append(1, c); }
  void push_back(char c) { append(1, c); }
  void pop_back() noexcept { data_[--size_] = '\0'; }
  void clear() noexcept { resize(0); }
  void resize(std::size_t size, char c = '\0');
  void reserve(std::size_t capacity);
  void swap(String& other) noexcept;
  String substr(std::size_t pos = 0, std::size_t count = npos) const;

  bool starts_with(std::string_view text) const noexcept { return View().starts_with(text); }
  bool starts_with(char c) const noexcept { return size_ != 0 && data_[0] == c; }
  bool ends_with(std::string_view text) const noexcept { return View().ends_with(text); }
  bool ends_with(char c) const noexcept { return size_ != 0 && data_[size_ - 1] == c; }
  std::size_t find(std::string_view text, std::size_t pos = 0) const noexcept { return View().find(text, pos); }
  std::size_t find(char c, std::size_t pos = 0) const noexcept { return View().find(c, pos); }
  std::size_t rfind(std::string_view text, std::size_t pos = npos) const noexcept { return View().rfind(text, pos); }
  std::size_t rfind(char c, std::size_t pos = npos) const noexcept { return View().rfind(c, pos); }
  std::size_t find_first_of(std::string_view set, std::size_t pos = 0) const noexcept {
    return View().find_first_of(set, pos);
  }
  std::size_t find_first_not_of(std::string_view set, std::size_t pos = 0) const noexcept {
    return View().find_first_not_of(set, pos);
  }
  std::size_t find_last_of(std::string_view set, std::size_t pos = npos) const noexcept {
    return View().find_last_of(set, pos);
  }
  std::size_t find_last_not_of(std::string_view set, std::size_t pos = npos) const noexcept {
    return View().find_last_not_of(set, pos);
  }
  int compare(std::string_view text) const noexcept { return View().compare(text); }

  // Exact matches for every kind of right-hand side, so that neither operand needs a
  // conversion and no reversed candidate competes.
  friend bool operator==(const String& a, std::string_view b) noexcept;
  friend bool operator==(const String& a, const String& b) noexcept { return a == std::string_view(b); }
  friend bool operator==(const String& a, const char* b) noexcept { return a == std::string_view(b); }
  friend bool operator<(const String& a, const String& b) noexcept { return a.View() < b.View(); }
  friend String operator+(std::string_view a, std::string_view b) { return Join(a, b); }
  friend String operator+(std::string_view a, char b) { return Join(a, std::string_view(&b, 1)); }
  friend String operator+(char a, std::string_view b) { return Join(std::string_view(&a, 1), b); }

 private:
  std::string_view View() const noexcept { return {data_, size_}; }
  static String Join(std::string_view a, std::string_view b);
  void Grow(std::size_t size);

  static char emptyText_[1];
  char* data_ = emptyText_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;  // 0: data_ is emptyText_ and nothing is owned
};

}  // namespace pelorin

#include "VersionResource.h"

#include <algorithm>
#include <cstdint>

namespace pelorin {

namespace {

constexpr std::uint32_t kFixedSignature = 0xFEEF04BD;

struct Node {
  std::string_view key;       // UTF-16 bytes, without the terminating zero
  std::string_view value;     // as stored; text values are UTF-16
  std::string_view children;  // the child nodes, one after another
};

unsigned Word(std::string_view bytes, std::size_t at) {
  return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}

std::size_t Aligned(std::size_t at) { return (at + 3) & ~std::size_t{3}; }

// The node at the start of `bytes`; its whole length goes to `length`. False when damaged.
bool ReadNode(std::string_view bytes, Node& node, std::size_t& length) {
  if (bytes.size() < 6) return false;
  length = Word(bytes, 0);
  if (length < 6 || length > bytes.size()) return false;
  const std::string_view whole = bytes.substr(0, length);
  const bool text = Word(whole, 4) == 1;
  std::size_t at = 6;
  while (at + 1 < whole.size() && Word(whole, at) != 0) at += 2;
  if (at + 1 >= whole.size()) return false;
  node.key = whole.substr(6, at - 6);
  at = Aligned(at + 2);
  const std::size_t valueLength = Word(whole, 2) * (text ? 2u : 1u);
  if (at > whole.size() || valueLength > whole.size() - at) return false;
  node.value = whole.substr(at, valueLength);
  at = Aligned(at + valueLength);
  node.children = at < whole.size() ? whole.substr(at) : std::string_view();
  return true;
}

bool KeyIs(std::string_view key, std::string_view ascii) {
  if (key.size() != ascii.size() * 2) return false;
  for (std::size_t i = 0; i < ascii.size(); ++i)
    if (Word(key, i * 2) != static_cast<unsigned char>(ascii[i])) return false;
  return true;
}

// Calls `visit` for each child node of `children` until it returns true.
template <typename Visit>
void EachChild(std::string_view children, Visit visit) {
  while (!children.empty()) {
    Node node;
    std::size_t length = 0;
    if (!ReadNode(children, node, length) || visit(node)) return;
    children.remove_prefix(std::min(Aligned(length), children.size()));
  }
}

}  // namespace

VersionBlock ParseVersionResource(std::string_view bytes) {
  VersionBlock block;
  Node root;
  std::size_t length = 0;
  if (!ReadNode(bytes, root, length) || !KeyIs(root.key, "VS_VERSION_INFO")) return block;
  if (root.value.size() >= 16 && (Word(root.value, 0) | Word(root.value, 2) << 16) == kFixedSignature) {
    block.major = Word(root.value, 10);     // dwFileVersionMS, high word
    block.minor = Word(root.value, 8);      // dwFileVersionMS, low word
    block.revision = Word(root.value, 12);  // dwFileVersionLS, low word
  }
  EachChild(root.children, [&](const Node& info) {
    if (!KeyIs(info.key, "StringFileInfo")) return false;
    EachChild(info.children, [&](const Node& table) {
      EachChild(table.children, [&](const Node& entry) {
        if (!KeyIs(entry.key, "ProductName")) return false;
        for (std::size_t i = 0; i + 1 < entry.value.size(); i += 2) {
          const unsigned c = Word(entry.value, i);
          if (c == 0) break;
          block.productName += c < 0x80 ? static_cast<char>(c) : '?';
        }
        return true;
      });
      return true;
    });
    return true;
  });
  return block;
}

}  // namespace pelorin

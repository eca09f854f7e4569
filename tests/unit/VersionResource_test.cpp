#include "VersionResource.h"

#include <gtest/gtest.h>

#include "support/StringPrinting.h"

namespace pelorin {
namespace {

String Utf16(const String& ascii) {
  String bytes;
  for (char c : ascii) {
    bytes += c;
    bytes += '\0';
  }
  return bytes + String(2, '\0');
}

void Pad(String& bytes) { bytes.resize((bytes.size() + 3) & ~std::size_t{3}, '\0'); }

// One node as the resource compiler writes it; `text` values count UTF-16 characters.
String Node(const String& key, const String& value, bool text, const String& children = "") {
  String bytes(6, '\0');
  bytes += Utf16(key);
  Pad(bytes);
  bytes += value;
  Pad(bytes);
  bytes += children;
  const std::size_t valueLength = text ? value.size() / 2 : value.size();
  bytes[0] = static_cast<char>(bytes.size() & 0xFF);
  bytes[1] = static_cast<char>(bytes.size() >> 8);
  bytes[2] = static_cast<char>(valueLength & 0xFF);
  bytes[3] = static_cast<char>(valueLength >> 8);
  bytes[4] = text ? 1 : 0;
  return bytes;
}

String Fixed(unsigned major, unsigned minor, unsigned revision) {
  String bytes(52, '\0');
  const unsigned words[] = {0x04BD, 0xFEEF, 0, 1, minor, major, revision, 0};
  for (int i = 0; i < 8; ++i) {
    bytes[i * 2] = static_cast<char>(words[i] & 0xFF);
    bytes[i * 2 + 1] = static_cast<char>(words[i] >> 8);
  }
  return bytes;
}

TEST(VersionResource, ReadsTheFileVersionAndProductName) {
  const String strings = Node("040904b0", "", true,
                                   Node("FileVersion", Utf16("1.2.16"), true) + Node("ProductName", Utf16("Pelorin"), true));
  const String whole = Node("VS_VERSION_INFO", Fixed(1, 2, 16), false,
                                 Node("StringFileInfo", "", true, strings) + Node("VarFileInfo", "", true));
  const VersionBlock block = ParseVersionResource(whole);
  EXPECT_EQ(block.productName, "Pelorin");
  EXPECT_EQ(block.major, 1u);
  EXPECT_EQ(block.minor, 2u);
  EXPECT_EQ(block.revision, 16u);
  // Damaged: every cut of it, a wrong key, a node longer than the bytes, and nothing at all.
  for (std::size_t size = 0; size < whole.size(); ++size) ParseVersionResource(std::string_view(whole).substr(0, size));
  EXPECT_EQ(ParseVersionResource(Node("VS_VERSION_INFX", Fixed(1, 2, 16), false)).major, 0u);
  String longer = whole;
  longer[1] = '\x7F';
  EXPECT_EQ(ParseVersionResource(longer).productName, "");
  EXPECT_EQ(ParseVersionResource("").productName, "");
}

}  // namespace
}  // namespace pelorin

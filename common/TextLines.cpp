#include "TextLines.h"

namespace pelorin {

std::vector<String> SplitLines(std::string_view text) {
  std::vector<String> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\r', start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
    if (start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

String JoinLines(const std::vector<String>& lines) {
  String text;
  for (const auto& line : lines) text.append(line).append("\r\n");
  return text;
}

}  // namespace pelorin

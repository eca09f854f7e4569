#include "StoredButtons.h"

#include <algorithm>

#include "DecimalText.h"
#include "TextLines.h"

namespace pelorin {

namespace {

std::string_view NextWord(std::string_view& rest) {
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  std::size_t end = 0;
  if (!rest.empty() && rest.front() == '"') {
    end = rest.find('"', 1);
    if (end == std::string_view::npos) return {};
    const std::string_view word = rest.substr(1, end - 1);
    rest.remove_prefix(end + 1);
    return word;
  }
  end = rest.find(' ');
  const std::string_view word = rest.substr(0, end);
  rest.remove_prefix(end == std::string_view::npos ? rest.size() : end);
  return word;
}

std::optional<double> ParseNumber(std::string_view word) { return ParseDecimal(word); }

template <class T>
std::optional<PropertyValue> Wrapped(const std::optional<T>& value) {
  if (!value) return std::nullopt;
  return PropertyValue(*value);
}

std::optional<PropertyValue> ParseValue(std::string_view type, std::string_view rest,
                                        PictureLoader loadPicture) {
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  if (type == "text") return PropertyValue(String(rest));
  if (type == "picture") {
    PictureRef picture = loadPicture(rest);
    if (!picture) return std::nullopt;
    return PropertyValue(picture);
  }
  if (type == "font") {
    const FontRef font(new FontObject);
    font->name = NextWord(rest);
    const auto size = ParseNumber(NextWord(rest));
    const auto weight = ParseNumber(NextWord(rest));
    const auto italic = ParseNumber(NextWord(rest));
    const auto underline = ParseNumber(NextWord(rest));
    const auto strikethrough = ParseNumber(NextWord(rest));
    if (font->name.empty() || !size || !weight || !italic || !underline || !strikethrough) return std::nullopt;
    const auto points = FloatInRange(*size);
    const auto boldness = WholeInRange<std::int32_t>(*weight);
    if (!points || !boldness) return std::nullopt;
    font->size = *points;
    font->weight = *boldness;
    font->italic = *italic != 0;
    font->underline = *underline != 0;
    font->strikethrough = *strikethrough != 0;
    return PropertyValue(font);
  }
  const auto number = ParseNumber(rest);
  if (!number) return std::nullopt;
  // A number that does not fit its type is refused, as the property setters refuse one.
  if (type == "int16") return Wrapped(WholeInRange<std::int16_t>(*number));
  if (type == "int32") {
    // Colours may be stored unsigned: 2147483663 is the system colour 0x8000000F.
    if (const auto colour = WholeInRange<std::uint32_t>(*number)) return PropertyValue(static_cast<std::int32_t>(*colour));
    return Wrapped(WholeInRange<std::int32_t>(*number));
  }
  if (type == "bool") return PropertyValue(*number != 0);
  if (type == "float") return Wrapped(FloatInRange(*number));
  return std::nullopt;
}

}  // namespace

const PropertyStore* FindButton(const StoredButtons& buttons, std::string_view name) {
  for (const auto& [instance, store] : buttons)
    if (instance == name) return &store;
  return nullptr;
}

std::optional<StoredButtons> ParseStoredButtons(std::string_view text, PictureLoader loadPicture,
                                                String& error) {
  StoredButtons buttons;
  PropertyStore* current = nullptr;
  int number = 0;
  for (const String& line : SplitLines(text)) {
    ++number;
    if (line.empty() || line.front() == '#') continue;
    if (line.front() == '[' && line.back() == ']') {
      const String name = line.substr(1, line.size() - 2);
      const auto found = std::find_if(buttons.begin(), buttons.end(), [&](const auto& b) { return b.first == name; });
      current = found != buttons.end() ? &found->second : &buttons.emplace_back(name, PropertyStore()).second;
      continue;
    }
    std::string_view rest = line;
    const std::string_view key = NextWord(rest);
    const std::string_view type = NextWord(rest);
    const auto value = current ? ParseValue(type, rest, loadPicture) : std::nullopt;
    if (!value) {
      error = "line " + std::to_string(number) + ": " + line;
      return std::nullopt;
    }
    current->Set(key, *value);
  }
  return buttons;
}

}  // namespace pelorin

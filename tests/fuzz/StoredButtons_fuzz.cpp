// Feeds arbitrary text to the stored button data reader and reads every instance it accepts
// into a button: nothing may crash or overflow, and an instance that reads must write and
// read back to the same properties.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "Button.h"
#include "StoredButtons.h"

namespace {

class QuietHost : public pelorin::ButtonHost {
 public:
  void PropertyChanged(std::string_view) override {}
  pelorin::FontRef AmbientFont() override { return ambient_; }
  void MeasureCaption(const pelorin::String& text, const pelorin::FontObject&, float& width, float& height) override {
    width = 90.0f * static_cast<float>(text.size());
    height = 195;
  }
  void SizeChanged(float, float) override {}

 private:
  pelorin::FontRef ambient_ = pelorin::FontRef(new pelorin::FontObject);
};

pelorin::PictureRef LoadPicture(std::string_view name) {
  if (name == "empty") return pelorin::EmptyPicture();
  if (name != "face") return nullptr;
  return pelorin::PictureRef(new pelorin::PictureObject{3, 2, std::vector<pelorin::Pixel>(6, 0)});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  pelorin::String error;
  const auto buttons = pelorin::ParseStoredButtons(std::string_view(reinterpret_cast<const char*>(data), size),
                                                   LoadPicture, error);
  if (!buttons) return 0;
  for (const auto& [name, store] : *buttons) {
    QuietHost host;
    pelorin::Button button(host);
    if (button.ReadProperties(store)) continue;
    pelorin::PropertyStore written;
    button.WriteProperties(written);
    pelorin::Button copy(host);
    if (copy.ReadProperties(written)) std::abort();
    if (copy.Caption() != button.Caption() || copy.BackColor() != button.BackColor() ||
        copy.ForeColor() != button.ForeColor() || copy.Enabled() != button.Enabled() ||
        copy.Width() != button.Width() || copy.Height() != button.Height())
      std::abort();
    button.Press(pelorin::Button::Source::kSurface, 1, 0, 10, 10);
    button.Release(pelorin::Button::Source::kSurface, 1, 0, 10, 10);
  }
  return 0;
}

// A window that holds one image button, read from stored button data named on the command
// line, over a magenta background: the control on its own, for the end-to-end tests. Its
// title turns to "ButtonHost clicked" when the button raises Click.
#include <windows.h>

#include <memory>
#include <string>

#include "ImageButton_win.h"
#include "StoredButtons.h"
#include "Window_win.h"

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);

std::string FileText(const char* path) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string text(GetFileSize(file, nullptr), '\0');
  DWORD got = 0;
  ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &got, nullptr);
  CloseHandle(file);
  text.resize(got);
  return text;
}

void FillMagenta(HDC dc, HWND window) {
  RECT client;
  GetClientRect(window, &client);
  HBRUSH brush = CreateSolidBrush(kMagenta);
  FillRect(dc, &client, brush);
  DeleteObject(brush);
}

class HostWindow : public pelorin::win::Window, public pelorin::win::ImageButtonListener {
 public:
  bool Open(const pelorin::PropertyStore& store) {
    RegisterWindowClass("PelorinButtonHost");
    if (Create(0, "PelorinButtonHost", "ButtonHost", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100, 100, 200,
               100, nullptr) == nullptr)
      return false;
    button_ = std::make_unique<pelorin::win::ImageButton>(Handle(), 1, 20, 20, *this);
    button_->SetExtents(1720, 503);
    return !button_->ReadProperties(store);
  }

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(Handle(), &paint);
        FillMagenta(dc, Handle());
        EndPaint(Handle(), &paint);
        return 0;
      }
      case WM_PRINTCLIENT:
        FillMagenta(reinterpret_cast<HDC>(wParam), Handle());
        return 0;
      case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
      default:
        return Window::OnMessage(message, wParam, lParam);
    }
  }

 private:
  void OnImageButtonClick(int) override { SetWindowTextA(Handle(), "ButtonHost clicked"); }

  std::unique_ptr<pelorin::win::ImageButton> button_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
  pelorin::String error;
  const auto buttons = pelorin::ParseStoredButtons(
      FileText(arguments), [](std::string_view) { return pelorin::PictureRef(); }, error);
  if (!buttons) return 2;
  const pelorin::PropertyStore* button = pelorin::FindButton(*buttons, "button");
  if (!button) return 2;
  HostWindow window;
  if (!window.Open(*button)) return 3;
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}

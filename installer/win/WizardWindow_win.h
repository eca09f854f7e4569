#pragma once

#include <windows.h>

#include <string>

#include "FileSystem.h"
#include "GdiObject_win.h"
#include "SetupData.h"
#include "Window_win.h"

namespace pelorin::win {

// The setup wizard: side picture and the licence page, filled from the setup data.
class WizardWindow : public Window {
 public:
  explicit WizardWindow(FileSystem& files) : files_(files) {}

  // Creates the window, hidden, with the caption and the setup information's company line.
  bool Open(const SetupInfo& info, HICON icon);

  // Appends a text file's lines to the licence box; a missing file leaves it as it is.
  void LoadLic(const std::string& path);
  // The same for the readme box; a missing file hides the box instead.
  void LoadReadme(const std::string& path);
  void LoadSidePicture(const std::string& path);
  void Show() { ShowWindow(Handle(), SW_SHOWNORMAL); }

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  bool ReadLines(const std::string& path, std::string& joined);

  FileSystem& files_;
  HWND licence_ = nullptr;
  HWND readme_ = nullptr;
  GdiObject<HBITMAP> sidePicture_;
  HFONT font_ = nullptr;  // a stock font: not ours to delete
};

}  // namespace pelorin::win

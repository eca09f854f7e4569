#pragma once

#include <windows.h>

#include "Str.h"

#include "FileSystem.h"
#include "GdiObject_win.h"
#include "InstallFolder.h"
#include "InstallScope.h"
#include "ScaledWindow_win.h"
#include "SetupData.h"

namespace pelorin::win {

// What the user chose on the wizard's last page.
struct WizardChoice {
  String installPath;
  bool runAfterInstall = false;
  InstallScope scope = InstallScope::kMachine;
};

// The folder the path page proposes for each scope.
struct ProposedFolders {
  String forMachine;
  String forUser;
};

// The setup wizard: side picture and three pages (licence, install path, readme with the
// run box). Enter presses the page's forward button, Esc its Cancel or Back button. The
// message loop ends when the wizard is cancelled or Install is pressed; after Install the
// window stays, hidden, until the installation is over.
class WizardWindow : public ScaledWindow {
 public:
  explicit WizardWindow(FileSystem& files) : files_(files) {}

  // Creates the window, hidden, with the caption, the company line, the scope's folder on
  // the path page (with the choice of scope where `scope` offers it), and the start page.
  bool Open(const SetupInfo& info, ProposedFolders folders, const ScopeChoice& scope, HICON icon);

  // Appends a text file's lines to the licence box; a missing file (null) leaves it as it is.
  void LoadLic(const String* text);
  // The same for the readme box; a missing file hides the box instead.
  void LoadReadme(const String* text);
  // A BMP file's bytes; anything but a plain, whole bitmap shows no picture.
  void LoadSidePicture(const String* bytes);
  void Show() { ShowWindow(Handle(), SW_SHOWNORMAL); }

  // Keys the wizard takes before the dialog keys: Esc on any of its controls.
  bool PreTranslate(const MSG& message);

  // Set once Install has been pressed; null before.
  const WizardChoice* Choice() const { return chosen_ ? &choice_ : nullptr; }

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  static constexpr int kPages = 3;

  void ShowPage(int page);
  void FocusPage();
  void OnCommand(int id);
  bool TakeInstallFolder();
  void Forward();
  void BackOrCancel();
  void Browse();
  void TakeScope(InstallScope scope);
  // The folder proposed for the scope chosen.
  const String& Proposed() const;
  // The folder the install would own for `folder` in the scope chosen (ChooseInstallFolder).
  InstallFolderChoice ChooseFolder(const String& folder);

  FileSystem& files_;
  String appName_;
  int page_ = 0;
  bool readmeShown_ = true;
  bool runBoxShown_ = false;
  bool chosen_ = false;
  WizardChoice choice_;
  ProposedFolders folders_;
  InstallScope scope_ = InstallScope::kMachine;
  bool scopeShown_ = false;
  HWND licence_ = nullptr;
  HWND readme_ = nullptr;
  HWND path_ = nullptr;
  HWND runBox_ = nullptr;
  GdiObject<HBITMAP> sidePicture_;
};

}  // namespace pelorin::win

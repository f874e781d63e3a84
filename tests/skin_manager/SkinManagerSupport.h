// Helpers of the skin manager's tests: the message dialogs the manager shows
// (read and closed through a window-creation hook), a skin directory of skins
// made by the test, and managers made in code.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "../skin_data/SkinFixture.h"
#include "classlib/ui/Dialogs.h"
#include "classlib/ui/StdCtrls.h"
#include "skin/core/acSkinPack.h"
#include "skin/core/sSkinManager.h"

namespace skintest {

// Reads the text of every message dialog of the thread (the class library's
// message form or a system message box) as it becomes active and closes it.
class TDialogWatcher {
 public:
  TDialogWatcher() {
    Current() = this;
    FHook = SetWindowsHookExW(WH_CBT, Proc, nullptr, GetCurrentThreadId());
  }
  ~TDialogWatcher() {
    UnhookWindowsHookEx(FHook);
    Current() = nullptr;
  }
  TDialogWatcher(const TDialogWatcher&) = delete;
  TDialogWatcher& operator=(const TDialogWatcher&) = delete;

  std::vector<AnsiString> Texts;
  bool Shown(const AnsiString& part) const {
    for (const AnsiString& t : Texts)
      if (t.find(part) != AnsiString::npos) return true;
    return false;
  }

 private:
  static TDialogWatcher*& Current() {
    static TDialogWatcher* current = nullptr;
    return current;
  }
  static LRESULT CALLBACK Proc(int code, WPARAM w, LPARAM l) {
    if (code == HCBT_ACTIVATE && Current()) {
      HWND wnd = reinterpret_cast<HWND>(w);
      wchar_t cls[64] = {};
      GetClassNameW(wnd, cls, 64);
      if (std::wstring(cls) == L"TMessageForm") {
        AnsiString text = "?";
        if (auto* form = dynamic_cast<TForm*>(FindControl(wnd)))
          if (auto* label = dynamic_cast<TLabel*>(form->FindComponent("Message"))) text = label->Caption();
        Current()->Texts.push_back(text);
        PostMessageW(wnd, WM_CLOSE, 0, 0);
      } else if (std::wstring(cls) == L"#32770") {
        // A system message box: its text is the static of id 0xFFFF.
        wchar_t text[1024] = {};
        GetDlgItemTextW(wnd, 0xFFFF, text, 1024);
        char ansi[2048] = {};
        WideCharToMultiByte(1251, 0, text, -1, ansi, sizeof ansi, nullptr, nullptr);
        Current()->Texts.push_back(ansi);
        PostMessageW(wnd, WM_COMMAND, IDOK, 0);
      }
    }
    return CallNextHookEx(nullptr, code, w, l);
  }
  HHOOK FHook = nullptr;
};

inline AnsiString Ansi(const std::filesystem::path& p) { return p.string(); }

// The text of a skin whose BUTTON section has the colour Color.
inline std::string SkinText(int color, const std::string& version = "8.00", const std::string& more = "") {
  return "[GLOBALINFO]\r\nVERSION=" + version + "\r\nMASTERBITMAP=MASTER.BMP\r\n" + more + "[BUTTON]\r\nCOLOR=" +
         std::to_string(color) + "\r\n";
}

// A skin directory of the test's own.
class TSkinDir {
 public:
  TSkinDir() : FDir("skins") {}
  const std::filesystem::path& Path() const { return FDir.Path; }
  // A skin folder Name with the text and a 96 x 96 master.
  void Folder(const std::string& name, const std::string& text,
              const skinfixture::TPicture& master = skinfixture::TPicture(96, 96, 0x808080),
              const std::map<std::string, std::string>& files = {}) {
    skinfixture::WriteFile(FDir.Path / name / "Options.dat", text);
    skinfixture::WriteFile(FDir.Path / name / "MASTER.BMP", skinfixture::BmpFile(master));
    for (const auto& [file, bytes] : files) skinfixture::WriteFile(FDir.Path / name / file, bytes);
  }
  // A packed skin file File of the skin folder Name (the folder stays when Keep).
  void Pack(const std::string& name, const std::string& file, bool keep = false) {
    PackDir(Ansi(FDir.Path / name) + "\\", Ansi(FDir.Path / file));
    if (!keep) std::filesystem::remove_all(FDir.Path / name);
  }
  void File(const std::string& name, const std::string& bytes) { skinfixture::WriteFile(FDir.Path / name, bytes); }

 private:
  skinfixture::TTempDir FDir;
};

// A manager made in code with its skin directory (no skin loaded yet).
inline TsSkinManager* NewManager(const TSkinDir& dir) {
  auto* m = Create<TsSkinManager>(nullptr);
  m->SetSkinDirectory(Ansi(dir.Path()));
  return m;
}

// A manager that has loaded the skin folder Name written with Text.
inline TsSkinManager* LoadFolderSkin(TSkinDir& dir, const std::string& name, const std::string& text) {
  dir.Folder(name, text);
  TsSkinManager* m = NewManager(dir);
  m->SetSkinName(name);
  return m;
}

inline Integer ButtonColor(TsSkinManager* m) {
  const Integer i = m->GetSkinIndex("BUTTON");
  return i < 0 ? -1 : m->Sections[static_cast<size_t>(i)].Props[0].Color;
}

}  // namespace skintest

// The monitor's menus under its skin: the main window's system menu with the
// list of skins (a choice is loaded and kept in the settings file) and the
// drop-down of its menu line, both drawn by the skinned menu painter.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "MonitorHost.h"
#include "classlib/ui/WinApi.h"
#include "skin/core/sConst.h"
#include "skin/forms/sSkinProvider.h"
#include "skin/forms/sSystemMenu.h"
// After the class library, whose names the system's macros would take.
#include "../skin_menus/MenuSteps.h"

using namespace monitortest;

namespace {

const char kOneChannel[] =
    "[Settings]\r\nDataSource0=[0]\r\nMODBUS_address0=01\r\n[ComPort1]\r\nPort=COM5\r\nBaudRate=115200\r\n";

// The folder "Skins" beside the program with Count listed skin folders
// ("Extra00" ...), removed after the test.
class TExtraSkins {
 public:
  explicit TExtraSkins(int Count)
      : FDir(std::filesystem::path(winapi::W(ExtractFilePath(Application->ExeName()))) / "Skins") {
    std::filesystem::remove_all(FDir);
    for (int i = 0; i < Count; ++i) {
      const std::string name = std::string("Extra") + (i < 10 ? "0" : "") + std::to_string(i);
      std::filesystem::create_directories(FDir / name);
      std::ofstream(FDir / name / "Options.dat") << "[GLOBALINFO]\r\nVERSION=8.00\r\n";
    }
  }
  ~TExtraSkins() { std::filesystem::remove_all(FDir); }

 private:
  std::filesystem::path FDir;
};

TsSkinProvider* MainProvider() { return dynamic_cast<TsSkinProvider*>(Form1->FindComponent("sSkinProvider1")); }

void ShotOfScreen(const std::string& Name) {
  CreateDirectoryW(testsupport::WinPath(testsupport::HostBuildDir() + "/screenshots").c_str(), nullptr);
  CreateDirectoryW(testsupport::WinPath(testsupport::HostBuildDir() + "/screenshots/menus").c_str(), nullptr);
  testsupport::Screenshot(GetDesktopWindow(), "menus/" + Name);
}

TEST(MonitorMenus, TheSystemMenuListsTheSkinsAndTheChoiceIsLoadedAndKept) {
  TExtraSkins extra(38);  // with the seven stored ones: 45 names
  MonitorHost::WriteSettings(kOneChannel);
  MonitorHost host({"XBV5:1:115200:N"});
  host.Start();
  ASSERT_TRUE(host.PumpUntil([] { return FirstLoadDone; }, 5000));
  TsSkinProvider* provider = MainProvider();
  ASSERT_NE(provider, nullptr);
  const AnsiString current = Form1->sSkinManager1->SkinName();
  struct TSeen {
    AnsiString FirstName, FirstCaption, Second;
    std::vector<AnsiString> Names;
    std::vector<int> Breaks, Checked;
    bool Served = false;
  } seen;
  RECT r{};
  GetWindowRect(Form1->Handle(), &r);
  const int steps = menutest::RunMenuSteps(
      [&] { menutest::RightClickAt(r.left + 120, r.top + GetSystemMetrics(SM_CYCAPTION) / 2 + 3); },
      {
          [&](HWND Wnd) {
            seen.Served = testsupport::ServedBySkinEngine(Wnd);
            TMenuItem* items = provider->SystemMenu->Items();
            seen.FirstName = items->Items(0)->Name();
            seen.FirstCaption = items->Items(0)->Caption();
            seen.Second = items->Items(1)->Caption();
            TMenuItem* list = items->Items(0);
            for (int i = 0; i < list->Count(); ++i) {
              seen.Names.push_back(list->Items(i)->Caption());
              if (list->Items(i)->Break() != mbNone) seen.Breaks.push_back(i);
              if (list->Items(i)->Checked()) seen.Checked.push_back(i);
            }
            menutest::MenuScreenshot(Wnd, "main-system-menu");
            menutest::PressKeys({VK_DOWN, VK_RIGHT});
          },
          [&](HWND) {
            ShotOfScreen("main-system-menu-skins");
            menutest::PressKey(VK_RETURN);  // the first name: "Aluminium (internal)"
          },
      });
  EXPECT_EQ(steps, 2);
  EXPECT_TRUE(seen.Served);
  EXPECT_EQ(seen.FirstName, "SkinSelectItem");
  EXPECT_EQ(seen.FirstCaption, acs_AvailSkins);
  EXPECT_EQ(seen.Second, "-");
  ASSERT_EQ(seen.Names.size(), 45u);
  int internal = 0;
  for (const AnsiString& n : seen.Names) internal += n.size() > 11 && n.substr(n.size() - 11) == " (internal)";
  EXPECT_EQ(internal, 7);
  EXPECT_EQ(seen.Names.front(), "Aluminium (internal)");
  EXPECT_EQ(seen.Breaks, (std::vector<int>{20, 40}));
  ASSERT_EQ(seen.Checked.size(), 1u);
  EXPECT_EQ(seen.Names[static_cast<size_t>(seen.Checked[0])], current);
  ASSERT_TRUE(host.PumpUntil([] { return Form1->sSkinManager1->SkinName() == "Aluminium (internal)"; }, 3000));
  EXPECT_NE(MonitorHost::ReadSettings().find("Skin=Aluminium (internal)"), std::string::npos);
}

TEST(MonitorMenus, TheSettingsDropDownIsDrawnFromTheSkin) {
  MonitorHost::WriteSettings(kOneChannel);
  MonitorHost host({"XBV5:1:115200:N"});
  host.Start();
  ASSERT_TRUE(host.PumpUntil([] { return FirstLoadDone; }, 5000));
  auto* settings = dynamic_cast<TMenuItem*>(Form1->FindComponent("N1"));
  ASSERT_NE(settings, nullptr);
  ASSERT_EQ(settings->Caption(), Cp("Настройки"));
  RECT item{};
  ASSERT_TRUE(GetMenuItemRect(Form1->Handle(), GetMenu(Form1->Handle()), 0, &item));
  bool served = false;
  int drawn = 0;
  const int steps = menutest::RunMenuSteps([&] { menutest::LeftClickAt((item.left + item.right) / 2, (item.top + item.bottom) / 2); },
                                           {[&](HWND Wnd) {
                                             served = testsupport::ServedBySkinEngine(Wnd);
                                             drawn = GetMenuItemCount(settings->Handle());
                                             menutest::MenuScreenshot(Wnd, "main-settings-drop-down");
                                             ShotOfScreen("main-settings-open");
                                           }});
  EXPECT_EQ(steps, 1);
  EXPECT_TRUE(served) << "the drop-down is a skinned pop-up";
  EXPECT_EQ(drawn, settings->Count());
}

}  // namespace

// The monitor's skins under Wine: the seven stored skins of the main form,
// the skin the settings file names, and the skin dialog "Оформление".
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "../skin_core/MessageCounter.h"
#include "MonitorHost.h"
#include "SkinManagerSupport.h"
#include "app/CalibrDialog.h"
#include "app/ChannelPanelSetup.h"
#include "app/GnrlSetDlg.h"
#include "app/Unit2.h"
#include "app/XBV18panel.h"
#include "app/msgForm.h"
#include "app/setPeriod.h"
#include "app/skinSelectDlgU.h"
#include "classlib/ui/WinApi.h"

using namespace monitortest;

namespace {

const char kOneChannel[] =
    "[Settings]\r\nDataSource0=[0]\r\nMODBUS_address0=01\r\n[ComPort1]\r\nPort=COM5\r\nBaudRate=115200\r\n";

std::string ReadFile(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

// The folder "Skins" beside the program, made for one test and removed after it.
class TSkinsBesideTheProgram {
 public:
  TSkinsBesideTheProgram() : FDir(std::filesystem::path(winapi::W(ExtractFilePath(Application->ExeName()))) / "Skins") {
    std::filesystem::remove_all(FDir);
    std::filesystem::create_directories(FDir);
  }
  ~TSkinsBesideTheProgram() { std::filesystem::remove_all(FDir); }
  const std::filesystem::path& Dir() const { return FDir; }

 private:
  std::filesystem::path FDir;
};

TEST(MonitorSkins, TheFormStartsWithPulsarAndTheFirstLoadTakesTheSettingsSkin) {
  MonitorHost::WriteSettings("");
  MonitorHost host({});
  host.Dialogs().Answer("Не обнаружено подключения", IDNO);
  Application->Initialize();
  CreateMonitorForms();
  ASSERT_NE(Form1->sSkinManager1, nullptr);
  EXPECT_EQ(Form1->sSkinManager1->SkinName(), "Pulsar (internal)");
  EXPECT_EQ(MonitorHost::ReadSettings().find("Skin="), std::string::npos);
  Form1->Show();
  ASSERT_TRUE(host.PumpUntil([] { return FirstLoadDone; }, 5000));
  EXPECT_EQ(Form1->sSkinManager1->SkinName(), "GrayPlastic (internal)");
  EXPECT_NE(MonitorHost::ReadSettings().find("Skin=GrayPlastic (internal)"), std::string::npos);

  TsStoredSkins* stored = Form1->sSkinManager1->InternalSkins();
  EXPECT_EQ(stored->IndexOf("Pulsar (internal)"), 5);
  EXPECT_EQ(stored->IndexOf("pulsar (internal)"), -1);
  std::filesystem::path out = std::filesystem::path(winapi::W(GetCurrentDir())) / "extracted";
  std::filesystem::create_directories(out);
  Form1->sSkinManager1->ExtractInternalSkin("Wood (internal)", winapi::A(out.wstring()));
  std::string extracted = ReadFile(out / "Wood (internal) extracted.asz");
  EXPECT_FALSE(extracted.empty());
  EXPECT_EQ(extracted, ReadFile(std::filesystem::path(DK_STORED_SKINS_DIR) / "Wood.asz"));
}

TEST(MonitorSkins, AnUnknownSkinLoadsTheFirstStoredOneAndKeepsItsName) {
  MonitorHost::WriteSettings("[Settings]\r\nSkin=Nope\r\n" + std::string(kOneChannel).substr(12));
  MonitorHost host({"XBV5:1:115200:N"});
  host.Start();
  ASSERT_TRUE(host.PumpUntil([] { return FirstLoadDone; }, 5000));
  EXPECT_EQ(Form1->sSkinManager1->SkinName(), "Aluminium (internal)");
  EXPECT_NE(MonitorHost::ReadSettings().find("Skin=Aluminium (internal)"), std::string::npos);
}

// The nine forms of the program, each with its window.
std::vector<TCustomForm*> MonitorForms() {
  std::vector<TCustomForm*> forms{Form1,       SetupDLG,          CalibrDlg,   SetingsDlg, setPeriodDlg,
                                  skinSelectDlg, PanelSettingsForm, MessageForm, XBV18};
  for (TCustomForm* f : forms) f->HandleNeeded();
  return forms;
}

TEST(MonitorSkins, EachSkinNameBringsTheNewSkinOnceToEveryForm) {
  MonitorHost::WriteSettings(kOneChannel);
  MonitorHost host({"XBV5:1:115200:N"});
  host.Start();
  ASSERT_TRUE(host.PumpUntil([] { return FirstLoadDone; }, 5000));
  TsSkinManager* manager = Form1->sSkinManager1;
  const std::vector<TCustomForm*> forms = MonitorForms();
  // Another skin, the same one again (as every activation of the main
  // window does), and a third.
  for (const char* name : {"Wood (internal)", "Wood (internal)", "DarkGlass (internal)"}) {
    SCOPED_TRACE(name);
    skincore::TMessageCounter counter;
    manager->SetSkinName(name);
    for (TCustomForm* f : forms)
      EXPECT_EQ(counter.Commands(f->Handle(), ACMD_SKIN_LOADED, reinterpret_cast<LPARAM>(manager)), 1)
          << Utf8(f->Name());
  }
  EXPECT_EQ(manager->SkinName(), "DarkGlass (internal)");
}

// Ends the program's forms as the program does at its end and starts them
// again from the settings file.
void Restart(MonitorHost& host) {
  Form1->Timer1->SetEnabled(false);
  Form1->ComPort1->Close();
  Application->DestroyComponents();
  FirstLoadDone = false;
  host.Start();
}

// Chooses an item of the skin dialog and presses Button ("Установить" or "Отмена").
void ChooseSkin(const AnsiString& Name, const char* Button) {
  MonitorHost::Later(300, [Name, Button] {
    TsListBox* list = skinSelectDlg->skinListBox;
    list->SetItemIndex(list->Items()->IndexOf(Name));
    static_cast<TButton*>(skinSelectDlg->FindComponent(Button))->Click();
  });
  Form1->N6Click(Form1);
}

TEST(MonitorSkins, TheDialogListsEverySkinAndTheChoiceIsKept) {
  TSkinsBesideTheProgram skins;
  std::filesystem::create_directories(skins.Dir() / "Test");
  for (const char* f : {"Options.dat", "MASTER.BMP"})
    std::filesystem::copy_file(std::filesystem::path(DK_SOURCE_SKINS_DIR) / "Neutral2" / f, skins.Dir() / "Test" / f);
  std::filesystem::copy_file(std::filesystem::path(DK_STORED_SKINS_DIR) / "Pulsar.asz", skins.Dir() / "Packed.asz");
  std::ofstream(skins.Dir() / "Broken.asz") << "this is not a packed skin";

  MonitorHost::WriteSettings(kOneChannel);
  MonitorHost host({"XBV5:1:115200:N"});
  host.Start();
  ASSERT_TRUE(host.PumpUntil([] { return FirstLoadDone; }, 5000));
  std::vector<std::string> listed;
  TStrings* items = skinSelectDlg->skinListBox->Items();
  for (int i = 0; i < items->Count(); ++i) listed.push_back(items->Strings(i));
  EXPECT_EQ(listed, (std::vector<std::string>{"Aluminium (internal)", "BlueGlass (internal)", "Broken",
                                              "DarkGlass (internal)", "GrayPlastic (internal)", "Neutral2 (internal)",
                                              "Packed", "Pulsar (internal)", "Test", "Wood (internal)"}));

  MonitorHost::Later(200, [] { testsupport::Screenshot(skinSelectDlg->Handle(), "monitor_skin_dialog"); });
  ChooseSkin("Wood (internal)", "CancelBtn");
  EXPECT_EQ(skinSelectDlg->activeSkinNameLabel->Caption(), "GrayPlastic (internal)");
  EXPECT_EQ(Form1->sSkinManager1->SkinName(), "GrayPlastic (internal)");

  ChooseSkin("Wood (internal)", "OKBtn");
  EXPECT_EQ(Form1->sSkinManager1->SkinName(), "Wood (internal)");
  EXPECT_NE(MonitorHost::ReadSettings().find("Skin=Wood (internal)"), std::string::npos);
  host.Pump(300);  // back at the main window: the load keeps the choice
  EXPECT_EQ(Form1->sSkinManager1->SkinName(), "Wood (internal)");
  EXPECT_EQ(Form1->sSkinManager1->CommonSkinData.Description, "Warm wood frames around cream panels")
      << "a value only Wood's data has";

  Restart(host);
  EXPECT_EQ(Form1->sSkinManager1->SkinName(), "Pulsar (internal)") << "as the form streams it";
  ASSERT_TRUE(host.PumpUntil([] { return FirstLoadDone; }, 5000));
  EXPECT_EQ(Form1->sSkinManager1->SkinName(), "Wood (internal)");
  EXPECT_EQ(Form1->sSkinManager1->CommonSkinData.Description, "Warm wood frames around cream panels");

  {
    skintest::TDialogWatcher watcher;
    ChooseSkin("Broken", "OKBtn");
    host.Pump(300);
    EXPECT_TRUE(watcher.Shown("Loaded data is not a packed skin file"));
  }
  EXPECT_EQ(Form1->sSkinManager1->SkinName(), "Wood (internal)");
  EXPECT_NE(MonitorHost::ReadSettings().find("Skin=Wood (internal)"), std::string::npos);

  ChooseSkin("Test", "OKBtn");
  EXPECT_EQ(Form1->sSkinManager1->SkinName(), "Test");
  EXPECT_NE(MonitorHost::ReadSettings().find("Skin=Test"), std::string::npos);
}

}  // namespace

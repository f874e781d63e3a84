// The skin manager: its defaults, the default manager, stored skins streamed
// from a form, skin versions, recolouring and the engine's texts.
#include <gtest/gtest.h>

#include "SkinManagerSupport.h"
#include "skin/core/sConst.h"
#include "skin/graphics/sAlphaGraph.h"

// after the class library, whose header takes care of the platform macros
#include "TestSupport.h"

using namespace skintest;

// The form that stores skins in its manager (resource TSKINTESTFORM).
class TSkinTestForm : public TForm {
  DK_CLASS(TSkinTestForm, TForm)
 public:
  using TForm::TForm;
  int Loads = 0;
  void ManagerSkinLoading(TObject*) { ++Loads; }
  TsSkinManager* Manager() { return static_cast<TsSkinManager*>(FindComponent("sSkinManager1")); }
};
DK_PUBLISH(TSkinTestForm) { P.Method("ManagerSkinLoading", &TSkinTestForm::ManagerSkinLoading); }

namespace {

class TCounter : public TObject {
  DK_CLASS(TCounter, TObject)
 public:
  int Count = 0;
  void Count1(TObject*) { ++Count; }
  TNotifyEvent Event() { return TNotifyEvent(this, &TCounter::Count1); }
};

bool RunsWithActest() {
  for (int i = 1; i <= ParamCount(); ++i)
    if (LowerCase(ParamStr(i)) == "/actest") return true;
  return false;
}

TEST(SkinManager, DefaultsOfANewManagerAndTheDefaultManager) {
  ASSERT_EQ(DefaultManager, nullptr);
  auto* first = Create<TsSkinManager>(nullptr);
  auto* second = Create<TsSkinManager>(nullptr);
  EXPECT_EQ(DefaultManager, first);
  EXPECT_TRUE(first->IsDefault());
  EXPECT_FALSE(second->IsDefault());
  EXPECT_EQ(first->SkinDirectory(), "c:\\Skins");
  EXPECT_TRUE(first->Active());
  EXPECT_TRUE(first->SkinnedPopups());
  EXPECT_EQ(first->GetSkinInfo(), "N/A");
  EXPECT_EQ(first->GetVersion(), "9.12");
  EXPECT_EQ(first->SkinningRules(), (TacSkinningRules{srStdForms, srStdDialogs, srThirdParty}));
  EXPECT_TRUE(first->Effects()->AllowGlowing);
  EXPECT_FALSE(first->AnimEffects()->BlendOnMoving()->Active);
  EXPECT_EQ(first->AnimEffects()->SkinChanging()->Time, 100);
  EXPECT_EQ(first->AnimEffects()->SkinChanging()->Mode, atFading);
  EXPECT_EQ(first->AnimEffects()->Minimizing()->Time, 120);
  EXPECT_EQ(first->ThirdParty()->ThirdButtons(), "TButton");
  EXPECT_EQ(first->ThirdLists[tpButton]->Text(), "TButton\r\n");
  EXPECT_EQ(first->ThirdParty()->ThirdEdits(), " ");
  second->SetIsDefault(true);
  EXPECT_EQ(DefaultManager, second);
  second->Free();
  first->Free();
  EXPECT_EQ(DefaultManager, nullptr) << "no manager is left";
}

TEST(StoredSkins, StreamedWithTheFormLoadedAndListedWithPacks) {
  TDialogWatcher dialogs;
  auto* form = Create<TSkinTestForm>(Application);
  TsSkinManager* m = form->Manager();
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(form->Loads, 0) << "its event is read after the skin name";
  EXPECT_EQ(m->SkinName(), "Beta (internal)");
  EXPECT_EQ(ButtonColor(m), 102);
  EXPECT_TRUE(m->CommonSkinData.Active) << "broadcast when the form was loaded";
  EXPECT_EQ(m->InternalSkins()->Count(), 4);
  EXPECT_EQ(m->InternalSkins()->IndexOf("Beta (internal)"), 1);
  EXPECT_EQ(m->InternalSkins()->IndexOf("beta (internal)"), -1);
  EXPECT_EQ(m->InternalSkins()->Items(0)->Shadow1Blur, -1);
  EXPECT_EQ(m->MenuSupport()->IcoLineSkin, "ICOLINE");

  TCounter listChanged;
  m->OnSkinListChanged = listChanged.Event();
  m->InternalSkins()->Items(0)->SetName("Alpha2 (internal)");
  EXPECT_EQ(listChanged.Count, 1);
  m->InternalSkins()->Items(0)->SetName("Alpha (internal)");

  // A name that no folder, pack or stored skin has: the first stored skin.
  m->SetSkinName("Nothing of that name");
  EXPECT_EQ(form->Loads, 1);
  EXPECT_EQ(m->SkinName(), "Alpha (internal)");
  EXPECT_EQ(ButtonColor(m), 101);

  // Stored skins without data or without skin text are failed loads.
  m->SetSkinName("Empty (internal)");
  EXPECT_TRUE(dialogs.Shown("\"Empty (internal)\" skin have internal format error."));
  m->SetSkinName("NoText (internal)");
  EXPECT_TRUE(dialogs.Shown("\"NoText (internal)\" skin have internal format error."));
  EXPECT_EQ(m->SkinName(), "Alpha (internal)");
  EXPECT_EQ(ButtonColor(m), 101);

  TSkinDir extracted;
  m->ExtractInternalSkin("Alpha (internal)", Ansi(extracted.Path()));
  TMemoryStream* data = m->InternalSkins()->Items(0)->DataStream();
  EXPECT_EQ(skinfixture::ReadFile(extracted.Path() / "Alpha (internal) extracted.asz"),
            std::string(static_cast<const char*>(data->Memory()), static_cast<size_t>(data->Size())));
  m->ExtractInternalSkin("No such skin", Ansi(extracted.Path()));
  EXPECT_TRUE(dialogs.Shown("Skin does not exists."));

  TSkinDir dir;

  dir.Folder("Zed", SkinText(1));
  dir.Pack("Zed", "Zed.asz");
  dir.Folder("a.b", SkinText(1));
  dir.Pack("a.b", "a.b.asz");
  dir.Folder("Folder", SkinText(1));
  m->SetSkinDirectory(Ansi(dir.Path()));
  TStringList names;
  EXPECT_EQ(m->GetSkinNames(&names, stPacked), "Alpha (internal)");
  EXPECT_EQ(names.CommaText(), "a.b,\"Alpha (internal)\",\"Beta (internal)\",\"Empty (internal)\","
                               "\"NoText (internal)\",Zed");
  m->SetSkinName("a.b");
  EXPECT_EQ(m->SkinName(), "a.b") << "a listed name loads";
  EXPECT_TRUE(m->PackedSource);
  form->Free();
}

TEST(SkinVersions, OldVersionNoticeOnlyWhenTheProgramRunsWithActest) {
  TSkinDir dir;
  TDialogWatcher dialogs;
  TsSkinManager* m = LoadFolderSkin(dir, "Old", SkinText(5, "7.0"));
  if (RunsWithActest()) {
    ASSERT_EQ(dialogs.Texts.size(), 1u);
    EXPECT_EQ(dialogs.Texts[0],
              "You are using an old version of the \"Old\" skin. Please, update skins to latest or contact the skin "
              "library support for upgrading of existing skin.\r\n\r\nThis notification occurs in design-time only "
              "for your information and will not occur in real-time.");
  } else {
    EXPECT_TRUE(dialogs.Texts.empty());
  }
  EXPECT_EQ(ButtonColor(m), 5) << "the skin loads all the same";
  m->Free();
}

TEST(SkinVersions, NewVersionWarnsOnceAndKeepsTheStandardDialogsRule) {
  TSkinDir dir;
  TDialogWatcher dialogs;
  TsSkinManager* m = LoadFolderSkin(dir, "New", SkinText(6, "10.0"));
  ASSERT_EQ(dialogs.Texts.size(), 1u);
  EXPECT_EQ(dialogs.Texts[0],
            "This version of the skin have not complete support by used skin library package release.\r\n"
            "Components must be updated up to latest version for using this skin.");
  EXPECT_TRUE(m->SkinningRules().Contains(srStdDialogs));
  m->SetSkinningRules(TacSkinningRules{srStdForms});
  m->SetSkinName("New");
  EXPECT_FALSE(m->SkinningRules().Contains(srStdDialogs)) << "nor does it add the rule";
  EXPECT_EQ(ButtonColor(m), 6);
  m->Free();
}

TEST(SkinRecolour, BrightnessIsLimitedAndTheSameValueDoesNotReload) {
  TSkinDir dir;
  dir.Folder("S", SkinText(0x404040));
  TsSkinManager* m = NewManager(dir);
  TCounter loads;
  m->OnSkinLoading = loads.Event();
  m->SetSkinName("S");
  ASSERT_EQ(loads.Count, 1);
  m->SetBrightness(150);
  EXPECT_EQ(m->Brightness(), 100);
  EXPECT_EQ(loads.Count, 2);
  EXPECT_EQ(ButtonColor(m), 0xA4A4A4);
  m->SetBrightness(100);
  EXPECT_EQ(loads.Count, 2) << "no reload for the same value";
  m->SetHueOffset(0);
  EXPECT_EQ(loads.Count, 2);
  m->SetBrightness(0);
  EXPECT_EQ(ButtonColor(m), 0x404040) << "the skin's own colours again";
  m->Free();
}

TEST(SkinRecolour, TitleButtonsKeepTheirHueAsTheSkinAsks) {
  // Red master; the eleven title-button images side by side in its top row,
  // a two-row image (picture above its mask) lower down.
  std::string buttons;
  const char* names[] = {"BICONCLOSE", "BICLOSEALONE", "BICONMAX", "BICONNORM", "BICONMIN", "BICONHELP",
                         "SICONCLOSE", "SICONMAX",     "SICONNORM", "SICONMIN", "SICONHELP"};
  for (int i = 0; i < 11; ++i) {
    char value[32];
    std::snprintf(value, sizeof value, "@%04d@0000@%04d@0008@1@0", i * 8, i * 8 + 8);
    buttons += std::string(names[i]) + "=" + value + "\r\n";
  }
  buttons += "GLYPH2=@0000@0040@0010@0060@1@1\r\n";
  const skinfixture::TPicture red(96, 96, 0xFF0000);
  auto pixel = [](TsSkinManager* m, int x, int y) {
    return GetAPixel(m->MasterBitmap.get(), x, y).C & 0xFFFFFF;
  };
  for (int keep : {1, 2}) {
    SCOPED_TRACE(keep);
    TSkinDir dir;
    dir.Folder("S", SkinText(0xFF, "8.00", "BIKEEPHUE=" + std::to_string(keep) + "\r\n" + buttons), red);
    TsSkinManager* m = NewManager(dir);
    m->SetSkinName("S");
    m->SetHueOffset(120);
    for (int i = 0; i < 11; ++i) {
      const bool close = i == 0 || i == 1 || i == 6;
      EXPECT_EQ(pixel(m, i * 8 + 4, 4), keep == 1 || close ? 0xFF0000u : 0x00FF00u) << names[i];
    }
    EXPECT_EQ(pixel(m, 50, 50), 0x00FF00u) << "the rest of the master turns";
    EXPECT_EQ(ButtonColor(m), 0x00FF00) << "section colours turn";
    m->Free();
  }
  TSkinDir dir;
  dir.Folder("S", SkinText(0xFF, "8.00", buttons), red);
  TsSkinManager* m = NewManager(dir);
  m->SetSkinName("S");
  m->SetBrightness(-100);
  EXPECT_EQ(pixel(m, 5, 45), 0x9B0000u) << "the picture row is darker";
  EXPECT_EQ(pixel(m, 5, 55), 0xFF0000u) << "its mask row keeps its values";
  m->Free();
}

TEST(SkinTexts, TheEngineTextsComeFromTheStringTable) {
  EXPECT_EQ(acs_AvailSkins, "Available skins");
  for (const TacTextEntry& t : acSkinTexts()) EXPECT_EQ(*t.Target, t.English) << t.Id;
  wchar_t buffer[64] = {};
  ASSERT_GT(LoadStringW(GetModuleHandleW(nullptr), 58964, buffer, 64), 0) << "in this program's string table";
  EXPECT_EQ(std::wstring(buffer), L"Available skins");
  for (int id : {65520, 65521, 65522, 65523}) EXPECT_GT(LoadStringW(GetModuleHandleW(nullptr), id, buffer, 64), 0) << id;
  EXPECT_EQ(acs_Root, "Root :");
  EXPECT_EQ(acWinVer, acWinVerOf(6, 1)) << "Wine reports 6.1";
}

}  // namespace

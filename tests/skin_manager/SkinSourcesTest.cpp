// Where a skin of a name comes from: a folder, a packed file or a stored
// skin; and loads that fail, which keep the skin in use and its name.
#include <gtest/gtest.h>

#include "SkinManagerSupport.h"

// after the class library, whose header takes care of the platform macros
#include "TestSupport.h"

using namespace skintest;

namespace {

// Records the skin name each time the manager reports a change.
class TChangeLog : public TObject {
  DK_CLASS(TChangeLog, TObject)
 public:
  std::vector<AnsiString> Names;
  void Changed(TObject* Sender) { Names.push_back(static_cast<TsSkinManager*>(Sender)->SkinName()); }
  TNotifyEvent Event() { return TNotifyEvent(this, &TChangeLog::Changed); }
};

TEST(SkinSources, APackWinsOverAFolderOfItsNameUnlessFoldersComeFirst) {
  TSkinDir dir;
  dir.Folder("T", SkinText(1));
  dir.Folder("TPacked", SkinText(2));
  dir.Pack("TPacked", "T.asz");
  TDialogWatcher dialogs;
  TsSkinManager* m = NewManager(dir);
  m->SetSkinName("T");
  EXPECT_EQ(ButtonColor(m), 2) << "the pack";
  EXPECT_TRUE(m->PackedSource);
  EXPECT_TRUE(m->CommonSkinData.Active);

  UnPackedFirst = true;
  m->SetSkinName("T");
  UnPackedFirst = false;
  EXPECT_EQ(ButtonColor(m), 1) << "the folder";
  EXPECT_FALSE(m->PackedSource);

  m->SetSkinName("T.ASZ");
  EXPECT_EQ(m->SkinName(), "T");
  EXPECT_EQ(ButtonColor(m), 2);
  EXPECT_TRUE(dialogs.Texts.empty());
  m->Free();
}

TEST(SkinSources, ACorruptPackIsRefusedAndTheSkinInUseStays) {
  TSkinDir dir;
  dir.Folder("Good", SkinText(7));
  dir.File("Bad.asz", "this is not a packed skin");
  TDialogWatcher dialogs;
  TChangeLog log;
  TsSkinManager* m = NewManager(dir);
  m->SetSkinName("Good");
  m->OnAfterChange = log.Event();
  m->SetSkinName("Bad");
  EXPECT_TRUE(dialogs.Shown("Loaded data is not a packed skin file"));
  EXPECT_EQ(m->SkinName(), "Good");
  EXPECT_EQ(ButtonColor(m), 7);
  EXPECT_TRUE(m->CommonSkinData.Active);
  EXPECT_EQ(log.Names, std::vector<AnsiString>{"Good"}) << "the change reports the name in use";
  m->Free();
}

TEST(SkinSources, APackWithoutSkinTextIsAFailedLoad) {
  TSkinDir dir;
  dir.Folder("Good", SkinText(7));
  dir.File("Empty/MASTER.BMP", skinfixture::BmpFile(skinfixture::TPicture(8, 8, 0)));
  dir.Pack("Empty", "Empty.asz");
  TDialogWatcher dialogs;
  TChangeLog log;
  TsSkinManager* m = NewManager(dir);
  m->SetSkinName("Good");
  m->OnAfterChange = log.Event();
  m->SetSkinName("Empty");
  EXPECT_TRUE(dialogs.Shown("\"Empty\" skin have internal format error. Please update this skin to latest version."));
  EXPECT_EQ(m->SkinName(), "Good");
  EXPECT_EQ(ButtonColor(m), 7);
  EXPECT_EQ(log.Names, std::vector<AnsiString>{"Good"});
  m->Free();
}

TEST(SkinSources, ABrokenSkinTextIsAFailedLoadNamingSectionAndKey) {
  TSkinDir dir;
  dir.Folder("Good", SkinText(7));
  dir.Folder("Broken", SkinText(8, "8.00", "") + "PATTERN=~0000~0000~0010~0010~15\r\n");
  TDialogWatcher dialogs;
  TsSkinManager* m = NewManager(dir);
  m->SetSkinName("Good");
  m->SetSkinName("Broken");
  EXPECT_TRUE(dialogs.Shown("\"BUTTON\", key \"PATTERN\""));
  EXPECT_EQ(m->SkinName(), "Good");
  EXPECT_EQ(ButtonColor(m), 7) << "the tables of the skin in use";
  m->Free();
}

TEST(SkinSources, NoSkinAnywhereLeavesTheManagerInactive) {
  TSkinDir dir;
  TDialogWatcher dialogs;
  TsSkinManager* m = NewManager(dir);
  m->SetSkinName("Nowhere");
  EXPECT_FALSE(m->Active());
  EXPECT_FALSE(m->CommonSkinData.Active);
  EXPECT_TRUE(m->Sections.empty());
  m->Free();
}

}  // namespace

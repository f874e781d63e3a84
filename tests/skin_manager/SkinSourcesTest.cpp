// Where a skin of a name comes from: a folder, a packed file or a stored
// skin; and loads that fail, which keep the skin in use and its name.
#include <gtest/gtest.h>

#include <functional>

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

// A skin that fails to load: how it is written, and what the message says.
struct FailedLoad {
  const char* Name;
  std::function<void(TSkinDir&)> Write;
  const char* Message;
};

TEST(SkinSources, AFailedLoadShowsWhyAndKeepsTheSkinInUseItsNameAndTables) {
  const FailedLoad cases[] = {
      {"a corrupt pack", [](TSkinDir& d) { d.File("New.asz", "this is not a packed skin"); },
       "Loaded data is not a packed skin file"},
      {"a pack without skin text",
       [](TSkinDir& d) {
         d.File("New/MASTER.BMP", skinfixture::BmpFile(skinfixture::TPicture(8, 8, 0)));
         d.Pack("New", "New.asz");
       },
       "\"New\" skin have internal format error. Please update this skin to latest version."},
      {"a texture fill mode beyond the table",
       [](TSkinDir& d) { d.Folder("New", SkinText(8) + "PATTERN=~0000~0000~0010~0010~15\r\n"); },
       "\"BUTTON\", key \"PATTERN\""},
  };
  for (const FailedLoad& c : cases) {
    SCOPED_TRACE(c.Name);
    TSkinDir dir;
    dir.Folder("Good", SkinText(7));
    c.Write(dir);
    TDialogWatcher dialogs;
    TChangeLog log;
    TsSkinManager* m = NewManager(dir);
    m->SetSkinName("Good");
    m->OnAfterChange = log.Event();
    m->SetSkinName("New");
    EXPECT_TRUE(dialogs.Shown(c.Message)) << (dialogs.Texts.empty() ? "no message" : dialogs.Texts[0]);
    EXPECT_EQ(m->SkinName(), "Good");
    EXPECT_EQ(ButtonColor(m), 7) << "the tables of the skin in use";
    EXPECT_TRUE(m->CommonSkinData.Active);
    EXPECT_EQ(log.Names, std::vector<AnsiString>{"Good"}) << "the change reports the name in use";
    m->Free();
  }
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

// What the class library gives skinned controls besides the controls
// themselves: actions followed by their controls, dock sites with their
// docked clients and dock manager, and the reading order of a right-to-left
// system (injected: the test machine has none).
#include <gtest/gtest.h>

#include <vector>

#include "classlib/ui/ActnList.h"
#include "classlib/ui/ExtCtrls.h"
#include "classlib/ui/Forms.h"
#include "classlib/ui/StdCtrls.h"

// after the class library, whose header takes care of the platform macros
#include "TestSupport.h"

namespace {

// Counts the action updates a control is told of, and which action.
class TUpdateWatch : public TObject {
  DK_CLASS(TUpdateWatch, TObject)
 public:
  TWndMethod Old;
  std::vector<LPARAM> Updates;
  void Hook(TControl* c) {
    Old = c->WindowProc;
    c->WindowProc = TWndMethod(this, &TUpdateWatch::Proc);
  }
  void Proc(TMessage& m) {
    if (m.Msg == CM_ACTIONUPDATE) Updates.push_back(m.LParam);
    Old(m);
  }
};

class TRunCount : public TObject {
  DK_CLASS(TRunCount, TObject)
 public:
  int Runs = 0, Changes = 0;
  void Run(TObject*) { ++Runs; }
  void Changed(TObject*) { ++Changes; }
};

TEST(Actions, AControlFollowsItsActionUntilTheActionGoes) {
  auto* form = Create<TForm>(Application, 0);
  auto* button = Create<TButton>(form);
  button->SetParent(form);
  auto* action = Create<TAction>(form);
  action->SetCaption("Ноль");
  action->SetHint("zero");
  action->SetEnabled(false);
  button->SetAction(action);
  EXPECT_EQ(button->Action(), action);
  EXPECT_EQ(button->Caption(), "Ноль");
  EXPECT_EQ(button->Hint(), "zero");
  EXPECT_FALSE(button->Enabled());
  EXPECT_TRUE(button->ControlStyle().Contains(csActionClient));

  // Every change of the action reaches the control.
  const struct {
    void (*Change)(TAction*);
    bool (*Holds)(TButton*);
  } steps[] = {
      {[](TAction* a) { a->SetEnabled(true); }, [](TButton* b) { return b->Enabled(); }},
      {[](TAction* a) { a->SetCaption("Тара"); }, [](TButton* b) { return b->Caption() == "Тара"; }},
      {[](TAction* a) { a->SetVisible(false); }, [](TButton* b) { return !b->Visible(); }},
  };
  for (const auto& s : steps) {
    s.Change(action);
    EXPECT_TRUE(s.Holds(button));
  }

  // An update runs OnUpdate and tells every client control.
  TRunCount count;
  TUpdateWatch watch;
  watch.Hook(button);
  action->OnUpdate = TNotifyEvent(&count, &TRunCount::Run);
  EXPECT_TRUE(action->Update());
  EXPECT_EQ(count.Runs, 1);
  ASSERT_EQ(watch.Updates.size(), 1u);
  EXPECT_EQ(watch.Updates[0], reinterpret_cast<LPARAM>(action));

  action->Free();
  EXPECT_EQ(button->Action(), nullptr) << "no pointer to an action that is gone";
  button->SetEnabled(true);  // nothing of the action is touched any more
  form->Free();
}

TEST(Actions, TheListsImagesAndTheirChangesReachTheActionsClients) {
  auto* list = Create<TActionList>(nullptr);
  auto* images = Create<TImageList>(nullptr);
  auto* action = Create<TAction>(list);
  action->SetActionList(list);
  action->SetImageIndex(2);
  ASSERT_EQ(list->ActionCount(), 1);
  TRunCount count;
  action->OnChange = TNotifyEvent(&count, &TRunCount::Changed);
  list->SetImages(images);
  EXPECT_EQ(count.Changes, 1) << "a new image list";
  auto* bmp = Create<TBitmap>();
  bmp->SetSize(16, 16);
  images->Add(bmp, nullptr);
  EXPECT_EQ(count.Changes, 2) << "the images changed";
  images->Free();
  EXPECT_EQ(list->Images(), nullptr);
  EXPECT_EQ(count.Changes, 3) << "the image list went";
  action->Free();
  EXPECT_EQ(list->ActionCount(), 0);
  bmp->Free();
  list->Free();
}

class TCaptionedDockTree : public TDockTree {
  DK_CLASS(TCaptionedDockTree, TDockTree)
 public:
  TCaptionedDockTree() = default;
};

// Records the undock notices of a site.
class TUndockWatch : public TObject {
  DK_CLASS(TUndockWatch, TObject)
 public:
  TWndMethod Old;
  std::vector<LPARAM> Clients;
  void Hook(TControl* c) {
    Old = c->WindowProc;
    c->WindowProc = TWndMethod(this, &TUndockWatch::Proc);
  }
  void Proc(TMessage& m) {
    if (m.Msg == CM_UNDOCKCLIENT) Clients.push_back(m.LParam);
    Old(m);
  }
};

TEST(Docking, ClientsDockIntoASiteWhoseManagerIsOfTheDefaultTreeClass) {
  auto* form = Create<TForm>(Application, 0);
  auto* site = Create<TPanel>(form);
  auto* other = Create<TPanel>(form);
  site->SetParent(form);
  other->SetParent(form);
  auto* a = Create<TPanel>(form);
  auto* b = Create<TPanel>(form);
  EXPECT_EQ(site->DockManager(), nullptr);
  EXPECT_FALSE(a->ManualDock(other)) << "no dock site";

  const TClass saved = DefaultDockTreeClass;
  DefaultDockTreeClass = TCaptionedDockTree::StaticClass();
  site->SetDockSite(true);
  DefaultDockTreeClass = saved;
  ASSERT_NE(site->DockManager(), nullptr);
  EXPECT_EQ(site->DockManager()->ClassName(), "TCaptionedDockTree");
  EXPECT_EQ(site->DockManager()->DockSite(), site);

  const TRect place{5, 30, 105, 80};
  ASSERT_TRUE(a->ManualDock(site, &place));
  ASSERT_TRUE(b->ManualDock(site));
  EXPECT_EQ(site->DockClientCount(), 2);
  EXPECT_EQ(site->DockClients(0), a);
  EXPECT_EQ(a->Parent(), site);
  EXPECT_EQ(a->HostDockSite(), site);
  EXPECT_EQ(a->BoundsRect(), place);

  TUndockWatch watch;
  watch.Hook(site);
  a->ManualDock(nullptr);
  EXPECT_EQ(a->HostDockSite(), nullptr);
  b->Free();
  EXPECT_EQ(site->DockClientCount(), 0) << "a freed client leaves the site";
  EXPECT_EQ(watch.Clients, (std::vector<LPARAM>{reinterpret_cast<LPARAM>(a), reinterpret_cast<LPARAM>(b)}));
  form->Free();
}

TEST(ReadingOrder, RightToLeftOnlyOnAMiddleEastSystem) {
  auto* label = Create<TLabel>(nullptr);
  const bool saved = SysLocale.MiddleEast;
  const struct {
    bool MiddleEast;
    TBiDiMode Mode;
    bool Alignment, Reading;
    UINT Flags;  // DrawTextBiDiModeFlags(DT_LEFT)
  } cases[] = {
      {false, bdRightToLeft, false, false, DT_LEFT},
      {true, bdLeftToRight, false, false, DT_LEFT},
      {true, bdRightToLeft, true, true, DT_RIGHT | DT_RTLREADING},
      {true, bdRightToLeftReadingOnly, false, true, DT_RTLREADING},
      {true, bdRightToLeftNoAlign, false, true, DT_RTLREADING},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.MiddleEast << " " << static_cast<int>(c.Mode));
    SysLocale.MiddleEast = c.MiddleEast;
    label->SetBiDiMode(c.Mode);
    EXPECT_EQ(label->UseRightToLeftAlignment(), c.Alignment);
    EXPECT_EQ(label->UseRightToLeftReading(), c.Reading);
    EXPECT_EQ(label->DrawTextBiDiModeFlags(DT_LEFT), c.Flags);
  }
  SysLocale.MiddleEast = saved;
  label->Free();
}

}  // namespace

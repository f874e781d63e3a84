// The skin command reaching every form and control of the program: three
// forms, one of them with a skin provider, each holding a hand-made window
// control and a graphic control; a counting hook sees what goes to windows.
#include <gtest/gtest.h>

#include "SkinCoreSupport.h"
#include "TestSupport.h"
#include "skin/core/sStyleSimply.h"
#include "skin/forms/sSkinProvider.h"

namespace {

using namespace skincore;

// A pixel of what a window shows, read from its own surface.
COLORREF WindowPixel(HWND Wnd, int X, int Y) {
  HDC dc = GetDC(Wnd);
  const COLORREF c = GetPixel(dc, X, Y);
  ReleaseDC(Wnd, dc);
  return c;
}

class Broadcast : public testing::Test {
 protected:
  struct TTestForm {
    TForm* Form = nullptr;
    TLoggedWinControl* Win = nullptr;
    TLoggedGraphicControl* Graphic = nullptr;
  };

  void SetUp() override {
    Dir.Folder("one", SkinTextOf({{"BUTTON", 0x00C000}, {"PANEL", 0xE0E0E0}}));
    Dir.Folder("two", SkinTextOf({{"BUTTON", 0xC00000}, {"PANEL", 0xD0D0D0}}));
    Manager = skintest::NewManager(Dir);
    const char* names[3] = {"Plain1", "Plain2", "Provided"};
    for (int i = 0; i < 3; ++i) {
      TTestForm& f = Forms[i];
      f.Form = NewForm(names[i], 40 + 270 * i, 60);
      if (i == 2) Provider = Create<TsSkinProvider>(f.Form);
      f.Win = NewControl<TLoggedWinControl>(f.Form, 94, "BUTTON", TRect{10, 10, 110, 40});
      f.Graphic = NewControl<TLoggedGraphicControl>(f.Form, 92, "BUTTON", TRect{10, 50, 110, 80});
      f.Win->HandleNeeded();
    }
  }
  void TearDown() override {
    for (TTestForm& f : Forms)
      if (f.Form) f.Form->Free();
    if (Manager) Manager->Free();
  }
  void ClearLogs() {
    for (TTestForm& f : Forms) {
      f.Win->Log.clear();
      f.Graphic->Log.clear();
    }
  }
  // The commands a control heard, the query "hooked" left out.
  static std::vector<Word> Heard(const TCommandLog& Control) {
    std::vector<Word> c;
    for (Word w : Control.Commands())
      if (w != ACMD_QUERY_HOOKED) c.push_back(w);
    return c;
  }

  skintest::TSkinDir Dir;
  TsSkinManager* Manager = nullptr;
  TsSkinProvider* Provider = nullptr;
  TTestForm Forms[3];
};

TEST_F(Broadcast, ANewSkinReachesEveryFormAndControlOnce) {
  TMessageCounter counter;
  const LPARAM manager = reinterpret_cast<LPARAM>(Manager);
  Manager->SetSkinName("one");
  for (const TTestForm& f : Forms) {
    SCOPED_TRACE(f.Form->Name());
    EXPECT_EQ(counter.Commands(f.Form->Handle(), ACMD_SKIN_LOADED, manager), 1) << "the provider's form only once";
    EXPECT_EQ(counter.Commands(f.Win->Handle(), ACMD_SKIN_LOADED, manager), 1);
    EXPECT_EQ(f.Win->Count(ACMD_SKIN_LOADED, manager), 1);
    EXPECT_EQ(f.Graphic->Count(ACMD_SKIN_LOADED, manager), 1) << "by Perform";
    EXPECT_EQ(f.Win->SkinData()->SkinIndex, Manager->GetSkinIndex("BUTTON"));
    EXPECT_TRUE(f.Graphic->SkinData()->Skinned(true));
  }
}

TEST_F(Broadcast, EveryControlShowsTheNewSkin) {
  for (const char* skin : {"one", "two"}) {
    SCOPED_TRACE(skin);
    Manager->SetSkinName(skin);
    const TColor button = skincore::ShownColor(Forms[0].Win, Forms[0].Win->SkinData());
    ASSERT_EQ(button, skin == std::string("one") ? 0x00C000 : 0xC00000);
    for (const TTestForm& f : Forms) {
      SCOPED_TRACE(f.Form->Name());
      f.Form->Update();
      EXPECT_EQ(WindowPixel(f.Win->Handle(), 5, 5), static_cast<COLORREF>(button));
      EXPECT_EQ(WindowPixel(f.Form->Handle(), f.Graphic->Left() + 5, f.Graphic->Top() + 5),
                static_cast<COLORREF>(button));
    }
    testsupport::Screenshot(Forms[2].Form->Handle(), std::string("skin_core_broadcast_") + skin);
  }
}

TEST_F(Broadcast, RepaintingStopsTheFadesFirstThenRepaints) {
  Manager->SetSkinName("one");
  ClearLogs();
  Manager->RepaintForms(false);
  for (const TTestForm& f : Forms) {
    SCOPED_TRACE(f.Form->Name());
    EXPECT_EQ(Heard(*f.Win), (std::vector<Word>{ACMD_STOP_FADE, ACMD_SKIN_REPAINT}));
    EXPECT_EQ(Heard(*f.Graphic), (std::vector<Word>{ACMD_STOP_FADE, ACMD_SKIN_REPAINT}));
  }
}

TEST_F(Broadcast, ASectionChangeGoesOutWithTheNameInCapitals) {
  Manager->SetSkinName("one");
  ClearLogs();
  Manager->UpdateSkinSection("button");
  for (const TTestForm& f : Forms)
    for (const TCommandLog* c : {static_cast<const TCommandLog*>(f.Win), static_cast<const TCommandLog*>(f.Graphic)}) {
      ASSERT_EQ(Heard(*c), (std::vector<Word>{ACMD_SECTION_CHANGED}));
      EXPECT_EQ(c->Log.back().Text, "BUTTON");
    }
}

TEST_F(Broadcast, AControlThatFailsLeavesNoFormFrozen) {
  Manager->SetSkinName("one");
  TsSkinProvider* p = Provider;
  const HWND provided = Forms[2].Form->Handle();
  ASSERT_EQ(reinterpret_cast<TsSkinProvider*>(SendMessageW(provided, SM_ALPHACMD, AlphaCmdParam(ACMD_QUERY_PROVIDER), 0)),
            p);
  for (bool newSkin : {false, true}) {
    SCOPED_TRACE(newSkin ? "new skin" : "repaint");
    Forms[2].Graphic->ThrowOn = newSkin ? ACMD_SKIN_LOADED : ACMD_SKIN_REPAINT;
    TMessageCounter counter;
    if (newSkin)
      EXPECT_THROW(Manager->SendNewSkin(true), Exception);
    else
      EXPECT_THROW(Manager->RepaintForms(true), Exception);
    const auto frozen = std::count_if(counter.Log.begin(), counter.Log.end(), [&](const TMessageCounter::TEntry& e) {
      return e.Wnd == provided && e.Msg == WM_SETREDRAW && e.WParam == FALSE;
    });
    EXPECT_EQ(frozen, 1);
    const auto last = std::find_if(counter.Log.rbegin(), counter.Log.rend(), [&](const TMessageCounter::TEntry& e) {
      return e.Wnd == provided && e.Msg == WM_SETREDRAW;
    });
    ASSERT_NE(last, counter.Log.rend());
    EXPECT_EQ(last->WParam, static_cast<WPARAM>(TRUE));
    EXPECT_FALSE(p->FormState & TsSkinProvider::FS_REDRAW_LOCKED);
    EXPECT_TRUE(IsWindowVisible(provided));
  }
  EXPECT_FALSE(RestrictDrawing) << "the drawing restriction ends with the broadcast";
}

TEST_F(Broadcast, ReleasingFormsNeverFrozenSendsNothing) {
  Manager->SetSkinName("one");
  TMessageCounter counter;
  UnLockForms(Manager, false);
  EXPECT_EQ(counter.Messages(Forms[2].Form->Handle(), WM_SETREDRAW), 0);
}

TEST_F(Broadcast, HoverMovesFromOneWindowToTheNext) {
  const HWND a = Forms[0].Win->Handle(), b = Forms[1].Win->Handle();
  const LPARAM manager = reinterpret_cast<LPARAM>(Manager);
  TMessageCounter counter;
  Manager->SetActiveControl(a);
  EXPECT_EQ(counter.Commands(a, ACMD_HOVER_ENTER, manager), 1);
  counter.Clear();
  Manager->SetActiveControl(b);
  ASSERT_EQ(counter.Log.size(), 2u);
  EXPECT_EQ(counter.Log[0].Wnd, a);
  EXPECT_EQ(AlphaCmdOf(counter.Log[0].WParam), ACMD_HOVER_LEAVE);
  EXPECT_EQ(counter.Log[1].Wnd, b);
  EXPECT_EQ(AlphaCmdOf(counter.Log[1].WParam), ACMD_HOVER_ENTER);
  counter.Clear();
  Manager->SetActiveControl(b);
  EXPECT_TRUE(counter.Log.empty()) << "the same window again: nothing";
}

TEST_F(Broadcast, TheManagerForgetsAHoveredGraphicControlThatGoes) {
  TLoggedGraphicControl* g = Forms[0].Graphic;
  Manager->SetActiveGraphControl(g);
  EXPECT_EQ(Manager->ActiveGraphControl(), g);
  EXPECT_EQ(Manager->ActiveControl(), nullptr);
  g->Free();
  Forms[0].Graphic = nullptr;
  EXPECT_EQ(Manager->ActiveGraphControl(), nullptr);
  // Moving on reaches no freed control.
  Forms[0].Graphic = NewControl<TLoggedGraphicControl>(Forms[0].Form, 92, "BUTTON");
  Manager->SetActiveControl(Forms[1].Win->Handle());
  Manager->SetActiveGraphControl(Forms[0].Graphic);
  Manager->SetActiveGraphControl(nullptr);
  EXPECT_EQ(Forms[0].Graphic->Count(ACMD_HOVER_LEAVE), 1) << "the control left hears it";
}

TEST_F(Broadcast, TheProviderAnswersForItsForm) {
  const HWND provided = Forms[2].Form->Handle();
  EXPECT_EQ(SendMessageW(provided, SM_ALPHACMD, AlphaCmdParam(ACMD_QUERY_PROVIDER), 0),
            reinterpret_cast<LRESULT>(Provider));
  EXPECT_EQ(SendMessageW(provided, SM_ALPHACMD, AlphaCmdParam(ACMD_QUERY_HOOKED), 0), 1);
  EXPECT_EQ(SendMessageW(Forms[0].Form->Handle(), SM_ALPHACMD, AlphaCmdParam(ACMD_QUERY_PROVIDER), 0), 0);
  EXPECT_EQ(Provider->SkinData()->KindCode, COC_TsSkinProvider);
  const std::vector<TCustomForm*>& registered = RegisteredForms();
  EXPECT_EQ(std::count(registered.begin(), registered.end(), Forms[2].Form), 1);
  Provider->Free();
  Provider = nullptr;
  EXPECT_EQ(std::count(registered.begin(), registered.end(), Forms[2].Form), 0);
  EXPECT_EQ(SendMessageW(provided, SM_ALPHACMD, AlphaCmdParam(ACMD_QUERY_PROVIDER), 0), 0)
      << "the form's own procedure is back";
}

TEST(RegisteredForms, UnregisteringMovesTheLastIntoTheGap) {
  const std::vector<TCustomForm*> before = RegisteredForms();
  TCustomForm* a = reinterpret_cast<TCustomForm*>(0x1000);
  TCustomForm* b = reinterpret_cast<TCustomForm*>(0x2000);
  TCustomForm* c = reinterpret_cast<TCustomForm*>(0x3000);
  IntUnSkinForm(a);
  EXPECT_EQ(RegisteredForms(), before) << "a form never registered";
  IntSkinForm(a);
  IntUnSkinForm(a);
  EXPECT_EQ(RegisteredForms(), before);
  IntSkinForm(a);
  IntSkinForm(b);
  IntSkinForm(c);
  IntUnSkinForm(a);
  std::vector<TCustomForm*> expected = before;
  expected.insert(expected.end(), {c, b});
  EXPECT_EQ(RegisteredForms(), expected);
  IntUnSkinForm(b);
  IntUnSkinForm(c);
  EXPECT_EQ(RegisteredForms(), before);
}

}  // namespace

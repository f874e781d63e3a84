// The list box's owner drawing on a real window: the items drawn through
// OnDrawItem at the rectangles ItemRect gives, with their states, in one or
// several columns; and the wheel offered to a control's OnMouseWheel before
// its parent.
#include <gtest/gtest.h>

#include <vector>

#include "classlib/ui/Forms.h"
#include "classlib/ui/StdCtrls.h"

// after the class library, whose header takes care of the platform macros
#include "TestSupport.h"

namespace {

class TDrawLog : public TObject {
  DK_CLASS(TDrawLog, TObject)
 public:
  struct TEntry {
    int Index;
    TRect Rect;
    TOwnerDrawState State;
  };
  std::vector<TEntry> Entries;
  void Draw(TWinControl* Control, int Index, const TRect& Rect, TOwnerDrawState State) {
    Entries.push_back({Index, Rect, State});
    TCanvas* c = static_cast<TCustomListBox*>(Control)->Canvas();
    c->Brush()->SetColor(State.Contains(odSelected) ? TColor(0x0000C0) : TColor(0x00C000));
    c->FillRect(Rect);
  }
  std::vector<int> Wheel;
  TPoint WheelAt;
  bool Take = false;
  void MouseWheel(TObject*, TShiftState, int WheelDelta, TPoint MousePos, bool& Handled) {
    Wheel.push_back(WheelDelta);
    WheelAt = MousePos;
    Handled = Take;
  }
};

struct ListHost : ::testing::Test {
  TForm* Form = nullptr;
  void SetUp() override {
    Form = Create<TForm>(Application, 0);
    Form->SetBounds(40, 40, 420, 320);
    Form->Show();
  }
  void TearDown() override { Form->Free(); }
  TListBox* List(TListBoxStyle Style, int Columns = 0) {
    auto* l = Create<TListBox>(Form);
    l->SetBounds(10, 10, 200, 150);
    l->SetStyle(Style);
    l->SetColumns(Columns);
    l->SetItemHeight(20);
    l->SetParent(Form);
    for (int i = 0; i < 20; ++i) l->Items()->Add("item " + IntToStr(i));
    return l;
  }
};

COLORREF ClientPixel(HWND Wnd, int X, int Y) {
  HDC dc = GetDC(Wnd);
  const COLORREF c = GetPixel(dc, X, Y);
  ReleaseDC(Wnd, dc);
  return c;
}

TEST_F(ListHost, AnOwnerDrawnListDrawsItsItemsThroughOnDrawItemAtTheirRectangles) {
  TDrawLog log;
  TListBox* list = List(lbOwnerDrawFixed);
  list->OnDrawItem = TDrawItemEvent(&log, &TDrawLog::Draw);
  list->SetItemIndex(1);
  log.Entries.clear();
  RedrawWindow(list->WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  testsupport::PumpMessages(30);
  const int width = list->ClientWidth();
  for (int i : {0, 1, 3}) {
    const TRect r = list->ItemRect(i);
    EXPECT_EQ(r.Top, 20 * i);
    EXPECT_EQ(r.Height(), 20);
    EXPECT_EQ(r.Width(), width);
  }
  EXPECT_TRUE(list->ItemRect(20).IsEmpty()) << "beyond the items";
  EXPECT_TRUE(list->ItemRect(-1).IsEmpty());
  ASSERT_GE(log.Entries.size(), 7u) << "every visible item";
  for (const auto& e : log.Entries) {
    EXPECT_EQ(e.Rect.Top, list->ItemRect(e.Index).Top);
    EXPECT_EQ(e.State.Contains(odSelected), e.Index == 1) << e.Index;
  }
  EXPECT_EQ(ClientPixel(list->WindowHandle(), 50, 30), 0x0000C0u) << "the handler's drawing is shown";
  EXPECT_EQ(ClientPixel(list->WindowHandle(), 50, 50), 0x00C000u);
}

TEST_F(ListHost, TheStylesAndColumnsGiveTheWindowItsStyleAndLayout) {
  const struct {
    TListBoxStyle Style;
    int Columns;
    LONG Has, HasNot;
  } cases[] = {
      {lbStandard, 0, 0, LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE | LBS_MULTICOLUMN},
      {lbOwnerDrawFixed, 0, LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, LBS_MULTICOLUMN},
      {lbOwnerDrawVariable, 0, LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS, LBS_OWNERDRAWFIXED},
      {lbStandard, 2, LBS_MULTICOLUMN, LBS_OWNERDRAWFIXED},
  };
  for (const auto& c : cases) {
    TListBox* list = List(c.Style, c.Columns);
    const LONG style = GetWindowLongW(list->WindowHandle(), GWL_STYLE);
    EXPECT_EQ(style & c.Has, c.Has) << static_cast<int>(c.Style) << " " << c.Columns;
    EXPECT_EQ(style & c.HasNot, 0) << static_cast<int>(c.Style) << " " << c.Columns;
    EXPECT_EQ(list->Items()->Count(), 20) << "the items survive the style";
    list->Free();
  }
  TListBox* list = List(lbOwnerDrawFixed, 2);
  const int perColumn = list->ClientHeight() / 20;
  EXPECT_EQ(list->ItemRect(perColumn).Left, list->ClientWidth() / 2) << "the second column";
  EXPECT_EQ(list->ItemRect(perColumn).Top, 0);
  list->SetColumns(0);
  EXPECT_EQ(GetWindowLongW(list->WindowHandle(), GWL_STYLE) & LBS_MULTICOLUMN, 0);
  EXPECT_EQ(list->ItemRect(perColumn).Left, 0);
}

TEST_F(ListHost, TheWheelGoesToOnMouseWheelFirstAndToTheParentUnlessHandled) {
  TDrawLog child, parent;
  TListBox* list = List(lbStandard);
  list->OnMouseWheel = TMouseWheelEvent(&child, &TDrawLog::MouseWheel);
  Form->OnMouseWheel = TMouseWheelEvent(&parent, &TDrawLog::MouseWheel);
  const WPARAM down = MAKEWPARAM(MK_CONTROL, static_cast<WORD>(-240));
  list->Perform(CM_MOUSEWHEEL, down, MAKELPARAM(120, 80));
  EXPECT_EQ(child.Wheel, std::vector<int>{-240});
  EXPECT_EQ(child.WheelAt.X, 120);
  EXPECT_EQ(child.WheelAt.Y, 80);
  EXPECT_EQ(parent.Wheel, std::vector<int>{-240}) << "not handled: the parent hears it";
  child.Take = true;
  EXPECT_EQ(list->Perform(CM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0), 1);
  EXPECT_EQ(child.Wheel.back(), 120);
  EXPECT_EQ(parent.Wheel.size(), 1u) << "handled: the parent does not";
}

}  // namespace

// The class library's owner-drawn menu bar: the form hands WM_MEASUREITEM and
// WM_DRAWITEM of its menu's items to the items' events, with a canvas in the
// screen's menu font, and the system lays the bar out from the sizes given.
#include <gtest/gtest.h>

#include <vector>

#include "TestSupport.h"
#include "classlib/ui/Forms.h"
#include "classlib/ui/Menus.h"

namespace {

using testsupport::PumpMessages;

// What the events of the items saw, and the sizes and colours they answer.
class TItemEvents : public TObject {
 public:
  struct TItem {
    int Width;
    COLORREF Fill;
  };
  std::vector<TItem> Items;
  std::vector<TMenuItem*> Menu;
  AnsiString FontName;
  Integer FontHeight = 0;
  int Measured = 0, Drawn = 0;

  int IndexOf(TObject* Sender) const {
    for (size_t i = 0; i < Menu.size(); ++i)
      if (Menu[i] == Sender) return static_cast<int>(i);
    return -1;
  }
  void Measure(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height) {
    ++Measured;
    FontName = ACanvas->Font()->Name();
    FontHeight = ACanvas->Font()->Height();
    Width = Items.at(static_cast<size_t>(IndexOf(Sender))).Width;
    Height = 18;
  }
  void Draw(TObject* Sender, TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState) {
    ++Drawn;
    HBRUSH brush = CreateSolidBrush(Items.at(static_cast<size_t>(IndexOf(Sender))).Fill);
    RECT r{ARect.Left, ARect.Top, ARect.Right, ARect.Bottom};
    FillRect(ACanvas->Handle(), &r, brush);
    DeleteObject(brush);
  }
};

COLORREF ScreenPixel(int x, int y) {
  HDC dc = GetDC(nullptr);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(nullptr, dc);
  return c;
}

TEST(OwnerDrawnMenus, TheFormsMenuBarItemsAreMeasuredAndDrawnByTheirEvents) {
  TForm* form = Create<TForm>(Application, 0);
  form->SetBounds(60, 60, 360, 160);
  auto* menu = Create<TMainMenu>(form);
  TItemEvents events;
  events.Items = {{30, RGB(200, 0, 0)}, {55, RGB(0, 160, 0)}, {80, RGB(0, 0, 220)}};
  for (size_t i = 0; i < events.Items.size(); ++i) {
    auto* item = Create<TMenuItem>(form);
    item->SetCaption("Item" + IntToStr(static_cast<Int64>(i)));
    item->OnMeasureItem = TMenuMeasureItemEvent(&events, &TItemEvents::Measure);
    item->OnAdvancedDrawItem = TAdvancedMenuDrawItemEvent(&events, &TItemEvents::Draw);
    menu->Items()->Add(item);
    events.Menu.push_back(item);
  }
  menu->SetOwnerDraw(true);
  form->SetMenu(menu);
  form->Show();
  RedrawWindow(form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  PumpMessages(100);

  EXPECT_GE(events.Measured, 3);
  EXPECT_GE(events.Drawn, 3);
  EXPECT_EQ(events.FontName, Screen->MenuFont()->Name()) << "measured in the screen's menu font";
  EXPECT_EQ(events.FontHeight, Screen->MenuFont()->Height());

  // The bar is laid out from the widths given: each item's rectangle grows
  // with its measured width by the same spacing, and shows its own colour.
  std::vector<RECT> rects(events.Items.size());
  for (size_t i = 0; i < rects.size(); ++i)
    ASSERT_TRUE(GetMenuItemRect(form->Handle(), GetMenu(form->Handle()), static_cast<UINT>(i), &rects[i]));
  const int spacing = (rects[0].right - rects[0].left) - events.Items[0].Width;
  for (size_t i = 0; i < rects.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(rects[i].right - rects[i].left, events.Items[i].Width + spacing);
    EXPECT_EQ(ScreenPixel((rects[i].left + rects[i].right) / 2, (rects[i].top + rects[i].bottom) / 2),
              events.Items[i].Fill);
  }
  form->Free();
}

TEST(OwnerDrawnMenus, TheDrawStateNamesTheSystemsItemStateBits) {
  struct TCase {
    UINT Bits;
    TOwnerDrawState State;
  };
  const TCase cases[] = {
      {0, {}},
      {ODS_SELECTED | ODS_GRAYED, {odSelected, odGrayed}},
      {ODS_DISABLED | ODS_CHECKED | ODS_FOCUS, {odDisabled, odChecked, odFocused}},
      {ODS_DEFAULT | ODS_HOTLIGHT | ODS_INACTIVE, {odDefault, odHotLight, odInactive}},
      {0x500, {odNoAccel, odReserved1}},  // what the skinned menu line draws with
      {ODS_NOFOCUSRECT | ODS_COMBOBOXEDIT, {odNoFocusRect, odComboBoxEdit}},
  };
  for (const TCase& c : cases) EXPECT_EQ(OwnerDrawStateOf(c.Bits), c.State) << std::hex << c.Bits;
}

TEST(OwnerDrawnMenus, TheScreensMenuFontIsTheSystemsAndAnItemKeepsItsBitmap) {
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof ncm;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0));
  EXPECT_EQ(Screen->MenuFont()->Name(), winapi::A(ncm.lfMenuFont.lfFaceName));
  EXPECT_EQ(Screen->MenuFont()->Height(), ncm.lfMenuFont.lfHeight);

  auto* item = Create<TMenuItem>(nullptr);
  EXPECT_FALSE(item->HasBitmap());
  TBitmap picture;
  picture.SetWidth(12);
  picture.SetHeight(10);
  item->SetBitmap(&picture);
  EXPECT_TRUE(item->HasBitmap());
  EXPECT_EQ(item->Bitmap()->Width(), 12);
  item->Free();
}

}  // namespace

// The skin dialog's list of skins under Wine: the stored skins listed in the
// skinned list box, the chosen one in the look of the skin's "SELECTION"
// section, the others over the list's own background.
#include <gtest/gtest.h>

#include "../skin_controls/TextControlsSkin.h"
#include "MonitorHost.h"
#include "app/Unit1.h"
#include "app/skinSelectDlgU.h"
#include "skin/controls/sListBox.h"
#include "skin/core/acntUtils.h"
#include "skin/graphics/sGraphUtils.h"

using namespace monitortest;

namespace {

const char kOneChannel[] =
    "[Settings]\r\nDataSource0=[0]\r\nMODBUS_address0=01\r\n[ComPort1]\r\nPort=COM5\r\nBaudRate=115200\r\n";

TEST(MonitorSkinList, TheDialogListsTheStoredSkinsAndShowsTheChosenOneInTheSelectionLook) {
  MonitorHost::WriteSettings(kOneChannel);
  MonitorHost host({"XBV5:1:115200:N"});
  host.Start();
  ASSERT_TRUE(host.PumpUntil([] { return FirstLoadDone; }, 5000));
  TsSkinManager* manager = Form1->sSkinManager1;
  TsListBox* list = skinSelectDlg->skinListBox;
  ASSERT_GE(list->Items()->Count(), 7);
  EXPECT_EQ(list->Items()->Strings(0), "Aluminium (internal)");
  const Integer selection = manager->GetSkinIndex("SELECTION");
  ASSERT_GE(selection, 0) << "the stored skin has a selection look";

  skinSelectDlg->Show();
  list->SetItemIndex(2);
  SetForegroundWindow(skinSelectDlg->Handle());
  list->SetFocus();
  host.Pump(200);
  testsupport::Screenshot(skinSelectDlg->Handle(), "monitor_skin_list");
  ASSERT_TRUE(list->SkinData()->Skinned());
  const bool focused = GetFocus() == list->WindowHandle();

  POINT o{0, 0};
  ClientToScreen(list->WindowHandle(), &o);
  RECT w;
  GetWindowRect(list->WindowHandle(), &w);
  const int dx = o.x - w.left, dy = o.y - w.top;
  // The chosen item's right end (past its text) as the section paints it.
  const TRect r = list->ItemRect(2);
  auto expected = CreateBmp32(r.Width(), r.Height());
  PaintItem(selection, "SELECTION", MakeCacheInfo(list->SkinData()->CacheBmp.get(), 2, 2), true, focused ? 1 : 0,
            TRect(0, 0, r.Width(), r.Height()), TPoint(r.Left, r.Top), expected.get(), manager);
  const textctl::TShot want = textctl::ShotOfBitmap(expected.get());
  const textctl::TShot shown = textctl::ShotOf(list->WindowHandle(), dx + r.Left, dy + r.Top, r.Width(), r.Height());
  int differ = 0;
  for (int y = 1; y < r.Height() - 1; ++y)
    for (int x = r.Width() - 24; x < r.Width() - 2; ++x) differ += shown.At(x, y) != want.At(x, y);
  EXPECT_EQ(differ, 0) << "the chosen item in the selection look";


  // Another item lies on the list's own background.
  const TRect other = list->ItemRect(4);
  const textctl::TShot plain =
      textctl::ShotOf(list->WindowHandle(), dx + other.Left, dy + other.Top, other.Width(), other.Height());
  const textctl::TShot cache = textctl::ShotOfBitmap(list->SkinData()->CacheBmp.get());
  differ = 0;
  for (int y = 0; y < other.Height(); ++y)
    for (int x = other.Width() - 24; x < other.Width() - 2; ++x)
      differ += plain.At(x, y) != cache.At(other.Left + x + 2, other.Top + y + 2);
  EXPECT_EQ(differ, 0) << "an unchosen item over the list's background";

  skinSelectDlg->Hide();
}

}  // namespace

// The main window with three channels under the skin its settings name: the
// control strip and the channel panels paint from their caches, the value,
// label and name fields show the skin's "BAR" colours, and the panels made
// again after a channel is deleted take the skin too. Screenshots, skinned
// and plain, go to build/screenshots/controls.
#include <gtest/gtest.h>

#include "MonitorHost.h"
#include "app/Unit1.h"
#include "skin/controls/sMemo.h"
#include "skin/controls/sPanel.h"
#include "skin/core/sCommonData.h"
#include "classlib/ui/WinApi.h"

using namespace monitortest;

namespace {

const std::string kSettings = ThreeChannels("Skin=Wood (internal)\r\n");

std::uint32_t Rgb(COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

std::uint32_t Screen(TWinControl* C, int X, int Y) { return Rgb(testsupport::ClientPixel(C->WindowHandle(), X, Y)); }

void Shot(const char* Name) {
  const std::string dir = testsupport::HostBuildDir() + "/screenshots";
  CreateDirectoryW(testsupport::WinPath(dir).c_str(), nullptr);
  CreateDirectoryW(testsupport::WinPath(dir + "/controls").c_str(), nullptr);
  EXPECT_NE(testsupport::Screenshot(Form1->Handle(), std::string("controls/") + Name), "");
}

// A skinned panel shows its cache where no child covers it.
void ExpectPaintedFromTheSkin(TsPanel* P, const char* What) {
  SCOPED_TRACE(What);
  TsCommonData* s = P->SkinData();
  ASSERT_TRUE(s->Skinned());
  if (!IsCached(s)) return;  // a transparent section: drawn from its parent
  ASSERT_TRUE(s->CacheBmp);
  ASSERT_EQ(s->CacheBmp->Width(), P->Width());
  for (const TPoint pt : {TPoint{2, 2}, TPoint{P->Width() - 3, P->Height() - 3}})
    EXPECT_EQ(Screen(P, pt.X, pt.Y), Rgb(GetPixel(s->CacheBmp->Canvas()->Handle(), pt.X, pt.Y)));
}

// The value, label and name fields of a channel in the section's colours.
void ExpectBarColours(int Channel, std::uint32_t Color, std::uint32_t Font) {
  for (const char* field : {"sMemoVal", "sMemoLbl", "sMemoName"}) {
    SCOPED_TRACE(testing::Message() << field << Channel);
    auto* m = dynamic_cast<TsMemo*>(Form1->FindComponent(field + IntToStr(Channel)));
    ASSERT_NE(m, nullptr);
    EXPECT_NE(m->ScrollWnd(), nullptr) << "the skinned frame";
    RECT c{};
    GetClientRect(m->WindowHandle(), &c);
    EXPECT_EQ(Screen(m, c.right - 2, c.bottom - 2), Color);
    int ink = 0;
    for (int y = 0; y < c.bottom; ++y)
      for (int x = 0; x < c.right; ++x) ink += Screen(m, x, y) == Font;
    EXPECT_GT(ink, 0) << "the text in the section's font colour";
  }
}

TEST(MonitorSkinnedPanels, TheSettingsSkinPaintsTheStripThePanelsAndTheirFields) {
  MonitorHost::WriteSettings(kSettings);
  MonitorHost host(kThreeDevices);
  host.Start();
  ASSERT_TRUE(host.PumpUntil([] { return MonitorHost::ValueOf(0) == "12,34" && MonitorHost::ValueOf(2) == "1000,00"; },
                             5000));
  TsSkinManager* m = Form1->sSkinManager1;
  ASSERT_EQ(m->SkinName(), "Wood (internal)");
  const Integer bar = m->GetSkinIndex("BAR");
  ASSERT_GE(bar, 0);
  const TsGenState& look = m->Sections[static_cast<size_t>(bar)].Props[0];
  const std::uint32_t barColor = Rgb(ColorToRGB(look.Color)), barFont = Rgb(ColorToRGB(look.FontColor.Color));
  host.Pump(200);

  ExpectPaintedFromTheSkin(Form1->sPanelCtl, "the control strip");
  for (int n = 0; n < 3; ++n) {
    auto* panel = dynamic_cast<TsPanel*>(Form1->FindComponent("sPanel" + IntToStr(n)));
    ASSERT_NE(panel, nullptr);
    ExpectPaintedFromTheSkin(panel, "a channel panel");
    ExpectBarColours(n, barColor, barFont);
  }
  Shot("monitor_skinned");

  // Deleting channel 1 makes the panels again: they take the skin too.
  host.Dialogs().Answer("Попытка удаления", IDYES);
  static_cast<TButton*>(Form1->FindComponent("btnDelete0"))->Click();
  ASSERT_TRUE(host.PumpUntil([] { return ChannelCount == 2 && MonitorHost::ValueOf(1) == "1000,00"; }, 3000));
  host.Pump(200);
  for (int n = 0; n < 2; ++n) {
    ExpectPaintedFromTheSkin(dynamic_cast<TsPanel*>(Form1->FindComponent("sPanel" + IntToStr(n))), "made again");
    ExpectBarColours(n, barColor, barFont);
  }
  Shot("monitor_skinned_after_delete");

  // Without the skin the fields are plain edits again.
  m->SetActive(false);
  host.Pump(300);
  auto* value = dynamic_cast<TsMemo*>(Form1->FindComponent("sMemoVal0"));
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->ScrollWnd(), nullptr);
  Shot("monitor_plain");
}

}  // namespace

// The monitor's own forms skinned by the providers of their form resources:
// the main window and two dialogs with each of the seven stored skins, saved
// as build/screenshots/forms/<skin>-<form>.png, and what a user sees of their
// caption bands.
#include <gtest/gtest.h>

#include <map>

#include "MonitorHost.h"
#include "app/Unit2.h"
#include "app/skinSelectDlgU.h"
#include "skin/forms/sSkinProvider.h"
#include "classlib/ui/WinApi.h"

using namespace monitortest;

namespace {

const char kOneChannel[] =
    "[Settings]\r\nDataSource0=[0]\r\nMODBUS_address0=01\r\n[ComPort1]\r\nPort=COM5\r\nBaudRate=115200\r\n";

const char* const kStoredSkins[] = {"Aluminium", "BlueGlass", "DarkGlass", "GrayPlastic",
                                    "Neutral2",  "Pulsar",    "Wood"};

TsSkinProvider* ProviderOf(TCustomForm* Form) {
  return reinterpret_cast<TsSkinProvider*>(
      SendMessageW(Form->Handle(), SM_ALPHACMD, AlphaCmdParam(ACMD_QUERY_PROVIDER), 0));
}

std::uint32_t Rgb(TColor c) { return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); }

// A pixel of the provider's image of the whole window (0xRRGGBB).
std::uint32_t CachePixel(TacBitmap* Bmp, int X, int Y) {
  return static_cast<const std::uint32_t*>(Bmp->ScanLine(Y))[X] & 0xFFFFFF;
}

// What the caption band of a shown form looks like on the screen, against the
// provider's image of the window and the native caption colours.
struct TBand {
  int Pixels = 0;
  int UnlikeImage = 0;   // screen pixels that differ from the provider's image
  int Native = 0;        // screen pixels of a native caption colour
  std::uint32_t Common = 0;  // the band's most frequent colour
};

TBand ReadBand(TCustomForm* Form, TsSkinProvider* P) {
  TBand band;
  RECT r;
  GetWindowRect(Form->Handle(), &r);
  TacBitmap* image = P->SkinData()->CacheBmp.get();
  if (!image) return band;
  const int w = r.right - r.left;
  // Inside the frame's side borders and below its top one: the title itself.
  const int left = P->BorderWidth() + 2, top = P->BorderHeight(), bottom = P->CaptionHeight();
  HDC screen = GetDC(nullptr);
  std::vector<std::uint32_t> px = testsupport::ReadPixels(screen, r.left, r.top, w, bottom);
  ReleaseDC(nullptr, screen);
  const std::uint32_t native[] = {Rgb(GetSysColor(COLOR_ACTIVECAPTION)), Rgb(GetSysColor(COLOR_INACTIVECAPTION)),
                                  Rgb(GetSysColor(COLOR_GRADIENTACTIVECAPTION)),
                                  Rgb(GetSysColor(COLOR_GRADIENTINACTIVECAPTION))};
  std::map<std::uint32_t, int> counts;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < w - left; ++x) {
      const std::uint32_t c = px[static_cast<size_t>(y) * w + x] & 0xFFFFFF;
      ++band.Pixels;
      ++counts[c];
      if (c != CachePixel(image, x, y)) ++band.UnlikeImage;
      for (std::uint32_t n : native) band.Native += c == n;
    }
  int most = 0;
  for (const auto& [c, n] : counts)
    if (n > most) most = n, band.Common = c;
  return band;
}

void ExpectSkinnedCaption(TCustomForm* Form, const std::string& Shot) {
  SCOPED_TRACE(Shot);
  TsSkinProvider* p = ProviderOf(Form);
  ASSERT_NE(p, nullptr) << "the form resource's provider serves the form";
  ASSERT_TRUE(p->Skinned());
  testsupport::Screenshot(Form->Handle(), "forms/" + Shot);
  const TBand band = ReadBand(Form, p);
  ASSERT_GT(band.Pixels, 1000);
  EXPECT_EQ(band.UnlikeImage, 0) << "the caption band on the screen is the provider's skinned image";
  EXPECT_LT(band.Native * 20, band.Pixels) << "hardly a pixel of the native caption colours";
  // The band's most frequent colour (the title's fill) is no native caption colour.
  EXPECT_NE(band.Common, Rgb(GetSysColor(COLOR_ACTIVECAPTION)));
  EXPECT_NE(band.Common, Rgb(GetSysColor(COLOR_INACTIVECAPTION)));
}

// Shows a dialog without its modal loop, lets it paint and hands it to Check.
template <class Fn>
void WithDialog(MonitorHost& Host, TCustomForm* Dialog, Fn Check) {
  Dialog->Show();
  Host.Pump(150);
  Check();
  Dialog->Hide();
  Host.Pump(50);
}

TEST(MonitorForms, EveryStoredSkinPaintsTheCaptionsOfTheMainWindowAndTheDialogs) {
  MonitorHost::WriteSettings(kOneChannel);
  MonitorHost host({"XBV5:1:115200:N"});
  host.Start();
  ASSERT_TRUE(host.PumpUntil([] { return FirstLoadDone; }, 5000));
  CreateDirectoryW(testsupport::WinPath(testsupport::HostBuildDir() + "/screenshots").c_str(), nullptr);
  CreateDirectoryW(testsupport::WinPath(testsupport::HostBuildDir() + "/screenshots/forms").c_str(), nullptr);
  TsSkinManager* manager = Form1->sSkinManager1;
  for (const char* skin : kStoredSkins) {
    const std::string name = std::string(skin) + " (internal)";
    manager->SetSkinName(name.c_str());
    ASSERT_EQ(manager->SkinName(), name);
    host.Pump(200);
    ExpectSkinnedCaption(Form1, std::string(skin) + "-main");
    WithDialog(host, SetupDLG, [&] { ExpectSkinnedCaption(SetupDLG, std::string(skin) + "-port"); });
    WithDialog(host, skinSelectDlg, [&] { ExpectSkinnedCaption(skinSelectDlg, std::string(skin) + "-skins"); });
  }
}

}  // namespace

// The wrappers of the desktop composition: under Wine every one of them
// answers that there is no composition; the composition's branches are
// reached by putting answers in place of the system's functions.
#include <gtest/gtest.h>

#include "FormAnimSupport.h"
#include "skin/forms/acDwm.h"

namespace {

using namespace skincore;
using namespace formanim;

// Puts the looked-up functions back at the end of a test.
struct TDwmRestore {
  TacDwmFunctions Saved = acDwm();
  HMODULE Library = hDWMAPI;
  ~TDwmRestore() {
    acDwm() = Saved;
    hDWMAPI = Library;
  }
};

struct TAttributeCall {
  HWND Wnd;
  DWORD Attribute;
  DWORD Value;
  DWORD Size;
};
std::vector<TAttributeCall> attributes;
HRESULT WINAPI RecordAttribute(HWND Wnd, DWORD Attribute, LPCVOID Data, DWORD Size) {
  attributes.push_back({Wnd, Attribute, *static_cast<const DWORD*>(Data), Size});
  return S_OK;
}
HRESULT WINAPI Composing(BOOL* Enabled) {
  *Enabled = TRUE;
  return S_OK;
}
std::vector<SIZE> thumbnails;
HRESULT WINAPI RecordThumbnail(HWND, HBITMAP Bmp, DWORD) {
  BITMAP b{};
  GetObjectW(Bmp, sizeof b, &b);
  thumbnails.push_back(SIZE{b.bmWidth, b.bmHeight});
  return S_OK;
}

TEST(Composition, UnderWineEveryWrapperSaysThereIsNone) {
  TDwmRestore restore;
  EXPECT_FALSE(AeroIsEnabled());
  EXPECT_TRUE(ForbidSysAnimating());
  attributes.clear();
  acDwm().SetWindowAttribute = RecordAttribute;
  InitDwm(GetDesktopWindow(), true);
  EXPECT_TRUE(attributes.empty()) << "without composition the transitions are left alone";
}

TEST(Composition, InjectedCompositionSwitchesTheCaptionTransitions) {
  TDwmRestore restore;
  acDwm().IsCompositionEnabled = Composing;
  acDwm().SetWindowAttribute = RecordAttribute;
  ASSERT_TRUE(AeroIsEnabled());
  EXPECT_FALSE(ForbidSysAnimating());
  TForm* f = NewForm("Transitions");
  TFreeAtEnd<TForm> freeF{f};
  attributes.clear();
  InitDwm(f->Handle(), true);
  InitDwm(f->Handle(), false);
  ASSERT_EQ(attributes.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(attributes[i].Wnd, f->Handle());
    EXPECT_EQ(attributes[i].Attribute, 3u) << "transitions forced off";
    EXPECT_EQ(attributes[i].Size, 4u);
  }
  EXPECT_EQ(attributes[0].Value, 1u);
  EXPECT_EQ(attributes[1].Value, 0u);
}

// A library without the functions: the wrappers report it instead of failing.
TEST(Composition, MissingFunctionsAreReportedNotCalled) {
  TDwmRestore restore;
  acDwm() = TacDwmFunctions{};
  hDWMAPI = GetModuleHandleW(L"kernel32.dll");
  DWORD value = 1;
  EXPECT_EQ(DwmSetWindowAttribute(GetDesktopWindow(), 3, &value, sizeof value), static_cast<HRESULT>(E_NOTIMPL));
  EXPECT_FALSE(AeroIsEnabled());
  DwmInvalidateIconicBitmaps(GetDesktopWindow());
  HRGN rgn = CreateRectRgn(0, 0, 10, 10);
  EnableBlurBehind(GetDesktopWindow(), true, rgn);
  EXPECT_EQ(GetObjectType(rgn), 0u) << "the region is deleted in every case";
  EXPECT_FALSE(SetPreviewBmp(GetDesktopWindow(), nullptr));
}

TEST(Composition, ThumbnailsKeepTheFormsProportions) {
  struct {
    Integer W, H, MaxW, MaxH, ThumbW, ThumbH;
  } cases[] = {
      {200, 100, 160, 120, 160, 80},
      {200, 100, 100, 120, 100, 50},
      {100, 200, 160, 120, 60, 120},
      {3, 2, 10, 10, 10, 7},  // 6.67 to the nearest
  };
  for (const auto& c : cases) {
    const TSize s = ThumbSize(c.W, c.H, c.MaxW, c.MaxH);
    EXPECT_EQ(s.cx, c.ThumbW) << c.W << "x" << c.H << " in " << c.MaxW << "x" << c.MaxH;
    EXPECT_EQ(s.cy, c.ThumbH) << c.W << "x" << c.H << " in " << c.MaxW << "x" << c.MaxH;
  }
}

// The task bar's thumbnail of a form: its image of the window scaled into the
// box, then the whole form in the same size.
TEST(Composition, TheThumbnailIsTheFormScaledIntoTheBox) {
  TDwmRestore restore;
  acDwm().SetIconicThumbnail = RecordThumbnail;
  TForm* f = NewForm("Thumb");
  TFreeAtEnd<TForm> freeF{f};
  auto* p = Create<TsSkinProvider>(f);
  p->SkinData()->CacheBmp = CreateBmp32(200, 100);
  thumbnails.clear();
  EXPECT_TRUE(SetThumbIcon(f->Handle(), p, 160, 120));
  ASSERT_EQ(thumbnails.size(), 2u) << "the frame's image, then the whole form";
  for (const SIZE& s : thumbnails) {
    EXPECT_EQ(s.cx, 160);
    EXPECT_EQ(s.cy, 80);
  }
  EXPECT_EQ(p->FormState & acfs::TaskbarImage, 0u) << "the taking bit is cleared again";
  EXPECT_FALSE(SetThumbIcon(f->Handle(), p, 0, 120));
  p->SkinData()->CacheBmp.reset();
  EXPECT_FALSE(SetThumbIcon(f->Handle(), p, 160, 120)) << "no picture, no thumbnail";
}

}  // namespace

// Alpha image lists under Wine: images kept as files (PNG, icon, bitmap),
// streamed with a form, decoded, cached, resampled by a virtual list and
// drawn with their alpha over a background (pixels read back). The image
// files are described in make_images.py; expected pixels follow the blend
// D = (S x a + D x (256 - a)) shr 8 of every colour channel.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

// The class library's headers go before any that includes the platform's.
#include "../skin_graphics/AlphaTestSupport.h"
#include "classlib/ui/Forms.h"
#include "skin/graphics/acAlphaImageList.h"
#include "skin/graphics/acPNG.h"

#include "TestSupport.h"

using namespace alphatest;

class TImageListForm : public TForm {
  DK_CLASS(TImageListForm, TForm)
 public:
  using TForm::TForm;
  TsAlphaImageList* Alpha() { return static_cast<TsAlphaImageList*>(FindComponent("sAlphaImageList1")); }
  TsVirtualImageList* Virtual() { return static_cast<TsVirtualImageList*>(FindComponent("sVirtualImageList1")); }
};
DK_PUBLISH(TImageListForm) {}

namespace {

AnsiString ImagePath(const std::string& name) {
  return winapi::A(testsupport::WinPath(std::string(DK_IMGLIST_IMAGES) + "/" + name));
}

constexpr std::uint32_t kBackground = Bgra(128, 128, 128, 255);

// One colour channel of S at alpha A over the background's 128 (an opaque
// pixel is its own colour).
constexpr int Over(int s, int a) { return a == 255 ? s : (s * a + 128 * (256 - a)) >> 8; }
// A pixel (red, green, blue at alpha A) laid over the background.
constexpr std::uint32_t OverGrey(int r, int g, int b, int a) { return Bgra(Over(b, a), Over(g, a), Over(r, a), 255); }

// The pixels of each image of the lists over the background, at (x, y) of the image.
std::uint32_t Glyph32(int x, int y) {
  if (x < 16) return OverGrey(255, 0, 0, 255);
  return y < 16 ? OverGrey(0, 0, 255, 128) : kBackground;
}
std::uint32_t Icon32(int, int y) { return y < 16 ? OverGrey(0, 200, 0, 255) : kBackground; }
std::uint32_t Fuchsia24(int x, int y) {
  return x >= 8 && x < 24 && y >= 8 && y < 24 ? OverGrey(0, 128, 128, 255) : kBackground;
}

// How far a resampled flat area may be from its value.
constexpr int kResampled = 5;

// Every byte of two pixels within Tolerance.
bool Near(std::uint32_t Got, std::uint32_t Want, int Tolerance) {
  for (int shift = 0; shift < 32; shift += 8)
    if (std::abs(int((Got >> shift) & 0xFF) - int((Want >> shift) & 0xFF)) > Tolerance) return false;
  return true;
}

// The image drawn at (Left, Top) of a background and nothing else changed.
::testing::AssertionResult DrawnAt(const Bmp& b, int Left, int Top, int W, int H,
                                   std::uint32_t (*Image)(int, int)) {
  return OnlyInside(b, Bounds(Left, Top, W, H), [&](int x, int y) { return Image(x - Left, y - Top); }, kBackground);
}

// Form-loaded lists.
class ImageListFormTest : public ::testing::Test {
 protected:
  void SetUp() override { Form = Create<TImageListForm>(Application); }
  void TearDown() override {
    if (Form) Form->Free();
  }
  TImageListForm* Form = nullptr;
};

TEST_F(ImageListFormTest, ImgDataStreamsThroughTheFormResourceAndBackAgain) {
  TsAlphaImageList* list = Form->Alpha();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->Width(), 32);
  EXPECT_EQ(list->Height(), 32);
  ASSERT_EQ(list->Items()->Count(), 3);
  EXPECT_EQ(list->Count(), 3) << "one system image per item";
  EXPECT_TRUE(list->ListGenerated());
  const char* files[] = {"glyph32.png", "icon32.ico", "fuchsia24.bmp"};
  const TsImageFormat formats[] = {ifPNG, ifICO, ifBMP32};
  for (int i = 0; i < 3; ++i) {
    TMemoryStream file;
    file.LoadFromFile(ImagePath(files[i]));
    TsImgListItem* item = list->Items()->Items(i);
    EXPECT_EQ(item->ImageFormat, formats[i]) << i;
    ASSERT_EQ(item->ImgData()->Size(), file.Size()) << files[i];
    EXPECT_EQ(std::memcmp(item->ImgData()->Memory(), file.Memory(), static_cast<size_t>(file.Size())), 0) << files[i];
  }
  EXPECT_EQ(list->Items()->Items(2)->PixelFormat, pf24bit);

  // Written out and read back, the items keep their files.
  TMemoryStream stream;
  stream.WriteComponent(list);
  stream.SetPosition(0);
  auto* copy = static_cast<TsAlphaImageList*>(stream.ReadComponent(nullptr));
  ASSERT_NE(copy, nullptr);
  ASSERT_EQ(copy->Items()->Count(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(copy->Items()->Items(i)->ImageName, list->Items()->Items(i)->ImageName);
    EXPECT_EQ(copy->Items()->Items(i)->ImgData()->Size(), list->Items()->Items(i)->ImgData()->Size());
  }
  EXPECT_EQ(copy->Count(), 3);
  copy->Free();
}

TEST_F(ImageListFormTest, PngIconAndBitmapItemsDrawWithTheirAlphaOverABackground) {
  std::uint32_t (*images[])(int, int) = {Glyph32, Icon32, Fuchsia24};
  for (int i = 0; i < 3; ++i) {
    Bmp dest = Filled(40, 40, kBackground);
    const TSize size = DrawAlphaImgList(Form->Alpha(), dest.get(), 4, 5, i, 0, clNone, 0, 1, false);
    EXPECT_EQ(size.cx, 32);
    EXPECT_EQ(size.cy, 32);
    EXPECT_TRUE(DrawnAt(dest, 4, 5, 32, 32, images[i])) << "image " << i;
  }
}

TEST_F(ImageListFormTest, SystemImagesBuiltFromTheItemsKeepTheirTransparency) {
  // What the system list itself draws (as plain controls would), over the background.
  std::uint32_t (*images[])(int, int) = {Glyph32, Icon32, Fuchsia24};
  for (int i = 0; i < 3; ++i) {
    Bmp dest = Filled(32, 32, kBackground);
    ImageList_Draw(Form->Alpha()->Handle(), i, dest->Canvas()->Handle(), 0, 0, ILD_TRANSPARENT);
    for (const TPoint p : {Point(2, 2), Point(20, 4), Point(20, 20), Point(12, 12), Point(2, 30)})
      EXPECT_PRED3(Near, Px(dest, p.X, p.Y) & 0xFFFFFF, images[i](p.X, p.Y) & 0xFFFFFF, 1)
          << "image " << i << " at " << p.X << "," << p.Y;
  }
}

TEST_F(ImageListFormTest, ImagesAddedPastTheItemsGetAlphaExceptTheirFuchsia) {
  TsAlphaImageList* list = Form->Alpha();
  // A 24-bit icon: fuchsia around an opaque olive square.
  TBitmap colour;
  colour.SetSize(32, 32);
  colour.Canvas()->Brush()->SetColor(clFuchsia);
  colour.Canvas()->FillRect(Rect(0, 0, 32, 32));
  colour.Canvas()->Brush()->SetColor(clOlive);
  colour.Canvas()->FillRect(Rect(4, 4, 12, 12));
  TBitmap mask;
  mask.SetPixelFormat(pf1bit);
  mask.SetSize(32, 32);
  mask.Canvas()->Brush()->SetColor(clBlack);
  mask.Canvas()->FillRect(Rect(0, 0, 32, 32));
  ICONINFO ii{TRUE, 0, 0, mask.Handle(), colour.Handle()};
  static_cast<TBitmapCanvas*>(colour.Canvas())->FreeContext();
  static_cast<TBitmapCanvas*>(mask.Canvas())->FreeContext();
  HICON icon = CreateIconIndirect(&ii);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(list->AddIconHandle(icon), 3);
  DestroyIcon(icon);
  EXPECT_EQ(list->Items()->Count(), 3);
  Bmp dest = Filled(32, 32, kBackground);
  DrawAlphaImgList(list, dest.get(), 0, 0, 3, 0, clNone, 0, 1, false);
  EXPECT_TRUE(PixelsAre(dest, [](int x, int y) {
    return x >= 4 && x < 12 && y >= 4 && y < 12 ? OverGrey(128, 128, 0, 255) : kBackground;
  }));
}

TEST_F(ImageListFormTest, TheListDrawsOnACanvasAndADeviceContextTheSameWay) {
  std::uint32_t (*images[])(int, int) = {Glyph32, Icon32, Fuchsia24};
  for (int i = 0; i < 3; ++i) {
    Bmp onCanvas = Filled(40, 40, kBackground), onDC = Filled(40, 40, kBackground);
    Form->Alpha()->Draw(onCanvas->Canvas(), 3, 2, i, true);
    DrawAlphaImgListDC(Form->Alpha(), onDC->Canvas()->Handle(), 3, 2, i, 0, clNone, 0, 1, false);
    for (const Bmp* b : {&onCanvas, &onDC})
      for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
          const bool inside = Bounds(3, 2, 32, 32).Contains(Point(x, y));
          const std::uint32_t want = inside ? images[i](x - 3, y - 2) : kBackground;
          // The icon goes through the system's icon drawing, which may round
          // an opaque pixel a level differently.
          ASSERT_PRED3(Near, Px(*b, x, y) & 0xFFFFFF, want & 0xFFFFFF, b == &onCanvas && i == 1 ? 1 : 0)
              << (b == &onCanvas ? "Draw " : "DrawAlphaImgListDC ") << i << " at " << x << "," << y;
        }
  }
}

TEST_F(ImageListFormTest, AVirtualListResamplesItsImagesAndEmptiesWhenTheListGoes) {
  TsVirtualImageList* virt = Form->Virtual();
  ASSERT_EQ(virt->AlphaImageList(), Form->Alpha());
  EXPECT_EQ(virt->Width(), 16);
  EXPECT_EQ(virt->Count(), 3);
  EXPECT_EQ(virt->CacheLength(), 3);
  EXPECT_EQ(virt->CachedImage(0), nullptr) << "slots are filled when first drawn";

  Bmp dest = Filled(20, 20, kBackground);
  const TSize size = DrawAlphaImgList(virt, dest.get(), 2, 2, 0, 0, clNone, 0, 1, false);
  EXPECT_EQ(size.cx, 16);
  ASSERT_NE(virt->CachedImage(0), nullptr);
  EXPECT_EQ(virt->CachedImage(0)->Width(), 16);
  // Away from the edges of the picture's parts the resampled pixels are the
  // parts' own, within the few levels the resampler's weights lose (they are
  // not scaled to sum to one).
  EXPECT_PRED3(Near, Px(dest, 2 + 3, 2 + 3), Glyph32(0, 0), kResampled);
  EXPECT_PRED3(Near, Px(dest, 2 + 12, 2 + 3), Glyph32(24, 0), kResampled);
  EXPECT_PRED3(Near, Px(dest, 2 + 12, 2 + 12), kBackground, kResampled);
  EXPECT_EQ(Px(dest, 0, 0), kBackground);
  EXPECT_EQ(Px(dest, 19, 19), kBackground);

  // The icon is resampled rather than cut, and the 24-bit bitmap keeps its
  // pixels at the other size too.
  Bmp icon = Filled(16, 16, kBackground), bitmap = Filled(16, 16, kBackground);
  DrawAlphaImgList(virt, icon.get(), 0, 0, 1, 0, clNone, 0, 1, false);
  DrawAlphaImgList(virt, bitmap.get(), 0, 0, 2, 0, clNone, 0, 1, false);
  EXPECT_PRED3(Near, Px(icon, 8, 3), Icon32(16, 6), kResampled);
  EXPECT_PRED3(Near, Px(icon, 8, 12), kBackground, kResampled);
  EXPECT_PRED3(Near, Px(bitmap, 8, 8), Fuchsia24(16, 16), kResampled);
  EXPECT_PRED3(Near, Px(bitmap, 1, 1), kBackground, kResampled);
  EXPECT_PRED3(Near, Px(bitmap, 1, 14), kBackground, kResampled);

  Form->Alpha()->Free();
  EXPECT_EQ(virt->AlphaImageList(), nullptr);
  EXPECT_EQ(virt->Count(), 0);
  EXPECT_EQ(virt->CacheLength(), 0);
  Bmp after = Filled(20, 20, kBackground);
  DrawAlphaImgList(virt, after.get(), 2, 2, 0, 0, clNone, 0, 1, false);
  EXPECT_TRUE(PixelsAre(after, [](int, int) { return kBackground; }));
}

TEST_F(ImageListFormTest, RenderCacheNowFillsOneSlotOrAll) {
  TsVirtualImageList* virt = Form->Virtual();
  virt->RenderCacheNow(2);
  EXPECT_EQ(virt->CachedImage(0), nullptr);
  EXPECT_EQ(virt->CachedImage(1), nullptr);
  EXPECT_NE(virt->CachedImage(2), nullptr);
  virt->RenderCacheNow(-1);
  for (int i = 0; i < 3; ++i) EXPECT_NE(virt->CachedImage(i), nullptr) << i;
  virt->SetUseCache(false);
  EXPECT_EQ(virt->CacheLength(), 0);
  EXPECT_EQ(static_cast<TCustomImageList*>(virt)->Count(), 3) << "without a cache the system list holds the images";
}

TEST_F(ImageListFormTest, TwoSizesInTurnKeepOnlyTheLastCache) {
  TsAlphaImageList* list = Form->Alpha();
  TsImgListItem* item = list->Items()->Items(0);
  auto first = list->CreateBitmap32(0, 16, 16);
  ASSERT_NE(item->CacheBmp(), nullptr);
  EXPECT_EQ(item->CacheBmp()->Width(), 16);
  auto second = list->CreateBitmap32(0, 24, 24);
  EXPECT_EQ(second->Width(), 24);
  EXPECT_EQ(item->CacheBmp()->Width(), 24);
  EXPECT_EQ(item->CacheBmp()->Height(), 24);
  EXPECT_NE(item->CacheBmp(), second.get()) << "the caller's bitmap is a copy";
  list->SetUseCache(false);
  EXPECT_EQ(item->CacheBmp(), nullptr);
  auto third = list->CreateBitmap32(0, 32, 32);
  EXPECT_EQ(item->CacheBmp(), nullptr);
  EXPECT_EQ(list->CreateBitmap32(3, 32, 32), nullptr) << "no such image";
  EXPECT_EQ(list->CreateBitmap32(-1, 32, 32), nullptr);
}

// Lists filled in code.
TEST(AlphaImageList, FilesLoadByTheirFirstBytesAndTheirKeyColourGoesTransparent) {
  auto* list = Create<TsAlphaImageList>(nullptr);
  list->SetWidth(32);
  list->SetHeight(32);
  auto* virt = Create<TsVirtualImageList>(nullptr);
  virt->SetAlphaImageList(list);
  for (const char* name : {"glyph32.png", "icon32.ico", "fuchsia24.bmp"}) EXPECT_TRUE(list->TryLoadFromFile(ImagePath(name))) << name;
  EXPECT_FALSE(list->TryLoadFromFile(ImagePath("make_images.missing")));
  EXPECT_FALSE(list->TryLoadFromFile(winapi::A(testsupport::WinPath(DK_IMGLIST_IMAGES))));
  ASSERT_EQ(list->Items()->Count(), 3);
  EXPECT_EQ(list->Count(), 3);
  EXPECT_EQ(list->Items()->Items(0)->ImageName, "glyph32");
  EXPECT_EQ(list->Items()->Items(1)->ImageFormat, ifICO);
  EXPECT_EQ(list->Items()->Items(2)->ImageFormat, ifBMP32);
  EXPECT_EQ(list->Items()->Items(2)->OrigWidth, 32);
  EXPECT_EQ(virt->Count(), 3) << "a linked list hears of images loaded later";

  Bmp dest = Filled(32, 32, kBackground);
  DrawAlphaImgList(list, dest.get(), 0, 0, 2, 0, clNone, 0, 1, false);
  EXPECT_TRUE(DrawnAt(dest, 0, 0, 32, 32, Fuchsia24));
  // The system list's own image has the key colour transparent as well.
  Bmp sys = Filled(32, 32, kBackground);
  ImageList_Draw(list->Handle(), 2, sys->Canvas()->Handle(), 0, 0, ILD_TRANSPARENT);
  EXPECT_EQ(Px(sys, 1, 1) & 0xFFFFFF, kBackground & 0xFFFFFF);
  EXPECT_EQ(Px(sys, 16, 16) & 0xFFFFFF, Fuchsia24(16, 16) & 0xFFFFFF);
  virt->Free();
  list->Free();
}

TEST(AlphaImageList, GlyphCountAndStatePickOneGlyphOfAStrip) {
  auto* list = Create<TsAlphaImageList>(nullptr);
  list->SetWidth(64);
  list->SetHeight(16);
  ASSERT_TRUE(list->TryLoadFromFile(ImagePath("strip4.png")));
  const std::uint32_t glyphs[] = {OverGrey(255, 0, 0, 255), OverGrey(0, 255, 0, 255), OverGrey(0, 0, 255, 255),
                                  OverGrey(255, 255, 0, 255)};
  struct Case {
    Integer State, Count;
    int Width, First;  // answered width, first glyph drawn
  };
  const Case cases[] = {{7, 4, 16, 3}, {1, 4, 16, 1}, {-2, 4, 16, 0}, {0, 0, 64, 0}, {3, -1, 64, 0}};
  for (const Case& c : cases) {
    Bmp dest = Filled(70, 20, kBackground);
    const TSize size = DrawAlphaImgList(list, dest.get(), 2, 2, 0, 0, clNone, c.State, c.Count, false);
    EXPECT_EQ(size.cx, c.Width) << c.State << "/" << c.Count;
    EXPECT_EQ(size.cy, 16);
    EXPECT_TRUE(OnlyInside(dest, Bounds(2, 2, c.Width, 16), [&](int x, int) { return glyphs[c.First + (x - 2) / 16]; },
                           kBackground))
        << c.State << "/" << c.Count;
  }
  Bmp untouched = Filled(8, 8, kBackground);
  const TSize none = DrawAlphaImgList(list, untouched.get(), 0, 0, -1, 0, clNone, 0, 1, false);
  EXPECT_EQ(none.cx, 0);
  EXPECT_TRUE(PixelsAre(untouched, [](int, int) { return kBackground; }));
  list->Free();
}

TEST(AlphaImageList, OtherImageListsDrawThemselvesOverTheBackground) {
  auto* list = Create<TImageList>(nullptr);
  list->SetWidth(8);
  list->SetHeight(8);
  Bmp image = Filled(8, 8, Bgra(0, 0, 255, 0));
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 4; ++x) Px(image, x, y) = Bgra(0, 255, 0, 0);
  ASSERT_EQ(list->AddMasked(image.get(), static_cast<TColor>(0x0000FF)), 0) << "red is transparent";
  Bmp dest = Filled(12, 10, kBackground);
  const TSize size = DrawAlphaImgList(list, dest.get(), 1, 1, 0, 0, clNone, 0, 1, false);
  EXPECT_EQ(size.cx, 8);
  EXPECT_TRUE(PixelsAre(dest, [&](int x, int y) {
    const bool green = x >= 1 && x < 5 && y >= 1 && y < 9;
    return ((green ? Bgra(0, 255, 0, 0) : kBackground) & 0xFFFFFF) | (Px(dest, x, y) & 0xFF000000u);
  }));
  list->Free();
}

TEST(AlphaImageList, AddedBitmapsKeepAlphaAndTheirTransparentColour) {
  auto* list = Create<TsAlphaImageList>(nullptr);
  list->SetWidth(4);
  list->SetHeight(4);
  TBitmap image;
  image.SetPixelFormat(pf24bit);
  image.SetSize(4, 4);
  image.Canvas()->Brush()->SetColor(clRed);
  image.Canvas()->FillRect(Rect(0, 0, 4, 4));
  image.Canvas()->Brush()->SetColor(clBlue);
  image.Canvas()->FillRect(Rect(0, 0, 2, 4));
  image.SetTransparent(true);
  image.SetTransparentColor(clRed);
  EXPECT_EQ(list->Add(&image, nullptr), 0);
  ASSERT_EQ(list->Items()->Count(), 1);
  EXPECT_EQ(list->Items()->Items(0)->ImageFormat, ifBMP32);
  Bmp dest = Filled(4, 4, kBackground);
  DrawAlphaImgList(list, dest.get(), 0, 0, 0, 0, clNone, 0, 1, false);
  EXPECT_TRUE(PixelsAre(dest, [](int x, int) { return x < 2 ? OverGrey(0, 0, 255, 255) : kBackground; }))
      << "red, the transparent colour, stays out; blue is drawn";
  list->Free();
}

// Reads the text of every message box of the thread as it becomes active and
// closes it.
class TMessageBoxWatcher {
 public:
  TMessageBoxWatcher() {
    Current() = this;
    FHook = SetWindowsHookExW(WH_CBT, Proc, nullptr, GetCurrentThreadId());
  }
  ~TMessageBoxWatcher() {
    UnhookWindowsHookEx(FHook);
    Current() = nullptr;
  }
  TMessageBoxWatcher(const TMessageBoxWatcher&) = delete;
  TMessageBoxWatcher& operator=(const TMessageBoxWatcher&) = delete;
  std::vector<std::wstring> Texts;

 private:
  std::vector<HWND> FSeen;
  static TMessageBoxWatcher*& Current() {
    static TMessageBoxWatcher* current = nullptr;
    return current;
  }
  static LRESULT CALLBACK Proc(int code, WPARAM w, LPARAM l) {
    HWND wnd = reinterpret_cast<HWND>(w);
    wchar_t cls[16] = {};
    if (code == HCBT_ACTIVATE) GetClassNameW(wnd, cls, 16);
    // Only dialogs, each once (a box may be activated again before it goes).
    if (code == HCBT_ACTIVATE && Current() && std::wstring(cls) == L"#32770" &&
        std::find(Current()->FSeen.begin(), Current()->FSeen.end(), wnd) == Current()->FSeen.end()) {
      Current()->FSeen.push_back(wnd);
      wchar_t text[512] = {};
      GetDlgItemTextW(wnd, 0xFFFF, text, 512);  // the message box's text
      Current()->Texts.push_back(text);
      PostMessageW(wnd, WM_CLOSE, 0, 0);
    }
    return CallNextHookEx(nullptr, code, w, l);
  }
  HHOOK FHook = nullptr;
};

TEST(AlphaImageList, AFileItCannotLoadIsReportedAndResourcesMustExist) {
  auto* list = Create<TsAlphaImageList>(nullptr);
  const AnsiString bad = winapi::A(testsupport::WinPath(std::string(DK_IMGLIST_IMAGES) + "/../CMakeFiles"));
  {
    TMessageBoxWatcher boxes;
    list->LoadFromFile(bad);
    ASSERT_EQ(boxes.Texts.size(), 1u);
    EXPECT_EQ(boxes.Texts[0], winapi::W("Cannot load " + bad + "\r\nInvalid or unexpected image format."));
    list->LoadFromFile(ImagePath("glyph32.png"));
    EXPECT_EQ(boxes.Texts.size(), 1u) << "a good file is loaded without a word";
  }
  EXPECT_EQ(list->Count(), 1);
  EXPECT_FALSE(AddImageFromRes(GetModuleHandleW(nullptr), list, "NOSUCHICON", ifICO));
  EXPECT_THROW(AddImageFromRes(GetModuleHandleW(nullptr), list, "NOSUCHPNG", ifPNG), EResNotFound);
  list->Free();
}

}  // namespace

// Colours, canvases, bitmaps and icons on the real platform, checked by the
// pixels they leave behind.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "classlib/ui/Graphics.h"

namespace {

std::unique_ptr<TBitmap> NewBitmap(int w, int h, TPixelFormat f = pf24bit) {
  std::unique_ptr<TBitmap> b(Create<TBitmap>());
  b->SetPixelFormat(f);
  b->SetSize(w, h);
  return b;
}

TEST(UiGraphics, ColoursByNameAndSystemIndex) {
  EXPECT_EQ(ColorToRGB(clBtnFace), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(ColorToRGB(clRed), 0x0000FF);
  EXPECT_EQ(ColorToRGB(clNone), clNone);
  EXPECT_EQ(StringToColor("clBtnFace"), clBtnFace);
  EXPECT_EQ(StringToColor("clMenuBar"), clMenuBar);
  EXPECT_EQ(StringToColor("$00FF00"), 0x00FF00);
  EXPECT_EQ(ColorToString(clWindowText), "clWindowText");
  EXPECT_EQ(ColorToString(0x123456), "$00123456");
  EXPECT_THROW(StringToColor("clNoSuchColour"), EConvertError);
}

TEST(UiGraphics, CanvasFillsAndFramesWhatTheBitmapHolds) {
  auto b = NewBitmap(20, 10);
  TCanvas* c = b->Canvas();
  c->Brush()->SetColor(clRed);
  c->FillRect(Rect(0, 0, 20, 5));  // top half
  c->Brush()->SetColor(clBlue);
  c->FrameRect(Rect(0, 5, 20, 10));
  EXPECT_EQ(c->Pixel(3, 2), clRed);
  EXPECT_EQ(c->Pixel(0, 9), clBlue);
  EXPECT_EQ(c->Pixel(10, 7), clWhite) << "a new bitmap is white inside the frame";
  // Row 0 is the top row; rows are bottom-up in memory.
  auto* top = static_cast<uint8_t*>(b->ScanLine(0));
  EXPECT_EQ(top[0], 0);
  EXPECT_EQ(top[1], 0);
  EXPECT_EQ(top[2], 255);
  EXPECT_EQ(static_cast<uint8_t*>(b->ScanLine(1)) - top, -b->RowBytes());
  EXPECT_THROW(b->ScanLine(10), EInvalidGraphicOperation);
}

TEST(UiGraphics, PixelFormatChangesKeepThePicture) {
  auto b = NewBitmap(8, 8);
  b->Canvas()->Brush()->SetColor(clLime);
  b->Canvas()->FillRect(Rect(0, 0, 4, 8));
  b->SetPixelFormat(pf32bit);
  auto* row = static_cast<uint32_t*>(b->ScanLine(3));
  EXPECT_EQ(row[1] & 0xFFFFFF, 0x00FF00u);  // BGRA: green
  EXPECT_EQ(row[6] & 0xFFFFFF, 0xFFFFFFu);
  for (TPixelFormat f : {pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf1bit}) {
    std::unique_ptr<TBitmap> copy(Create<TBitmap>());
    copy->Assign(b.get());
    copy->SetPixelFormat(f);
    EXPECT_EQ(copy->PixelFormat(), f);
    EXPECT_EQ(copy->Canvas()->Pixel(6, 6), clWhite) << f;
    TColor lime = copy->Canvas()->Pixel(1, 1);
    if (f == pf1bit)
      EXPECT_EQ(lime, clBlack) << "to two colours, all but the white background turns black";
    else
      EXPECT_GE(lime & 0xFF00, 0xF800) << f;
  }
  b->SetSize(16, 4);
  EXPECT_EQ(b->Canvas()->Pixel(1, 1), clLime) << "a size change keeps what fits";
  EXPECT_EQ(b->Width(), 16);
}

TEST(UiGraphics, BitmapFilesRoundTripInEveryDepth) {
  for (TPixelFormat f : {pf1bit, pf4bit, pf8bit, pf16bit, pf24bit, pf32bit}) {
    auto b = NewBitmap(13, 7, f);  // an odd width: rows are padded
    b->Canvas()->Brush()->SetColor(clBlack);
    b->Canvas()->FillRect(Rect(2, 1, 9, 4));
    TMemoryStream s;
    b->SaveToStream(&s);
    s.SetPosition(0);
    auto back = NewBitmap(1, 1);
    back->LoadFromStream(&s);
    EXPECT_EQ(back->PixelFormat(), f);
    ASSERT_EQ(back->Width(), 13);
    ASSERT_EQ(back->Height(), 7);
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 13; ++x)
        ASSERT_EQ(back->Canvas()->Pixel(x, y), b->Canvas()->Pixel(x, y)) << f << " at " << x << "," << y;
  }
}

TEST(UiGraphics, BrokenBitmapFilesAreRefused) {
  auto good = NewBitmap(4, 4, pf8bit);
  TMemoryStream s;
  good->SaveToStream(&s);
  std::string bytes(static_cast<const char*>(s.Memory()), static_cast<size_t>(s.Size()));
  auto load = [](const std::string& data) {
    TMemoryStream m;
    m.WriteBuffer(data.data(), static_cast<Integer>(data.size()));
    m.SetPosition(0);
    auto b = NewBitmap(1, 1);
    b->LoadFromStream(&m);
  };
  std::string wrongMagic = bytes, hugeWidth = bytes, badDepth = bytes, hugePalette = bytes;
  wrongMagic[0] = 'X';
  std::memcpy(hugeWidth.data() + 18, "\xFF\xFF\xFF\x7F", 4);
  badDepth[28] = 7;
  std::memcpy(hugePalette.data() + 46, "\x00\x00\x01\x00", 4);
  for (const std::string& broken : {bytes.substr(0, 20), bytes.substr(0, bytes.size() - 3), wrongMagic, hugeWidth,
                                    badDepth, std::string()})
    EXPECT_THROW(load(broken), Exception);
  EXPECT_NO_THROW(load(hugePalette)) << "a colour count past the depth is capped";
}

TEST(UiGraphics, CyrillicTextIsDrawnAndMeasured) {
  auto b = NewBitmap(120, 30);
  TCanvas* c = b->Canvas();
  c->Font()->SetName("Arial");
  c->Font()->SetSize(14);
  c->Font()->SetColor(clBlack);
  const AnsiString text = "Шаг"_cp;
  EXPECT_GT(c->TextWidth(text), c->TextWidth("Ш"_cp));
  EXPECT_GT(c->TextHeight(text), 10);
  c->TextOut(2, 2, text);
  int dark = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 120; ++x) dark += (c->Pixel(x, y) & 0xFF) < 128;
  EXPECT_GT(dark, 20) << "the letters leave dark pixels";
  // Changing the font while it is selected takes effect at the next call.
  const int plain = c->TextWidth(text);
  c->Font()->SetStyle(TFontStyles{fsBold});
  EXPECT_GE(c->TextWidth(text), plain);
}

TEST(UiGraphics, IconsSurviveAFileRoundTripAndDraw) {
  auto colour = NewBitmap(32, 32);
  colour->Canvas()->Brush()->SetColor(clRed);
  colour->Canvas()->FillRect(Rect(0, 0, 32, 32));
  auto mask = NewBitmap(32, 32, pf1bit);
  mask->Canvas()->Brush()->SetColor(clBlack);  // black mask: every pixel opaque
  mask->Canvas()->FillRect(Rect(0, 0, 32, 32));
  ICONINFO ii{TRUE, 0, 0, mask->Handle(), colour->Handle()};
  std::unique_ptr<TIcon> icon(Create<TIcon>());
  icon->SetHandle(CreateIconIndirect(&ii));
  ASSERT_FALSE(icon->Empty());
  EXPECT_EQ(icon->Width(), 32);
  TMemoryStream s;
  icon->SaveToStream(&s);
  s.SetPosition(0);
  std::unique_ptr<TIcon> back(Create<TIcon>());
  back->LoadFromStream(&s);
  ASSERT_FALSE(back->Empty());
  auto target = NewBitmap(40, 40);
  target->Canvas()->Draw(4, 4, back.get());
  EXPECT_EQ(target->Canvas()->Pixel(20, 20), clRed);
  EXPECT_EQ(target->Canvas()->Pixel(1, 1), clWhite);
}

TEST(UiGraphics, PicturesLoadByExtension) {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  AnsiString file = winapi::A(dir) + "picture_test.bmp";
  auto b = NewBitmap(5, 5);
  b->SaveToFile(file);
  std::unique_ptr<TPicture> p(Create<TPicture>());
  p->LoadFromFile(file);
  EXPECT_TRUE(p->Graphic()->Is<TBitmap>());
  EXPECT_EQ(p->Width(), 5);
  EXPECT_THROW(p->LoadFromFile(winapi::A(dir) + "picture_test.xyz"), EInvalidGraphic);
  DeleteFileW(winapi::W(file).c_str());
}

}  // namespace

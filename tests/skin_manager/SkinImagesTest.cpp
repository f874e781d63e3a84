// The images of a loaded skin as 32-bit bitmaps of the platform: the master
// image's alpha, a PNG image of its own, the outer-effect images drawn over
// the program's "BLUR5" picture, and replacing an image of a loaded skin.
#include <gtest/gtest.h>

#include "../images/PngWriter.h"
#include "SkinManagerSupport.h"
#include "skin/graphics/sAlphaGraph.h"

// after the class library, whose header takes care of the platform macros
#include "TestSupport.h"

using namespace skintest;

namespace {

std::uint32_t Px(TacBitmap* bmp, int x, int y) { return GetAPixel(bmp, x, y).C; }

TEST(SkinImages, MasterAndOwnPicturesAsTheyAreLoaded) {
  skinfixture::TPicture master(96, 96, 0x808080);
  master.Fill(0, 0, 8, 8, 0xFF00FF);
  TSkinDir dir;
  dir.Folder("S", SkinText(1, "8.00", "") + "GLYPHMASK=!XB.PNG!1!0!2!0!0!0!0!0\r\n", master,
             {{"XB.PNG", pngtest::Png(1, 1, 8, 6, std::string("\0\xFF\xFF\xFF\x80", 5))}});
  TDialogWatcher dialogs;
  TsSkinManager* m = NewManager(dir);
  m->SetSkinName("S");
  ASSERT_TRUE(dialogs.Texts.empty()) << dialogs.Texts[0];
  ASSERT_TRUE(m->MasterBitmap);
  EXPECT_EQ(m->MasterBitmap->PixelFormat(), pf32bit);
  EXPECT_FALSE(m->MasterBitmap->Empty()) << "a section of the platform";
  EXPECT_EQ(Px(m->MasterBitmap.get(), 3, 3), 0x00FF00FFu) << "key pixels stay transparent";
  EXPECT_EQ(Px(m->MasterBitmap.get(), 50, 50), 0xFF808080u) << "the rest is opaque";
  const Integer png = m->GetMaskIndex("BUTTON", "GLYPHMASK");
  ASSERT_GE(png, 0);
  EXPECT_EQ(Px(m->Masks[static_cast<size_t>(png)].Bitmap.get(), 0, 0), 0x807F7F7Fu) << "premultiplied";
  m->Free();
}

// Switching between two skins writes each new master into the bitmap of the
// skin before the last one when the sizes agree: the pixels must be the new
// skin's everywhere, key colour and alpha included, and a master of another
// size gets a bitmap of its own.
TEST(SkinImages, MasterWrittenIntoTheSpareBitmapIsTheNewSkinsWhole) {
  skinfixture::TPicture grey(96, 96, 0x808080), blue(96, 96, 0x2040C0), small(40, 20, 0x30A030);
  grey.Fill(0, 0, 8, 8, 0xFF00FF);
  blue.Fill(90, 90, 96, 96, 0xFF00FF);
  TSkinDir dir;
  dir.Folder("Grey", SkinText(1), grey);
  dir.Folder("Blue", SkinText(2), blue);
  dir.Folder("Small", SkinText(3), small);
  TsSkinManager* m = NewManager(dir);
  m->SetSkinName("Grey");
  TacBitmap* first = m->MasterBitmap.get();
  m->SetSkinName("Blue");
  ASSERT_NE(m->MasterBitmap.get(), first);
  m->SetSkinName("Grey");
  EXPECT_EQ(m->MasterBitmap.get(), first) << "the spare bitmap of the same size is written over";
  EXPECT_EQ(Px(m->MasterBitmap.get(), 3, 3), 0x00FF00FFu);
  EXPECT_EQ(Px(m->MasterBitmap.get(), 92, 92), 0xFF808080u) << "no pixel of the skin in between is left";
  m->SetSkinName("Blue");
  EXPECT_EQ(Px(m->MasterBitmap.get(), 3, 3), 0xFF2040C0u);
  EXPECT_EQ(Px(m->MasterBitmap.get(), 92, 92), 0x00FF00FFu);
  m->SetSkinName("Small");
  ASSERT_EQ(m->MasterBitmap->Width(), 40);
  EXPECT_EQ(Px(m->MasterBitmap.get(), 39, 19), 0xFF30A030u);
  EXPECT_EQ(ButtonColor(m), 3);
  m->Free();
}

TEST(SkinImages, OuterEffectsAreDrawnOverTheBlurPicture) {
  TSkinDir dir;
  // The shadow's colours: left blue, top red, right white, bottom green.
  dir.Folder("S", SkinText(1, "8.00", "SH_COLORL=16711680\r\nSH_COLORT=255\r\nSH_COLORR=16777215\r\nSH_COLORB=65280\r\n"));
  TsSkinManager* m = NewManager(dir);
  m->SetSkinName("S");
  ASSERT_EQ(m->OutEffects.size(), 2u);
  const TacOutEffData& shadow = m->OutEffects[1];
  ASSERT_GE(shadow.ImageIndex, 0);
  TsMaskData& md = m->Masks[static_cast<size_t>(shadow.ImageIndex)];
  TBitmap blur;
  blur.LoadFromResourceName(MainInstance(), "BLUR5");
  const int w = blur.Width();
  ASSERT_GT(w, 0);
  ASSERT_EQ(w % 2, 0);
  TacBitmap* image = md.Bitmap.get();
  ASSERT_EQ(image->Width(), w);
  ASSERT_EQ(image->Height(), 2 * w);
  EXPECT_EQ(md.SrcRect, Rect(0, 0, w, 2 * w));
  EXPECT_EQ(md.MaskKind, 1);
  EXPECT_EQ(md.MarginLeft, w / 2);
  EXPECT_EQ(shadow.Widths[0], w / 2) << "widths of -1 become half the picture";
  EXPECT_EQ(Px(image, w / 2, 0) & 0xFFFFFF, 0xFF0000u) << "top";
  EXPECT_EQ(Px(image, w / 2, w - 1) & 0xFFFFFF, 0x00FF00u) << "bottom";
  EXPECT_EQ(Px(image, 1, w / 2) & 0xFFFFFF, 0x0000FFu) << "left";
  EXPECT_EQ(Px(image, w - 2, w / 2) & 0xFFFFFF, 0xFFFFFFu) << "right";
  blur.SetPixelFormat(pf32bit);
  for (int y = 0; y < w; ++y)
    for (int x = 0; x < w; ++x)
      ASSERT_EQ(Px(image, x, w + y) & 0xFFFFFF, Px(&blur, x, y) & 0xFFFFFF) << x << ", " << y;
  const TacOutEffData& outline = m->OutEffects[0];
  EXPECT_GE(outline.ImageIndex, 0);
  EXPECT_EQ(outline.Opacity, 200);
  EXPECT_EQ(shadow.Opacity, 60);
  m->Free();
}

TEST(SkinImages, ReplacingAnImageIndexesTheSkinAgain) {
  TSkinDir dir;
  dir.Folder("S", SkinText(1, "8.00", "") + "STATES=2\r\nGLYPHMASK=@0000@0000@0010@0010@1@0\r\n"
                                             "BORDERSMASK=!OWN.BMP!1!0!0!2!2!2!2!0\r\n",
             skinfixture::TPicture(96, 96, 0x808080),
             {{"OWN.BMP", skinfixture::BmpFile(skinfixture::TPicture(12, 12, 0x102030))}});
  dir.File("NEW.BMP", skinfixture::BmpFile(skinfixture::TPicture(6, 6, 0x405060)));
  const std::string file = Ansi(dir.Path() / "NEW.BMP");
  TsSkinManager* m = NewManager(dir);
  m->SetSkinName("S");
  const size_t images = m->Masks.size();

  EXPECT_FALSE(ChangeImageInSkin("BUTTON", "GLYPHMASK", file, m)) << "it lies in the master image";
  EXPECT_EQ(m->Masks.size(), images);

  EXPECT_TRUE(ChangeImageInSkin("BUTTON", "BORDERSMASK", file, m));
  const Integer border = m->GetMaskIndex("BUTTON", "BORDERSMASK");
  EXPECT_EQ(Px(m->Masks[static_cast<size_t>(border)].Bitmap.get(), 0, 0) & 0xFFFFFF, 0x405060u);

  // A new texture for the hot state: the section's index follows at once.
  EXPECT_TRUE(ChangeImageInSkin("button", "hotpattern", file, m));
  const TsGeneralData& button = m->Sections[static_cast<size_t>(m->GetSkinIndex("BUTTON"))];
  ASSERT_GE(button.Props[1].TextureIndex, 0);
  EXPECT_EQ(m->Masks[static_cast<size_t>(button.Props[1].TextureIndex)].PropName, "HOTPATTERN");
  m->Free();
}

}  // namespace

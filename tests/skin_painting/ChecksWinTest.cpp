// Check boxes, arrows, turned fonts and list images drawn under Wine, read
// back pixel by pixel.
#include <gtest/gtest.h>

// The class library's headers go before any that includes the platform's.
#include "../skin_graphics/AlphaTestSupport.h"
#include "classlib/ui/ImgList.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sSkinManager.h"

using namespace alphatest;

namespace {

// The system's check-box bitmap: four boxes across, three down.
TSize SystemCheckBoxes() {
  HBITMAP boxes = LoadBitmapW(nullptr, MAKEINTRESOURCEW(32759));
  BITMAP bm{};
  GetObjectW(boxes, sizeof bm, &bm);
  DeleteObject(boxes);
  return TSize{bm.bmWidth, bm.bmHeight};
}

// A manager whose skin has the check glyphs given (images of 13 x 12 and,
// for the small ones, 9 x 8, two states side by side).
struct CheckSkin {
  TsSkinManager* Manager = Create<TsSkinManager>(nullptr);
  CheckSkin(std::initializer_list<TacCheckGlyph> Glyphs) {
    for (TacCheckGlyph g : Glyphs) {
      const bool small = g >= cgSmallChecked;
      const int w = small ? 9 : 13, h = small ? 8 : 12;
      TsMaskData md;
      md.Bitmap = Filled(2 * w, h, Bgra(0, 0, 255, 255));
      md.SrcRect = Rect(0, 0, 2 * w, h);
      md.Columns = 2;
      md.ImageKind = itisaGlyph;
      md.OwnerManager = Manager;
      Manager->Masks.push_back(std::move(md));
      Manager->ConstData.CheckGlyphs[g] = static_cast<Integer>(Manager->Masks.size() - 1);
    }
  }
  ~CheckSkin() { Manager->Free(); }
};

TEST(CheckBoxes, SizesComeFromTheSkinGlyphOrTheSystemBitmap) {
  const TSize boxes = SystemCheckBoxes();
  ASSERT_GT(boxes.cx, 0);
  EXPECT_EQ(CheckWidth(nullptr), boxes.cx / 4);
  EXPECT_EQ(CheckHeight(nullptr), boxes.cy / 3);
  EXPECT_EQ(CheckWidth(nullptr, true), boxes.cx / 4);

  CheckSkin skin{cgBoxChecked, cgSmallChecked};
  EXPECT_EQ(CheckWidth(skin.Manager), 13 + 2);
  EXPECT_EQ(CheckHeight(skin.Manager), 12);
  EXPECT_EQ(CheckWidth(skin.Manager, true), 9 + 2);
  EXPECT_EQ(CheckHeight(skin.Manager, true), 8);
  skin.Manager->SetActive(false);
  EXPECT_EQ(CheckWidth(skin.Manager), boxes.cx / 4) << "an inactive manager has no glyphs";
  EXPECT_EQ(CheckHeight(skin.Manager), boxes.cy / 3);
}

TEST(CheckBoxes, WithoutSkinGlyphsTheSystemBoxIsDrawnOverTheBackground) {
  const int cw = CheckWidth(nullptr), ch = CheckHeight(nullptr);
  TCacheInfo ci = EmptyCI;
  ci.FillColor = clYellow;
  struct Case {
    TCheckBoxState State;
    bool Enabled;
    UINT System;
  };
  const Case cases[] = {{cbGrayed, true, 1032}, {cbGrayed, false, 1032 + 256}, {cbChecked, true, 1024},
                        {cbUnchecked, false, 256}};
  std::vector<std::uint32_t> looks;
  for (const Case& c : cases) {
    Bmp drawn = Filled(20, 18, 0), expected = Filled(20, 18, 0);
    acDrawCheck(Rect(0, 0, 20, 18), c.State, c.Enabled, drawn.get(), ci, nullptr, false);
    FillBitmapRect(expected.get(), Rect(0, 0, cw + 2, 18), clYellow);
    RECT box{(20 - cw) / 2, (18 - ch) / 2, (20 - cw) / 2 + cw, (18 - ch) / 2 + ch};
    DrawFrameControl(expected->Canvas()->Handle(), &box, DFC_BUTTON, c.System);
    EXPECT_TRUE(PixelsAre(drawn, [&](int x, int y) { return Px(expected, x, y); })) << c.System;
    looks.push_back(Px(drawn, box.left + cw / 2, box.top + ch / 2));
  }
  EXPECT_NE(looks[0], looks[2]) << "grayed and checked look different, so the comparison bites";

  // A ready background is copied from the cache instead.
  Bmp parent = Filled(40, 40, Bgra(9, 99, 199, 255));
  Bmp onParent = Filled(20, 18, 0);
  acDrawCheck(Rect(0, 0, 20, 18), cbUnchecked, true, onParent.get(), MakeCacheInfo(parent.get(), 3, 3), nullptr, false);
  EXPECT_EQ(Px(onParent, 0, 0) & 0xFFFFFF, Bgra(9, 99, 199, 0));
  EXPECT_EQ(Px(onParent, cw + 2, 0), 0u) << "beyond the box's strip nothing is prepared";
}

TEST(CheckBoxes, TheSkinsGlyphIsDrawnWhenItHasTheSmallOneOfTheState) {
  Bmp withGlyph = Filled(20, 16, Grey(50, 255));
  {
    CheckSkin skin{cgBoxChecked, cgSmallChecked};
    acDrawCheck(Rect(0, 0, 20, 16), cbChecked, true, withGlyph.get(), EmptyCI, skin.Manager, false);
  }
  // BOXCHECKED (13 x 12) centred across the box's width (15) and down the height.
  const int left = (20 - 15) / 2, top = (16 - 12) / 2;
  EXPECT_TRUE(OnlyInside(withGlyph, Bounds(left, top, 13, 12), Bgra(0, 0, 255, 255), Grey(50, 255)));

  // Without the small glyph of the state the system box is drawn.
  CheckSkin partial{cgBoxChecked};
  Bmp system = Filled(20, 16, 0);
  acDrawCheck(Rect(0, 0, 20, 16), cbChecked, true, system.get(), EmptyCI, partial.Manager, false);
  EXPECT_NE(Px(system, 10, 8) & 0xFFFFFF, 0xFF0000u) << "no skin glyph";
}

}  // namespace

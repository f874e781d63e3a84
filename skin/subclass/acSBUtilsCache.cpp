// The cache image of a subclassed window: built from its skin section over
// the parent's background, and its frame's key-coloured corners filled from
// the parent.
#include "skin/subclass/acSBUtils.h"

#include "classlib/ui/StdCtrls.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sVclUtils.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

// Fuchsia as a pixel (blue low) is fuchsia as a colour: red and blue are both 0xFF.
constexpr std::uint32_t kKeyPixel = 0xFF00FF;
// A colour (red low) as a pixel's colour bits (blue low).
std::uint32_t RgbToPixel(TColor C) {
  const auto c = static_cast<std::uint32_t>(C);
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

// The text of a disabled edit drawn over its cache (the edit draws none).
void DrawDisabledEditText(TsCommonData* SkinData, TCustomEdit* Edit) {
  TacBitmap* bmp = SkinData->CacheBmp.get();
  TCanvas* canvas = bmp->Canvas();
  canvas->Font()->Assign(Edit->Font());
  const int m = Edit->BorderStyle() == bsNone ? 0 : (Edit->Ctl3D() ? 2 : 1);
  const int s = Edit->BorderStyle() == bsSingle ? 1 : 0;
  TRect r{m + s, m + s, Edit->Width() - m - s, Edit->Height() - m};
  Cardinal flags = DT_SINGLELINE | DT_NOPREFIX;
  if (Edit->UseRightToLeftAlignment()) {
    flags |= DT_RIGHT | DT_RTLREADING;
    r.Right -= 1;
  }
  AnsiString text = Edit->Text();
  if (Edit->PasswordChar() != '\0') text = AnsiString(text.size(), Edit->PasswordChar());
  acWriteTextEx(canvas, text, true, r, flags, SkinData, ControlIsActive(SkinData));
}

}  // namespace

void PrepareCache(TsCommonData* SkinData, HWND Wnd, bool DlgMode) {
  if (!SkinData || !Wnd || !SkinData->BGChanged) return;
  RECT wr{};
  GetWindowRect(Wnd, &wr);
  InitCacheBmp(SkinData);
  HWND parent = GetParent(Wnd);
  TCacheInfo ci;
  if (parent) {
    TacBGInfo bg;
    GetBGInfo(&bg, parent, false);
    if (bg.BgType == btNotReady) {
      SkinData->Updating = true;
      return;
    }
    ci = BGInfoToCI(&bg);
  }
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  TacBitmap* bmp = SkinData->CacheBmp.get();
  bmp->SetSize(w, h);
  TsSkinManager* m = SkinData->GetSkinManager();
  if (DlgMode && DefaultManager && DefaultManager->Palette[pcBorder] != sFuchsia) {
    FillBitmapRect(bmp, TRect{0, 0, w, h}, ColorToRGB(static_cast<TColor>(0x80000005)));
    HBRUSH frame = CreateSolidBrush(ColorToRGB(DefaultManager->Palette[pcBorder]));
    RECT fr{0, 0, w, h};
    FrameRect(bmp->Canvas()->Handle(), &fr, frame);
    DeleteObject(frame);
  } else {
    POINT p{wr.left, wr.top};
    if (parent && ScreenToClient(parent, &p) && m && m->IsValidSkinIndex(SkinData->SkinIndex)) {
      const int state = (SkinData->Focused || (SkinData->MouseAbove && CanBeHot(SkinData, true))) ? 1 : 0;
      auto* list = dynamic_cast<TCustomListBox*>(SkinData->OwnerControl);
      if (list && list->BorderStyle() == bsNone) {
        PaintItemBG(SkinData, ci, state, TRect{0, 0, w, h}, TPoint{p.x, p.y}, bmp);
      } else {
        PaintItem(SkinData, ci, true, state, TRect{0, 0, w, h}, TPoint{p.x, p.y}, bmp, !DlgMode);
      }
    }
  }
  TControl* owner = SkinData->OwnerControl;
  if (auto* edit = dynamic_cast<TCustomEdit*>(owner); edit && !IsWindowEnabled(Wnd))
    DrawDisabledEditText(SkinData, edit);
  if (owner && !owner->Enabled()) {
    TsDisabledKind kind;
    if (IsPublishedProp(owner, "DisabledKind")) {
      kind = TsDisabledKind::FromBits(static_cast<unsigned>(GetOrdProp(owner, "DisabledKind")));
    } else {
      kind = TsDisabledKind{dkBlended};
    }
    Byte bits = static_cast<Byte>(kind.Bits());
    SendAMessage(Wnd, ACMD_QUERY_DISABLED_KIND, reinterpret_cast<LPARAM>(&bits));
    kind = TsDisabledKind::FromBits(bits);
    TCacheInfo pci = GetParentCacheHwnd(Wnd);
    BmpDisabledKind(bmp, kind, owner->Parent(), pci, TPoint{owner->Left(), owner->Top()});
  }
  SkinData->BGChanged = false;
}

void RestoreCornerBackground(TsCommonData* SkinData, TacMainWnd* Obj) {
  if (!SkinData || !Obj || !Obj->Manager || Obj->DialogMode) return;
  TsSkinManager* m = Obj->Manager;
  if (!m->IsValidImgIndex(SkinData->BorderIndex) || !SkinData->CacheBmp) return;
  TacBitmap* cache = SkinData->CacheBmp.get();
  const int cw = BitmapWidth(cache), chh = BitmapHeight(cache);
  if (cw <= 1 || chh <= 1) return;
  TCacheInfo bg = GetParentCacheHwnd(Obj->WndHandle);
  bool ready = bg.Ready && bg.Bmp;
  if (ready) {
    bg.X += Obj->PosInParent.X;
    bg.Y += Obj->PosInParent.Y;
  }
  const TColor fill = ready ? 0 : ColorToRGB(bg.FillColor);
  const TsMaskData& md = m->Masks[SkinData->BorderIndex];
  const int w = WidthOfImage(md), h = HeightOfImage(md);
  if (w == 0 || h == 0) return;
  const int wl = m->MaskWidthLeft(SkinData->BorderIndex), wt = m->MaskWidthTop(SkinData->BorderIndex);
  const int wr = m->MaskWidthRight(SkinData->BorderIndex), wb = m->MaskWidthBottom(SkinData->BorderIndex);
  TacBitmap* src = md.Bitmap ? md.Bitmap.get() : m->MasterBitmap.get();
  const int sx = md.Bitmap ? 0 : md.SrcRect.Left, sy = md.Bitmap ? 0 : md.SrcRect.Top;
  TPixelView32 sp = PixelsOf(src), dp = PixelsOf(cache);
  TPixelView32 bp = ready ? PixelsOf(bg.Bmp) : TPixelView32{};
  if (sp.Empty() || dp.Empty()) return;
  struct TCorner {
    int SrcX, SrcY, W, H, DstX, DstY;
  };
  const TCorner corners[] = {{0, 0, wl, wt, 0, 0},
                             {0, h - wb, wl, wb, 0, chh - wb},
                             {w - wr, h - wb, wr, wb, cw - wr, chh - wb},
                             {w - wr, 0, wr, wt, cw - wr, 0}};
  for (const TCorner& c : corners)
    for (int y = 0; y < c.H; ++y)
      for (int x = 0; x < c.W; ++x) {
        const int px = sx + c.SrcX + x, py = sy + c.SrcY + y;
        const int dx = c.DstX + x, dy = c.DstY + y;
        if (!sp.Inside(px, py) || !dp.Inside(dx, dy)) continue;
        if ((sp.At(px, py) & 0xFFFFFF) != kKeyPixel) continue;
        if (ready) {
          const int bx = bg.X + dx, by = bg.Y + dy;
          if (bp.Inside(bx, by)) dp.At(dx, dy) = bp.At(bx, by);
        } else if (fill != sFuchsia) {
          dp.At(dx, dy) = (dp.At(dx, dy) & 0xFF000000u) | RgbToPixel(fill);
        }
      }
}

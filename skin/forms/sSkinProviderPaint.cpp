// The non-client cache: the whole window painted once per change into one
// 32-bit bitmap (frame, caption band, icon, title buttons, caption text,
// menu line); window repaints copy its strips, the client painting its
// client part.
#include <algorithm>

#include "classlib/ui/PaintScope.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sStyleSimply.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/sSkinProvider.h"
#include "skin/forms/sSkinProviderNames.h"
#include "skin/forms/sTitleButtons.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

HDC DCOf(TacBitmap* Bmp) { return Bmp->Canvas()->Handle(); }

void Copy(HDC Dst, Integer X, Integer Y, Integer W, Integer H, TacBitmap* Src, Integer SX, Integer SY) {
  if (W <= 0 || H <= 0) return;
  BitBlt(Dst, X, Y, W, H, DCOf(Src), SX, SY, SRCCOPY);
}

Integer StateOf(bool Active, Integer StateCount) { return std::min<Integer>(Active ? 1 : 0, std::max(StateCount - 1, 0)); }

// Every pixel of R that the drawing changed gets alpha 255 (GDI leaves it 0).
void OpaqueChanged(TacBitmap* Bmp, const TacBitmap& Before, const TRect& R) {
  for (Integer y = std::max(R.Top, 0); y < std::min(R.Bottom, Bmp->Height()); ++y) {
    auto* row = static_cast<std::uint32_t*>(Bmp->ScanLine(y));
    auto* old = static_cast<const std::uint32_t*>(const_cast<TacBitmap&>(Before).ScanLine(y - R.Top));
    for (Integer x = std::max(R.Left, 0); x < std::min(R.Right, Bmp->Width()); ++x)
      if ((row[x] & 0xFFFFFF) != (old[x - R.Left] & 0xFFFFFF)) row[x] |= 0xFF000000u;
  }
}

// The menu font of the screen.
HFONT NewMenuFont() {
  NONCLIENTMETRICSW m{};
  m.cbSize = sizeof m;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0);
  return CreateFontIndirectW(&m.lfMenuFont);
}

}  // namespace

// ------------------------------------------------------------ the cache

bool TsSkinProvider::PaintAll() {
  TsSkinManager* m = FSkinData->GetSkinManager();
  if (Form->ControlState().Contains(csCreating) || (FormState & (acfs::BlendOnMoving | acfs::HideSnapshot)) ||
      !m || !m->IsValidSkinIndex(FSkinData->SkinIndex) || !Form->HandleAllocated())
    return true;
  HWND wnd = Form->WindowHandle();
  const bool iconicChild = IsIconic(wnd) && Application && Application->MainForm() != Form;
  const Integer w = CaptionWidth();
  const Integer h = iconicChild ? SysBorderHeight(wnd, nullptr, false) + CaptionHeight(true) + 2 : GetWindowHeight(wnd);
  if (!FSkinData->CacheBmp || FSkinData->CacheBmp->Width() == 0) {
    if (!FSkinData->CacheBmp) FSkinData->CacheBmp = CreateBmp32(w, h);
    FSkinData->CacheBmp->SetPixelFormat(pf32bit);
    FSkinData->CacheBmp->SetSize(w, h);
    FSkinData->BGChanged = true;
    UpdateSkinState(FSkinData.get(), false);
    if (!ComponentState().Contains(csLoading)) {
      TMessage msg{SM_ALPHACMD, AlphaCmdParam(ACMD_SKIN_STATE), 1, 0};
      AlphaBroadCast(Form, msg);
    }
  }
  if (!FSkinData->BGChanged) {
    FSkinData->Updating = false;
    return true;
  }
  CalcItems();
  RgnChanged = true;
  TacBitmap* cache = FSkinData->CacheBmp.get();
  if (cache->Width() != w || cache->Height() != h) cache->SetSize(w, h);
  const TsGeneralData& section = m->Sections[static_cast<size_t>(FSkinData->SkinIndex)];
  const Integer state = StateOf(FormActive, section.StateCount);
  const TRect window{0, 0, w, h};
  if (HasBorder() || Form->Parent()) {
    PaintItem(FSkinData->SkinIndex, FSkinData->SkinSection(), EmptyCI, true, state, window,
              TPoint{Form->Left(), Form->Top()}, cache, m);
  } else {
    PaintItemBG(FSkinData->SkinIndex, FSkinData->SkinSection(), EmptyCI, state, window, TPoint{0, 0}, cache, m);
  }
  if (IsGripVisible() && IsCached(FSkinData.get())) {
    TDCStateScope saved(DCOf(cache));
    PaintGrip(DCOf(cache));
  }
  PaintTitleBand();
  if (MenuLineVisible() && MenuPresent() && MenuHeight() > 0 && FDrawNonClientArea && m->SkinnedPopups()) PaintMenuLine();
  PaintCaptionText(cache);
  if (CaptionHeight(true) != 0 && FDrawNonClientArea) {
    SaveBGForBtns(true);
    PaintTitleContent();
  }
  MenuLineChanged = false;
  PaintedOnce = true;
  FSkinData->BGChanged = false;
  FSkinData->Updating = false;
  return true;
}

void TsSkinProvider::PaintTitleBand() {
  if (CaptionHeight(true) == 0 || !FDrawNonClientArea) return;
  TsSkinManager* m = FSkinData->GetSkinManager();
  TacBitmap* cache = FSkinData->CacheBmp.get();
  HWND wnd = Form->WindowHandle();
  const TRect shadow = ShadowSize();
  const Integer menuTop = SysBorderHeight(wnd, nullptr, false) + CaptionHeight(true) + shadow.Top;
  const Integer title = TitleSkinIndex();
  if (m->IsValidSkinIndex(title)) {
    const TsGeneralData& s = m->Sections[static_cast<size_t>(title)];
    const bool iconicChild = IsIconic(wnd) && Application && Application->MainForm() != Form;
    const TRect r{shadow.Left, shadow.Top, cache->Width() - shadow.Right,
                  iconicChild ? cache->Height() - shadow.Bottom : menuTop};
    PaintItem(title, TitleSkinSection(), MakeCacheInfo(cache), true, StateOf(FormActive, s.StateCount), r,
              TPoint{0, 0}, cache, m);
  }
  PaintTitleIcon(this);
  const Integer bar = m->GetMaskIndex(FSkinData->SkinIndex, FSkinData->SkinSection(), acsp::TitleBar);
  if (SysButtonsCount() > 0 && m->IsValidImgIndex(bar)) {
    const TsGeneralData& s = m->Sections[static_cast<size_t>(FSkinData->SkinIndex)];
    DrawSkinRect(cache, TRect{CaptionWidth() - BarWidth(bar), 0, cache->Width(), CaptionHeight(true) + SysBorderHeight(wnd, nullptr, false)},
                 MakeCacheInfo(cache), m->Masks[static_cast<size_t>(bar)], StateOf(FormActive, s.StateCount), true);
  }
}

void TsSkinProvider::PaintCaptionText(TacBitmap* Bmp) {
  if (CaptionHeight(true) == 0 || !FDrawNonClientArea) return;
  TsSkinManager* m = FSkinData->GetSkinManager();
  const TRect shadow = ShadowSize();
  TRect r;
  r.Left = SysBorderWidth(Form->WindowHandle(), BorderForm.get(), true) + (IconVisible() ? IconRect.Width() : 0) +
           m->CommonSkinData.BILeft + shadow.Left + (m->IsValidSkinIndex(CaptionSkinIndex) ? 2 : 0) + 4;
  r.Right = Bmp->Width() - TitleBtnsWidth() - shadow.Right - 12;
  if (r.Right <= r.Left) return;
  const AnsiString text = Form->Caption();
  TCanvas* canvas = Bmp->Canvas();
  canvas->Font()->SetHandle(acGetTitleFont());
  if (!ac_UseSysCharSet) canvas->Font()->SetCharset(Form->Font()->Charset());
  const Integer th = acTextHeight(canvas, text.empty() ? AnsiString("W") : text);
  r.Top = CaptionCenter - th / 2;
  r.Bottom = r.Top + th;
  const Integer tw = acTextWidth(canvas, text);
  switch (FCaptionAlignment) {
    case taRightJustify:
      if (tw + 4 < r.Width()) r.Left = r.Right - (tw + 4);
      break;
    case taCenter:
      r.Left = std::max(r.Left, r.Left + (r.Width() - tw - 4) / 2);
      r.Right = std::min(r.Left + tw, r.Right);
      break;
    default:
      break;
  }
  const Integer section = TitleSkinIndex();
  if (!m->IsValidSkinIndex(section) || text.empty()) return;
  constexpr Cardinal kFlags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
  canvas->Brush()->SetStyle(bsClear);
  std::unique_ptr<TacBitmap> before = CreateBmp32(r.Width(), r.Height());
  Copy(DCOf(before.get()), 0, 0, r.Width(), r.Height(), Bmp, r.Left, r.Top);
  TRect tr = r;
  acWriteTextEx(canvas, text, Form->Enabled(), tr, kFlags, section, FormActive, m);
  GdiFlush();
  OpaqueChanged(Bmp, *before, r);
}

void TsSkinProvider::PaintMenuLine() {
  TsSkinManager* m = FSkinData->GetSkinManager();
  TacBitmap* cache = FSkinData->CacheBmp.get();
  HWND wnd = Form->WindowHandle();
  const TRect shadow = ShadowSize();
  const Integer menuTop = SysBorderHeight(wnd, nullptr, false) + CaptionHeight(true) + shadow.Top;
  const Integer lineH = GetLinesCount() * MenuHeight() + 1;
  Integer section = m->GetSkinIndex(MenuLineSkin);
  if (!m->IsValidSkinIndex(section)) section = m->GetSkinIndex(acsp::MenuLine);
  const TRect line{shadow.Left, menuTop, cache->Width() - shadow.Right, menuTop + lineH};
  if (m->IsValidSkinIndex(section)) {
    const TsGeneralData& s = m->Sections[static_cast<size_t>(section)];
    PaintItem(section, s.SectionName, MakeCacheInfo(cache), true, StateOf(FormActive, s.StateCount), line, TPoint{0, 0},
              cache, m);
  }
  // The line's image starts inside the frame, where the item painter expects it.
  MenuLineBmp->SetSize(line.Width(), line.Height());
  Copy(DCOf(MenuLineBmp.get()), 0, 0, line.Width(), line.Height(), cache, OffsetX() - Form->BorderWidth(),
       OffsetY() - GetLinesCount() * MenuHeight() - Form->BorderWidth() - 1);
  TryInitMenu();
  PaintMenuItems();
}

// Every visible top item paints itself into the cache at the place the
// system gives it (no accelerator marks: state odNoAccel + odReserved1).
void TsSkinProvider::PaintMenuItems() {
  TMainMenu* menu = Form->Menu();
  if (!menu) return;
  HWND wnd = Form->WindowHandle();
  TacBitmap* cache = FSkinData->CacheBmp.get();
  const TRect shadow = ShadowSize();
  const TPoint shift{DiffBorder(BorderForm.get()) + shadow.Left - Form->Left(),
                     DiffTitle(BorderForm.get()) + shadow.Top + (TallTitle ? 4 : 0) - Form->Top()};
  const TOwnerDrawState state = TOwnerDrawState::FromBits(0x500);
  int position = 0;
  bool handedOver = false;
  for (int i = 0; i < menu->Items()->Count(); ++i) {
    TMenuItem* item = menu->Items()->Items(i);
    if (!item->Visible()) continue;
    if ((!item->OnAdvancedDrawItem || !item->OnMeasureItem) && !handedOver) {
      // Someone took the painter's handlers away: hand the line over again (once).
      handedOver = true;
      MenuInitialized = false;
      TryInitMenu();
    }
    if (!item->OnAdvancedDrawItem) {
      ++position;
      continue;
    }
    RECT ir{};
    if (!GetMenuItemRect(wnd, menu->Handle(), static_cast<UINT>(position++), &ir)) continue;
    const TRect r{ir.left + shift.X, ir.top + shift.Y, ir.right + shift.X, ir.bottom + shift.Y};
    item->OnAdvancedDrawItem(item, cache->Canvas(), r, state);
  }
}

void TsSkinProvider::PaintTitleContent() {
  if (!HasBorder()) return;
  RestoreBtnsBG();
  if (!FPrepared || !HaveSysMenu()) return;
  PaintButtonInCache(ButtonClose, SysVisibleClose() && SysEnabledClose());
  if (SysVisibleMax()) PaintButtonInCache(ButtonMax, SysEnabledMax() || SysEnabledRestore());
  if (SysVisibleMin()) PaintButtonInCache(ButtonMin, SysEnabledMin());
  if (Form->BorderIcons().Contains(biHelp)) PaintButtonInCache(ButtonHelp, true);
}

void TsSkinProvider::PaintButtonInCache(TsCaptionButton& Btn, bool Enabled) {
  TsSkinManager* m = FSkinData->GetSkinManager();
  Integer image = Btn.ImageIndex;
  if (&Btn == &ButtonMax && IsZoomed(Form->WindowHandle())) image = m->ConstData.TitleIcons[tiBIconNorm];
  if (!m->IsValidImgIndex(image)) return;
  const bool normal = Btn.State == 0 || Btn.Timer;
  const Integer mode = normal && (!FormActive || !Enabled || !Form->Enabled()) ? 2 : 1;
  TacBitmap* cache = FSkinData->CacheBmp.get();
  DrawSkinGlyph(cache, Btn.Rect.TopLeft(), Btn.Timer ? 0 : Btn.State, mode, m->Masks[static_cast<size_t>(image)],
                MakeCacheInfo(cache));
}

void TsSkinProvider::SaveBGForBtns(bool WithMenu) {
  HWND wnd = Form->WindowHandle();
  const TRect shadow = ShadowSize();
  const Integer w = SysBorderWidth(wnd, BorderForm.get(), true) + TitleBtnsWidth() + shadow.Right + 10;
  const Integer bandH = SysBorderHeight(wnd, BorderForm.get(), true) + CaptionHeight(true);
  const Integer h = bandH + SysBorderWidth(wnd, nullptr, false) + MenuHeight() + shadow.Top;
  BtnBG->SetPixelFormat(pf32bit);
  BtnBG->SetSize(w, h);
  Copy(DCOf(BtnBG.get()), 0, 0, w, WithMenu ? h : bandH, FSkinData->CacheBmp.get(), CaptionWidth() - w - 1, 0);
}

void TsSkinProvider::RestoreBtnsBG() {
  TacBitmap* cache = FSkinData->CacheBmp.get();
  if (!cache || BtnBG->Width() == 0) return;
  BitBlt(DCOf(cache), CaptionWidth() - BtnBG->Width() - 1, 0, BtnBG->Width(), BtnBG->Height(), DCOf(BtnBG.get()), 0,
         0, SRCCOPY);
}

// ------------------------------------------------------ copies to the window

void TsSkinProvider::PaintCaption(HDC DC) {
  if (FSkinData->BGChanged || !FSkinData->CacheBmp) {
    if (MenuLineChanged || !FSkinData->CacheBmp || !HasBorder()) ChildPaintNeeded = !PaintedOnce;
    PaintAll();
    FSkinData->BGChanged = false;
    FSkinData->Updating = false;
  }
  TacBitmap* cache = FSkinData->CacheBmp.get();
  if (!cache) return;
  HWND wnd = Form->WindowHandle();
  const Integer y = (GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CAPTION) ? HeaderHeight() : BorderHeight(true);
  const Integer menuPart = MenuPresent() ? GetLinesCount() * MenuHeight() + 1 : 0;
  const Integer sourceTop = SysBorderHeight(wnd, BorderForm.get(), true) + CaptionHeight(true) +
                            (IsIconic(wnd) ? 1 : 0) + menuPart + Form->BorderWidth();
  const Integer bw = BorderWidth(true), bh = BorderHeight(true);
  const Integer formH = GetWindowHeight(wnd);
  Copy(DC, 0, 0, CaptionWidth(), y == 0 ? menuPart : y, cache, 0, 0);
  Copy(DC, 0, y, bw, cache->Height() - y, cache, 0, sourceTop);
  Copy(DC, bw, formH - bh, CaptionWidth() - bw, bh, cache, SysBorderWidth(wnd, BorderForm.get(), true) + Form->BorderWidth(),
       formH - bh);
  Copy(DC, cache->Width() - bw, y, bw, cache->Height() - bh, cache, cache->Width() - bw, sourceTop);
}

void TsSkinProvider::AC_WMNCPaintHandler() {
  if (bMDIChildCreatedMaximized || !FDrawNonClientArea) return;
  TryInitMenu();
  if (FSkinData->CacheBmp && FSkinData->CacheBmp->Width() == 0) FSkinData->BGChanged = true;
  if (FSkinData->BGChanged && !PaintAll()) return;
  HWND wnd = Form->WindowHandle();
  if (!RgnBusy && RgnChanged) {
    if (HasBorder() || HasThickFrame() || IsIconic(wnd)) {
      if (IsIconic(wnd) && (GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_APPWINDOW)) return;
      FillArOR(this);
      RgnChanged = false;
      UpdateRgn(this, false);
    } else {
      SetWindowRgn(wnd, nullptr, FALSE);
    }
  }
  FSkinData->Updating = false;
  HDC dc = GetWindowDC(wnd);
  {
    TDCStateScope saved(dc);
    if (HasBorder() || !HasThickFrame() || IsIconic(wnd)) {
      PaintCaption(dc);
    } else if (TacBitmap* cache = FSkinData->CacheBmp.get()) {
      const Integer e = BorderWidth(true) + 3, fw = GetWindowWidth(wnd), fh = GetWindowHeight(wnd);
      Copy(dc, 0, 0, fw, e, cache, 0, 0);
      Copy(dc, 0, e, e, cache->Height(), cache, 0, e);
      Copy(dc, e, fh - e, fw - e, e, cache, e, fh - e);
      Copy(dc, cache->Width() - e, e, e, cache->Height(), cache, cache->Width() - e, e);
    }
  }
  ReleaseDC(wnd, dc);
  RgnBusy = false;
}

void TsSkinProvider::PaintForm(HDC DC, bool SendUpdated) {
  HWND wnd = Form->WindowHandle();
  const TRect client{0, 0, GetClientWidth(wnd), GetClientHeight(wnd)};
  if (GetPlainState(FSkinData.get()) == 0) {
    const bool changed = FSkinData->BGChanged;
    PaintAll();
    if (Form->FormStyle() != fsMDIForm && FSkinData->CacheBmp) {
      const TRect src{OffsetX(), OffsetY(), OffsetX() + client.Width(), OffsetY() + client.Height()};
      CopyWinControlCache(Form, FSkinData.get(), src, client, DC, false);
      PaintControls(DC, Form, ChildPaintNeeded || changed, TPoint{0, 0});
    }
    if (SendUpdated) SetParentUpdated(Form);
  } else if (Form->FormStyle() != fsMDIForm) {
    FillDC(DC, client, FormColor());
    PaintBorderInsets(DC, client);
  }
  ChildPaintNeeded = false;
}

// A single-frame form whose border mask is wider than the system's dialog
// frame shows the rest of the mask inside the client area.
void TsSkinProvider::PaintBorderInsets(HDC DC, const TRect& Client) {
  TsSkinManager* m = FSkinData->GetSkinManager();
  TacBitmap* cache = FSkinData->CacheBmp.get();
  if (!FDrawNonClientArea || !cache || Form->BorderStyle() != bsSingle || !m->IsValidImgIndex(FSkinData->BorderIndex))
    return;
  const TsMaskData& md = m->Masks[static_cast<size_t>(FSkinData->BorderIndex)];
  const Integer inset = GetSystemMetrics(SM_CXDLGFRAME);
  const Integer l = md.MarginLeft - inset, t = md.MarginTop - inset, r = md.MarginRight - inset,
                b = md.MarginBottom - inset;
  const Integer ox = OffsetX(), oy = OffsetY(), w = Client.Width(), h = Client.Height();
  if (t > 0) Copy(DC, 0, 0, w, t, cache, ox, oy);
  if (l > 0) Copy(DC, 0, 0, l, h, cache, ox, oy);
  if (r > 0) Copy(DC, w - r, 0, r, h, cache, ox + w - r, oy);
  if (b > 0) Copy(DC, 0, h - b, w, b, cache, ox, oy + h - b);
}

void TsSkinProvider::AC_WMEraseBkGndHandler(HDC DC) {
  HWND wnd = Form->WindowHandle();
  bool own = false;
  if (!DC || (FSkinData->StateFlags & 0x200)) {
    DC = GetDC(wnd);
    own = true;
  }
  FSkinData->Updating = false;
  if (!PaintingSuspended && !IsDestroying(Form)) {
    {
      TDCStateScope saved(DC);
      PaintForm(DC, true);
      if (IsGripVisible()) {
        OffsetViewportOrgEx(DC, -OffsetX(), -OffsetY(), nullptr);
        PaintGrip(DC);
      }
    }
    PaintControls(DC, Form, true, TPoint{0, 0});
    TsSkinManager* m = FSkinData->GetSkinManager();
    if (!m || !m->Effects()->AllowOuterEffects()) SetParentUpdated(Form);
  }
  if (own) ReleaseDC(wnd, DC);
}

void TsSkinProvider::OurPaintHandler(TMessage& Message) {
  HWND wnd = Form->WindowHandle();
  HDC given = reinterpret_cast<HDC>(Message.WParam);
  if (PaintingSuspended || (InAnimationProcess && !given) || IsDestroying(Form)) {
    PAINTSTRUCT ps;
    BeginPaint(wnd, &ps);
    EndPaint(wnd, &ps);
    return;
  }
  TPaintScope paint(wnd, given);
  FSkinData->Updating = false;
  PaintForm(paint.DC(), true);
}

void TsSkinProvider::RepaintMenu() {
  FSkinData->BGChanged = true;
  MenuLineChanged = true;
  MenuLinesCount = -1;
  if (Form->HandleAllocated()) SendMessageW(Form->WindowHandle(), WM_NCPAINT, 0, 0);
}

void TsSkinProvider::PaintGrip(HDC DC) {
  TsSkinManager* m = FSkinData->GetSkinManager();
  TacBitmap* cache = FSkinData->CacheBmp.get();
  const Integer grip = m ? m->ConstData.GripImage : -1;
  if (!cache || !m->IsValidImgIndex(grip)) return;
  const TsMaskData& md = m->Masks[static_cast<size_t>(grip)];
  std::unique_ptr<TacBitmap> bmp = CreateBmp32(WidthOfImage(md), HeightOfImage(md));
  const TPoint p = RBGripPoint(grip);
  Copy(DCOf(bmp.get()), 0, 0, bmp->Width(), bmp->Height(), cache, p.X, p.Y);
  DrawSkinGlyph(bmp.get(), TPoint{0, 0}, 0, 1, md, MakeCacheInfo(bmp.get()));
  BitBlt(DC, p.X, p.Y, bmp->Width(), bmp->Height(), DCOf(bmp.get()), 0, 0, SRCCOPY);
}

// The dialog frame's measuring, painting, hit testing and title buttons.
#include "skin/forms/acDialsFrame.h"

#include <windowsx.h>

#include <algorithm>

#include "skin/core/acntUtils.h"
#include "skin/core/sStyleSimply.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/acSystemMenu.h"
#include "skin/forms/sSkinProviderNames.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

// One press of a title button at a time, shared by all frames.
bool ButtonPressed = false;

const AnsiString kDialogTitle = "DIALOGTITLE";

HDC DCOf(TacBitmap* Bmp) { return Bmp->Canvas()->Handle(); }

Integer StateOf(bool Active, Integer StateCount) { return std::min<Integer>(Active ? 1 : 0, std::max(StateCount - 1, 0)); }

bool InRange(Integer V, Integer Low, Integer High) { return V >= Low && V <= High; }

}  // namespace

bool acDialogButtonPressed() { return ButtonPressed; }

// ------------------------------------------------------------ metrics

Integer TacDialogWnd::CaptionHeight(bool Skinned) const {
  const LONG_PTR style = GetWindowLongPtrW(WndHandle, GWL_STYLE);
  if ((style & WS_CAPTION) != WS_CAPTION && !IsIconic(WndHandle)) return 0;
  if (Skinned) {
    if (const Integer h = SkinTitleHeight(nullptr)) return h;
  }
  const bool tool = BorderStyle == acbsToolWindow || BorderStyle == acbsSizeToolWin;
  return GetSystemMetrics(tool ? SM_CYSMCAPTION : SM_CYCAPTION);
}

Integer TacDialogWnd::HeaderHeight() const { return CaptionHeight(true) + SysBorderHeight(WndHandle, nullptr, false); }
Integer TacDialogWnd::BorderHeight() const { return SysBorderHeight(WndHandle, nullptr, true); }
Integer TacDialogWnd::BorderWidth() const { return SysBorderWidth(WndHandle, nullptr, true); }

Integer TacDialogWnd::OffsetX() const {
  RECT wr{}, cr{};
  GetWindowRect(WndHandle, &wr);
  GetClientRect(WndHandle, &cr);
  return ((wr.right - wr.left) - cr.right) / 2;
}

Integer TacDialogWnd::OffsetY() const {
  RECT wr{}, cr{};
  GetWindowRect(WndHandle, &wr);
  GetClientRect(WndHandle, &cr);
  return (wr.bottom - wr.top) - cr.bottom - (CaptionHeight(true) != 0 ? SysBorderWidth(WndHandle, nullptr, false) : 0);
}

TRect TacDialogWnd::IconRect() const {
  TsSkinManager* m = SkinData->GetSkinManager();
  const Integer left = BorderWidth() + (m ? m->CommonSkinData.BILeft : 0);
  const Integer top = (BorderHeight() + CaptionHeight(true) - GetSystemMetrics(SM_CYSMICON)) / 2;
  return TRect{left, top, left + GetSystemMetrics(SM_CXSMICON), top + GetSystemMetrics(SM_CYSMICON)};
}

Integer TacDialogWnd::SysButtonWidth(const TsCaptionButton& Btn) const {
  TsSkinManager* m = SkinData->GetSkinManager();
  if (!m || !m->IsValidImgIndex(Btn.ImageIndex)) return acsp::DefaultButtonSize;
  return WidthOfImage(m->Masks[static_cast<size_t>(Btn.ImageIndex)]);
}

Integer TacDialogWnd::ButtonHeight(Integer ImageIndex) const {
  TsSkinManager* m = SkinData->GetSkinManager();
  if (!m || !m->IsValidImgIndex(ImageIndex)) return acsp::DefaultButtonSize;
  return HeightOfImage(m->Masks[static_cast<size_t>(ImageIndex)]);
}

Integer TacDialogWnd::TitleBtnsWidth() const {
  if (!VisibleClose()) return 0;
  Integer w = SysButtonWidth(ButtonClose);
  if (VisibleMax()) w += SysButtonWidth(ButtonMax);
  if (VisibleMin()) w += SysButtonWidth(ButtonMin);
  if (VisibleHelp()) w += SysButtonWidth(ButtonHelp);
  return w;
}

// ------------------------------------------------------------ states

bool TacDialogWnd::VisibleRestore() const {
  return (BorderStyle == acbsSingle || BorderStyle == acbsSizeable) && VisibleClose();
}

bool TacDialogWnd::EnabledClose() const {
  return VisibleClose() && !(GetClassLongPtrW(WndHandle, GCL_STYLE) & CS_NOCLOSE);
}

bool TacDialogWnd::EnabledMax() const {
  return VisibleMax() && !IsZoomed(WndHandle) &&
         (BorderStyle == acbsSingle || BorderStyle == acbsSizeable || BorderStyle == acbsSizeToolWin);
}

bool TacDialogWnd::EnabledMin() const { return VisibleMin() && !IsIconic(WndHandle); }

bool TacDialogWnd::EnabledRestore() const {
  return VisibleMax() && (IsIconic(WndHandle) || IsZoomed(WndHandle));
}

// ------------------------------------------------------------ glyphs

void TacDialogWnd::UpdateIconsIndexes() {
  TsSkinManager* m = SkinData ? SkinData->GetSkinManager() : nullptr;
  if (!m || !m->IsValidSkinIndex(m->ConstData.GlobalInfoIndex)) return;
  ButtonMin.HitCode = HTMINBUTTON;
  ButtonMax.HitCode = HTMAXBUTTON;
  ButtonClose.HitCode = HTCLOSE;
  ButtonHelp.HitCode = HTHELP;
  TitleIndex = -1;
  const auto& icons = m->ConstData.TitleIcons;
  auto bigSet = [&] {
    const bool alone = !VisibleMin() && !VisibleMax() && m->IsValidImgIndex(icons[tiBICloseAlone]);
    ButtonClose.ImageIndex = alone ? icons[tiBICloseAlone] : icons[tiBIconClose];
    ButtonMin.ImageIndex = icons[tiBIconMin];
    ButtonMax.ImageIndex = icons[tiBIconMax];
    ButtonHelp.ImageIndex = icons[tiBIconHelp];
    for (TsCaptionButton* b : {&ButtonMin, &ButtonMax, &ButtonClose, &ButtonHelp}) b->HaveBigImage = true;
  };
  if (BorderStyle == acbsSingle || BorderStyle == acbsSizeable) {
    bigSet();
  } else {
    if (m->IsValidImgIndex(icons[tiSIconClose])) {
      ButtonClose.ImageIndex = icons[tiSIconClose];
      ButtonMin.ImageIndex = icons[tiSIconMin];
      ButtonMax.ImageIndex = icons[tiSIconMax];
      ButtonHelp.ImageIndex = m->IsValidImgIndex(icons[tiSIconHelp]) ? icons[tiSIconHelp] : icons[tiBIconHelp];
      for (TsCaptionButton* b : {&ButtonMin, &ButtonMax, &ButtonClose, &ButtonHelp}) b->HaveBigImage = false;
    } else {
      bigSet();
    }
    TitleSection = kDialogTitle;
    TitleIndex = m->GetSkinIndex(TitleSection);
  }
  if (TitleIndex < 0) {
    TitleSection = acsp::FormTitle;
    TitleIndex = m->GetSkinIndex(TitleSection);
  }
}

// ------------------------------------------------------------ the cache

void TacDialogWnd::PaintAll() {
  TsSkinManager* m = SkinData->GetSkinManager();
  if ((FormState & 0x80) || !m) return;
  InitCtrlData(WndHandle, ParentHandle, DlgWindowRect, ParentRect, DlgWindowSize, PosInParent);
  const Integer w = DlgWindowSize.cx, h = DlgWindowSize.cy;
  if (w <= 0 || h <= 0) return;
  if (!SkinData->CacheBmp) SkinData->CacheBmp = CreateBmp32(w, h);
  TacBitmap* cache = SkinData->CacheBmp.get();
  if (cache->Width() != w || cache->Height() != h) {
    cache->SetPixelFormat(pf32bit);
    cache->SetSize(w, h);
    SkinData->BGChanged = true;
  }
  const Integer titleH = SysBorderHeight(WndHandle, nullptr, false) + CaptionHeight(true);
  TRect area{0, 0, w, h};
  if (IsIconic(WndHandle)) area.Bottom = titleH + 1;
  if (!SkinData->BGChanged) return;
  RgnChanged = true;
  if (m->IsValidSkinIndex(SkinData->SkinIndex)) {
    const TsGeneralData& s = m->Sections[static_cast<size_t>(SkinData->SkinIndex)];
    PaintItem(SkinData->SkinIndex, SkinData->SkinSection(), EmptyCI, true, StateOf(FormActive, s.StateCount), area,
              TPoint{0, 0}, cache, m);
    if (CaptionHeight(true) != 0) PaintTitle(cache, titleH);
    // The title strip without buttons: what a repainted button is drawn over.
    const Integer strip = BorderHeight() + CaptionHeight(true);
    if (!TitleBG) TitleBG = CreateBmp32(w, strip);
    if (TitleBG->Width() != w || TitleBG->Height() != strip) TitleBG->SetSize(w, strip);
    BitBlt(DCOf(TitleBG.get()), 0, 0, w, strip, DCOf(cache), 0, 0, SRCCOPY);
    if (CaptionHeight(true) != 0) PaintBorderIcons();
  }
  SkinData->BGChanged = false;
}

void TacDialogWnd::PaintTitle(TacBitmap* Cache, Integer TitleHeight) {
  TsSkinManager* m = SkinData->GetSkinManager();
  const Integer w = Cache->Width();
  if (m->IsValidSkinIndex(TitleIndex)) {
    const TsGeneralData& s = m->Sections[static_cast<size_t>(TitleIndex)];
    const TRect strip{0, 0, w, IsIconic(WndHandle) ? Cache->Height() : TitleHeight};
    PaintItem(TitleIndex, TitleSection, MakeCacheInfo(Cache), true, StateOf(FormActive, s.StateCount), strip,
              TPoint{0, 0}, Cache, m);
  }
  const TRect icon = IconRect();
  if (TitleIcon && !DrawIconEx(DCOf(Cache), icon.Left, icon.Top, TitleIcon, icon.Width(), icon.Height(), 0, nullptr,
                               DI_NORMAL))
    DrawIconEx(DCOf(Cache), icon.Left, icon.Top, LoadIconW(nullptr, IDI_APPLICATION), icon.Width(), icon.Height(), 0,
               nullptr, DI_NORMAL);
  TRect r{BorderWidth() + (TitleIcon ? icon.Width() : 0) + m->CommonSkinData.BILeft + 4, 2,
          w - TitleBtnsWidth() - 6, TitleHeight};
  if (r.Right <= r.Left || r.Bottom <= r.Top || WindowText.empty()) return;
  TCanvas* canvas = Cache->Canvas();
  canvas->Font()->SetHandle(acGetTitleFont());
  canvas->Font()->SetCharset(DEFAULT_CHARSET);
  canvas->Brush()->SetStyle(bsClear);
  Cardinal flags = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
  if (SavedExStyle & (WS_EX_RTLREADING | WS_EX_LAYOUTRTL)) flags |= DT_RIGHT | DT_RTLREADING;
  Integer section = TitleIndex;
  if (m->IsValidSkinIndex(CaptionIndex)) {
    TRect measured = r;
    acDrawText(DCOf(Cache), WindowText, measured, flags | DT_CALCRECT);
    measured.Left -= 4;
    measured.Right += 4;
    measured.Top = r.Top + (r.Height() - measured.Height()) / 2 - 2;
    measured.Bottom = measured.Top + measured.Height() + 4;
    const TsGeneralData& s = m->Sections[static_cast<size_t>(CaptionIndex)];
    PaintItem(CaptionIndex, s.SectionName, MakeCacheInfo(Cache), true, StateOf(FormActive, s.StateCount), measured,
              TPoint{0, 0}, Cache, m);
    section = CaptionIndex;
  }
  acWriteTextEx(canvas, WindowText, true, r, flags, section, FormActive, m);
}

void TacDialogWnd::PaintButton(TsCaptionButton& Btn, Integer Image, bool Enabled) {
  TsSkinManager* m = SkinData->GetSkinManager();
  TacBitmap* cache = SkinData->CacheBmp.get();
  Btn.Rect.Left = Btn.Rect.Right - SysButtonWidth(Btn);
  if (Btn.HaveBigImage && m->CommonSkinData.BIVAlign == 1)
    Btn.Rect.Top = 0;
  else
    Btn.Rect.Top = (BorderHeight() + CaptionHeight(true) - ButtonHeight(Btn.ImageIndex)) / 2;
  Btn.Rect.Bottom = Btn.Rect.Top + ButtonHeight(Btn.ImageIndex);
  if (!m->IsValidImgIndex(Image) || !cache) return;
  const Integer mode = (!FormActive && Btn.State == 0) || !Enabled ? 2 : 1;
  DrawSkinGlyph(cache, Btn.Rect.TopLeft(), Btn.State, mode, m->Masks[static_cast<size_t>(Image)],
                MakeCacheInfo(cache));
}

void TacDialogWnd::PaintBorderIcons() {
  TsSkinManager* m = SkinData->GetSkinManager();
  if (!(SavedStyle & WS_SYSMENU) || !SkinData->CacheBmp) return;
  const auto& icons = m->ConstData.TitleIcons;
  const bool spacing = BorderStyle == acbsSingle || BorderStyle == acbsSizeable ||
                       ButtonClose.ImageIndex == icons[tiBIconClose];
  const Integer gap = spacing ? m->CommonSkinData.BISpace : 0;
  Integer x = SkinData->CacheBmp->Width() - m->CommonSkinData.BIRight - BorderWidth();
  auto place = [&](TsCaptionButton& Btn, Integer Image, bool Enabled) {
    Btn.Rect.Right = x;
    PaintButton(Btn, Image, Enabled);
    x = Btn.Rect.Left - gap;
  };
  if (m->IsValidImgIndex(ButtonClose.ImageIndex)) place(ButtonClose, ButtonClose.ImageIndex, EnabledClose());
  if (VisibleMax())
    place(ButtonMax, IsZoomed(WndHandle) ? icons[tiBIconNorm] : ButtonMax.ImageIndex, EnabledMax() || EnabledRestore());
  if (VisibleMin())
    place(ButtonMin, IsIconic(WndHandle) ? icons[tiBIconNorm] : ButtonMin.ImageIndex, EnabledMin() || EnabledRestore());
  if (VisibleHelp() && m->IsValidImgIndex(ButtonHelp.ImageIndex)) place(ButtonHelp, ButtonHelp.ImageIndex, true);
}

void TacDialogWnd::RepaintButton(Integer HitCode) {
  TsCaptionButton* btn = ButtonOf(HitCode);
  TsSkinManager* m = SkinData->GetSkinManager();
  TacBitmap* cache = SkinData->CacheBmp.get();
  if (!btn || !m || !cache || btn->State == -1 || btn->Rect.Width() <= 0) return;
  if (btn->Rect.Left <= BorderWidth() + GetSystemMetrics(SM_CXSMICON)) return;
  // The button's background from the strip kept without buttons.
  if (TitleBG && TitleBG->Width() == cache->Width())
    BitBlt(DCOf(cache), btn->Rect.Left, btn->Rect.Top, btn->Rect.Width(),
           std::min(btn->Rect.Height(), TitleBG->Height() - btn->Rect.Top), DCOf(TitleBG.get()), btn->Rect.Left,
           btn->Rect.Top, SRCCOPY);
  const auto& icons = m->ConstData.TitleIcons;
  Integer image = btn->ImageIndex;
  bool enabled = true;
  if (btn == &ButtonMax && IsZoomed(WndHandle)) {
    image = icons[tiBIconNorm];
  } else if (IsIconic(WndHandle) && btn == &ButtonMin) {
    image = icons[tiBIconNorm];
  } else if (IsIconic(WndHandle) && btn == &ButtonMax) {
    image = icons[tiBIconMax];
    enabled = EnabledMax();
  }
  if (btn == &ButtonClose) enabled = EnabledClose();
  if (m->IsValidImgIndex(image)) {
    const Integer mode = !enabled || (btn->State == 0 && !FormActive) ? 2 : 1;
    DrawSkinGlyph(cache, btn->Rect.TopLeft(), btn->State, mode, m->Masks[static_cast<size_t>(image)],
                  MakeCacheInfo(cache));
  }
  HDC dc = GetWindowDC(WndHandle);
  BitBlt(dc, btn->Rect.Left, btn->Rect.Top, btn->Rect.Width(), btn->Rect.Height(), DCOf(cache), btn->Rect.Left,
         btn->Rect.Top, SRCCOPY);
  ReleaseDC(WndHandle, dc);
}

// ------------------------------------------------------------ to the window

void TacDialogWnd::PaintCaption(HDC DC) {
  if (SkinData->BGChanged || !SkinData->CacheBmp) {
    PaintAll();
    SkinData->BGChanged = false;
    SkinData->Updating = false;
  }
  TacBitmap* cache = SkinData->CacheBmp.get();
  if (!cache) return;
  const Integer w = cache->Width(), h = cache->Height();
  const Integer header = HeaderHeight() + (IsIconic(WndHandle) ? 1 : 0);
  const Integer bw = BorderWidth(), bh = BorderHeight();
  BitBlt(DC, 0, 0, w, header, DCOf(cache), 0, 0, SRCCOPY);
  BitBlt(DC, 0, header, bw, h - header, DCOf(cache), 0, header, SRCCOPY);
  BitBlt(DC, w - bw, header, bw, h - header, DCOf(cache), w - bw, header, SRCCOPY);
  BitBlt(DC, 0, h - bh, w, bh, DCOf(cache), 0, h - bh, SRCCOPY);
}

void TacDialogWnd::PaintForm(HDC DC) {
  if (SkinData->BGChanged || !SkinData->CacheBmp) PaintAll();
  TacBitmap* cache = SkinData->CacheBmp.get();
  if (!cache) return;
  RECT cr{};
  GetClientRect(WndHandle, &cr);
  BitBlt(DC, 0, 0, cr.right, cr.bottom, DCOf(cache), OffsetX(), OffsetY(), SRCCOPY);
  for (HWND child = GetTopWindow(WndHandle); child; child = GetWindow(child, GW_HWNDNEXT))
    if (IsWindowVisible(child)) SendAMessage(child, ACMD_PARENT_UPDATED);
}

void TacDialogWnd::Ac_WMPaint(HDC DC) {
  SkinData->Updating = false;
  const bool own = DC == nullptr;
  if (own) DC = GetDC(WndHandle);
  const int saved = SaveDC(DC);
  for (HWND child = GetTopWindow(WndHandle); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
    wchar_t cls[16] = {};
    GetClassNameW(child, cls, 16);
    if ((lstrcmpiW(cls, L"static") == 0 && (style & 0x10000)) || (style & 7) == 7) continue;
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, WndHandle, reinterpret_cast<POINT*>(&r), 2);
    ExcludeClipRect(DC, r.left, r.top, r.right, r.bottom);
  }
  PaintForm(DC);
  RestoreDC(DC, saved);
  if (own) ReleaseDC(WndHandle, DC);
}

// ------------------------------------------------------------ hit tests and buttons

TsCaptionButton* TacDialogWnd::ButtonOf(Integer HitCode) {
  switch (HitCode) {
    case HTMINBUTTON:
      return &ButtonMin;
    case HTMAXBUTTON:
      return &ButtonMax;
    case HTCLOSE:
      return &ButtonClose;
    case HTHELP:
      return &ButtonHelp;
    default:
      return nullptr;
  }
}

Integer TacDialogWnd::HTProcess(TMessage& Message) {
  RECT wr{};
  GetWindowRect(WndHandle, &wr);
  DlgWindowRect = TRect{wr.left, wr.top, wr.right, wr.bottom};
  const Integer x = GET_X_LPARAM(Message.LParam) - wr.left, y = GET_Y_LPARAM(Message.LParam) - wr.top;
  const Integer top = (CaptionHeight(true) - ButtonHeight(ButtonClose.ImageIndex) + BorderHeight()) / 2;
  const Integer bottom = top + ButtonHeight(ButtonClose.ImageIndex);
  if (InRange(y, top, bottom)) {
    if (InRange(x, BorderWidth(), BorderWidth() + GetSystemMetrics(SM_CXSMICON))) {
      SetHotHT(HTSYSMENU);
      return HTSYSMENU;
    }
    // The present buttons, numbered from the right.
    const bool minShown = VisibleMin() || IsIconic(WndHandle);
    std::vector<const TsCaptionButton*> present;
    if (VisibleClose()) present.push_back(&ButtonClose);
    if (VisibleMax()) present.push_back(&ButtonMax);
    if (minShown) present.push_back(&ButtonMin);
    if (VisibleHelp()) present.push_back(&ButtonHelp);
    size_t number = 0;
    for (size_t i = 0; i < present.size(); ++i)
      if (InRange(x, present[i]->Rect.Left, present[i]->Rect.Right)) {
        number = i + 1;
        break;
      }
    Integer code = -2;
    switch (number) {
      case 1:
        if (VisibleClose()) {
          code = EnabledClose() ? HTCLOSE : 0;
          if (code) SetHotHT(code);
          return code;
        }
        break;
      case 2:
        if (VisibleMax())
          code = EnabledMax() || EnabledRestore() ? HTMAXBUTTON : HTCAPTION;
        else if (minShown)
          code = EnabledMin() ? HTMINBUTTON : HTCAPTION;
        else if (VisibleHelp())
          code = HTHELP;
        break;
      case 3:
        if (minShown)
          code = IsIconic(WndHandle) || EnabledMin() ? HTMINBUTTON : HTCAPTION;
        else if (VisibleHelp())
          code = HTHELP;
        break;
      case 4:
        if (VisibleHelp() && VisibleMax()) code = HTHELP;
        break;
      default:
        return HTCAPTION;
    }
    if (code != -2) {
      SetHotHT(code);
      return code;
    }
  }
  if (IsZoomed(WndHandle) && (x < 2 || y < 2 || x > wr.right - wr.left - 4 || y > wr.bottom - wr.top - 4)) {
    SetHotHT(0);
    return -1;
  }
  return static_cast<Integer>(Message.Result);
}

void TacDialogWnd::Ac_WMNCHitTest(TMessage& Message) {
  Message.Result = 0;
  const Integer code = HTProcess(Message);
  if (code == 0 || code == HTCAPTION) {
    Message.Result = CallPrevWndProc(WndHandle, Message.Msg, Message.WParam, Message.LParam);
    SetHotHT(0);
  } else {
    Message.Result = code;
  }
}

void TacDialogWnd::SetHotHT(Integer HitCode, bool Repaint) {
  if (HitCode == HotHitCode) return;
  if (TsCaptionButton* old = ButtonOf(HotHitCode)) {
    old->State = 0;
    if (Repaint) RepaintButton(HotHitCode);
  }
  HotHitCode = HitCode;
  ButtonPressed = false;
  if (TsCaptionButton* now = ButtonOf(HitCode)) {
    now->State = 1;
    if (Repaint) RepaintButton(HitCode);
  }
}

void TacDialogWnd::SetPressedHT(Integer HitCode) {
  if (HotHitCode != HitCode && HotHitCode != 0) {
    if (TsCaptionButton* old = ButtonOf(HotHitCode)) {
      old->State = 0;
      RepaintButton(HotHitCode);
    }
  }
  HotHitCode = HitCode;
  if (TsCaptionButton* now = ButtonOf(HitCode)) {
    if (HitCode != HTMAXBUTTON || EnabledMax() || (IsZoomed(WndHandle) && EnabledRestore())) now->State = 2;
  }
  ButtonPressed = true;
  RepaintButton(HitCode);
}

void TacDialogWnd::Ac_WMNCLButtonDown(TMessage& Message) {
  const auto code = static_cast<Integer>(Message.WParam);
  switch (code) {
    case HTSYSMENU: {
      SetHotHT(0);
      RECT wr{};
      GetWindowRect(WndHandle, &wr);
      DropSysMenu(wr.left + BorderWidth(), wr.top + BorderHeight() + GetSystemMetrics(SM_CYSMICON));
      return;
    }
    case HTMINBUTTON:
    case HTMAXBUTTON:
    case HTCLOSE:
    case HTHELP:
      SetPressedHT(code);
      return;
    default:
      break;
  }
  if (IsIconic(WndHandle)) {
    SendMessageW(WndHandle, WM_SYSCOMMAND, 0xF012, 0);
    return;
  }
  SetHotHT(0);
  Message.Result = CallPrevWndProc(WndHandle, Message.Msg, Message.WParam, Message.LParam);
}

void TacDialogWnd::Ac_WMLButtonUp(TMessage& Message, Integer HitCode) {
  const bool pressed = ButtonPressed;
  switch (HitCode) {
    case HTMINBUTTON:
      SetHotHT(0);
      if (pressed) SendMessageW(WndHandle, WM_SYSCOMMAND, IsIconic(WndHandle) ? SC_RESTORE : SC_MINIMIZE, 0);
      break;
    case HTMAXBUTTON:
      if (!IsIconic(WndHandle) || EnabledMax()) {
        SetHotHT(0);
        if (pressed) {
          SendMessageW(WndHandle, WM_SYSCOMMAND, IsZoomed(WndHandle) ? SC_RESTORE : SC_MAXIMIZE, 0);
          SystemMenu->UpdateItems();
        }
      }
      break;
    case HTCLOSE:
      if (pressed) {
        ButtonClose.State = 0;
        SetHotHT(0);
        SendMessageW(WndHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
        if (IsWindow(WndHandle) && IsWindowVisible(WndHandle)) SetHotHT(0);
      } else {
        SetHotHT(0);
      }
      break;
    case HTHELP:
      if (pressed) {
        SendMessageW(WndHandle, WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
        SetHotHT(0);
        SystemMenu->UpdateItems();
        SendMessageW(WndHandle, WM_NCPAINT, 0, 0);
      } else {
        SetHotHT(0);
      }
      break;
    default:
      Message.Result = CallPrevWndProc(WndHandle, Message.Msg, Message.WParam, Message.LParam);
      break;
  }
  ButtonPressed = false;
  Message.WParam = 0;
}

void TacDialogWnd::DropSysMenu(Integer X, Integer Y) {
  SystemMenu->UpdateItems();
  // The dialog is the menu's window while it is shown.
  SystemMenu->SetWindowHandle(WndHandle);
  SystemMenu->Popup(X, Y);
  SystemMenu->SetWindowHandle(nullptr);
}

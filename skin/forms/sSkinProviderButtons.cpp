// The caption's layout and its buttons: which image each title button shows,
// where it lies, the hit code of a screen point, hot and pressed states, the
// system menu drop-down and the outline move and size.
#include <algorithm>

#include "skin/core/acntUtils.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/acSBAnimation.h"
#include "skin/forms/sSkinProvider.h"
#include "skin/forms/sSkinProviderNames.h"
#include "skin/forms/sSkinMenus.h"
#include "skin/forms/sSystemMenu.h"
#include "skin/graphics/sAlphaGraph.h"

namespace {
bool Contains(const TRect& R, const TPoint& P) { return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom; }
}  // namespace

void TsSkinProvider::UpdateIconsIndexes() {
  TsSkinManager* m = FSkinData->GetSkinManager();
  const TFormBorderStyle bs = Form->BorderStyle();
  BigButtons = bs == bsSingle || bs == bsSizeable;
  if (!m || m->ConstData.GlobalInfoIndex < 0) return;
  const auto& icons = m->ConstData.TitleIcons;
  ButtonMin.HitCode = achit::MinButton;
  ButtonMax.HitCode = achit::MaxButton;
  ButtonClose.HitCode = achit::Close;
  ButtonHelp.HitCode = achit::Help;
  if (BigButtons) {
    ButtonMin.ImageIndex = icons[tiBIconMin];
    ButtonMax.ImageIndex = icons[tiBIconMax];
    const bool alone = !SysVisibleMax() && !SysVisibleMin();
    ButtonClose.ImageIndex =
        alone && m->IsValidImgIndex(icons[tiBICloseAlone]) ? icons[tiBICloseAlone] : icons[tiBIconClose];
    ButtonHelp.ImageIndex = icons[tiBIconHelp];
  } else {
    ButtonClose.ImageIndex = icons[tiSIconClose];
    ButtonMin.ImageIndex = icons[tiSIconMin];
    ButtonMax.ImageIndex = icons[tiSIconMax];
    ButtonHelp.ImageIndex = m->IsValidImgIndex(icons[tiSIconHelp]) ? icons[tiSIconHelp] : icons[tiBIconHelp];
  }
  bool big = BigButtons;
  if (!m->IsValidImgIndex(ButtonClose.ImageIndex)) {
    ButtonClose.ImageIndex = icons[tiBIconClose];
    ButtonMin.ImageIndex = icons[tiBIconMin];
    ButtonMax.ImageIndex = icons[tiBIconMax];
    ButtonHelp.ImageIndex = icons[tiBIconHelp];
    big = true;
  }
  for (TsCaptionButton* b : {&ButtonMin, &ButtonMax, &ButtonClose, &ButtonHelp}) b->HaveBigImage = big;
  UserBtnIndex = m->GetMaskIndex(acsp::GlobalInfo, acsp::TitleButton);
}

// The caption geometry and the places of the title buttons, right to left.
void TsSkinProvider::CalcItems() {
  TsSkinManager* m = FSkinData->GetSkinManager();
  if (!m) return;
  HWND wnd = Form->WindowHandle();
  const TsSkinData& d = m->CommonSkinData;
  const TRect shadow = ShadowSize();
  const bool zoomed = IsZoomed(wnd);
  if (BorderForm) {
    CaptionCenter = shadow.Top + ActualTitleHeight() / 2 + CaptionHeight(true) - ActualTitleHeight();
    TitleBarBottom = CaptionHeight(true) + shadow.Top;
    if (!zoomed || d.TitleHeight == d.MaxHeight) CaptionCenter += d.CenterOffset;
  } else {
    CaptionCenter = CaptionHeight(true) / 2 + SysBorderWidth(wnd, nullptr, true) / 2;
    TitleBarBottom = SysBorderHeight(wnd, nullptr, true) + CaptionHeight(true) + shadow.Top;
  }
  if (zoomed) CaptionCenter += 2;
  IconRect.Left = SysBorderWidth(wnd, BorderForm.get(), true) + d.BILeft + shadow.Left;
  if (IconVisible()) {
    IconRect.Right = IconRect.Left + TitleIconWidth();
    IconRect.Top = CaptionCenter - TitleIconHeight() / 2;
    IconRect.Bottom = IconRect.Top + TitleIconHeight();
  } else {
    IconRect.Right = IconRect.Left;
  }
  const Integer alignedTop = BorderForm ? GetTopCoord() : (zoomed ? GetSystemMetrics(SM_CXFRAME) - 1 : 0);
  Integer x = CaptionWidth() - d.BIRight - shadow.Right - SysBorderWidth(wnd, BorderForm.get(), true);
  const Integer bh = ButtonHeight();
  auto place = [&](TsCaptionButton& b) {
    const Integer w = SysButtonWidth(b);
    b.Rect.Right = x;
    b.Rect.Left = x - w;
    b.Rect.Top = b.HaveBigImage && d.BIVAlign == 1 ? alignedTop : CaptionCenter - bh / 2;
    b.Rect.Bottom = b.Rect.Top + bh;
    x = b.Rect.Left - (b.HaveBigImage ? d.BISpace : 0);
  };
  auto empty = [](TsCaptionButton& b) { b.Rect = TRect{b.Rect.Left, b.Rect.Top, b.Rect.Left, b.Rect.Bottom}; };
  if (FPrepared && HaveSysMenu()) {
    place(ButtonClose);
    if (SysVisibleMax()) {
      ButtonMax.ImageIndex = m->ConstData.TitleIcons[zoomed ? tiBIconNorm : tiBIconMax];
      if (!ButtonMax.HaveBigImage) ButtonMax.ImageIndex = m->ConstData.TitleIcons[zoomed ? tiSIconNorm : tiSIconMax];
      place(ButtonMax);
    } else {
      empty(ButtonMax);
    }
    if (SysVisibleMin()) {
      const bool restoreImage = Form->WindowState() == wsMinimized && IsIconic(wnd) && Application &&
                                Application->MainForm() != Form;
      ButtonMin.ImageIndex =
          m->ConstData.TitleIcons[restoreImage ? (ButtonMin.HaveBigImage ? tiBIconNorm : tiSIconNorm)
                                               : (ButtonMin.HaveBigImage ? tiBIconMin : tiSIconMin)];
      place(ButtonMin);
    } else {
      empty(ButtonMin);
    }
    if (Form->BorderIcons().Contains(biHelp)) {
      x -= acsp::ButtonGroupGap;
      place(ButtonHelp);
    } else {
      empty(ButtonHelp);
    }
  } else {
    for (TsCaptionButton* b : {&ButtonClose, &ButtonMax, &ButtonMin, &ButtonHelp}) empty(*b);
  }
}

TsCaptionButton* TsSkinProvider::ButtonOf(Integer HitCode) {
  switch (HitCode) {
    case achit::MinButton: return &ButtonMin;
    case achit::MaxButton: return &ButtonMax;
    case achit::Close: return &ButtonClose;
    case achit::Help: return &ButtonHelp;
    case achit::MDIClose: return &MDIClose;
    case achit::MDIRestore: return &MDIMax;
    case achit::MDIMinimize: return &MDIMin;
    default: return nullptr;
  }
}

// The position (from 1) of the system button under P, 0 for none.
Integer TsSkinProvider::SysButtonAt(const TPoint& P) {
  if (!HaveSysMenu()) return 0;
  Integer position = 0;
  auto hit = [&](const TsCaptionButton& b) { return ++position, Contains(b.Rect, P); };
  if (hit(ButtonClose)) return position;
  if (SysVisibleMax() && hit(ButtonMax)) return position;
  if (SysVisibleMin() && hit(ButtonMin)) return position;
  if (Form->BorderIcons().Contains(biHelp) && hit(ButtonHelp)) return position;
  return 0;
}

Integer TsSkinProvider::HTProcess(TMessage& Message) {
  HWND wnd = Form->WindowHandle();
  const TPoint p = CursorToPoint(static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam)));
  const bool iconic = IsIconic(wnd);
  if (!BorderForm) {
    if (!FPrepared) PrepareForm();
    const Integer position = FPrepared ? SysButtonAt(p) : 0;
    if (position > 0) {
      const bool maxVisible = SysVisibleMax(), minVisible = SysVisibleMin() || iconic;
      const bool help = Form->BorderIcons().Contains(biHelp);
      switch (position) {
        case 1: return SysEnabledClose() ? achit::Close : achit::Caption;
        case 2:
          if (maxVisible) {
            if (SysEnabledMax()) return achit::MaxButton;
            return !SysEnabledRestore() || iconic ? achit::Caption : achit::MaxButton;
          }
          if (minVisible) return SysEnabledMin() ? achit::MinButton : achit::Caption;
          if (help) return achit::Help;
          break;
        case 3:
          if (minVisible) return iconic || SysEnabledMin() ? achit::MinButton : achit::Caption;
          if (help) return achit::Help;
          break;
        case 4:
          if (help && maxVisible) return achit::Help;
          break;
        default: break;
      }
    }
  }
  const Integer w = SysBorderWidth(wnd, BorderForm.get(), true);
  if (!IsZoomed(wnd) && HasThickFrame() && !BorderForm) {
    const Integer fw = GetWindowWidth(wnd), fh = GetWindowHeight(wnd);
    Integer r = achit::Client;
    if (p.Y < SysBorderHeight(wnd, nullptr, false)) r = achit::Top;
    if (p.Y >= fh - w) r = achit::Bottom;
    if (p.X < w) r = r == achit::Top ? achit::TopLeft : r == achit::Bottom ? achit::BottomLeft : achit::Left;
    if (p.X >= fw - w) r = r == achit::Top ? achit::TopRight : r == achit::Bottom ? achit::BottomRight : achit::Right;
    if (r != achit::Client) return r;
  }
  const Integer c = SysBorderHeight(wnd, BorderForm.get(), true) + SysCaptHeight(Form);
  if (p.Y >= 0 && p.Y <= c) {
    const Integer menuTop = SysBorderHeight(wnd, nullptr, false) + SysCaptHeight(Form);
    if (MenuHeight() > 0 && p.Y >= menuTop && p.Y <= SysBorderHeight(wnd, nullptr, false) + CaptionHeight(false) + MenuHeight())
      return achit::Menu;
    if (Contains(IconRect, p)) return achit::SysMenu;
    return achit::Caption;
  }
  if (p.Y > c + GetLinesCount() * MenuHeight()) {
    TsSkinManager* m = FSkinData->GetSkinManager();
    const Integer grip = m ? m->ConstData.GripImage : -1;
    if (!IsGripVisible() || !m || !m->IsValidImgIndex(grip)) return achit::Client;
    const TPoint g = RBGripPoint(grip);
    return p.Y > g.Y && p.X > g.X ? achit::BottomRight : achit::Client;
  }
  return achit::Menu;
}

void TsSkinProvider::SetHotHT(Integer HitCode, bool Repaint) {
  if (HotElement == HitCode || !FDrawNonClientArea) return;
  HintTimer.reset();
  if (HotElement > 0) {
    if (TsCaptionButton* old = ButtonOf(HotElement)) old->State = 0;
    if (Repaint) RepaintButton(HotElement);
  }
  HotElement = HitCode;
  if (bTitleBtnDown || HitCode < 1) return;
  if (TsCaptionButton* b = ButtonOf(HitCode)) b->State = 1;
  if (Repaint) RepaintButton(HitCode);
}

void TsSkinProvider::SetPressedHT(Integer HitCode) {
  if (HotElement != HitCode && HotElement > 0) {
    if (TsCaptionButton* old = ButtonOf(HotElement)) old->State = 0;
    RepaintButton(HotElement);
  }
  HotElement = HitCode;
  TsCaptionButton* b = ButtonOf(HitCode);
  if (!b) return;
  const bool allowed = HitCode == achit::MaxButton   ? SysEnabledMax() || (IsZoomed(Form->WindowHandle()) && SysEnabledRestore())
                       : HitCode == achit::Close     ? SysEnabledClose()
                                                     : true;
  if (!allowed) {
    HotElement = 0;
    return;
  }
  b->State = 2;
  bTitleBtnDown = true;
  RepaintButton(HitCode);
}

// Redraws one button into the cache (on the saved caption under it) and onto
// the window.
void TsSkinProvider::RepaintButton(Integer HitCode) {
  TsCaptionButton* b = ButtonOf(HitCode);
  TacBitmap* cache = FSkinData->CacheBmp.get();
  TsSkinManager* m = FSkinData->GetSkinManager();
  if (!b || !cache || !m || !Form->HandleAllocated() || HitCode >= achit::MDIClose) return;
  if (b->State == -1 || b->Rect.Left <= IconRect.Right || b->Rect.Width() <= 0) return;
  // With glowing the button fades between its states in a window over it.
  if ((m->Effects()->AllowGlowing || BorderForm) && FormState == 0 && !Form->Parent() &&
      Form->FormStyle() != fsMDIChild) {
    const Integer steps = b->State == 2 ? 1 : sbFadeSteps;
    StartSBAnimation(b, b->State, steps, b->State > 0, this);
    return;
  }
  const Integer w = SysButtonWidth(*b), h = ButtonHeight();
  const Integer bgX = b->Rect.Left - (CaptionWidth() - BtnBG->Width() - 1);
  BitBlt(cache->Canvas()->Handle(), b->Rect.Left, b->Rect.Top, w, h, BtnBG->Canvas()->Handle(), bgX, b->Rect.Top,
         SRCCOPY);
  const bool enabled = HitCode == achit::Close       ? SysEnabledClose()
                       : HitCode == achit::MaxButton ? SysEnabledMax() || SysEnabledRestore()
                       : HitCode == achit::MinButton ? SysEnabledMin()
                                                     : true;
  PaintButtonInCache(*b, enabled);
  HDC dc = GetWindowDC(Form->WindowHandle());
  BitBlt(dc, b->Rect.Left, b->Rect.Top, w, h, cache->Canvas()->Handle(), b->Rect.Left, b->Rect.Top, SRCCOPY);
  ReleaseDC(Form->WindowHandle(), dc);
}

// The system menu at a screen point: the skinned system menu (with the skin
// list when MakeSkinMenu is on), drawn by the menu painter; its items send
// the window its system commands.
void TsSkinProvider::DropSysMenu(Integer X, Integer Y) {
  if (!FPrepared) PrepareForm();
  MakeSystemMenu();
  if (!SystemMenu) return;
  HWND wnd = Form->WindowHandle();
  const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
  {
    // The system menu exists only with WS_SYSMENU, which the skinned caption takes away.
    SetWindowLongPtrW(wnd, GWL_STYLE, (style | WS_SYSMENU) & ~static_cast<LONG_PTR>(WS_VISIBLE));
    bool extra = false;
    if (HMENU menu = GetSystemMenu(wnd, FALSE))
      for (int i = 0, n = GetMenuItemCount(menu); i < n && !extra; ++i) {
        const UINT id = GetMenuItemID(menu, i);
        extra = (id < 0xF000 || id > 0xF1FF) && GetMenuStringW(menu, i, nullptr, 0, MF_BYPOSITION) > 0;
      }
    SystemMenu->UpdateItems(extra);
    SetWindowLongPtrW(wnd, GWL_STYLE, style);
  }
  if (MakeSkinMenu) {
    TMenuItem* items = SystemMenu->Items();
    if (items->Count() > 1 && items->Items(0)->Name() == "SkinSelectItem") {
      TMenuItem* list = items->Items(0);
      TMenuItem* divider = items->Items(1);
      items->Remove(list);
      items->Remove(divider);
      list->Free();
      divider->Free();
    }
    SystemMenu->MakeSkinItems();
  }
  TsSkinManager* m = FSkinData->GetSkinManager();
  if (m && m->Menus()) m->Menus()->HookPopupMenu(SystemMenu, m->SkinnedPopups());
  SystemMenu->SetWindowHandle(wnd);
  SystemMenu->Popup(X, Y);
  SystemMenu->SetWindowHandle(nullptr);
}

// ------------------------------------------------------ outline move and size

void TsSkinProvider::StartMove(Integer X, Integer Y) {
  if (!Form->Enabled() || ResizeMode != rmBorder) return;
  acOutline.InProcess = true;
  acOutline.DesktopDC = GetDC(nullptr);
  acOutline.SavedDC = SaveDC(acOutline.DesktopDC);
  acOutline.Left = Form->Left();
  acOutline.Top = Form->Top();
  SetROP2(acOutline.DesktopDC, R2_NOT);
  if (acOutline.Moving) {
    acOutline.Last = TPoint{X, Y};
    DrawFormBorder(acOutline.Left, acOutline.Top);
  } else {
    acOutline.MinHeight = Form->Constraints()->MinHeight();
    acOutline.MinWidth = Form->Constraints()->MinWidth();
    acOutline.Right = Form->Left() + Form->Width();
    acOutline.Bottom = Form->Top() + Form->Height();
    DrawFormBorder(0, 0);
  }
}

void TsSkinProvider::DrawFormBorder(Integer X, Integer Y) {
  if (ResizeMode != rmBorder || !acOutline.DesktopDC) return;
  TRect r = acOutline.Moving ? TRect{X, Y, X + Form->Width(), Y + Form->Height()}
                             : TRect{acOutline.Left, acOutline.Top, acOutline.Right, acOutline.Bottom};
  const POINT points[5] = {{r.Left, r.Top}, {r.Right - 1, r.Top}, {r.Right - 1, r.Bottom - 1}, {r.Left, r.Bottom - 1},
                           {r.Left, r.Top}};
  Polyline(acOutline.DesktopDC, points, 5);
}

void TsSkinProvider::StopMove(Integer, Integer) {
  if (ResizeMode != rmBorder) return;
  ReleaseCapture();
  acOutline.InProcess = false;
  if (acOutline.DesktopDC) {
    DrawFormBorder(acOutline.Left, acOutline.Top);
    RestoreDC(acOutline.DesktopDC, acOutline.SavedDC);
    ReleaseDC(nullptr, acOutline.DesktopDC);
    acOutline.DesktopDC = nullptr;
  }
  HWND wnd = Form->WindowHandle();
  if (acOutline.Moving)
    SetWindowPos(wnd, nullptr, acOutline.Left, acOutline.Top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  else if (!acOutline.Capture)
    SetWindowPos(wnd, nullptr, acOutline.Left, acOutline.Top, acOutline.Right - acOutline.Left,
                 acOutline.Bottom - acOutline.Top, SWP_NOZORDER | SWP_NOACTIVATE);
  acOutline.Capture = false;
}

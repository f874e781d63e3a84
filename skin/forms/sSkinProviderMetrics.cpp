// The sizes of a skinned form's frame: partly the system's (the native frame
// the window keeps), partly the skin's (extended borders). Painting, hit
// testing and the region all measure through these, so they agree.
#include <algorithm>

#include "skin/core/sVclUtils.h"
#include "skin/forms/sSkinProvider.h"
#include "skin/forms/sSkinProviderNames.h"
#include "skin/forms/sSystemMenu.h"
#include "skin/forms/sTitleButtons.h"

namespace {

Integer& SysWndCaptHeight() {
  static Integer h = 0;
  if (h == 0) h = GetSystemMetrics(SM_CYCAPTION);
  return h;
}

Integer& SysToolCaptHeight() {
  static Integer h = 0;
  if (h == 0) h = GetSystemMetrics(SM_CYSMCAPTION);
  return h;
}

bool IsToolWindow(TCustomForm* Form) {
  return Form->BorderStyle() == bsToolWindow || Form->BorderStyle() == bsSizeToolWin;
}

bool Iconic(TCustomForm* Form) { return Form->HandleAllocated() && IsIconic(Form->WindowHandle()); }
bool Zoomed(TCustomForm* Form) { return Form->HandleAllocated() && IsZoomed(Form->WindowHandle()); }

LONG_PTR StyleOf(TCustomForm* Form) {
  return Form->HandleAllocated() ? GetWindowLongPtrW(Form->WindowHandle(), GWL_STYLE) : 0;
}

TsSkinManager* ManagerOf(TacBorderForm* BorderForm) {
  return BorderForm && BorderForm->SkinData ? BorderForm->SkinData->GetSkinManager() : nullptr;
}

}  // namespace

// ------------------------------------------------------- module functions

Integer SysBorderWidth(HWND Wnd, TacBorderForm* BorderForm, bool UseSkin) {
  if (UseSkin && SkinBorderWidth(BorderForm) != 0) return SkinBorderWidth(BorderForm);
  const LONG_PTR style = GetWindowLongPtrW(Wnd, GWL_STYLE);
  if (style & WS_THICKFRAME) return GetSystemMetrics(SM_CXFRAME);
  if (style & WS_BORDER) return GetSystemMetrics(SM_CXDLGFRAME);
  return 0;
}

Integer SysBorderHeight(HWND Wnd, TacBorderForm* BorderForm, bool UseSkin) {
  return BorderForm ? 0 : SysBorderWidth(Wnd, BorderForm, UseSkin);
}

Integer SysCaptHeight(TCustomForm* Form) {
  if (Form && IsToolWindow(Form) && !Iconic(Form)) return SysToolCaptHeight();
  return SysWndCaptHeight();
}

Integer SkinTitleHeight(TacBorderForm* BorderForm) {
  TsSkinManager* m = ManagerOf(BorderForm);
  return BorderForm && m ? m->CommonSkinData.TitleHeight : 0;
}

Integer SkinBorderWidth(TacBorderForm* BorderForm) {
  TsSkinManager* m = ManagerOf(BorderForm);
  return m ? m->CommonSkinData.FormBorderWidth : 0;
}

TPoint SkinMenuOffset(TsSkinProvider* Provider) {
  if (!Provider->BorderForm) return TPoint{0, 0};
  HWND wnd = Provider->Form->WindowHandle();
  TacBorderForm* b = Provider->BorderForm.get();
  return TPoint{SysBorderWidth(wnd, b, true) - SysBorderWidth(wnd, b, false),
                SysBorderHeight(wnd, b, true) + Provider->CaptionHeight(true) - SysCaptHeight(Provider->Form) -
                    SysBorderHeight(wnd, b, false)};
}

Integer DiffTitle(TacBorderForm* BorderForm) {
  if (!BorderForm || !BorderForm->Wnd) return 0;
  return BorderForm->CaptionHeight(true) - BorderForm->CaptionHeight(false) -
         SysBorderWidth(GetWindow(BorderForm->Wnd, GW_OWNER), BorderForm, false);
}

Integer DiffBorder(TacBorderForm* BorderForm) {
  if (!BorderForm || !BorderForm->Wnd) return 0;
  HWND owner = GetWindow(BorderForm->Wnd, GW_OWNER);
  return SysBorderWidth(owner, BorderForm, true) - SysBorderWidth(owner, BorderForm, false);
}

void SnapValue(Integer& Position, Integer Target, Integer Distance, Integer Offset) {
  if (std::abs(Offset + Position - Target) < Distance) Position = Target - Offset;
}

bool ExtBordersWanted(TsSkinProvider* Provider) {
  TsSkinManager* m = Provider->SkinData() ? Provider->SkinData()->GetSkinManager() : nullptr;
  return m && m->ExtendedBorders() && Provider->AllowExtBorders &&
         !(m->Options()->NativeBordersMaximized() && Provider->Form->WindowState() == wsMaximized);
}

// ------------------------------------------------------- provider metrics

Integer TsSkinProvider::BorderWidth(bool UseSkin) {
  return SysBorderWidth(Form->WindowHandle(), BorderForm.get(), UseSkin) + Form->BorderWidth();
}

Integer TsSkinProvider::BorderHeight(bool UseSkin) {
  return SysBorderHeight(Form->WindowHandle(), BorderForm.get(), UseSkin) + Form->BorderWidth();
}

Integer TsSkinProvider::CaptionHeight(bool UseSkin) {
  if (!Form->HandleAllocated()) return 0;
  const bool iconic = Iconic(Form);
  if (!((HasBorder() && (StyleOf(Form) & WS_CAPTION) == WS_CAPTION) || iconic)) return 0;
  Integer r = UseSkin ? SkinTitleHeight(BorderForm.get()) : 0;
  const Integer sys = GetSystemMetrics(IsToolWindow(Form) && !iconic ? SM_CYSMCAPTION : SM_CYCAPTION);
  if (TallTitle) return std::max(r, sys + 4);
  return r == 0 ? sys : r;
}

Integer TsSkinProvider::ActualTitleHeight() {
  TsSkinManager* m = FSkinData->GetSkinManager();
  if (!m) return 0;
  return m->CommonSkinData.MaxHeight != 0 ? m->CommonSkinData.MaxHeight : m->CommonSkinData.TitleHeight;
}

Integer TsSkinProvider::ZoomedTitleExtra() {
  return std::max(ActualTitleHeight() - SysCaptHeight(Form) - 4, 0);
}

Integer TsSkinProvider::HeaderHeight() {
  HWND wnd = Form->WindowHandle();
  Integer r;
  if (BorderForm) {
    r = SysBorderHeight(wnd, BorderForm.get(), false) + CaptionHeight(true);
  } else {
    const Integer frame = GetWindowHeight(wnd) - GetClientHeight(wnd);
    if (CaptionHeight(true) != 0)
      r = frame - BorderHeight(true);
    else
      r = frame - ((StyleOf(Form) & WS_BORDER) ? BorderHeight(true) : 0);
  }
  r = std::max(r, 0);
  if (Iconic(Form)) r += SysBorderHeight(wnd, BorderForm.get(), false);
  return r;
}

bool TsSkinProvider::HaveSysMenu() { return Form->BorderIcons().Contains(biSystemMenu); }

bool TsSkinProvider::MDIButtonsNeeded() { return false; }  // the monitor has no MDI forms

bool TsSkinProvider::MenuLineVisible() {
  TMainMenu* menu = Form->Menu();
  return menu && menu->Items()->Count() > 0 && Form->FormStyle() != fsMDIChild && Form->BorderStyle() != bsDialog;
}

Integer TsSkinProvider::MenuHeight() { return MenuLineVisible() ? GetSystemMetrics(SM_CYMENU) - 1 : 0; }

bool TsSkinProvider::MenuPresent() {
  if (Form->BorderStyle() == bsDialog || Form->FormStyle() == fsMDIChild || !Form->Menu()) return false;
  TMenuItem* items = Form->Menu()->Items();
  for (int i = 0; i < items->Count(); ++i)
    if (items->Items(i)->Visible()) return true;
  return false;
}

Integer TsSkinProvider::GetLinesCount() {
  if (MenuLinesCount != -1) return MenuLinesCount;
  TMainMenu* menu = Form->Menu();
  if (!menu || !Form->HandleAllocated() || IsIconic(Form->WindowHandle()) || menu->Items()->Count() == 0) return 0;
  RECT first{};
  if (!GetMenuItemRect(Form->WindowHandle(), menu->Handle(), 0, &first)) return 0;
  Integer r = 1;
  RECT w{};
  GetWindowRect(Form->WindowHandle(), &w);
  const Integer limit = w.top + (w.bottom - w.top) - GetClientHeight(Form->WindowHandle()) - BorderHeight(false) -
                        2 * Form->BorderWidth();
  if (limit > first.bottom) r += (limit - first.bottom) / (GetSystemMetrics(SM_CYMENU) - 2);
  MenuLinesCount = r;
  return r;
}

Integer TsSkinProvider::OffsetX() {
  if (!Form->HandleAllocated()) return 0;
  if (BorderForm) return BorderWidth(true) + ShadowSize().Left;
  HWND wnd = Form->WindowHandle();
  return (GetWindowWidth(wnd) - GetClientWidth(wnd)) / 2;
}

Integer TsSkinProvider::OffsetY() {
  if (!Form->HandleAllocated()) return 0;
  if (BorderForm)
    return CaptionHeight(true) + GetLinesCount() * MenuHeight() + Form->BorderWidth() + ShadowSize().Top +
           (MenuHeight() != 0 ? 1 : 0);
  HWND wnd = Form->WindowHandle();
  const Integer hscroll = (StyleOf(Form) & WS_HSCROLL) ? GetSystemMetrics(SM_CYHSCROLL) : 0;
  return GetWindowHeight(wnd) - GetClientHeight(wnd) - ((StyleOf(Form) & WS_BORDER) ? BorderWidth(true) : 0) -
         hscroll;
}

Integer TsSkinProvider::CaptionWidth() {
  const TRect shadow = ShadowSize();
  if (Iconic(Form) && Application && Application->MainForm() != Form)
    return acsp::IconicCaptionWidth + shadow.Left + shadow.Right;
  const Integer w = Form->HandleAllocated() ? GetWindowWidth(Form->WindowHandle()) : Form->Width();
  return w + (BorderForm ? 2 * DiffBorder(BorderForm.get()) : 0) + shadow.Left + shadow.Right;
}

TRect TsSkinProvider::ShadowSize() {
  TsSkinManager* m = FSkinData->GetSkinManager();
  return BorderForm && m ? m->ShadowMargins : TRect{};
}

TPoint TsSkinProvider::FormLeftTop() {
  RECT r{};
  GetWindowRect(Form->WindowHandle(), &r);
  return TPoint{r.left, r.top};
}

TPoint TsSkinProvider::CursorToPoint(Integer X, Integer Y) {
  const TPoint p = FormLeftTop();
  return TPoint{X - p.X, Y - p.Y};
}

TPoint TsSkinProvider::RBGripPoint(Integer ImgIndex) {
  TacBitmap* cache = FSkinData->CacheBmp.get();
  TsSkinManager* m = FSkinData->GetSkinManager();
  if (!cache || !m || !m->IsValidImgIndex(ImgIndex)) return TPoint{0, 0};
  const TsMaskData& md = m->Masks[static_cast<size_t>(ImgIndex)];
  const TRect shadow = ShadowSize();
  const Integer b = SysBorderWidth(Form->WindowHandle(), BorderForm.get(), true);
  return TPoint{cache->Width() - WidthOfImage(md) - b - shadow.Right - 1,
                cache->Height() - HeightOfImage(md) - b - shadow.Bottom - 1};
}

bool TsSkinProvider::FormChanged() {
  TacBitmap* cache = FSkinData->CacheBmp.get();
  if (!cache) return true;
  const Integer h = Form->HandleAllocated() ? GetWindowHeight(Form->WindowHandle()) : Form->Height();
  return cache->Width() != CaptionWidth() || cache->Height() != h;
}

// The icon shows with the system menu the form has (its border icons): the
// live WS_SYSMENU bit is the one CheckSysMenu takes away while skinned.
bool TsSkinProvider::IconVisible() {
  const TFormBorderStyle bs = Form->BorderStyle();
  return (!FTitleIcon || FTitleIcon->Visible()) && (bs == bsSingle || bs == bsSizeable) && FShowAppIcon &&
         HaveSysMenu();
}

AnsiString TsSkinProvider::TitleSkinSection() { return FTitleSkin.empty() ? acsp::FormTitle : FTitleSkin; }

Integer TsSkinProvider::TitleSkinIndex() {
  TsSkinManager* m = FSkinData->GetSkinManager();
  if (TitleIndex < 0 && m) TitleIndex = m->GetSkinIndex(TitleSkinSection());
  return TitleIndex;
}

namespace {
// The width of one state of an image, or the image's bitmap split by its states.
Integer StateWidth(const TsMaskData& md) {
  if (md.Bitmap) return md.Bitmap->Width() / std::max<Integer>(md.Columns, 1);
  return WidthOfImage(md);
}
}  // namespace

Integer TsSkinProvider::ButtonHeight() {
  TsSkinManager* m = FSkinData->GetSkinManager();
  if (!m || !m->IsValidImgIndex(ButtonClose.ImageIndex)) return acsp::DefaultButtonSize;
  return HeightOfImage(m->Masks[static_cast<size_t>(ButtonClose.ImageIndex)]);
}

Integer TsSkinProvider::SysButtonWidth(const TsCaptionButton& Btn) {
  TsSkinManager* m = FSkinData->GetSkinManager();
  if (!m || !m->IsValidImgIndex(Btn.ImageIndex)) return acsp::DefaultButtonSize;
  return StateWidth(m->Masks[static_cast<size_t>(Btn.ImageIndex)]);
}

Integer TsSkinProvider::SysButtonsCount() {
  if (!FPrepared || !HaveSysMenu()) return 0;
  return 1 + (SysVisibleMax() ? 1 : 0) + (SysVisibleMin() ? 1 : 0) + (Form->BorderIcons().Contains(biHelp) ? 1 : 0);
}

Integer TsSkinProvider::SmallButtonWidth() {
  TsSkinManager* m = FSkinData->GetSkinManager();
  if (!m || !m->IsValidImgIndex(MDIClose.ImageIndex)) return acsp::DefaultSmallButtonSize;
  const TsMaskData& md = m->Masks[static_cast<size_t>(MDIClose.ImageIndex)];
  return md.Bitmap ? md.Bitmap->Width() / 3 : WidthOfImage(md);
}

Integer TsSkinProvider::SmallButtonHeight() {
  TsSkinManager* m = FSkinData->GetSkinManager();
  if (!m || !m->IsValidImgIndex(MDIClose.ImageIndex)) return acsp::DefaultSmallButtonSize;
  const TsMaskData& md = m->Masks[static_cast<size_t>(MDIClose.ImageIndex)];
  return md.Bitmap ? md.Bitmap->Height() / 2 : HeightOfImage(md);
}

Integer TsSkinProvider::TitleBtnsWidth() {
  TsSkinManager* m = FSkinData->GetSkinManager();
  if (!m) return 0;
  const Integer gap = BigButtons ? m->CommonSkinData.BISpace : 0;
  Integer r = m->CommonSkinData.BIRight;
  if (FPrepared && HaveSysMenu()) {
    r += SysButtonWidth(ButtonClose);
    if (SysVisibleMax()) r += SysButtonWidth(ButtonMax) + gap;
    if (SysVisibleMin()) r += SysButtonWidth(ButtonMin) + gap;
    if (Form->BorderIcons().Contains(biHelp)) r += SysButtonWidth(ButtonHelp) + gap;
  }
  return r;
}

Integer TsSkinProvider::BarWidth(Integer ImgIndex) {
  TsSkinManager* m = FSkinData->GetSkinManager();
  const Integer w = m && m->IsValidImgIndex(ImgIndex) ? StateWidth(m->Masks[static_cast<size_t>(ImgIndex)]) : 0;
  return 2 * w + TitleBtnsWidth();
}

Integer TsSkinProvider::TitleIconWidth() {
  if (!IconVisible()) return 0;
  return FTitleIcon && FTitleIcon->Width != 0 ? FTitleIcon->Width : IconSizeFor(CaptionHeight(true));
}

Integer TsSkinProvider::TitleIconHeight() {
  if (!IconVisible()) return 0;
  return FTitleIcon && FTitleIcon->Height != 0 ? FTitleIcon->Height : IconSizeFor(CaptionHeight(true));
}

Integer TsSkinProvider::GetTopCoord() {
  TsSkinManager* m = FSkinData->GetSkinManager();
  const bool zoomed = Zoomed(Form);
  if (BorderForm && m) {
    const TsSkinData& d = m->CommonSkinData;
    if (!zoomed) return ShadowSize().Top + d.BITop;
    Integer r = ShadowSize().Top + 4;
    if (d.MaxHeight != 0 && d.MaxHeight != d.TitleHeight) r += std::max(0, d.TitleHeight - d.MaxHeight);
    return r;
  }
  return zoomed ? 6 : 0;
}

// The answers of the skinned system menu; before it exists (no window yet),
// the form's border icons and the native menu's state.
namespace {
bool MenuItemEnabled(HWND Wnd, UINT Command) {
  HMENU menu = GetSystemMenu(Wnd, FALSE);
  if (!menu) return true;
  const UINT state = GetMenuState(menu, Command, MF_BYCOMMAND);
  return state == static_cast<UINT>(-1) || !(state & (MF_GRAYED | MF_DISABLED));
}

bool FixedFrame(TCustomForm* Form) {
  const TFormBorderStyle bs = Form->BorderStyle();
  return bs == bsDialog || bs == bsToolWindow || bs == bsSizeToolWin || bs == bsNone;
}
}  // namespace

bool TsSkinProvider::SysVisibleClose() { return SystemMenu ? SystemMenu->VisibleClose() : HaveSysMenu(); }

bool TsSkinProvider::SysVisibleMax() {
  if (SystemMenu) return SystemMenu->VisibleMax();
  return !FixedFrame(Form) && HaveSysMenu() && Form->BorderIcons().Contains(biMaximize);
}

bool TsSkinProvider::SysVisibleMin() {
  if (SystemMenu) return SystemMenu->VisibleMin();
  return !FixedFrame(Form) && HaveSysMenu() && Form->BorderIcons().Contains(biMinimize);
}

bool TsSkinProvider::SysEnabledMax() {
  if (SystemMenu) return SystemMenu->EnabledMax();
  return SysVisibleMax() && !Zoomed(Form);
}

bool TsSkinProvider::SysEnabledMin() { return SystemMenu ? SystemMenu->EnabledMin() : SysVisibleMin(); }

bool TsSkinProvider::SysEnabledRestore() {
  return SystemMenu ? SystemMenu->EnabledRestore() : Zoomed(Form) || Iconic(Form);
}

bool TsSkinProvider::SysEnabledClose() {
  if (SystemMenu) return SystemMenu->EnabledClose();
  return HaveSysMenu() && MenuItemEnabled(Form->WindowHandle(), SC_CLOSE);
}

// ------------------------------------------------------ WM_GETMINMAXINFO

void TsSkinProvider::AC_WMGetMinMaxInfo(TMessage& Message) {
  if (FDrawNonClientArea && Form->BorderStyle() != bsNone && Form->FormStyle() != fsMDIChild && !Form->Parent()) {
    const TRect work = acWorkRect(Form);
    const Integer b = SysBorderWidth(Form->WindowHandle(), nullptr, false);
    Integer e = 0;
    if (BorderForm && (StyleOf(Form) & WS_CAPTION)) {
      TallTitle = Zoomed(Form) && SysCaptHeight(Form) + 4 < ActualTitleHeight();
      e = ZoomedTitleExtra();
    }
    auto* info = reinterpret_cast<MINMAXINFO*>(Message.LParam);
    info->ptMaxPosition = POINT{-b, e - b};
    info->ptMaxSize = POINT{work.Width() + 2 * b, work.Height() + 2 * b - e};
    Message.Result = 0;
  }
  CallOld(Message);
}

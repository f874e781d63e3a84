#include "skin/controls/sListBox.h"

#include <algorithm>

#include "classlib/ui/PaintScope.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sBoundLabel.h"
#include "skin/core/sVclUtils.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"
#include "skin/subclass/acSBUtils.h"

DK_UNIT(sListBox);

namespace {

// Item text: vertically centred on one line, tabs expanded, no clipping, no
// accelerator prefix.
constexpr UINT kItemFlags = DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP | DT_NOPREFIX;
// Set in the owner-draw state of an item whose rectangle CNDrawItem already
// moved by the horizontal scroll position (a bit the system never sets).
constexpr UINT kShiftedItem = 0x400;
// Where the client area lies in the cache of the list's window image.
constexpr Integer kCacheOffset = 2;

// Copies W x H from (SX, SY) of Src to (X, Y) of DC, cut to the source
// bitmap: the parts outside it are left alone.
void CopyFromBitmap(HDC DC, Integer X, Integer Y, Integer W, Integer H, TacBitmap* Src, Integer SX, Integer SY) {
  if (!Src || W <= 0 || H <= 0) return;
  const Integer bw = Src->Width(), bh = Src->Height();
  if (SX < 0) {
    X -= SX;
    W += SX;
    SX = 0;
  }
  if (SY < 0) {
    Y -= SY;
    H += SY;
    SY = 0;
  }
  W = std::min(W, bw - SX);
  H = std::min(H, bh - SY);
  if (W <= 0 || H <= 0) return;
  BitBlt(DC, X, Y, W, H, Src->Canvas()->Handle(), SX, SY, SRCCOPY);
}

// Redrawing stays off while a scroll message runs and is turned back on
// however the message ends.
class TRedrawLock {
 public:
  TRedrawLock(HWND Wnd, TsCommonData* SkinData, bool SetUpdating) : FWnd(Wnd), FSkinData(SkinData) {
    SendMessageW(FWnd, WM_SETREDRAW, FALSE, 0);
    if (SetUpdating) FSkinData->Updating = true;
  }
  ~TRedrawLock() {
    SendMessageW(FWnd, WM_SETREDRAW, TRUE, 0);
    FSkinData->Updating = false;
  }
  TRedrawLock(const TRedrawLock&) = delete;
  TRedrawLock& operator=(const TRedrawLock&) = delete;

 private:
  HWND FWnd;
  TsCommonData* FSkinData;
};

}  // namespace

TsCustomListBox::TsCustomListBox(TComponent* AOwner) : TsCustomListBoxBase(AOwner) {}

TsCustomListBox::~TsCustomListBox() {
  FreeScrollWnd();
  FBoundLabel.reset();
}

void TsCustomListBox::Construct() {
  inherited::Construct();
  FControlStyle.Exclude(csOpaque);
  FAutoCompleteDelay = 500;
  FAutoHideScroll = true;
  FDisabledKind = TsDisabledKind{dkBlended};
  FBoundLabel = std::make_unique<TsBoundLabel>(this, SkinData());
}

void TsCustomListBox::FreeScrollWnd() {
  if (FScrollWnd) FreeScrollObject(FScrollWnd);
}

void TsCustomListBox::SetAutoHideScroll(bool Value) {
  if (FAutoHideScroll == Value) return;
  FAutoHideScroll = Value;
  if (!IsLoading(this) && HandleAllocated()) RecreateWnd();
}

void TsCustomListBox::SetDisabledKind(TsDisabledKind Value) {
  if (FDisabledKind == Value) return;
  FDisabledKind = Value;
  SkinData()->Invalidate();
}

void TsCustomListBox::SetBoundLabel(TsBoundLabel* Value) { FBoundLabel->Assign(Value); }

void TsCustomListBox::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (Style() == lbStandard) Params.Style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
  if (!FAutoHideScroll) Params.Style |= LBS_DISABLENOSCROLL;
}

void TsCustomListBox::CreateWnd() {
  inherited::CreateWnd();
  SkinData()->Loaded();
  if (HandleAllocated()) RefreshEditScrolls(SkinData(), FScrollWnd);
}

Integer TsCustomListBox::HorzPosition() const {
  if (Columns() == 0 && FScrollWnd && FScrollWnd->HorzBar) return FScrollWnd->HorzBar->ScrollInfo.nPos;
  return 0;
}

// ------------------------------------------------------------ item painting

void TsCustomListBox::CNDrawItem(TWMDrawItem& Message) {
  DRAWITEMSTRUCT* d = Message.DrawItemStruct();
  if (!d) return;
  TRect r(d->rcItem.left, d->rcItem.top, d->rcItem.right, d->rcItem.bottom);
  UINT state = d->itemState & 0xFFFF;
  // A request of the system's (not of WMPaint): its rectangle does not know
  // the skinned horizontal scroll bar.
  if (Message.Result == 0) {
    r.Offset(HorzPosition(), 0);
    state |= kShiftedItem;
    // Every request draws the whole item, so its focus must be the real one:
    // Wine leaves the focus bit out when it redraws a changed selection.
    const bool caret = HandleAllocated() && GetFocus() == WindowHandle() &&
                       SendMessageW(WindowHandle(), LB_GETCARETINDEX, 0, 0) == static_cast<LRESULT>(d->itemID);
    state = caret ? (state | ODS_FOCUS) : (state & ~static_cast<UINT>(ODS_FOCUS));
  }
  TCanvasScope scope(Canvas(), d->hDC);
  DrawItem(static_cast<int>(d->itemID), r, OwnerDrawStateOf(state));
  Message.Result = 1;
}

void TsCustomListBox::DrawItem(Integer Index, const TRect& Rect, TOwnerDrawState State) {
  if (Index < 0) return;
  if (SkinData()->Skinned())
    DrawItemSkinned(Index, Rect, State);
  else
    DrawItemPlain(Index, Rect, State);
}

void TsCustomListBox::DrawItemPlain(Integer Index, TRect Rect, TOwnerDrawState State) {
  TCanvas* c = Canvas();
  const bool selected = State.Contains(odSelected), focused = State.Contains(odFocused);
  c->Font()->Assign(Font());
  const TColor bg = ColorToRGB(selected ? clHighlight : Color());
  c->Font()->SetColor(ColorToRGB(selected ? clHighlightText : Font()->Color()));
  FillDC(c->Handle(), Rect, bg);
  c->Brush()->SetColor(bg);
  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    if (focused) {
      TRect f(Rect.Left - 1, Rect.Top, Rect.Right + 1, Rect.Bottom);
      DrawFocusRect(c->Handle(), reinterpret_cast<const RECT*>(&f));
    }
    return;
  }
  Rect.Left += 1;
  Rect.Right -= 1;
  if (Index < Items()->Count()) {
    c->Brush()->SetStyle(bsClear);
    DrawControlText(c->Handle(), Items()->Strings(Index), Rect, DrawTextBiDiModeFlags(kItemFlags), c->Font(), true);
  }
  if (focused) {
    Rect.Left -= 1;
    Rect.Right += 1;
    DrawFocusRect(c->Handle(), reinterpret_cast<const RECT*>(&Rect));
  }
}

void TsCustomListBox::DrawItemSkinned(Integer Index, const TRect& Rect, TOwnerDrawState State) {
  TsCommonData* sd = SkinData();
  TsSkinManager* m = sd->GetSkinManager();
  const Integer w = Rect.Width(), h = Rect.Height();
  if (w <= 0 || h <= 0) return;
  const bool selected = State.Contains(odSelected), focused = State.Contains(odFocused);
  const Integer p = HorzPosition();
  auto item = CreateBmp32(w, h);
  HDC itemDC = item->Canvas()->Handle();
  const TCacheInfo ci = MakeCacheInfo(sd->CacheBmp.get(), kCacheOffset, kCacheOffset);
  const Integer sx = Rect.Left + kCacheOffset - (State.Contains(odReserved1) ? 2 * p : p);
  CopyFromBitmap(itemDC, 0, 0, w, h, sd->CacheBmp.get(), sx, Rect.Top + kCacheOffset);
  const UINT flags = DrawTextBiDiModeFlags(kItemFlags);

  if (OnDrawItem) {
    // The handler draws in list coordinates into the item's bitmap.
    TCanvas* c = Canvas();
    HDC old = c->Handle();
    c->Lock();
    const int saved = SaveDC(itemDC);
    SetWindowOrgEx(itemDC, Rect.Left, Rect.Top, nullptr);
    c->SetHandle(itemDC);
    c->Font()->Assign(Font());
    c->Brush()->SetColor(selected ? m->GetHighLightColor(focused) : Color());
    c->Font()->SetColor(selected ? m->GetHighLightFontColor(focused) : Font()->Color());
    OnDrawItem(this, Index, Rect, State);
    c->SetHandle(old);
    RestoreDC(itemDC, saved);
    c->Unlock();
  } else {
    const Integer selIndex = selected ? m->GetSkinIndex("SELECTION") : -1;
    if (selected) {
      if (selIndex < 0)
        FillDC(itemDC, TRect(0, 0, w, h), m->GetHighLightColor(true));
      else
        PaintItem(selIndex, "SELECTION", ci, true, focused ? 1 : 0, TRect(0, 0, w, h), TPoint(Rect.Left, Rect.Top),
                  item.get(), m);
    }
    if (Index < Items()->Count()) {
      TRect r(1, 0, w - 1, h);
      TCanvas* ic = item->Canvas();
      ic->Font()->Assign(Font());
      const AnsiString& text = Items()->Strings(Index);
      if (selIndex >= 0) {
        acWriteTextEx(ic, text, true, r, flags, selIndex, focused, m);
      } else {
        TColor color;
        if (selected) {
          color = m->GetHighLightFontColor(focused);
        } else if (sd->CustomFont()) {
          color = ColorToRGB(Font()->Color());
        } else {
          const TsGeneralData& s = m->Sections[static_cast<size_t>(sd->SkinIndex)];
          color = s.Props[ControlIsActive(sd) && s.StateCount > 1 ? 1 : 0].FontColor.Color;
        }
        ic->Font()->SetColor(color);
        ic->Brush()->SetStyle(bsClear);
        DrawControlText(itemDC, text, r, flags, ic->Font(), true);
        if (focused) {
          r.Left -= 1;
          r.Right += 1;
          DrawFocusRect(itemDC, reinterpret_cast<const RECT*>(&r));
        }
      }
    }
  }
  if (!Enabled()) BmpDisabledKind(item.get(), FDisabledKind, Parent(), ci, TPoint(Rect.Left, Rect.Top));
  BitBlt(Canvas()->Handle(), Rect.Left - p, Rect.Top, w, h, itemDC, 0, 0, SRCCOPY);
}

// ------------------------------------------------------------ the whole list

void TsCustomListBox::WMPaint(TWMPaint& Message) {
  TsCommonData* sd = SkinData();
  if (!sd->Skinned()) {
    InheritedMessage(TsCustomListBox::StaticClass(), &Message);
    return;
  }
  HWND wnd = WindowHandle();
  HDC dc = Message.DC();
  PAINTSTRUCT ps{};
  const bool own = dc == nullptr;
  if (own) {
    BeginPaint(wnd, &ps);
    dc = GetDC(wnd);
  }
  if (!InUpdating(sd)) {
    const Integer b = BorderStyle() == bsNone ? 0 : (Ctl3D() ? 2 : 1);
    // The background is read from the window's image: make it when missing.
    if (sd->BGChanged || !sd->CacheBmp || sd->CacheBmp->Width() != Width() || sd->CacheBmp->Height() != Height())
      PrepareCache(sd, wnd, false);
    const TRect client = ClientRect();
    TRect last;  // the last item rectangle painted; none for an empty list
    Integer bottom = 0;
    const Integer count = Items()->Count(), index = ItemIndex();
    const bool focused = GetFocus() == wnd;
    for (Integer i = std::max<Integer>(0, TopIndex()); i < count; ++i) {
      const TRect r = ItemRect(i);
      if (!RectIsVisible(client, r)) break;
      last = r;
      bottom = std::max(bottom, r.Bottom);
      DRAWITEMSTRUCT d{};
      d.CtlType = ODT_LISTBOX;
      d.CtlID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(wnd));
      d.hwndItem = wnd;
      d.itemID = static_cast<UINT>(i);
      d.itemAction = ODA_DRAWENTIRE;
      d.hDC = dc;
      d.rcItem = RECT{r.Left, r.Top, r.Right, r.Bottom};
      d.itemData = reinterpret_cast<ULONG_PTR>(Items()->Objects(i));
      const bool sel = MultiSelect() ? Selected(i) : i == index;
      d.itemState = (sel ? ODS_SELECTED : 0) | (i == index && focused ? ODS_FOCUS : 0);
      TMessage m;
      m.Msg = CN_DRAWITEM;
      m.LParam = reinterpret_cast<LPARAM>(&d);
      m.Result = 1;  // CNDrawItem leaves the rectangle where it is
      WindowProc(m);
    }
    // The client area the items leave uncovered, from the window's image.
    TacBitmap* cache = sd->CacheBmp.get();
    const Integer w = Width(), h = Height();
    if (last.Bottom < h - 4)
      CopyFromBitmap(dc, last.Left, last.Bottom, w, h - last.Bottom - b, cache, last.Left + b, last.Bottom + b);
    if (last.Right < w - 4)
      CopyFromBitmap(dc, last.Right, 0, w - b - last.Right, last.Bottom, cache, last.Right + b, b);
    if (last.Left > 2) CopyFromBitmap(dc, 0, bottom, last.Left, h - bottom - b, cache, b, bottom + b);
  }
  if (own) {
    ReleaseDC(wnd, dc);
    EndPaint(wnd, &ps);
  }
}

// ------------------------------------------------------------ messages

bool TsCustomListBox::SkinCommand(TMessage& Message) {
  TsScrollWndData* sd = SkinData();
  const bool own = reinterpret_cast<TsSkinManager*>(Message.LParam) == sd->GetSkinManager();
  switch (AlphaCmdOf(Message.WParam)) {
    case ACMD_SKIN_LOADED:
      if (!own) return false;
      CommonWndProc(Message, sd);
      if (HandleAllocated()) RefreshEditScrolls(sd, FScrollWnd);
      return true;
    case ACMD_SKIN_UNLOADED:
      if (!own) return false;
      FreeScrollWnd();
      CommonWndProc(Message, sd);
      SetColor(clWindow);
      Font()->SetColor(clWindowText);
      return true;
    case ACMD_SKIN_REPAINT:
      if (!own) return false;
      CommonWndProc(Message, sd);
      if (!InAnimationProcess && HandleAllocated())
        RedrawWindow(WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
      return true;
    case ACMD_QUERY_HOOKED:
      Message.Result = 1;
      return true;
    case ACMD_QUERY_COLOR:
      if (sd->Skinned()) return false;
      Message.Result = static_cast<LRESULT>(ColorToRGB(Color()));
      return true;
    default:
      return false;
  }
}

void TsCustomListBox::GeneralPath(TMessage& Message) {
  TsCommonData* sd = SkinData();
  if (!ControlIsReady(this) || !sd->Skinned()) {
    inherited::WndProc(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      if (sd->Updating) return;
      if (Message.WParam) {
        Message.Result = 1;
        return;
      }
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_MOUSEWHEEL: {
      {
        TRedrawLock lock(WindowHandle(), sd, Message.Msg != WM_MOUSEWHEEL);
        if (!CommonWndProc(Message, sd)) inherited::WndProc(Message);
      }
      if (Message.Msg == WM_HSCROLL)
        Invalidate();
      else if (Message.Msg == WM_VSCROLL)
        RedrawWindow(WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      else
        InvalidateRect(WindowHandle(), nullptr, FALSE);
      return;
    }
    default:
      break;
  }
  if (CommonWndProc(Message, sd)) return;
  inherited::WndProc(Message);
  // The chosen item's look follows the focus (the selection's state, the
  // focus rectangle); the system's focus notice to the items is not always
  // sent, so the list repaints itself.
  if (Message.Msg == WM_SETFOCUS || Message.Msg == WM_KILLFOCUS) InvalidateRect(WindowHandle(), nullptr, FALSE);
  if (Message.Msg == WM_ENABLE && Visible() && !IsLoading(this)) {
    sd->BGChanged = true;
    RedrawWindow(WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  }
}

void TsCustomListBox::WndProc(TMessage& Message) {
  TsCommonData* sd = SkinData();
  if (Message.Msg == SM_ALPHACMD && SkinCommand(Message)) return;
  if (Message.Msg == CM_MOUSEENTER || Message.Msg == CM_MOUSELEAVE) {
    sd->MouseAbove = Message.Msg == CM_MOUSEENTER;
    CommonWndProc(Message, sd);
    inherited::WndProc(Message);
    if (Enabled() && !IsDesigning(this)) {
      TNotifyEvent& event = sd->MouseAbove ? OnMouseEnter : OnMouseLeave;
      if (event) event(this);
    }
  } else {
    GeneralPath(Message);
  }
  switch (Message.Msg) {
    case WM_VSCROLL:
      if (OnVScroll) OnVScroll(this);
      break;
    case CM_FONTCHANGED:
      if (Style() == lbStandard && !IsLoading(this) && HandleAllocated() && IsWindowVisible(WindowHandle())) {
        Canvas()->Font()->Assign(Font());
        SetItemHeight(acTextHeight(Canvas(), "Ag") + 3);
      }
      break;
    default:
      break;
  }
  if (FBoundLabel) FBoundLabel->HandleOwnerMsg(Message, this);
}

DK_MESSAGE_UNIT(TsCustomListBox);
DK_MESSAGE_HANDLER(TsCustomListBox, CN_DRAWITEM, CNDrawItem);
DK_MESSAGE_HANDLER(TsCustomListBox, WM_PAINT, WMPaint);

DK_PUBLISH(TsCustomListBox) {
  PublishSkinData(P);
  P.Property("AutoCompleteDelay", &TsCustomListBox::AutoCompleteDelay, &TsCustomListBox::SetAutoCompleteDelay)
      .Default(500);
  P.Property("AutoHideScroll", &TsCustomListBox::AutoHideScroll, &TsCustomListBox::SetAutoHideScroll).Default(true);
  P.Property("BoundLabel", &TsCustomListBox::BoundLabel, &TsCustomListBox::SetBoundLabel);
  P.Property("DisabledKind", &TsCustomListBox::DisabledKind, &TsCustomListBox::SetDisabledKind)
      .Default(TsDisabledKind{dkBlended});
  P.Property("OnMouseEnter", &TsCustomListBox::OnMouseEnter);
  P.Property("OnMouseLeave", &TsCustomListBox::OnMouseLeave);
  P.Property("OnVScroll", &TsCustomListBox::OnVScroll);
}
DK_PUBLISH(TsListBox) {}

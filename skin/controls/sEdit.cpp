#include "skin/controls/sEdit.h"

#include "classlib/ui/PaintScope.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sBoundLabel.h"
#include "skin/core/sVclUtils.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

DK_UNIT(sEdit);

namespace {
const TsCorners kAllCorners{scLeftTop, scLeftBottom, scRightTop, scRightBottom};
}  // namespace

TsEdit::TsEdit(TComponent* AOwner) : TsEditBase(AOwner) {}

TsEdit::~TsEdit() {
  // The label goes before the skin state it is bound to.
  FBoundLabel.reset();
}

void TsEdit::Construct() {
  inherited::Construct();
  FDisabledKind = TsDisabledKind{dkBlended};
  FBoundLabel = std::make_unique<TsBoundLabel>(this, SkinData());
}

void TsEdit::SetDisabledKind(TsDisabledKind Value) {
  if (FDisabledKind == Value) return;
  FDisabledKind = Value;
  SkinData()->Invalidate();
}

void TsEdit::SetBoundLabel(TsBoundLabel* Value) { FBoundLabel->Assign(Value); }

Integer TsEdit::BorderWidth() const { return BorderStyle() == bsSingle ? (Ctl3D() ? 2 : 1) : 0; }

bool TsEdit::RightToLeftText() const { return UseRightToLeftReading(); }

bool TsEdit::PrepareCache() {
  TsCommonData* sd = SkinData();
  TacBGInfo bg;
  if (Parent()) GetBGInfo(&bg, Parent());
  if (bg.BgType == btNotReady) return false;
  InitCacheBmp(sd);
  const Integer state = ControlIsActive(sd) ? 1 : 0;
  const TCacheInfo ci = BGInfoToCI(&bg);
  const TRect r(0, 0, Width(), Height());
  const TPoint at(Left(), Top());
  if (BorderStyle() == bsSingle)
    PaintItem(sd, ci, true, state, r, at, sd->CacheBmp.get(), true);
  else
    PaintItemBG(sd, ci, state, r, at, sd->CacheBmp.get());
  PaintText();
  if (!Enabled()) BmpDisabledKind(sd->CacheBmp.get(), FDisabledKind, Parent(), ci, at);
  sd->BGChanged = false;
  return true;
}

void TsEdit::PaintText() {
  TsCommonData* sd = SkinData();
  TCanvas* c = sd->CacheBmp->Canvas();
  c->Font()->Assign(Font());
  const Integer b = BorderWidth(), e = BorderStyle() == bsSingle ? 1 : 0;
  TRect r(b + e, b + e, Width() - b - e, Height() - b);
  Cardinal flags = DT_SINGLELINE | DT_NOPREFIX;
  if (RightToLeftText()) {
    flags |= DT_RTLREADING | DT_RIGHT;
    r.Right -= 1;
  }
  AnsiString text = Text();
  if (text.empty()) return;
  if (PasswordChar() != '\0') text = AnsiString(text.size(), PasswordChar());
  acWriteTextEx(c, text, true, r, flags, sd, ControlIsActive(sd));
}

void TsEdit::ExcludeChildControls(HDC DC) {
  if (ControlCount() == 0) return;
  const Integer d = (Ctl3D() ? 3 : 2) * (BorderStyle() == bsSingle ? 1 : 0) - 1;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    ExcludeClipRect(DC, c->Left() + d, c->Top() + d, c->Left() + c->Width() + d, c->Top() + c->Height() + d);
  }
}

void TsEdit::OurPaintHandler(HDC DC) {
  TsCommonData* sd = SkinData();
  HWND wnd = WindowHandle();
  PAINTSTRUCT ps{};
  const bool begun = !InAnimationProcess;
  if (begun) BeginPaint(wnd, &ps);
  HDC dc = DC;
  int saved = 0;
  if (!dc) {
    dc = GetWindowDC(wnd);
    saved = SaveDC(dc);
  }
  sd->Updating = sd->GetUpdating();
  if (!sd->Updating) {
    if (!sd->BGChanged && !sd->OutOfParent && Parent()) sd->BGChanged = GetBoolMsg(Parent(), ACMD_QUERY_OFFSCREEN);
    else if (sd->OutOfParent) sd->BGChanged = true;
    if (Parent())
      sd->OutOfParent = !RectInRect(Parent()->ClientRect(), TRect(Left(), Top(), Left() + Width(), Top() + Height()));
    if (sd->BGChanged && !PrepareCache()) {
      sd->Updating = true;
    } else {
      UpdateCorners(sd, 0, kAllCorners);
      ExcludeChildControls(dc);
      BitBlt(dc, 0, 0, Width(), Height(), sd->CacheBmp->Canvas()->Handle(), 0, 0, SRCCOPY);
    }
  }
  if (!DC) {
    RestoreDC(dc, saved);
    ReleaseDC(wnd, dc);
  }
  if (begun) EndPaint(wnd, &ps);
}

void TsEdit::PaintBorder() {
  TsCommonData* sd = SkinData();
  if (InUpdating(sd)) return;
  HWND wnd = WindowHandle();
  HDC dc = GetWindowDC(wnd);
  const int saved = SaveDC(dc);
  if (sd->BGChanged && !PrepareCache()) {
    sd->Updating = true;
  } else {
    UpdateCorners(sd, 0, kAllCorners);
    BitBltBorder(dc, 0, 0, Width(), Height(), sd->CacheBmp->Canvas()->Handle(), 0, 0, BorderWidth());
  }
  RestoreDC(dc, saved);
  ReleaseDC(wnd, dc);
}

void TsEdit::WndProc(TMessage& Message) {
  TsCommonData* sd = SkinData();
  if (Message.Msg == SM_ALPHACMD) {
    const bool own = reinterpret_cast<TsSkinManager*>(Message.LParam) == sd->GetSkinManager();
    switch (const Word cmd = AlphaCmdOf(Message.WParam)) {
      case ACMD_SKIN_LOADED:
      case ACMD_SKIN_UNLOADED:
      case ACMD_SKIN_REPAINT:
        if (!own) break;
        CommonWndProc(Message, sd);
        if (cmd == ACMD_SKIN_REPAINT && !InAnimationProcess && HandleAllocated() && Visible())
          RedrawWindow(WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
        return;
      case ACMD_QUERY_CHILD_BG_VARIES:
        Message.Result = 0;
        return;
      case ACMD_QUERY_COLOR:
        if (!sd->Skinned()) {
          Message.Result = static_cast<LRESULT>(ColorToRGB(Color()));
          return;
        }
        break;
      default:
        if (CommonMessage(Message, sd)) return;
        break;
    }
  }
  if (!ControlIsReady(this) || !sd->Skinned()) {
    inherited::WndProc(Message);
  } else {
    switch (Message.Msg) {
      case WM_PAINT:
        if (InAnimationProcess || InUpdating(sd)) {
          PAINTSTRUCT ps;
          BeginPaint(WindowHandle(), &ps);
          EndPaint(WindowHandle(), &ps);
        } else if (Enabled() && ControlIsActive(sd)) {
          inherited::WndProc(Message);
        } else {
          OurPaintHandler(reinterpret_cast<HDC>(Message.WParam));
        }
        return;
      case WM_ERASEBKGND:
      case CN_DRAWITEM:
        if (!InAnimationProcess && !InUpdating(sd) && Enabled()) inherited::WndProc(Message);
        return;
      case WM_NCPAINT:
        PaintBorder();
        return;
      case WM_PRINT: {
        HDC dc = reinterpret_cast<HDC>(Message.WParam);
        sd->Updating = false;
        if (!PrepareCache()) return;
        UpdateCorners(sd, 0, kAllCorners);
        const Integer b = BorderWidth();
        if (Message.LParam & PRF_CLIENT) {
          POINT old;
          OffsetWindowOrgEx(dc, -b, -b, &old);
          IntersectClipRect(dc, 0, 0, sd->CacheBmp->Width() - b, sd->CacheBmp->Height() - b);
        } else {
          BitBltBorder(dc, 0, 0, sd->CacheBmp->Width(), sd->CacheBmp->Height(), sd->CacheBmp->Canvas()->Handle(), 0,
                       0, b);
        }
        OurPaintHandler(dc);
        return;
      }
      case CM_COLORCHANGED:
        if (sd->CustomColor()) sd->BGChanged = true;
        [[fallthrough]];
      default:
        if (CommonWndProc(Message, sd)) return;
        inherited::WndProc(Message);
        switch (Message.Msg) {
          case WM_SETTEXT:
          case WM_SETFONT:
          case CM_VISIBLECHANGED:
          case CM_ENABLEDCHANGED:
          case CM_TEXTCHANGED:
            if (!IsLoading(this) && !InAnimationProcess) {
              sd->BGChanged = true;
              Repaint();
              SendMessageW(WindowHandle(), WM_NCPAINT, 0, 0);
            }
            break;
          case WM_SIZE:
            SendMessageW(WindowHandle(), WM_NCPAINT, 0, 0);
            break;
          default:
            break;
        }
        break;
    }
  }
  if (FBoundLabel) FBoundLabel->HandleOwnerMsg(Message, this);
}

DK_PUBLISH(TsEdit) {
  PublishSkinData(P);
  P.Property("DisabledKind", &TsEdit::DisabledKind, &TsEdit::SetDisabledKind).Default(TsDisabledKind{dkBlended});
  P.Property("BoundLabel", &TsEdit::BoundLabel, &TsEdit::SetBoundLabel);
}

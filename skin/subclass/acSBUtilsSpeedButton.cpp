// The header chain brings the class library before windows.h.
#include "skin/subclass/acSBUtilsSpeedButton.h"

#include "classlib/ui/Buttons.h"
#include "skin/core/Smessages.h"
#include "skin/core/sSkinManagerOptions.h"
#include "skin/core/sVclUtils.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

TSpeedButton* AsSpeedButton(TControl* Control) { return dynamic_cast<TSpeedButton*>(Control); }

// DrawText's flags of a caption: centred, wrapped, tabs expanded.
constexpr Cardinal kCaptionFlags = DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS;

}  // namespace

TacSpeedButtonHandler::TacSpeedButtonHandler(TControl* AControl, TsCommonData* ASkinData, TsSkinManager* AManager,
                                             const AnsiString& SkinSection, bool)
    : Control(AControl), HookSign(true), SkinData(ASkinData) {
  Manager = AManager ? AManager : (SkinData ? SkinData->GetSkinManager() : nullptr);
  if (SkinData && SkinData->SkinSection().empty()) SkinData->SetSkinSection(SkinSection);
  if (Control) {
    SavedWindowProc = Control->WindowProc;
    Control->WindowProc = TWndMethod(this, &TacSpeedButtonHandler::acWndProc);
  }
}

TacSpeedButtonHandler::~TacSpeedButtonHandler() {
  if (!Unhooked && Control && HookSign) GiveBack();
  Manager = nullptr;
}

void TacSpeedButtonHandler::GiveBack() {
  if (Control && Control->WindowProc == TWndMethod(this, &TacSpeedButtonHandler::acWndProc))
    Control->WindowProc = SavedWindowProc;
  Unhooked = 1;
}

LRESULT TacSpeedButtonHandler::CallPrevWndProc(UINT Msg, WPARAM WParam, LPARAM& LParam) {
  if (!SavedWindowProc) return 0;
  TMessage m;
  m.Msg = Msg;
  m.WParam = WParam;
  m.LParam = LParam;
  m.Result = 0;
  SavedWindowProc(m);
  LParam = m.LParam;
  return m.Result;
}

void TacSpeedButtonHandler::acWndProc(TMessage& Message) {
  const LPARAM own = reinterpret_cast<LPARAM>(Manager);
  auto passOn = [&] { Message.Result = CallPrevWndProc(Message.Msg, Message.WParam, Message.LParam); };
  if (Message.Msg == SM_ALPHACMD) {
    switch (AlphaCmdOf(Message.WParam)) {
      case ACMD_SKIN_LOADED:
        if (Message.LParam == own) {
          CommonWndProc(Message, SkinData);
          return;
        }
        break;
      case ACMD_SKIN_UNLOADED:
        if (Message.LParam == own && Control && !Control->ComponentState().Contains(csDestroying)) {
          CommonWndProc(Message, SkinData);
          // The button paints itself from now on.
          TControl* c = Control;
          GiveBack();
          if (c->Visible()) c->Repaint();
          return;
        }
        break;
      case ACMD_SKIN_REPAINT:
        if (Message.LParam == own) {
          CommonWndProc(Message, SkinData);
          if (Control && Control->Visible()) Control->Repaint();
          return;
        }
        break;
      case ACMD_PARENT_UPDATED:
        if (SkinData && SkinData->GetUpdating()) {
          SkinData->Updating = false;
          if (Control) Control->Repaint();
          return;
        }
        break;
      case ACMD_QUERY_HOOKED:
        Message.Result = 1;
        return;
      case ACMD_REDRAW:
        if (SkinData) {
          SkinData->Updating = false;
          SkinData->BGChanged = true;
        }
        if (Control) Control->Repaint();
        break;
      case ACMD_QUERY_APPLICATION:
        Message.Result = reinterpret_cast<LRESULT>(Application);
        return;
      default:
        break;
    }
    passOn();
    return;
  }
  switch (Message.Msg) {
    case WM_DESTROY:
      if (!Unhooked) {
        Unhooked = 1;
        if (Control) {
          TControl* c = Control;
          if (c->WindowProc == TWndMethod(this, &TacSpeedButtonHandler::acWndProc)) c->WindowProc = SavedWindowProc;
          Control = nullptr;
          HookSign = false;
          passOn();
        }
        return;
      }
      break;
    case WM_PAINT:
      AC_WMPaint(Message);
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      if (SkinData) {
        SkinData->MouseAbove = Message.Msg == CM_MOUSEENTER;
        SkinData->BGChanged = true;
      }
      passOn();
      if (Control) Control->Repaint();
      return;
    default:
      break;
  }
  passOn();
}

void TacSpeedButtonHandler::AC_WMPaint(TMessage& Message) {
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  if (!dc || !Control || !SkinData) return;
  const int saved = SaveDC(dc);
  PrepareCache();
  if (TacBitmap* cache = SkinData->CacheBmp.get(); cache && !cache->Empty()) {
    UpdateCorners(SkinData, 0, TsCorners{scLeftTop, scLeftBottom, scRightTop, scRightBottom});
    BitBlt(dc, 0, 0, Control->Width(), Control->Height(), cache->Canvas()->Handle(), 0, 0, SRCCOPY);
  }
  RestoreDC(dc, saved);
}

Integer TacSpeedButtonHandler::CurrentState() const {
  if (TSpeedButton* b = AsSpeedButton(Control); b && (b->State() == bsDown || b->State() == bsExclusive)) return 2;
  return SkinData && ControlIsActive(SkinData) ? 1 : 0;
}

bool TacSpeedButtonHandler::Shifted() const {
  if (CurrentState() != 2) return false;
  return !(Manager && Manager->Active()) || (Manager && Manager->ButtonsOptions()->ShiftContentOnClick);
}

AnsiString TacSpeedButtonHandler::Caption() const { return Control ? Control->Caption() : AnsiString(); }

TSize TacSpeedButtonHandler::TextRectSize() const {
  const AnsiString text = Caption();
  if (text.empty() || !SkinData || !SkinData->CacheBmp) return TSize{0, 0};
  TCanvas* c = SkinData->CacheBmp->Canvas();
  c->SetFont(Control->Font());
  TRect r(0, 0, 255, 0);
  acDrawText(c->Handle(), text, r, DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK);
  return TSize{r.Width(), r.Height()};
}

Integer TacSpeedButtonHandler::GlyphWidth() const {
  TSpeedButton* b = AsSpeedButton(Control);
  if (!b || !b->Glyph() || b->Glyph()->Empty()) return 0;
  return b->Glyph()->Width() / std::max<Integer>(b->NumGlyphs(), 1);
}

Integer TacSpeedButtonHandler::GlyphHeight() const {
  TSpeedButton* b = AsSpeedButton(Control);
  return b && b->Glyph() && !b->Glyph()->Empty() ? b->Glyph()->Height() : 0;
}

TRect TacSpeedButtonHandler::ImgRect() const {
  TSpeedButton* b = AsSpeedButton(Control);
  const Integer w = Control->Width(), h = Control->Height();
  const Integer gw = GlyphWidth(), gh = GlyphHeight();
  const TSize t = TextRectSize();
  const bool captioned = !Caption().empty();
  const Integer spacing = b ? b->Spacing() : 4, margin = b ? b->Margin() : -1;
  const TButtonLayout layout = b ? b->Layout() : blGlyphLeft;
  const Integer cx = (w - (gw > 0 && captioned ? gw + spacing : 0) - t.cx) / 2;
  const Integer cy = (h - (gh > 0 && captioned ? gh + spacing : 0) - t.cy) / 2;
  Integer x = 0, y = 0;
  switch (layout) {
    case blGlyphLeft:
      x = margin < 0 ? cx : margin;
      y = (h - gh) / 2;
      break;
    case blGlyphRight:
      x = margin < 0 ? w - cx - gw : w - gw - margin;
      y = (h - gh) / 2;
      break;
    case blGlyphTop:
      x = (w - gw) / 2;
      y = margin < 0 ? cy : margin;
      break;
    case blGlyphBottom:
      x = (w - gw) / 2;
      y = margin < 0 ? h - cy - gh : h - gh - margin;
      break;
  }
  if (Shifted()) {
    ++x;
    ++y;
  }
  return TRect(x, y, x + gw, y + gh);
}

TRect TacSpeedButtonHandler::CaptionRect() const {
  TSpeedButton* b = AsSpeedButton(Control);
  const Integer w = Control->Width(), h = Control->Height();
  const TSize t = TextRectSize();
  const Integer spacing = b ? b->Spacing() : 4, margin = b ? b->Margin() : -1;
  const TButtonLayout layout = b ? b->Layout() : blGlyphLeft;
  const bool shift = Shifted();
  Integer left = 0, top = 0;
  if (GlyphWidth() == 0) {
    if (margin < 0) {
      left = (w - t.cx) / 2;
      top = (h - t.cy) / 2;
    } else {
      switch (layout) {
        case blGlyphLeft: left = margin; top = (h - t.cy) / 2; break;
        case blGlyphRight: left = w - margin - t.cx; top = (h - t.cy) / 2; break;
        case blGlyphTop: left = (w - t.cx) / 2; top = margin; break;
        case blGlyphBottom: left = (w - t.cx) / 2; top = h - margin - t.cy; break;
      }
    }
  } else {
    // Placed beside the glyph where it is when not pressed; the shift below
    // moves both by the same pixel.
    TRect g = ImgRect();
    if (shift) g.Offset(-1, -1);
    switch (layout) {
      case blGlyphLeft: left = g.Right + spacing; top = (h - t.cy) / 2; break;
      case blGlyphRight: left = g.Left - spacing - t.cx; top = (h - t.cy) / 2; break;
      case blGlyphTop: left = (w - t.cx) / 2; top = g.Bottom + spacing; break;
      case blGlyphBottom: left = (w - t.cx) / 2; top = g.Top - spacing - t.cy; break;
    }
  }
  TRect r(left, top, left + t.cx, top + t.cy);
  if (shift) r.Offset(1, 1);
  return r;
}

void TacSpeedButtonHandler::DoDrawText(TRect& R, Cardinal Flags) {
  Flags = Control->DrawTextBiDiModeFlags(Flags) & ~static_cast<Cardinal>(DT_SINGLELINE);
  acWriteTextEx(SkinData->CacheBmp->Canvas(), Caption(), true, R, Flags, SkinData, CurrentState() != 0);
}

void TacSpeedButtonHandler::DrawCaption() {
  if (Caption().empty()) return;
  TCanvas* c = SkinData->CacheBmp->Canvas();
  c->SetFont(Control->Font());
  c->Brush()->SetStyle(bsClear);
  TRect r = CaptionRect();
  DoDrawText(r, kCaptionFlags);
}

void TacSpeedButtonHandler::DrawGlyph() {
  TSpeedButton* b = AsSpeedButton(Control);
  if (!b || !b->Glyph() || b->Glyph()->Empty()) return;
  TBitmap* glyph = b->Glyph();
  DrawGlyphEx(glyph, SkinData->CacheBmp.get(), ImgRect(), b->NumGlyphs(), b->Enabled(), 0, CurrentState(), 0,
              b->Down(), false);
}

void TacSpeedButtonHandler::PrepareCache() {
  InitCacheBmp(SkinData);
  TacBitmap* cache = SkinData->CacheBmp.get();
  const Integer w = Control->Width(), h = Control->Height();
  if (w <= 0 || h <= 0) return;
  cache->SetSize(w, h);
  cache->Canvas()->SetFont(Control->Font());
  TacBGInfo info;
  GetBGInfo(&info, Control->Parent(), false);
  const TCacheInfo ci = BGInfoToCI(&info);
  if (ci.Ready && (!ci.Bmp || ci.Bmp->Width() == 0)) return;
  const Integer state = CurrentState();
  PaintItem(SkinData, ci, true, state, TRect(0, 0, w, h), TPoint{Control->Left(), Control->Top()}, cache, true);
  UpdateCorners(SkinData, state, TsCorners{scLeftTop, scLeftBottom, scRightTop, scRightBottom});
  DrawCaption();
  DrawGlyph();
  if (!Control->Enabled())
    BmpDisabledKind(cache, TsDisabledKind{dkBlended}, Control->Parent(), GetParentCache(SkinData),
                    TPoint{Control->Left(), Control->Top()});
  SkinData->BGChanged = false;
}

#include "skin/controls/sGroupBox.h"

#include <algorithm>

#include "classlib/ui/PaintScope.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sVclUtils.h"
#include "skin/graphics/sGraphUtils.h"

DK_UNIT(sGroupBox);

// ================================================================= TsMargin

void TsMargin::SetValue(int Index, Integer Value) {
  FValues[Index] = Value;
  if (!FOwner || IsLoading(FOwner)) return;
  if (auto* box = dynamic_cast<TsGroupBox*>(FOwner)) box->SkinData()->Invalidate();
}

void TsMargin::AssignTo(TPersistent* Dest) {
  if (auto* m = dynamic_cast<TsMargin*>(Dest)) {
    for (int i = 0; i < 4; ++i) m->FValues[i] = FValues[i];
    return;
  }
  inherited::AssignTo(Dest);
}

DK_PUBLISH(TsMargin) {
  P.Property("Left", &TsMargin::Left, &TsMargin::SetLeft).Default(2);
  P.Property("Top", &TsMargin::Top, &TsMargin::SetTop).Default(0);
  P.Property("Right", &TsMargin::Right, &TsMargin::SetRight).Default(2);
  P.Property("Bottom", &TsMargin::Bottom, &TsMargin::SetBottom).Default(0);
}

// =============================================================== TsGroupBox

TsGroupBox::TsGroupBox(TComponent* AOwner) : TsGroupBoxBase(AOwner) {}
TsGroupBox::~TsGroupBox() = default;

void TsGroupBox::Construct() {
  inherited::Construct();
  FCaptionMargin = std::make_unique<TsMargin>(this);
  FControlStyle.Exclude(csOpaque);
}

void TsGroupBox::SetCaptionLayout(TsGroupCaptionLayout Value) {
  if (FCaptionLayout == Value) return;
  FCaptionLayout = Value;
  if (!Caption().empty()) SkinData()->Invalidate();
}

void TsGroupBox::SetCaptionYOffset(Integer Value) {
  if (FCaptionYOffset == Value) return;
  FCaptionYOffset = Value;
  SkinData()->Invalidate();
}

void TsGroupBox::SetCaptionSkin(const AnsiString& Value) {
  if (FCaptionSkin == Value) return;
  FCaptionSkin = Value;
  SkinData()->Invalidate();
}

void TsGroupBox::SetCaptionWidth(Integer Value) {
  if (FCaptionWidth == Value) return;
  FCaptionWidth = Value;
  SkinData()->Invalidate();
}

Integer TsGroupBox::TextHeight() {
  InitCacheBmp(SkinData());
  TCanvas* c = SkinData()->CacheBmp->Canvas();
  c->Font()->Assign(Font());
  return std::max(4, acTextHeight(c, "W")) + 2;
}

Integer TsGroupBox::CaptionTextWidth() {
  InitCacheBmp(SkinData());
  TCanvas* c = SkinData()->CacheBmp->Canvas();
  c->Font()->Assign(Font());
  return acTextWidth(c, Caption());
}

TRect TsGroupBox::CaptionRect() {
  const TsMargin& m = *FCaptionMargin;
  const Integer w = Width();
  const bool skinned = SkinData()->Skinned();
  const bool rtl = UseRightToLeftAlignment();
  TRect r;
  r.Top = 0;
  r.Bottom = TextHeight() + m.Top() + m.Bottom();
  if (skinned) {
    r.Bottom += FCaptionYOffset;
    if (FCaptionYOffset < 0) r.Top = FCaptionYOffset;
  }
  const bool leftSide = (FCaptionLayout == clTopLeft && !rtl) || (FCaptionLayout == clTopRight && rtl);
  if (FCaptionWidth == 0) {
    const Integer c = CaptionTextWidth(), s = m.Left() + m.Right();
    if (FCaptionLayout == clTopCenter)
      r.Left = (w - c - s - 6) / 2;
    else if (leftSide)
      r.Left = 6;
    else
      r.Left = w - c - 2 * s - 6;
    r.Left = std::max(r.Left, 0);
    r.Right = std::min(r.Left + c + 2 * s, w);
  } else {
    const Integer c = FCaptionWidth;
    if (FCaptionLayout == clTopCenter)
      r.Left = (w - c - 6) / 2;
    else if (leftSide)
      r.Left = m.Left() + 6;
    else
      r.Left = w - c - 6 - m.Right();
    r.Left = std::max(r.Left, 0);
    r.Right = std::min(r.Left + c + m.Left(), w);
  }
  // The class library's bevel width of a group box.
  constexpr Integer kBevelWidth = 1;
  if (r.Right - r.Left < 2 * kBevelWidth) {
    r.Left -= kBevelWidth;
    r.Right += kBevelWidth;
  }
  return r;
}

bool TsGroupBox::PrepareCache() {
  TsCommonData* sd = SkinData();
  InitCacheBmp(sd);
  TacBGInfo bg;
  if (Parent()) GetBGInfo(&bg, Parent());
  if (bg.BgType == btNotReady) {
    sd->Updating = true;
    return false;
  }
  const TCacheInfo ci = BGInfoToCI(&bg);
  const Integer w = Width(), h = Height();
  const TRect cr = CaptionRect();
  const Integer captionH = cr.Bottom - cr.Top;
  TacBitmap* cache = sd->CacheBmp.get();
  HDC dc = cache->Canvas()->Handle();
  // The caption strip's background across the whole width.
  if (bg.BgType == btCache && bg.Bmp) {
    BitBlt(dc, 0, 0, w, captionH, bg.Bmp->Canvas()->Handle(), Left() + bg.Offset.X, Top() + bg.Offset.Y, SRCCOPY);
  } else if (Parent()) {
    FillDC(dc, TRect(0, 0, w, cr.Bottom), bg.Color);
  }
  const Integer frameTop = FCaptionYOffset < 0 ? 0 : captionH / 2;
  PaintItem(sd, ci, false, 0, TRect(0, frameTop, w, h), TPoint(Left(), Top() + frameTop), cache, true);
  if (!Caption().empty()) WriteText(cr, ci);
  sd->PaintOuterEffects(this, TPoint(0, 0));
  sd->BGChanged = false;
  return true;
}

void TsGroupBox::WriteText(const TRect& R, const TCacheInfo& BG) {
  TsCommonData* sd = SkinData();
  TsSkinManager* m = sd->GetSkinManager();
  TacBitmap* cache = sd->CacheBmp.get();
  const TsMargin& mg = *FCaptionMargin;
  Cardinal flags = DT_VCENTER | DT_SINGLELINE;
  flags |= (FCaptionWidth == 0 || FCaptionLayout == clTopCenter) ? DT_CENTER : DT_END_ELLIPSIS;
  if (UseRightToLeftReading()) flags |= DT_RTLREADING;
  const Integer state = Focused() ? 1 : 0;
  if (!FCaptionSkin.empty()) {
    auto bmp = CreateBmp32(R.Width(), R.Height());
    bmp->Canvas()->Font()->Assign(Font());
    const Integer index = m ? m->GetSkinIndex(FCaptionSkin) : -1;
    PaintItem(index, FCaptionSkin, MakeCacheInfo(cache, R.Left, R.Top), true, state,
              TRect(0, 0, R.Width(), R.Height()), TPoint(0, 0), bmp.get(), m);
    TRect t(mg.Left(), mg.Top(), R.Width() - mg.Right(), R.Height() - mg.Bottom());
    if (sd->CustomFont())
      acWriteText(bmp->Canvas(), Caption(), true, t, flags);
    else
      acWriteTextEx(bmp->Canvas(), Caption(), true, t, flags, index, false, m);
    BitBlt(cache->Canvas()->Handle(), R.Left, R.Top, R.Width(), R.Height(), bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
    return;
  }
  if (BG.Ready) {
    const Integer index = m ? m->GetSkinIndex("CHECKBOX") : -1;
    PaintItem(index, "CHECKBOX", BG, true, state, R, TPoint(Left() + R.Left, Top() + R.Top), cache, m);
  } else {
    FillDC(cache->Canvas()->Handle(), R, BG.FillColor);
  }
  TRect t(R.Left + mg.Left(), R.Top + mg.Top(), R.Right - mg.Right(), R.Bottom - mg.Bottom());
  TCanvas* c = cache->Canvas();
  c->Font()->Assign(Font());
  acWriteTextEx(c, Caption(), true, t, flags, sd, false);
}

void TsGroupBox::PaintToDC(HDC DC) {
  TsCommonData* sd = SkinData();
  if (!sd->Skinned(true) || IsDestroying(this)) return;
  if (!Visible() && !IsDesigning(this)) return;
  if (InAnimationProcess && DC != sd->PrintDC) return;
  if (InUpdating(sd)) return;
  const bool rebuild = sd->BGChanged;
  if (Parent()) {
    const TRect pc = Parent()->ClientRect();
    const auto inside = [&](Integer x, Integer y) { return x >= pc.Left && x < pc.Right && y >= pc.Top && y < pc.Bottom; };
    sd->OutOfParent = sd->RepaintIfMoved() && (!inside(Left() + 1, Top() + 1) ||
                                               !inside(Left() + Width() - 1, Top() + Height() - 1));
  }
  if (rebuild && !PrepareCache()) return;
  CopyWinControlCache(this, sd, TRect(0, 0, Width(), Height()), TRect(0, 0, Width(), Height()), DC, false);
  ::PaintControls(DC, this, rebuild, TPoint(0, 0));
  SetParentUpdated(this);
}

void TsGroupBox::Paint() {
  if (SkinData()->Skinned(true))
    PaintToDC(Canvas()->Handle());
  else
    inherited::Paint();
}

void TsGroupBox::AdjustClientRect(TRect& Rect) {
  if (IsDestroying(this)) return;
  inherited::AdjustClientRect(Rect);
  Rect.Top += FCaptionYOffset;
}

void TsGroupBox::CMFontChanged(TMessage& Message) {
  InheritedMessage(TsGroupBox::StaticClass(), &Message);
  InitCacheBmp(SkinData());
  SkinData()->CacheBmp->Canvas()->Font()->Assign(Font());
  if (!Caption().empty()) SkinData()->Invalidate();
}

void TsGroupBox::DefaultProcessing(TMessage& Message) {
  if (!CommonWndProc(Message, SkinData())) inherited::WndProc(Message);
  if (Message.Msg == WM_SIZE && IsDesigning(this) && HandleAllocated()) SendMessageW(WindowHandle(), WM_PAINT, 0, 0);
}

void TsGroupBox::WndProc(TMessage& Message) {
  TsCommonData* sd = SkinData();
  if (Message.Msg == SM_ALPHACMD) {
    const bool own = reinterpret_cast<TsSkinManager*>(Message.LParam) == sd->GetSkinManager();
    switch (AlphaCmdOf(Message.WParam)) {
      case ACMD_SKIN_LOADED:
        AlphaBroadCast(this, Message);
        if (own) CommonWndProc(Message, sd);
        return;
      case ACMD_SKIN_UNLOADED:
      case ACMD_SKIN_REPAINT:
        if (own) {
          CommonWndProc(Message, sd);
          AlphaBroadCast(this, Message);
          Repaint();
        } else {
          AlphaBroadCast(this, Message);
        }
        return;
      case ACMD_QUERY_HOOKED:
        Message.Result = 1;
        return;
      case ACMD_BUILD_CACHE:
        if (!InUpdating(sd) && !PrepareCache()) sd->Updating = true;
        return;
      case ACMD_QUERY_BG_INFO:
        if (!FCaptionSkin.empty() && Message.LParam) {
          auto* bg = reinterpret_cast<PacBGInfo>(Message.LParam);
          if (sd->BGChanged) PrepareCache();
          bg->Bmp = sd->CacheBmp.get();
          bg->Offset = TPoint(0, 0);
          bg->BgType = btCache;
          return;
        }
        break;
      case ACMD_QUERY_BOUNDS:
        if (Message.LParam) {
          auto* r = reinterpret_cast<TRect*>(Message.LParam);
          *r = TRect(Left(), Top(), Left() + Width(), Top() + Height());
          if (FCaptionYOffset >= 0) {
            const TRect cr = CaptionRect();
            r->Top += (cr.Bottom - cr.Top) / 2;
          }
          return;
        }
        break;
      default:
        break;
    }
  }
  if (!ControlIsReady(this) || !sd->Skinned()) {
    inherited::WndProc(Message);
    return;
  }
  HandleSkinned(Message);
}

void TsGroupBox::HandleSkinned(TMessage& Message) {
  TsCommonData* sd = SkinData();
  switch (Message.Msg) {
    case SM_ALPHACMD:
      switch (AlphaCmdOf(Message.WParam)) {
        case ACMD_PARENT_UPDATED:
          if (sd->Updating) {
            if (!Showing() || InUpdating(sd, true)) return;
            RedrawWindow(WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
            SetParentUpdated(this);
          } else if (sd->StateFlags & 1) {
            SetParentUpdated(this);
          }
          return;
        case ACMD_QUERY_PAINT_WAIT:
          Message.Result = (sd->BGChanged || sd->GetUpdating()) ? 1 : 0;
          return;
        case ACMD_BUILD_CACHE:
          if (!PrepareCache()) sd->Updating = true;
          return;
        default:
          CommonMessage(Message, sd);
          return;
      }
    case WM_MOVE:
      sd->BGChanged = sd->BGChanged || sd->RepaintIfMoved();
      DefaultProcessing(Message);
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      inherited::WndProc(Message);
      return;
    case WM_PAINT: {
      TPaintScope paint(WindowHandle(), reinterpret_cast<HDC>(Message.WParam));
      PaintToDC(paint.DC());
      return;
    }
    case WM_ERASEBKGND:
      if (Message.WParam && ControlState().Contains(csPaintCopy)) {
        if (!sd->BGChanged) {
          if (IsCached(sd))
            CopyWinControlCache(this, sd, TRect(0, 0, Width(), Height()), TRect(0, 0, Width(), Height()),
                                reinterpret_cast<HDC>(Message.WParam), false);
          else
            FillDC(reinterpret_cast<HDC>(Message.WParam), ClientRect(), GetBGColor(sd, 0));
        }
      } else if (IsDesigning(this)) {
        DefaultProcessing(Message);
        return;
      }
      Message.Result = 1;
      return;
    case WM_WINDOWPOSCHANGED:
    case CM_VISIBLECHANGED:
      sd->BGChanged = true;
      DefaultProcessing(Message);
      return;
    case WM_PRINT:
      sd->Updating = false;
      PaintToDC(reinterpret_cast<HDC>(Message.WParam));
      return;
    case CM_TEXTCHANGED:
      sd->Invalidate();
      return;
    default:
      DefaultProcessing(Message);
      return;
  }
}

DK_MESSAGE_UNIT(TsGroupBox);
DK_MESSAGE_HANDLER(TsGroupBox, CM_FONTCHANGED, CMFontChanged);

DK_PUBLISH(TsGroupBox) {
  PublishSkinData(P);
  P.Property("CaptionLayout", &TsGroupBox::CaptionLayout, &TsGroupBox::SetCaptionLayout).Default(clTopLeft);
  P.Property("CaptionYOffset", &TsGroupBox::CaptionYOffset, &TsGroupBox::SetCaptionYOffset).Default(0);
  P.Property("CaptionSkin", &TsGroupBox::CaptionSkin, &TsGroupBox::SetCaptionSkin);
  P.Property("CaptionMargin", &TsGroupBox::CaptionMargin, &TsGroupBox::SetCaptionMargin);
  P.Property("CaptionWidth", &TsGroupBox::CaptionWidth, &TsGroupBox::SetCaptionWidth).Default(0);
}
DK_PUBLISH(TsGroupButton) {}

void TsRadioGroup::Construct() {
  inherited::Construct();
  MakeButtons([this] { return Create<TsGroupButton>(this); }, true);
}

DK_PUBLISH(TsRadioGroup) { PublishRadioGroup(P); }

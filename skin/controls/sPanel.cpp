// The skinned panel: its window procedure, its cache and its painting.
#include "skin/controls/sPanel.h"

#include <algorithm>
#include <memory>

#include "classlib/ui/PaintScope.h"
#include "skin/core/sStyleSimply.h"
#include "skin/core/sVclUtils.h"
#include "skin/graphics/Sborders.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

DK_UNIT(sPanel);

namespace {

// The section a panel takes for its outer bevel.
const char* BevelSection(TBevelCut Bevel) {
  switch (Bevel) {
    case bvLowered: return "PANEL_LOW";
    case bvRaised: return "PANEL";
    default: return "TRANSPARENT";
  }
}

const TsGeneralData* SectionOf(TsCommonData* S) {
  TsSkinManager* m = S->GetSkinManager();
  return m && m->IsValidSkinIndex(S->SkinIndex) ? &m->Sections[static_cast<size_t>(S->SkinIndex)] : nullptr;
}

bool FromOwnManager(const TMessage& Message, TsCommonData* S) {
  TsSkinManager* m = S->GetSkinManager();
  return m && Message.LParam == reinterpret_cast<LPARAM>(m);
}

void EnsureCache(TsCommonData* S) {
  if (!S->CacheBmp || S->CacheBmp->Width() == 0 || S->CacheBmp->Height() == 0) InitCacheBmp(S);
}

}  // namespace

// ------------------------------------------------------------ life

void TsPanel::Loaded() {
  inherited::Loaded();
  FOldBevel = BevelOuter();
}

// ------------------------------------------------------------ the unskinned look

void TsPanel::Paint() {
  inherited::Paint();
  if (Showing() && OnPaint) OnPaint(this, Canvas());
}

void TsPanel::PaintWindow(HDC DC) {
  TsCommonData* S = SkinData();
  if (PaintCopy() && S && S->Skinned()) {
    OurPaint(DC, true);
    return;
  }
  inherited::PaintWindow(DC);
  OurPaint(DC, true);
}

// ------------------------------------------------------------ the cache

void TsPanel::KeepOwnDrawingCached() {
  // The recomputed state flags would make a plain panel draw on the screen
  // and run OnPaint at every paint; its drawing belongs in the cache.
  if (OnPaint || DockSite()) SkinData()->StateFlags &= ~1;
}

bool TsPanel::DrawsThroughCache() {
  TsCommonData* S = SkinData();
  KeepOwnDrawingCached();
  return (IsCached(S) && !S->CustomColor()) || InAnimationProcess;
}

bool TsPanel::PrepareCache() {
  TsCommonData* S = SkinData();
  if (!IsCached(S) && !InAnimationProcess) return false;
  InitCacheBmp(S);
  if (!PaintSkinControl(S, Parent(), true, 0, TRect{0, 0, Width(), Height()}, TPoint{Left(), Top()},
                        S->CacheBmp.get(), true)) {
    S->Updating = true;
    return false;
  }
  const int frame = InnerFrame();
  TRect r = ClientRect();
  r = TRect{r.Left + frame, r.Top + frame, r.Right - frame, r.Bottom - frame};
  S->PaintOuterEffects(this, TPoint{0, 0});
  TCanvas* canvas = S->CacheBmp->Canvas();
  WriteText(r, canvas);
  if (OnPaint) OnPaint(this, canvas);
  if (DockSite()) PaintDragPanel(canvas->Handle());
  S->BGChanged = false;
  return true;
}

// ------------------------------------------------------------ painting

void TsPanel::WriteText(TRect R, TCanvas* ACanvas, HDC DC) {
  std::unique_ptr<TCanvas> temporary;
  if (!ACanvas) {
    if (!DC) return;
    temporary = std::make_unique<TCanvas>();
    temporary->SetHandle(DC);
    ACanvas = temporary.get();
  }
  ACanvas->SetFont(Font());
  const AnsiString text = Caption();
  const UINT flags = GetStringFlags(this, Alignment()) | DT_WORDBREAK;
  TRect measured = R;
  {
    TSelectScope font(ACanvas->Handle(), ACanvas->Font()->Handle());
    acDrawText(ACanvas->Handle(), text, measured, flags | DT_CALCRECT);
  }
  const int h = std::max(measured.Height(), 0);
  R.Top += (R.Height() - h) / 2 + BorderWidth();
  R.Bottom = R.Top + h;
  acWriteTextEx(ACanvas, text, Enabled(), R, flags, SkinData(), false);
  if (temporary) temporary->SetHandle(nullptr);
}

void TsPanel::OurPaint(HDC DC, bool SendUpdated) {
  TsCommonData* S = SkinData();
  if (!Showing() || !S || !S->Skinned()) return;
  const bool ownCanvas = DC == nullptr;
  if (ownCanvas) DC = Canvas()->Handle();
  const bool done = DrawsThroughCache() ? PaintCached(DC) : PaintDirect(DC, ownCanvas);
  if (done && SendUpdated && !PaintCopy()) SetParentUpdated(this);
}

bool TsPanel::PaintCached(HDC DC) {
  TsCommonData* S = SkinData();
  RECT clip{};
  const int kind = GetClipBox(DC, &clip);
  if (kind == NULLREGION || kind == ERROR) return false;
  // While the parent is still being painted the panel waits for its notice.
  if (InUpdating(S) && !PaintCopy()) return true;
  const bool rebuild = S->OutOfParent || S->BGChanged;
  const bool varies = S->RepaintIfMoved();
  S->OutOfParent = varies && (clip.right - clip.left != Width() || clip.bottom - clip.top != Height());
  if (rebuild && !PrepareCache()) return false;
  const TRect all{0, 0, Width(), Height()};
  CopyWinControlCache(this, S, all, all, DC, false);
  ::PaintControls(DC, this, rebuild && varies, TPoint{0, 0});
  return true;
}

bool TsPanel::PaintDirect(HDC DC, bool OwnCanvas) {
  TsCommonData* S = SkinData();
  const TsGeneralData* section = SectionOf(S);
  if (!section) return false;
  const int w = Width(), h = Height();
  const TRect all{0, 0, w, h};
  S->Updating = false;
  const int b = SkinBorderMaxWidth(S);
  {
    TDCStateScope state(DC);
    ExcludeControls(DC, this, actGraphic, 0, 0);
    TacBGInfo bg;
    bg.PleaseDraw = false;
    if (S->CustomColor()) {
      bg.BgType = btFill;
      bg.Color = ColorToRGB(Color());
    } else {
      GetBGInfo(&bg, Parent(), false);
      if (bg.BgType == btNotReady) {
        S->Updating = true;
        return false;
      }
    }
    const int t = section->Props[0].Transparency;
    if (t == 100 && bg.BgType == btCache && bg.Bmp) {
      if (!InUpdating(S)) {
        HDC parentDC = bg.Bmp->Canvas()->Handle();
        if (b == 0) {
          BitBlt(DC, 0, 0, w, h, parentDC, bg.Offset.X, bg.Offset.Y, SRCCOPY);
        } else {
          EnsureCache(S);
          const TRect inner = PaintBorderFast(DC, all, b, S, 0);
          FillDC(DC, inner, bg.Color);
          BitBltBorder(DC, 0, 0, w, h, S->CacheBmp->Canvas()->Handle(), 0, 0, b);
          BitBlt(DC, b, b, w - 2 * b, h - 2 * b, parentDC, bg.Offset.X + b, bg.Offset.Y + b, SRCCOPY);
        }
      }
    } else {
      const TColor own = S->CustomColor() ? ColorToRGB(Color()) : section->Props[0].Color;
      const TColor c = t == 0 ? own : t == 100 ? ColorToRGB(bg.Color) : MixColors(ColorToRGB(bg.Color), own, t / 100.0);
      if (b == 0) {
        FillDC(DC, all, c);
      } else {
        EnsureCache(S);
        TsSkinManager* m = S->GetSkinManager();
        const TsMaskData* border = m->IsValidImgIndex(S->BorderIndex) ? &m->Masks[static_cast<size_t>(S->BorderIndex)]
                                                                      : nullptr;
        if (t == 100 && (!border || (border->FillMode & 4))) {
          PaintBorderFast(DC, all, 0, S, 0);
          BitBlt(DC, 0, 0, w, h, S->CacheBmp->Canvas()->Handle(), 0, 0, SRCCOPY);
        } else {
          const TRect inner = PaintBorderFast(DC, all, b, S, 0);
          FillDC(DC, inner, c);
          BitBltBorder(DC, 0, 0, w, h, S->CacheBmp->Canvas()->Handle(), 0, 0, b);
        }
      }
    }
    const int frame = InnerFrame();
    TRect r = ClientRect();
    r = TRect{r.Left + frame, r.Top + frame, r.Right - frame, r.Bottom - frame};
    if (OwnCanvas) {
      WriteText(r, Canvas());
      if (OnPaint) OnPaint(this, Canvas());
    } else {
      TCanvas canvas;
      canvas.SetHandle(DC);
      canvas.SetFont(Font());
      canvas.Brush()->SetStyle(bsClear);
      WriteText(r, &canvas);
      if (OnPaint) OnPaint(this, &canvas);
      canvas.SetHandle(nullptr);
    }
    S->BGChanged = false;
  }
  ::PaintControls(DC, this, true, TPoint{0, 0});
  return true;
}

// ------------------------------------------------------------ dock sites

void TsPanel::PaintDragPanel(HDC DC) {
  TsCommonData* S = SkinData();
  TsSkinManager* m = S->GetSkinManager();
  TDockTree* tree = DockManager();
  if (!m || !tree || !S->CacheBmp) return;
  const bool captions = DefaultDockTreeClass && AnsiString(DefaultDockTreeClass->Name) == "TCaptionedDockTree";
  const int stripH = captions ? 23 : 12;
  const char* first = captions ? "DRAGBAR" : "GRIPV";
  const char* second = captions ? "PANEL" : "GRIPH";
  Integer section = m->GetSkinIndex(first);
  if (!m->IsValidSkinIndex(section)) section = m->GetSkinIndex(second);
  Integer glyph = m->ConstData.TitleIcons[tiSIconClose];
  if (!m->IsValidImgIndex(glyph)) glyph = m->ConstData.TitleIcons[tiBIconClose];
  for (int i = 0; i < DockClientCount(); ++i) {
    TControl* client = DockClients(i);
    if (!client->Visible()) continue;
    const TRect b = client->BoundsRect();
    const TRect strip{b.Left, b.Top - stripH, b.Right, b.Top};
    if (strip.Width() <= 0) continue;
    if (m->IsValidSkinIndex(section)) {
      const AnsiString name = m->Sections[static_cast<size_t>(section)].SectionName;
      PaintItem(section, name, EmptyCI, true, 0, strip, TPoint{0, 0}, S->CacheBmp.get(), m);
      if (captions) {
        TRect text{strip.Left + 5, strip.Top + 5, strip.Right - 5 - 18, strip.Bottom - 5};
        TCanvas* canvas = S->CacheBmp->Canvas();
        canvas->SetFont(Font());
        acWriteTextEx(canvas, client->Caption(), true, text, DT_VCENTER | DT_END_ELLIPSIS, section, false, m);
      }
    }
    BitBlt(DC, strip.Left, strip.Top, strip.Width(), stripH, S->CacheBmp->Canvas()->Handle(), strip.Left, strip.Top,
           SRCCOPY);
    if (!m->IsValidImgIndex(glyph)) continue;
    const TsMaskData& md = m->Masks[static_cast<size_t>(glyph)];
    const int gw = WidthOfImage(md), gh = HeightOfImage(md);
    if (gw <= 0 || gh <= 0) continue;
    const double scale = gh > stripH ? static_cast<double>(stripH) / gh : 1.0;
    const int sw = static_cast<int>(gw * scale + 0.5), sh = static_cast<int>(gh * scale + 0.5);
    const int margin = (stripH - sh) / 2;
    const TRect place{strip.Right - margin - sw, strip.Top + margin, strip.Right - margin, strip.Top + margin + sh};
    std::unique_ptr<TacBitmap> work = CreateBmp32(gw, gh);
    // What lies under the glyph, at the glyph's own size.
    StretchBlt(work->Canvas()->Handle(), 0, 0, gw, gh, S->CacheBmp->Canvas()->Handle(), place.Left, place.Top, sw, sh,
               SRCCOPY);
    DrawSkinGlyph(work.get(), TPoint{0, 0}, 0, 1, md, EmptyCI);
    StretchBlt(DC, place.Left, place.Top, sw, sh, work->Canvas()->Handle(), 0, 0, gw, gh, SRCCOPY);
  }
}

// ------------------------------------------------------------ the window procedure

void TsPanel::WndProc(TMessage& Message) {
  TsCommonData* S = SkinData();
  if (!S) {
    inherited::WndProc(Message);
    return;
  }
  bool done = false;
  if (Message.Msg == SM_ALPHACMD) SkinCommand(Message, done);
  if (done) return;
  if (ControlIsReady(this) && S->Skinned())
    SkinnedMessage(Message);
  else
    PlainMessage(Message);
  if (Message.Msg == CM_MOUSEENTER && OnMouseEnter) OnMouseEnter(this);
  if (Message.Msg == CM_MOUSELEAVE && OnMouseLeave) OnMouseLeave(this);
}

// The commands answered with or without a skin.
void TsPanel::SkinCommand(TMessage& Message, bool& Done) {
  TsCommonData* S = SkinData();
  Done = true;
  switch (AlphaCmdOf(Message.WParam)) {
    case ACMD_SKIN_LOADED:
      FControlStyle.Exclude(csOpaque);
      AlphaBroadCast(this, Message);
      if (FromOwnManager(Message, S)) CommonMessage(Message, S);
      return;
    case ACMD_SKIN_UNLOADED:
      FControlStyle.Exclude(csOpaque);
      if (FromOwnManager(Message, S)) {
        CommonMessage(Message, S);
        Invalidate();
      }
      AlphaBroadCast(this, Message);
      return;
    case ACMD_SKIN_REPAINT:
      if (!FromOwnManager(Message, S)) {
        AlphaBroadCast(this, Message);
        return;
      }
      CommonMessage(Message, S);
      KeepOwnDrawingCached();
      if (HandleAllocated() && !IsLoading(this) && Visible()) {
        RedrawWindow(WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
        AlphaBroadCast(this, Message);
      }
      return;
    case ACMD_QUERY_HOOKED:
      Message.Result = 1;
      return;
    case ACMD_QUERY_BG_INFO:
      if (TsSkinManager* m = S->GetSkinManager(); m && m->IsValidSkinIndex(S->SkinIndex)) {
        if (Message.LParam) AnswerBGInfo(reinterpret_cast<PacBGInfo>(Message.LParam));
        return;
      }
      break;
    default:
      break;
  }
  Done = false;
}

void TsPanel::AnswerBGInfo(PacBGInfo Info) {
  TsCommonData* S = SkinData();
  KeepOwnDrawingCached();
  InitBGInfo(S, Info, 0);
  if (Info->BgType == btFill || Info->BgType == btNotReady) return;
  const bool oldSize = S->CacheBmp && (S->CacheBmp->Width() != Width() || S->CacheBmp->Height() != Height());
  if (S->BGChanged && oldSize && !S->GetUpdating()) {
    TWinControl* parent = Parent();
    if (!parent || !parent->HandleAllocated() || (SendAMessage(parent, ACMD_QUERY_HOOKED) & 0xFF) == 1) {
      Info->BgType = btNotReady;
      return;
    }
  }
  // A child's place is given in client coordinates; the cache holds the
  // whole window, frame included.
  if (Info->BgType == btCache && !Info->PleaseDraw && HandleAllocated() && ClientWidth() != Width()) {
    POINT origin{0, 0};
    ::ClientToScreen(WindowHandle(), &origin);
    RECT window{};
    GetWindowRect(WindowHandle(), &window);
    Info->Offset.X += origin.x - window.left;
    Info->Offset.Y += origin.y - window.top;
  }
}

void TsPanel::DefaultProcessing(TMessage& Message) {
  if (!CommonWndProc(Message, SkinData())) inherited::WndProc(Message);
}

void TsPanel::RepaintNow() {
  if (HandleAllocated()) RedrawWindow(WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void TsPanel::FollowBevel() {
  TsCommonData* S = SkinData();
  const TBevelCut bevel = BevelOuter();
  if (bevel != FOldBevel && S->SkinSection() == BevelSection(FOldBevel)) S->SetSkinSection(BevelSection(bevel));
  FOldBevel = bevel;
}

void TsPanel::SkinnedMessage(TMessage& Message) {
  TsCommonData* S = SkinData();
  switch (Message.Msg) {
    case SM_ALPHACMD:
      switch (AlphaCmdOf(Message.WParam)) {
        case ACMD_PARENT_UPDATED:
          if (S->Updating) {
            if (!InUpdating(S, true)) RepaintNow();
            SetParentUpdated(this);
          } else if (S->StateFlags & 1) {
            SetParentUpdated(this);
          }
          return;
        case ACMD_BUILD_CACHE:
          if (!DockSite() && !InUpdating(S) && !PrepareCache()) S->Updating = true;
          return;
        default:
          if (!CommonMessage(Message, S)) DefaultProcessing(Message);
          return;
      }
    case WM_PAINT: PaintMessage(Message); return;
    case WM_ERASEBKGND: EraseMessage(Message); return;
    case WM_PRINT: PrintMessage(Message); return;
    case WM_SIZE:
      S->BGChanged = true;
      DefaultProcessing(Message);
      if (S->BGChanged) RepaintNow();
      return;
    case WM_WINDOWPOSCHANGED:
      DefaultProcessing(Message);
      if (S->BGChanged) RepaintNow();
      return;
    case WM_WINDOWPOSCHANGING:
      if (const TsGeneralData* section = SectionOf(S); section && section->Props[0].Transparency != 0) S->BGChanged = true;
      DefaultProcessing(Message);
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: inherited::WndProc(Message); return;
    case WM_SETFONT:
      DefaultProcessing(Message);
      if (!Caption().empty()) {
        S->BGChanged = true;
        RepaintNow();
      }
      return;
    case WM_CAPTURECHANGED:
    case CM_CONTROLLISTCHANGE:
    case CM_UNDOCKCLIENT:
      if (DockSite()) S->BGChanged = true;
      DefaultProcessing(Message);
      return;
    case CM_VISIBLECHANGED:
      S->BGChanged = true;
      S->Updating = false;
      if (Visible()) {
        PrepareCache();
        inherited::WndProc(Message);
        SetParentUpdated(this);
      } else {
        inherited::WndProc(Message);
      }
      return;
    case CM_ENABLEDCHANGED:
      DefaultProcessing(Message);
      S->Invalidate();
      return;
    case CM_COLORCHANGED:
      if (S->CustomColor()) S->BGChanged = true;
      DefaultProcessing(Message);
      return;
    case CM_TEXTCHANGED:
      if (Parent()) S->Invalidate();
      return;
    case CM_SHOWINGCHANGED:
      if (TsSkinManager* m = S->GetSkinManager(); m && m->Options()->GetOptimizingPriority() == opMemory && Visible())
        S->Updating = false;
      DefaultProcessing(Message);
      return;
    case CM_INVALIDATE:
      FollowBevel();
      DefaultProcessing(Message);
      return;
    default: DefaultProcessing(Message); return;
  }
}

void TsPanel::PaintMessage(TMessage& Message) {
  TsCommonData* S = SkinData();
  KeepOwnDrawingCached();
  if (!Visible() && !IsDesigning(this)) {
    DefaultProcessing(Message);
    return;
  }
  HDC given = reinterpret_cast<HDC>(Message.WParam);
  PAINTSTRUCT ps{};
  HDC paintDC = given ? given : BeginPaint(WindowHandle(), &ps);
  if (!IsCached(S)) {
    OurPaint(paintDC, true);
  } else if (!InUpdating(S)) {
    std::unique_ptr<TWindowDC> window;
    HDC dc = given;
    if (!dc) {
      window = std::make_unique<TWindowDC>(WindowHandle());
      dc = window->Handle();
    }
    TDCStateScope state(dc);
    // Put back as it was, not cleared: a custom control paints its own
    // window only while the flag is set, also after the skin has gone.
    const bool custom = FControlState.Contains(csCustomPaint);
    FControlState.Include(csCustomPaint);
    {
      TCanvasScope canvas(Canvas(), dc);
      OurPaint(dc, true);
    }
    if (!custom) FControlState.Exclude(csCustomPaint);
  }
  if (!given) EndPaint(WindowHandle(), &ps);
  Message.Result = 0;
}

void TsPanel::EraseMessage(TMessage& Message) {
  TsCommonData* S = SkinData();
  KeepOwnDrawingCached();
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  const bool intoOther = Message.WParam == static_cast<WPARAM>(Message.LParam) || PaintCopy();
  if (!intoOther) {
    if (!InUpdating(S) && !IsCached(S)) OurPaint(dc, true);
  } else if (dc) {
    if (S->BGChanged) PrepareCache();
    if (!S->BGChanged) {
      if (IsCached(S) && S->CacheBmp)
        BitBlt(dc, 0, 0, Width(), Height(), S->CacheBmp->Canvas()->Handle(), 0, 0, SRCCOPY);
      else
        FillDC(dc, TRect{0, 0, Width(), Height()}, GetControlColor(this));
    }
  }
  Message.Result = 1;
}

void TsPanel::PrintMessage(TMessage& Message) {
  TsCommonData* S = SkinData();
  S->Updating = false;
  if (!ControlIsReady(this)) return;
  if (!IsCached(S) && !S->CacheBmp) S->CacheBmp = CreateBmp32(0, 0);
  if (S->BGChanged) PrepareCache();
  OurPaint(reinterpret_cast<HDC>(Message.WParam), false);
}

void TsPanel::PlainMessage(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      if (!OnPaint) inherited::WndProc(Message);
      return;
    case WM_PRINT:
      if (OnPaint) {
        OnPaint(this, Canvas());
        if (HDC dc = reinterpret_cast<HDC>(Message.WParam))
          BitBlt(dc, 0, 0, Width(), Height(), Canvas()->Handle(), 0, 0, SRCCOPY);
        return;
      }
      inherited::WndProc(Message);
      return;
    default: inherited::WndProc(Message); return;
  }
}

DK_PUBLISH(TsPanel) {
  PublishSkinData(P);
  P.Property("OnPaint", &TsPanel::OnPaint);
  P.Property("OnMouseEnter", &TsPanel::OnMouseEnter);
  P.Property("OnMouseLeave", &TsPanel::OnMouseLeave);
}

#include "skin/controls/sBevel.h"

#include "skin/core/sKindCodes.h"
#include "skin/core/sVclUtils.h"
#include "skin/graphics/sGraphUtils.h"

DK_UNIT(sBevel);

namespace {
// The width of the edge strips copied from the cache.
constexpr Integer kEdge = 3;
}  // namespace

TsBevel::TsBevel(TComponent* AOwner) : TBevel(AOwner) {}
TsBevel::~TsBevel() = default;

void TsBevel::Construct() {
  inherited::Construct();
  FCommonData = std::make_unique<TsCommonData>(this, true);
  FCommonData->KindCode = COC_TsBevel;
  FOldStyle = Style();
  FOldShape = Shape();
}

void TsBevel::AfterConstruction() {
  inherited::AfterConstruction();
  CheckSkinSection();
  FCommonData->Loaded();
}

void TsBevel::Loaded() {
  inherited::Loaded();
  CheckSkinSection();
  FCommonData->Loaded();
}

void TsBevel::CheckSkinSection() {
  if (Shape() == bsFrame)
    FCommonData->SetSkinSection("GROUPBOX");
  else
    FCommonData->SetSkinSection(Style() == bsRaised ? "PANEL" : "PANEL_LOW");
}

void TsBevel::Invalidate() {
  if (FCommonData) {
    if (Style() != FOldStyle) {
      FOldStyle = Style();
      CheckSkinSection();
      FCommonData->BGChanged = true;
    }
    if (Shape() != FOldShape) {
      FOldShape = Shape();
      CheckSkinSection();
      FCommonData->BGChanged = true;
    }
  }
  inherited::Invalidate();
}

void TsBevel::Paint() {
  TsCommonData* sd = FCommonData.get();
  if (!sd->Skinned() || Shape() == bsSpacer) {
    inherited::Paint();
    return;
  }
  const Integer w = Width(), h = Height();
  if (sd->BGChanged) {
    InitCacheBmp(sd);
    TacBGInfo bg;
    bg.PleaseDraw = false;
    if (Parent()) GetBGInfo(&bg, Parent());
    const TCacheInfo ci = BGInfoToCI(&bg);
    PaintItem(sd->SkinIndex, sd->SkinSection(), ci, false, 0, TRect(0, 0, w, h), TPoint(Left(), Top()),
              sd->CacheBmp.get(), sd->GetSkinManager(), -1, -1);
  }
  HDC dc = Canvas()->Handle();
  HDC src = sd->CacheBmp->Canvas()->Handle();
  switch (Shape()) {
    case bsBox:
    case bsFrame:
      BitBltBorder(dc, 0, 0, w, h, src, 0, 0, kEdge);
      break;
    case bsTopLine:
      BitBlt(dc, kEdge, 0, w - 2 * kEdge, kEdge, src, kEdge, 0, SRCCOPY);
      break;
    case bsBottomLine:
      BitBlt(dc, kEdge, h - kEdge, w - 2 * kEdge, kEdge, src, kEdge, h - kEdge, SRCCOPY);
      break;
    case bsLeftLine:
      BitBlt(dc, 0, kEdge, kEdge, h - 2 * kEdge, src, 0, kEdge, SRCCOPY);
      break;
    case bsRightLine:
      BitBlt(dc, w - kEdge, kEdge, kEdge, h - 2 * kEdge, src, w - kEdge, kEdge, SRCCOPY);
      break;
    default:
      break;
  }
}

void TsBevel::WndProc(TMessage& Message) {
  TsCommonData* sd = FCommonData.get();
  if (Message.Msg == SM_ALPHACMD) {
    const bool own = reinterpret_cast<TsSkinManager*>(Message.LParam) == sd->GetSkinManager();
    switch (AlphaCmdOf(Message.WParam)) {
      case ACMD_SKIN_LOADED:
        if (own) {
          CommonWndProc(Message, sd);
          return;
        }
        break;
      case ACMD_SKIN_UNLOADED:
        if (own && !IsDestroying(this)) {
          CommonWndProc(Message, sd);
          if (Visible()) Repaint();
        }
        break;
      case ACMD_SKIN_REPAINT:
        if (own) {
          CommonWndProc(Message, sd);
          if (Visible()) Repaint();
          return;
        }
        break;
      case ACMD_QUERY_HOOKED:
        Message.Result = 1;
        return;
      case ACMD_REDRAW:
        sd->Updating = false;
        sd->BGChanged = true;
        Repaint();
        break;
      case ACMD_QUERY_APPLICATION:
        Message.Result = reinterpret_cast<LRESULT>(Application);
        return;
      default:
        break;
    }
  }
  if (ControlIsReady(this) && sd->Skinned()) {
    switch (Message.Msg) {
      case WM_SIZE:
      case WM_WINDOWPOSCHANGED:
        if (Visible()) sd->BGChanged = true;
        break;
      case WM_ERASEBKGND:
        return;
      default:
        CommonWndProc(Message, sd);
        break;
    }
  }
  inherited::WndProc(Message);
}

DK_PUBLISH(TsBevel) {}

// Asking a parent window or control what lies behind its child, with the
// fallbacks for parents that do not answer: they paint themselves into the
// asker's device context, or their colour stands for the background.
#include "classlib/ui/Controls.h"
#include "classlib/ui/PaintScope.h"
#include "skin/core/Smessages.h"
#include "skin/core/sSkinManager.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

constexpr TColor kBtnFace = static_cast<TColor>(0x8000000F);

WPARAM Command(Word Cmd) { return AlphaCmdParam(Cmd); }

// The asker's DC set up so that the painter's pixel (x + Offset.X,
// y + Offset.Y) lands on (x, y), clipped to R (which stays moved by Offset).
class TPleaseDrawScope {
 public:
  explicit TPleaseDrawScope(TacBGInfo* Info) : FState(Info->DC) {
    POINT old;
    OffsetViewportOrgEx(Info->DC, -Info->Offset.X, -Info->Offset.Y, &old);
    Info->R.Left += Info->Offset.X;
    Info->R.Right += Info->Offset.X;
    Info->R.Top += Info->Offset.Y;
    Info->R.Bottom += Info->Offset.Y;
    IntersectClipRect(Info->DC, Info->R.Left, Info->R.Top, Info->R.Right, Info->R.Bottom);
  }

 private:
  TDCStateScope FState;
};

void Prepare(TacBGInfo* Info, bool PleaseDraw) {
  Info->BgType = btUnknown;
  Info->PleaseDraw = PleaseDraw;
  Info->Borders = TRect{};
}

}  // namespace

bool GetBGInfo(PacBGInfo BGInfo, HWND Handle, bool PleaseDraw) {
  const bool drawWanted = BGInfo->PleaseDraw;
  Prepare(BGInfo, PleaseDraw);
  SendMessageW(Handle, SM_ALPHACMD, Command(ACMD_QUERY_BG_INFO), reinterpret_cast<LPARAM>(BGInfo));
  if (BGInfo->BgType != btUnknown) return true;
  if (drawWanted) {
    TPleaseDrawScope scope(BGInfo);
    const WPARAM dc = reinterpret_cast<WPARAM>(BGInfo->DC);
    SendMessageW(Handle, WM_ERASEBKGND, dc, 0);
    SendMessageW(Handle, WM_PAINT, dc, 0);
    return false;
  }
  BGInfo->Color = DefaultManager ? DefaultManager->GetGlobalColor() : kBtnFace;
  BGInfo->BgType = btFill;
  return false;
}

bool GetBGInfo(PacBGInfo BGInfo, TControl* Control, bool PleaseDraw) {
  BGInfo->Bmp = nullptr;
  Prepare(BGInfo, PleaseDraw);
  auto* windowed = dynamic_cast<TWinControl*>(Control);
  if (windowed && windowed->HandleAllocated())
    SendMessageW(windowed->WindowHandle(), SM_ALPHACMD, Command(ACMD_QUERY_BG_INFO), reinterpret_cast<LPARAM>(BGInfo));
  else
    Control->Perform(SM_ALPHACMD, Command(ACMD_QUERY_BG_INFO), reinterpret_cast<LPARAM>(BGInfo));
  if (BGInfo->BgType != btUnknown) return true;
  if (PleaseDraw) {
    TPleaseDrawScope scope(BGInfo);
    const WPARAM dc = reinterpret_cast<WPARAM>(BGInfo->DC);
    Control->Perform(WM_ERASEBKGND, dc, 0);
    Control->Perform(WM_PAINT, dc, 0);
  } else {
    BGInfo->BgType = btFill;
    const TColor answer = static_cast<TColor>(Control->Perform(SM_ALPHACMD, Command(ACMD_QUERY_COLOR), 0));
    BGInfo->Color = answer != 0 ? answer : ColorToRGB(Control->Color());
  }
  return true;
}

// The skin commands a skinned form answers, the skin editor's preview
// messages and the labels the skin recolours.
#include <algorithm>
#include <cstring>

#include "classlib/ui/StdCtrls.h"
#include "skin/core/sStyleSimply.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/sSkinMenus.h"
#include "skin/forms/sSkinProvider.h"
#include "skin/forms/sSkinProviderNames.h"

bool TsSkinProvider::AC_SMAlphaCmd_Common(TMessage& Message) {
  TsSkinManager* own = FSkinData->GetSkinManager();
  const auto sender = reinterpret_cast<TsSkinManager*>(Message.LParam);
  switch (AlphaCmdOf(Message.WParam)) {
    case ACMD_SKIN_LOADED:
      // Pop-up backgrounds of the old skin go with it.
      if (sender == own) DeleteUnusedBmps();
      if (!IsDestroying(Form) && sender == own && !FPrepared) PrepareForm();
      return false;
    case ACMD_SKIN_UNLOADED:
      if (sender == own) DeleteUnusedBmps();
      if (sender == own)
        SkinRemoved(Message);
      else
        AlphaBroadCast(Form, Message);
      return true;
    case ACMD_QUERY_HOOKED:
      Message.Result = 1;
      return true;
    case ACMD_UPDATE_END:
      if (FSkinData->StateFlags & 0x400) {
        FSkinData->StateFlags &= ~0x400;
        Form->Perform(CM_MENUCHANGED, 0, 0);
      }
      return false;
    case ACMD_QUERY_BG_INFO:
      if (!Skinned()) return false;
      QueryBGInfo(Message);
      return true;
    case ACMD_SKIN_STATE:
      if (FSkinData->StateFlags & 0x2) UpdateSkinState(FSkinData.get(), false);
      Message.Result = FSkinData->StateFlags;
      return true;
    case ACMD_QUERY_APPLICATION:
      Message.Result = reinterpret_cast<LRESULT>(Application);
      return true;
    case ACMD_QUERY_CLIENT_OFFSET:
      Message.Result = MAKELONG(OffsetX(), OffsetY());
      return true;
    default:
      return false;
  }
}

bool TsSkinProvider::AC_SMAlphaCmd_Unskinned(TMessage& Message) {
  switch (AlphaCmdOf(Message.WParam)) {
    case ACMD_SKIN_LOADED:
      if (IsDestroying(Form)) return false;
      if (reinterpret_cast<TsSkinManager*>(Message.LParam) == FSkinData->GetSkinManager()) SkinTaken();
      return true;
    case ACMD_QUERY_PROVIDER:
      Message.Result = reinterpret_cast<LRESULT>(this);
      return true;
    case ACMD_BUILD_CACHE:
      FSkinData->BGChanged = false;
      return true;
    default:
      return false;
  }
}

void TsSkinProvider::AC_SMAlphaCmd_Skinned(TMessage& Message) {
  const bool own = reinterpret_cast<TsSkinManager*>(Message.LParam) == FSkinData->GetSkinManager();
  HWND wnd = Form->WindowHandle();
  switch (AlphaCmdOf(Message.WParam)) {
    case ACMD_SKIN_LOADED:
      if (own) SkinReloaded();
      break;
    case ACMD_SKIN_REPAINT:
      if (own) SkinRepaint();
      break;
    case ACMD_QUERY_PROVIDER:
      Message.Result = reinterpret_cast<LRESULT>(this);
      break;
    case ACMD_PARENT_UPDATED:
      if (FSkinData->Updating) {
        FSkinData->Updating = false;
        RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      }
      break;
    case ACMD_SET_UPDATE_FLAG:
      FSkinData->Updating = AlphaCmdLow(Message.WParam) == 1;
      if (FSkinData->GetUpdating()) FSkinData->BGChanged = true;
      break;
    case ACMD_QUERY_PAINT_WAIT:
      Message.Result = FSkinData->Updating && !InAnimationProcess ? 1 : 0;
      break;
    case ACMD_FLAG_BG_CHANGED:
      FSkinData->BGChanged = true;
      break;
    case ACMD_QUERY_COLOR:
      Message.Result = GetBGColor(FSkinData.get(), 0);
      break;
    case ACMD_BUILD_CACHE:
      if (!aSkinChanging && FSkinData->BGChanged) {
        PaintAll();
        if (FSkinData->BGChanged &&
            (Form->ControlState().Contains(csCreating) ||
             (FormState & (acfs::BlendOnMoving | acfs::HideSnapshot)) || FSkinData->SkinIndex < 0))
          FSkinData->BGChanged = false;
      }
      break;
    case ACMD_HOVER_LEAVE:
      SetHotHT(-1, true);
      bTitleBtnDown = false;
      break;
    case ACMD_SCROLL_BEFORE:
      if (FSkinData->RepaintIfMoved()) SendMessageW(wnd, WM_SETREDRAW, 0, 0);
      break;
    case ACMD_SCROLL_AFTER:
      if (FSkinData->RepaintIfMoved()) {
        SendMessageW(wnd, WM_SETREDRAW, 1, 0);
        RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
      }
      break;
    case ACMD_QUERY_CHILD_BG_VARIES:
      Message.Result = ChildBgVaries() ? 1 : 0;
      Message.LParam = Message.Result;
      break;
    case ACMD_TITLEBAR_CHANGED:
      if (Message.LParam == 1) FSkinData->BGChanged = true;
      UpdateSkinCaption(this);
      break;
    default:
      break;
  }
}

// Children must repaint after they move when the form's background under
// them is not one colour: a gradient, a texture or a border mask drawn over
// the client area.
bool TsSkinProvider::ChildBgVaries() {
  TsSkinManager* m = FSkinData->GetSkinManager();
  if (!m || !m->IsValidSkinIndex(FSkinData->SkinIndex)) return false;
  const TsGenState& normal = m->Sections[static_cast<size_t>(FSkinData->SkinIndex)].Props[0];
  if (normal.GradientPercent + normal.ImagePercent > 0) return true;
  return m->IsValidImgIndex(FSkinData->BorderIndex) && (m->Masks[static_cast<size_t>(FSkinData->BorderIndex)].FillMode & 4);
}

void TsSkinProvider::QueryBGInfo(TMessage& Message) {
  auto* info = reinterpret_cast<TacBGInfo*>(Message.LParam);
  if (!info) return;
  info->Offset = TPoint{0, 0};
  if (FSkinData->BGChanged && (!FSkinData->Updating || SkinChanging) && IsCached(FSkinData.get())) PaintAll();
  if (info->PleaseDraw) info->Offset = TPoint{OffsetX(), OffsetY()};
  if (Form->OnPaint) {
    info->Bmp = FSkinData->CacheBmp.get();
    info->Offset = TPoint{OffsetX(), OffsetY()};
    info->BgType = btCache;
    return;
  }
  TsSkinManager* m = FSkinData->GetSkinManager();
  const Integer states = m->IsValidSkinIndex(FSkinData->SkinIndex)
                             ? m->Sections[static_cast<size_t>(FSkinData->SkinIndex)].StateCount - 1
                             : 0;
  InitBGInfo(FSkinData.get(), info, std::min<Integer>(FormActive ? 1 : 0, std::max(states, 0)));
  if (info->BgType == btCache && !info->PleaseDraw && !info->Bmp) {
    PaintAll();
    info->Bmp = FSkinData->CacheBmp.get();
  }
  info->Offset.X += OffsetX();
  if (info->Offset.X != 0) info->Borders.Left = std::max<Integer>(0, info->Borders.Left - info->Offset.X);
  info->Offset.Y += OffsetY();
  if (info->Offset.Y != 0) info->Borders.Top = std::max<Integer>(0, info->Borders.Top - info->Offset.Y);
}

// The skin goes: the form gets its plain look back.
void TsSkinProvider::SkinRemoved(TMessage& Message) {
  FreeScrollWnd();
  InitDwm(Form->WindowHandle(), false);
  CommonMessage(Message, FSkinData.get());
  MenuLinesCount = -1;
  TitleIndex = -1;
  CaptionSkinIndex = -1;
  AlphaBroadCast(Form, Message);
  AdapterRemove();
  if (IsDestroying(Form) || !Form->HandleAllocated()) return;
  HWND wnd = Form->WindowHandle();
  if (FSkinData->GetSkinManager()) {
    InitMenuItems(false);
    CheckSysMenu(false);
    if (HasBorder() && !InMenuLoop) SetWindowRgn(wnd, nullptr, TRUE);
    UpdateMenu();
    if (FUseGlobalColor && !FSkinData->CustomColor()) Form->SetColor(clBtnFace);
    InitExBorders(false);
    // The form, and an MDI parent's client too; never the whole screen.
    RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
  }
  for (int i = 0; i < Form->ControlCount(); ++i)
    if (dynamic_cast<TLabel*>(Form->Controls(i))) InitLabel(Form->Controls(i), false);
  FSkinData->CacheBmp.reset();
  FPrepared = false;
  PaintedOnce = false;
  RgnChanged = true;
}

// A skin comes while the form is plain.
void TsSkinProvider::SkinTaken() {
  KillAnimations();
  FSkinData->UpdateIndexes(true);
  TitleIndex = -1;
  TitleSkinIndex();
  TsSkinManager* m = FSkinData->GetSkinManager();
  CaptionSkinIndex = m ? m->GetSkinIndex(acsp::Caption) : -1;
  if (m) {
    TallTitle = false;
    FPrepared = Form->HandleAllocated();
    MakeSystemMenu();
    CheckSysMenu(true);
    UpdateIconsIndexes();
    if (!m->ComponentState().Contains(csLoading)) {
      if (Form->Menu() && MenuWasOwnerDrawn) MenuInitialized = true;
      InitMenuItems(true);
      if (!MenuInitialized) MenuInitialized = UpdateMenu();
    }
    FSkinData->BGChanged = true;
    MenuLinesCount = -1;
    if (FUseGlobalColor && !FSkinData->CustomColor()) Form->SetColor(m->GetGlobalColor());
    if (Form->HandleAllocated()) InitDwm(Form->WindowHandle(), FDrawNonClientArea);
  }
  AdapterCreate();
  RgnChanged = true;
}

void TsSkinProvider::SkinReloaded() {
  FSkinData->UpdateIndexes(true);
  TitleIndex = -1;
  TitleSkinIndex();
  TsSkinManager* m = FSkinData->GetSkinManager();
  CaptionSkinIndex = m ? m->GetSkinIndex(acsp::Caption) : -1;
  if (!m) return;
  UpdateIconsIndexes();
  CheckSysMenu(FDrawNonClientArea);
  FSkinData->BGChanged = true;
  MenuLinesCount = -1;
  RgnChanged = true;
  ProcessMessage(WM_NCPAINT);
}

void TsSkinProvider::SkinRepaint() {
  AdapterCreate();
  if (FDrawNonClientArea && DrawClientArea) UpdateFormScrolls(false);
  if (Form->Parent() && Form->FormStyle() != fsMDIChild) FSkinData->StateFlags &= ~1;
  MenuLinesCount = -1;
  if (HasBorder()) RgnChanged = true;
  const bool visible = Form->HandleAllocated() && IsWindowVisible(Form->WindowHandle());
  // Flagged before the menu bar is laid out again: the frame change that
  // lays it out paints the frame, and that paint is then the repaint (not a
  // paint of the old image followed by a second one of the new).
  if (visible) FSkinData->BGChanged = true;
  bool framePainted = false;
  TsSkinManager* m = FSkinData->GetSkinManager();
  if (m && !m->ComponentState().Contains(csLoading)) {
    // The painter measures the menu line from the menu font, not from the
    // skin: a line it already measured keeps its layout, and the frame's
    // repaint below draws it anew. A hidden form's line is laid out again
    // when it is next painted. Each layout costs a frame change.
    if (!MenuInitialized) {
      if (visible) MenuInitialized = framePainted = UpdateMenu();
    } else if (!visible && Form->Menu()) {
      MenuInitialized = false;
    }
    InitMenuItems(Skinned());
  }
  if (!visible) return;
  if (!InAnimationProcess)
    RedrawWindow(Form->WindowHandle(), nullptr, nullptr,
                 (framePainted ? 0 : RDW_FRAME) | RDW_UPDATENOW | RDW_NOCHILDREN | RDW_ERASE | RDW_INVALIDATE);
  if (FUseGlobalColor && !FSkinData->CustomColor() && m) Form->SetColor(m->GetGlobalColor());
  FSkinData->Updating = false;
}

// ------------------------------------------------------------ the editor

void TsSkinProvider::AC_ASEMSG(TMessage& Message) {
  switch (Message.WParam) {
    case acsp::ASE_CLOSE_FORM: Form->Close(); break;
    case acsp::ASE_PREVIEW_FORM: CallOld(Message); break;
    case acsp::ASE_QUERY_PRESENT: Message.Result = 1; break;
    default: break;
  }
}

// A record is read only when it is whole: a shorter block from the sender is
// ignored (it would be read past its end).
void TsSkinProvider::AC_WMCopyData(TMessage& Message) {
  CallOld(Message);
  if (Message.Result != 0) return;
  if (reinterpret_cast<NativeInt>(Form->WindowHandle()) != acPreviewHandle || acSkinPreviewUpdating) return;
  TFlagScope updating(acSkinPreviewUpdating);
  const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(Message.LParam);
  if (!data || Message.WParam != acsp::EditorCopyDataTag || !data->lpData || data->cbData < sizeof(TacEditorSkinRecord))
    return;
  std::int32_t magic = 0;
  std::memcpy(&magic, data->lpData, sizeof magic);
  if (static_cast<Cardinal>(magic) != ASE_MSG || !DefaultManager) return;
  if (!DefaultManager->EditorRecord) DefaultManager->EditorRecord = std::make_unique<TacEditorSkinRecord>();
  std::memcpy(DefaultManager->EditorRecord.get(), data->lpData, sizeof(TacEditorSkinRecord));
  if (Application) PostMessageW(Application->Handle(), SM_ALPHACMD, AlphaCmdParam(ACMD_EDITOR_DATA), 0);
}

// ------------------------------------------------------------ labels

void TsSkinProvider::InitLabel(TControl* Control, bool Skinned) {
  auto* label = dynamic_cast<TCustomLabel*>(Control);
  if (!label) return;
  auto found = std::find_if(LabelsColors.begin(), LabelsColors.end(),
                            [label](const TacLabelsColors& c) { return c.Control == label; });
  TsSkinManager* m = FSkinData->GetSkinManager();
  const bool transparentAlways = m && m->LabelsOptions()->TransparentAlways;
  if (Skinned) {
    if (label->Tag() & 0x100) return;
    if (found == LabelsColors.end()) {
      LabelsColors.push_back(TacLabelsColors{label, label->Font()->Color(), static_cast<Byte>(label->ParentFont())});
      if (label->Transparent() || transparentAlways)
        label->SetControlStyle(label->ControlStyle() - TControlStyle{csOpaque});
    }
    if (DefaultManager) label->Font()->SetColor(DefaultManager->GetGlobalFontColor());
    return;
  }
  if (found != LabelsColors.end()) {
    if (!found->ParentFont)
      label->Font()->SetColor(found->FontColor);
    else if (!label->ParentFont())
      label->SetParentFont(true);
    else if (label->Parent())
      label->Font()->SetColor(label->Parent()->Font()->Color());
    *found = LabelsColors.back();
    LabelsColors.pop_back();
  }
  if (label->Transparent() || transparentAlways) label->SetControlStyle(label->ControlStyle() + TControlStyle{csOpaque});
}

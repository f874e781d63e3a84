// The skinned push button: an owner-drawn button painted from its skin
// section, with an optional image from an image list (one index per state),
// three styles (push button, command link, split button with a drop-down
// menu) and margins around the image. It shares the bit button's states,
// cross-fade and region-cornered windows; without a skin it draws the plain
// look itself.
#pragma once

#include "classlib/ui/ImgList.h"
#include "classlib/ui/Menus.h"
#include "classlib/ui/StdCtrls.h"
#include "skin/controls/sBitBtn.h"
#include "skin/controls/sPushButton.h"

DK_ENUM(TImageAlignment, iaLeft, iaRight, iaTop, iaBottom, iaCenter);

namespace sbutton {
// The push button's styles (the class library's TButtonStyle of the bit
// button means something else).
DK_ENUM(TButtonStyle, bsPushButton, bsCommandLink, bsSplitButton);
}  // namespace sbutton

// Margins around a button's image; a change fires OnChange.
class TImageMargins : public TPersistent {
  DK_CLASS(TImageMargins, TPersistent)
 public:
  TImageMargins() = default;
  void Assign(TPersistent* Source) override;

  Integer Left() const { return FLeft; }
  Integer Top() const { return FTop; }
  Integer Right() const { return FRight; }
  Integer Bottom() const { return FBottom; }
  void SetLeft(Integer Value) { SetMargin(0, Value); }
  void SetTop(Integer Value) { SetMargin(1, Value); }
  void SetRight(Integer Value) { SetMargin(2, Value); }
  void SetBottom(Integer Value) { SetMargin(3, Value); }
  // Index 0 Left, 1 Top, 2 Right, 3 Bottom.
  void SetMargin(Integer Index, Integer Value);
  TNotifyEvent OnChange;

 protected:
  void Change();

 private:
  Integer FRight = 0, FBottom = 0, FTop = 0, FLeft = 0;
};

using TsButtonBase = TsPushButton<TButton, COC_TsButton>;
extern template class TsPushButton<TButton, COC_TsButton>;

class TsButton : public TsButtonBase {
  DK_CLASS(TsButton, TsButtonBase)
 public:
  explicit TsButton(TComponent* AOwner) : TsButtonBase(AOwner) {}
  ~TsButton() override;
  void Construct() override;
  void AfterConstruction() override;

  // ------------------------------------------------------ published properties

  TacAnimatEvents AnimatEvents() const { return FAnimatEvents; }
  void SetAnimatEvents(TacAnimatEvents Value) { FAnimatEvents = Value; }
  bool ShowFocus() const { return FShowFocus; }
  void SetShowFocus(bool Value);
  TsDisabledKind DisabledKind() const { return FDisabledKind; }
  void SetDisabledKind(TsDisabledKind Value);
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  Integer FocusMargin() const { return FFocusMargin; }
  void SetFocusMargin(Integer Value) { FFocusMargin = Value; }
  const AnsiString& CommandLinkHint() const { return FCommandLinkHint; }
  void SetCommandLinkHint(const AnsiString& Value);
  Integer DisabledImageIndex() const { return FDisabledImageIndex; }
  void SetDisabledImageIndex(Integer Value);
  TPopupMenu* DropDownMenu() const { return FDropDownMenu; }
  void SetDropDownMenu(TPopupMenu* Value);
  Integer HotImageIndex() const { return FHotImageIndex; }
  void SetHotImageIndex(Integer Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TImageAlignment ImageAlignment() const { return FImageAlignment; }
  void SetImageAlignment(TImageAlignment Value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  TImageMargins* ImageMargins() const { return FImageMargins.get(); }
  void SetImageMargins(TImageMargins* Value) { FImageMargins->Assign(Value); }
  Integer PressedImageIndex() const { return FPressedImageIndex; }
  void SetPressedImageIndex(Integer Value);
  Integer SelectedImageIndex() const { return FSelectedImageIndex; }
  void SetSelectedImageIndex(Integer Value);
  sbutton::TButtonStyle Style() const { return FStyle; }
  void SetStyle(sbutton::TButtonStyle Value);
  Integer ContentMargin() const { return FContentMargin; }
  void SetContentMargin(Integer Value);
  bool Reflected() const { return FReflected; }
  void SetReflected(bool Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);

  // ------------------------------------------------------ look

  // 0 normal, 1 hot, 2 pressed (also while the split menu is open), 3 default.
  Integer CurrentState();
  bool GlyphExist() const;
  // The image of the state (its own index, else ImageIndex).
  Integer GlyphIndex();
  TRect GlyphRect();
  TRect CaptionRect();
  bool PrepareCache();
  void DrawCaption(TCanvas* ACanvas = nullptr);
  bool GetDown() const { return FDown; }
  bool DroppedDown() const { return FDroppedDown; }


 protected:
  void CreateParams(TCreateParams& Params) override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WndProc(TMessage& Message) override;
  void SetButtonStyle(bool ADefault) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void ActionChange(TObject* Sender, bool CheckDefaults) override;

 private:
  bool IsSplit() const { return FStyle == sbutton::bsSplitButton; }
  TSize TextSize();
  TSize ImageSizeWithMargins() const;
  Integer ContentWidth() const { return IsSplit() ? Width() - 16 : Width(); }
  void OurPaintHandler(HDC ADC) override;
  void StdDrawItem(const DRAWITEMSTRUCT& DrawItemStruct);
  void ImageListChange(TObject* Sender);
  void ImageMarginsChange(TObject* Sender);
  void InvalidateIfImages();
  void ChangePaint(bool Clicked, TacAnimatEvent Event) override;
  void DropRegion();
  void DropDown();
  bool HandleSkinCommand(TMessage& Message);
  bool HandleSkinnedMessage(TMessage& Message) override;
  void UnskinnedWndProc(TMessage& Message);

  bool FMouseClicked = false;
  bool FDown = false;
  Integer FFocusMargin = 1;
  TsDisabledKind FDisabledKind{dkBlended};
  TacAnimatEvents FAnimatEvents{aeGlobalDef};
  TRect FLastRect;
  bool FShowFocus = true;
  bool FReflected = false;
  sbutton::TButtonStyle FStyle = sbutton::bsPushButton;
  Integer FContentMargin = 6;
  TPopupMenu* FDropDownMenu = nullptr;
  AnsiString FCommandLinkHint;
  std::unique_ptr<TChangeLink> FImageChangeLink;
  TCustomImageList* FImages = nullptr;
  TImageAlignment FImageAlignment = iaLeft;
  Integer FSelectedImageIndex = -1, FDisabledImageIndex = -1, FHotImageIndex = -1, FImageIndex = -1,
          FPressedImageIndex = -1;
  std::unique_ptr<TImageMargins> FImageMargins;
  bool FWordWrap = true;
  bool FIsDefault = false;
  bool FDroppedDown = false;
};

DK_LINK_UNIT(sButton)

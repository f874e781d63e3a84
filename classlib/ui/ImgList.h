// Image lists: a component over the system image list (32-bit colour with a
// mask), its change notification to linked objects (TChangeLink) and the
// published TImageList.
#pragma once

#include <vector>

#include "classlib/core/Classes.h"
#include "classlib/ui/Graphics.h"
#include "classlib/ui/WinApi.h"

DK_ENUM(TDrawingStyle, dsFocus, dsSelected, dsNormal, dsTransparent);
DK_ENUM(TImageType, itImage, itMask);

class TCustomImageList;

// A link an image list calls when its images change; the list clears the
// link's sender when it goes, and a link unregisters itself when it goes.
class TChangeLink : public TObject {
  DK_CLASS(TChangeLink, TObject)
 public:
  TChangeLink() = default;
  ~TChangeLink() override;
  TChangeLink(const TChangeLink&) = delete;
  TChangeLink& operator=(const TChangeLink&) = delete;

  TCustomImageList* Sender() const { return FSender; }
  void SetSender(TCustomImageList* Value) { FSender = Value; }
  virtual void Change();
  TNotifyEvent OnChange;

 private:
  TCustomImageList* FSender = nullptr;
};

// The system image list of Width x Height images, made when first needed
// (ILC_COLOR32, with ILC_MASK while Masked). Colours of the list's background
// and blending: clNone stands for CLR_NONE and clDefault for CLR_DEFAULT.
class TCustomImageList : public TComponent {
  DK_CLASS(TCustomImageList, TComponent)
 public:
  explicit TCustomImageList(TComponent* AOwner);
  ~TCustomImageList() override;
  void Assign(TPersistent* Source) override;

  // The system list, made when missing.
  HIMAGELIST Handle();
  // Takes over a system list (the old one is destroyed unless shared) and
  // takes its image size.
  void SetHandle(HIMAGELIST Value);
  bool HandleAllocated() const { return FHandle != nullptr; }
  // Hands the system list to the caller; the image list then has none.
  HIMAGELIST ReleaseHandle();

  Integer Count() const;
  Integer Width() const { return FWidth; }
  Integer Height() const { return FHeight; }
  // A new size empties the list.
  virtual void SetWidth(Integer Value);
  virtual void SetHeight(Integer Value);
  virtual TColor BkColor() const;
  virtual void SetBkColor(TColor Value);
  TColor BlendColor() const { return FBlendColor; }
  void SetBlendColor(TColor Value) { FBlendColor = Value; }
  TDrawingStyle DrawingStyle() const { return FDrawingStyle; }
  void SetDrawingStyle(TDrawingStyle Value);
  TImageType ImageType() const { return FImageType; }
  void SetImageType(TImageType Value);
  bool Masked() const { return FMasked; }
  void SetMasked(bool Value);
  bool ShareImages() const { return FShareImages; }
  void SetShareImages(bool Value) { FShareImages = Value; }
  Integer AllocBy() const { return FAllocBy; }
  void SetAllocBy(Integer Value) { FAllocBy = Value; }

  // A bitmap (and an optional mask) as new images, one per Width of it; the
  // index of the first, -1 on failure.
  Integer Add(TBitmap* Image, TBitmap* Mask);
  // The bitmap with the pixels of MaskColor transparent.
  Integer AddMasked(TBitmap* Image, TColor MaskColor);
  Integer AddIcon(TIcon* Image);
  Integer AddIconHandle(HICON Icon);
  void Replace(Integer Index, TBitmap* Image, TBitmap* Mask);
  void ReplaceIcon(Integer Index, TIcon* Image);
  void Delete(Integer Index);
  void Clear() { Delete(-1); }
  void Move(Integer CurIndex, Integer NewIndex);
  // The image as an icon (Image takes the icon).
  void GetIcon(Integer Index, TIcon* Image) { GetIcon(Index, Image, FDrawingStyle, FImageType); }
  void GetIcon(Integer Index, TIcon* Image, TDrawingStyle ADrawingStyle, TImageType AImageType);
  // The image drawn over the background colour into Image (Width x Height).
  bool GetBitmap(Integer Index, TBitmap* Image);
  void Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, bool Enabled = true);
  void Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, TDrawingStyle ADrawingStyle,
            TImageType AImageType, bool Enabled = true);

  void RegisterChanges(TChangeLink* Value);
  void UnRegisterChanges(TChangeLink* Value);
  // Change notifications wait until the last EndUpdate.
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  // Takes the icon size of a system list as Width and Height.
  void SetNewDimensions(HIMAGELIST Value);

  TNotifyEvent OnChange;

  // The ILD_ flags of a drawing style and image type.
  static UINT DrawFlags(TDrawingStyle ADrawingStyle, TImageType AImageType);
  // A colour as the system list takes it and back.
  static COLORREF ListColor(TColor Color);
  static TColor ColorOfList(COLORREF Color);

 protected:
  // The change notification: the linked objects, then OnChange.
  virtual void Change();
  // Draws one image; Style holds ILD_ flags.
  virtual void DoDraw(Integer Index, TCanvas* Canvas, Integer X, Integer Y, UINT Style, bool Enabled = true);
  // Makes the system list when missing.
  void HandleNeeded();
  // Destroys the system list unless shared.
  void FreeHandle();
  void AddImages(TCustomImageList* Value);

 private:
  HIMAGELIST FHandle = nullptr;
  Integer FWidth = 16, FHeight = 16;
  Integer FAllocBy = 4;
  TColor FBkColor = clNone;
  TColor FBlendColor = clNone;
  TDrawingStyle FDrawingStyle = dsNormal;
  TImageType FImageType = itImage;
  bool FMasked = true;
  bool FShareImages = false;
  Integer FUpdateCount = 0;
  bool FChanged = false;
  std::vector<TChangeLink*> FClients;
};

// The image list as forms publish it.
class TImageList : public TCustomImageList {
  DK_CLASS(TImageList, TCustomImageList)
 public:
  explicit TImageList(TComponent* AOwner) : TCustomImageList(AOwner) {}
};

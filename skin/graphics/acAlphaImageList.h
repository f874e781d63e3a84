// Image lists whose images keep their alpha channel. TsAlphaImageList keeps
// the whole file of every image (PNG, ICO or BMP) in an item, streams it with
// the form ("ImgData") and builds the system image list from it; it draws
// through 32-bit bitmaps decoded from those bytes, blended over what lies
// below. TsVirtualImageList shows a linked alpha list's images at another
// size. DrawAlphaImgList and DrawAlphaImgListDC draw one image of any image
// list with blending, greying and a reflection. GetImageFormat knows the
// files by their first bytes (portable).
#pragma once

#include "classlib/core/Classes.h"
#include "classlib/core/TypInfo.h"

DK_ENUM(TsImageFormat, ifPNG, ifICO, ifBMP32);

// The format of an image file by its first bytes: the PNG signature; 00 00
// in a file whose extension is "ico" (any case); "BM". False for anything
// else, for a file too short to hold the bytes tested and for a file that
// cannot be opened.
bool GetImageFormat(const AnsiString& FileName, TsImageFormat& Format);

#ifdef _WIN32

#include <memory>
#include <vector>

#include "classlib/ui/Graphics.h"
#include "classlib/ui/ImgList.h"

class TsAlphaImageList;

// One image: the exact bytes of its file and, while the list caches, its
// last decoded bitmap.
class TsImgListItem : public TCollectionItem {
  DK_CLASS(TsImgListItem, TCollectionItem)
 public:
  explicit TsImgListItem(TCollection* Collection);
  ~TsImgListItem() override;
  void Assign(TPersistent* Source) override;
  // "ImgData": the image file, always written.
  void DefineProperties(TFiler* Filer) override;

  TsImageFormat ImageFormat = ifPNG;
  TPixelFormat PixelFormat = pf32bit;
  AnsiString ImageName;
  // The decoded image's size (0 until known).
  Integer OrigWidth = 0, OrigHeight = 0;
  TMemoryStream* ImgData() const { return FImgData.get(); }
  TBitmap* CacheBmp() const { return FCacheBmp.get(); }
  void SetCacheBmp(std::unique_ptr<TBitmap> Value) { FCacheBmp = std::move(Value); }

 protected:
  void AssignTo(TPersistent* Dest) override;

 private:
  std::unique_ptr<TMemoryStream> FImgData;
  std::unique_ptr<TBitmap> FCacheBmp;
};

class TsImgListItems : public TCollection {
  DK_CLASS(TsImgListItems, TCollection)
 public:
  explicit TsImgListItems(TsAlphaImageList* AOwner);
  TsImgListItem* Items(int Index) const { return static_cast<TsImgListItem*>(TCollection::Items(Index)); }
  TsImgListItem* GetItem(int Index) const { return Items(Index); }
  void SetItem(int Index, TsImgListItem* Value) { TCollection::SetItem(Index, Value); }
  TsImgListItem* Add() { return static_cast<TsImgListItem*>(TCollection::Add()); }
  TPersistent* GetOwner() override;

 private:
  TsAlphaImageList* FOwner;
};

class TsAlphaImageList : public TImageList {
  DK_CLASS(TsAlphaImageList, TImageList)
 public:
  explicit TsAlphaImageList(TComponent* AOwner);
  ~TsAlphaImageList() override;
  void AfterConstruction() override;
  void Assign(TPersistent* Source) override;

  TsImgListItems* Items() const { return FItems.get(); }
  void SetItems(TsImgListItems* Value);
  Integer GetWidth() const { return Width(); }
  void SetWidth(Integer Value) override;
  Integer GetHeight() const { return Height(); }
  void SetHeight(Integer Value) override;
  // The own colour, or the system list's while it is 0x1FFFFFFF.
  TColor BkColor() const override;
  void SetBkColor(TColor Value) override;
  TColor GetBkColor() const { return BkColor(); }
  // The colour as stored (0x1FFFFFFF: the system list's).
  TColor OwnBkColor() const { return FBkColor; }
  bool UseCache() const { return FUseCache; }
  // Drops every item's cache.
  void SetUseCache(bool Value);

  // Adds the image of a file; false (and nothing added) for a file that is
  // not a PNG, icon or bitmap file, or when there is no system list.
  bool TryLoadFromFile(const AnsiString& FileName);
  // The same, with an error box for a file it cannot load.
  void LoadFromFile(const AnsiString& FileName);
  // A bitmap as a 32-bit BMP item (Mask is not used); its index in the
  // system list, -1 when no icon could be made.
  Integer Add(TBitmap* Image, TBitmap* Mask);
  // Bmp takes the image at its own size; false for a bad index, without a
  // system list or without Bmp.
  bool GetBitmap32(Integer Index, TBitmap* Bmp);
  // A new 32-bit bitmap of the image at Width x Height; nullptr for a bad
  // index or without a system list.
  std::unique_ptr<TBitmap> CreateBitmap32(Integer Index, Integer AWidth, Integer AHeight);
  // The system list built again from the items.
  void GenerateStdList();
  void CopyImages(TsAlphaImageList* ImgList);
  void MoveItem(Integer CurIndex, Integer NewIndex);
  // Empties every item's data (the items stay).
  void ItemsClear();
  bool IsDuplicated() const;
  void AcBeginUpdate() { FChanging = true; }
  void AcEndUpdate(bool DoChange = true);
  void KillImgList();
  void CreateImgList();
  bool ListGenerated() const { return FListGenerated; }

  // Draws an image at W x H from the item's cache (filled when missing),
  // without copying it: nullptr where CreateBitmap32 would not use the cache.
  TBitmap* CachedBitmap32(Integer Index, Integer AWidth, Integer AHeight);

 protected:
  void AssignTo(TPersistent* Dest) override;
  void Loaded() override;
  void Change() override;
  void DoDraw(Integer Index, TCanvas* Canvas, Integer X, Integer Y, UINT Style, bool Enabled = true) override;

 private:
  // An image is used from its file bytes (else from the system list's icon).
  bool AvailableAsData(Integer Index) const;
  bool DecodedFormat(Integer Index) const;
  // The image of a PNG or BMP item at W x H, decoded from its bytes.
  std::unique_ptr<TBitmap> DecodeItem(Integer Index, Integer AWidth, Integer AHeight);
  // The image from the system list's icon at W x H.
  std::unique_ptr<TBitmap> IconImage(Integer Index, Integer AWidth, Integer AHeight, bool KeyWhenNoManager);
  void RepairAlpha();

  std::unique_ptr<TsImgListItems> FItems;
  bool FListGenerated = false;
  bool FChanging = false;
  TColor FBkColor = clNone;
  bool FUseCache = true;
  // Whether items keep their files (nothing clears it).
  const bool FKeepData = true;
};

// The images of a linked alpha list at its own Width x Height, resampled
// when needed, optionally kept in a cache of scaled images.
class TsVirtualImageList : public TCustomImageList {
  DK_CLASS(TsVirtualImageList, TCustomImageList)
 public:
  explicit TsVirtualImageList(TComponent* AOwner);
  ~TsVirtualImageList() override;
  void AfterConstruction() override;

  // The linked list's image count (0 without one).
  Integer Count() const;
  bool GetBitmap32(Integer Index, TBitmap* Bmp);
  // Fills the empty cache slot of ItemIndex, or every empty slot for a
  // negative index.
  void RenderCacheNow(Integer ItemIndex = -1);
  void GenerateStdList();
  void UpdateList(bool Force);
  void ClearItems();
  void AcBeginUpdate() { FChanging = true; }
  void AcEndUpdate(bool DoChange = true);

  TsAlphaImageList* AlphaImageList() const { return FAlphaImageList; }
  void SetAlphaImageList(TsAlphaImageList* Value);
  void SetWidth(Integer Value) override;
  void SetHeight(Integer Value) override;
  bool UseCache() const { return FUseCache; }
  void SetUseCache(bool Value);
  // The cached image of a slot (nullptr while empty or without the slot).
  TBitmap* CachedImage(Integer Index) const;
  // Fills the cache slot when empty; nullptr without the slot.
  TBitmap* CacheSlot(Integer Index);
  Integer CacheLength() const { return static_cast<Integer>(FCache.size()); }

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Change() override;
  void DoDraw(Integer Index, TCanvas* Canvas, Integer X, Integer Y, UINT Style, bool Enabled = true) override;

 private:
  void ImageListChange(TObject* Sender);
  std::unique_ptr<TBitmap> RenderImage(Integer Index);

  std::vector<std::unique_ptr<TBitmap>> FCache;
  std::unique_ptr<TChangeLink> FChangeLink;
  bool FListGenerated = false;
  bool FChanging = false;
  TsAlphaImageList* FAlphaImageList = nullptr;
  bool FUseCache = true;
};

// Draws one glyph of an image (the list's width divided into GlyphCount
// glyphs, State picking one; a count below 1 counts as 1, a state beyond the
// last glyph takes the last) at (Left, Top) of a 32-bit bitmap, blended by
// its alpha, faded by Blend percent, tinted toward GrayColor (0x1FFFFFFF:
// none) and mirrored below itself with Reflection. Answers the glyph's size;
// (0, 0) when nothing could be drawn.
TSize DrawAlphaImgList(TCustomImageList* ImgList, TBitmap* DestBmp, Integer Left, Integer Top, Integer ImageIndex,
                       Integer Blend, TColor GrayColor, Integer State, Integer GlyphCount, bool Reflection);
// The same onto a device context.
void DrawAlphaImgListDC(TCustomImageList* ImgList, HDC DC, Integer Left, Integer Top, Integer ImageIndex,
                        Integer Blend, TColor GrayColor, Integer State, Integer GlyphCount, bool Reflection);
// Adds an icon resource, or a PNG stored as RCDATA, to an alpha list.
bool AddImageFromRes(HINSTANCE Instance, TsAlphaImageList* ImgList, const AnsiString& ResName, TsImageFormat Format);

#endif

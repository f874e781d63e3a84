// Skins stored inside the program: items of the manager's collection whose
// "Data" is a packed skin container, streamed with the form that owns the
// manager.
#pragma once

#include <memory>

#include "classlib/core/Classes.h"
#include "classlib/ui/Graphics.h"

class TsSkinManager;

class TsStoredSkin : public TCollectionItem {
  DK_CLASS(TsStoredSkin, TCollectionItem)
 public:
  explicit TsStoredSkin(TCollection* Collection);
  ~TsStoredSkin() override;
  void Assign(TPersistent* Source) override;
  void DefineProperties(TFiler* Filer) override;

  const AnsiString& Name() const { return FName; }
  void SetName(const AnsiString& Value);
  TBitmap* MasterBitmap() const { return FMasterBitmap.get(); }
  void SetMasterBitmap(TBitmap* Value) { FMasterBitmap->Assign(Value); }
  // The packed skin container.
  TMemoryStream* DataStream() const { return FDataStream.get(); }

  TColor Shadow1Color = 0;
  Integer Shadow1Offset = 0;
  Integer Shadow1Blur = -1;
  Integer Shadow1Transparency = 0;
  TColor BorderColor = 0xFF00FF;
  double Version = 0;
  AnsiString Author;
  AnsiString Description;

 private:
  AnsiString FName;
  std::unique_ptr<TBitmap> FMasterBitmap;
  std::unique_ptr<TMemoryStream> FDataStream;
};

class TsStoredSkins : public TCollection {
  DK_CLASS(TsStoredSkins, TCollection)
 public:
  explicit TsStoredSkins(TsSkinManager* AOwner);
  ~TsStoredSkins() override;
  TsStoredSkin* Items(int Index) const { return static_cast<TsStoredSkin*>(TCollection::Items(Index)); }
  TPersistent* GetOwner() override;
  // The first item of exactly that name; -1 when none.
  int IndexOf(const AnsiString& Name) const;
  // Assigning a whole collection copies nothing: items come by streaming or
  // by being added.
  void Assign(TPersistent* Source) override {}

 protected:
  void Update(TCollectionItem* Item) override;

 private:
  TsSkinManager* FOwner;
};

#include "skin/core/sStoredSkins.h"

#include "skin/core/sSkinManager.h"

TsStoredSkin::TsStoredSkin(TCollection* Collection)
    : TCollectionItem(Collection), FMasterBitmap(std::make_unique<TBitmap>()),
      FDataStream(std::make_unique<TMemoryStream>()) {}

TsStoredSkin::~TsStoredSkin() = default;

void TsStoredSkin::SetName(const AnsiString& Value) {
  if (FName == Value) return;
  FName = Value;
  Changed(false);
}

void TsStoredSkin::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TsStoredSkin*>(Source);
  if (!s) {
    inherited::Assign(Source);
    return;
  }
  FDataStream->Clear();
  s->FDataStream->SetPosition(0);
  if (s->FDataStream->Size() > 0) FDataStream->CopyFrom(s->FDataStream.get(), 0);
  FName = s->FName;
  FMasterBitmap->Assign(s->FMasterBitmap.get());
  Shadow1Color = s->Shadow1Color;
  Shadow1Offset = s->Shadow1Offset;
  Shadow1Blur = s->Shadow1Blur;
  Shadow1Transparency = s->Shadow1Transparency;
  BorderColor = s->BorderColor;
  Version = s->Version;
  Author = s->Author;
  Description = s->Description;
  Changed(false);
}

void TsStoredSkin::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      "Data", [this](TStream* s) { FDataStream->LoadFromStream(s); },
      [this](TStream* s) { FDataStream->SaveToStream(s); }, true);
}

TsStoredSkins::TsStoredSkins(TsSkinManager* AOwner) : TCollection(TsStoredSkin::StaticClass()), FOwner(AOwner) {}

TsStoredSkins::~TsStoredSkins() { FOwner = nullptr; }

TPersistent* TsStoredSkins::GetOwner() { return FOwner; }

int TsStoredSkins::IndexOf(const AnsiString& Name) const {
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->Name() == Name) return i;
  return -1;
}

void TsStoredSkins::Update(TCollectionItem* Item) {
  inherited::Update(Item);
  if (FOwner && FOwner->OnSkinListChanged) FOwner->OnSkinListChanged(FOwner);
}

DK_PUBLISH(TsStoredSkin) {
  P.Property("Name", &TsStoredSkin::Name, &TsStoredSkin::SetName);
  P.Property("MasterBitmap", &TsStoredSkin::MasterBitmap, &TsStoredSkin::SetMasterBitmap);
  P.Property("Shadow1Color", &TsStoredSkin::Shadow1Color).Type(TypeInfoTColor());
  P.Property("Shadow1Offset", &TsStoredSkin::Shadow1Offset);
  P.Property("Shadow1Blur", &TsStoredSkin::Shadow1Blur).Default(-1);
  P.Property("Shadow1Transparency", &TsStoredSkin::Shadow1Transparency);
  P.Property("BorderColor", &TsStoredSkin::BorderColor).Type(TypeInfoTColor()).Default(0xFF00FF);
  P.Property("Version", &TsStoredSkin::Version);
  P.Property("Author", &TsStoredSkin::Author);
  P.Property("Description", &TsStoredSkin::Description);
}

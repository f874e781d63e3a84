// The skin manager as the painters see it. On Windows it is the component
// itself; elsewhere there is no component, only the tables of a loaded skin,
// so that the painters build and run natively on skins loaded by the
// portable loader (a native program makes a TsSkinManager, loads a skin into
// it and names it as the images' owner).
#pragma once

#include "skin/core/acSkinTables.h"
#include "skin/core/sMaskData.h"

#ifdef _WIN32
#include "skin/core/sSkinManager.h"
#else
class TsSkinManager : public TacSkinTables {
 public:
  bool Active() const { return FActive; }
  void SetActive(bool Value) { FActive = Value; }

 private:
  bool FActive = true;
};
// The first manager created; natively the one a program names itself.
extern TsSkinManager* DefaultManager;
#endif

// The manager a painter works with: the given one, else the default one.
inline TsSkinManager* acManagerOr(TsSkinManager* Given) { return Given ? Given : DefaultManager; }

// The bitmap an image lies in: its own, else its manager's master image
// (nullptr without either).
inline TacBitmap* ImageBitmap(const TsMaskData& Md) {
  if (Md.Bitmap) return Md.Bitmap.get();
  return Md.OwnerManager ? Md.OwnerManager->MasterBitmap.get() : nullptr;
}

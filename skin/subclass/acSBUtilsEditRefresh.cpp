// The refresh functions of the edit-like and tree subclasses (apart, so that
// a program without those subclasses links without them).
#include "skin/subclass/acSBUtils.h"

void RefreshEditScrolls(TsScrollWndData* SkinData, TacScrollWnd*& Obj) {
  if (!SkinData) return;
  if (SkinData->Skinned()) {
    AttachScrollObject(SkinData, Obj, &NewEditWnd);
  } else {
    FreeScrollObject(Obj);
  }
}

void RefreshTreeScrolls(TsScrollWndData* SkinData, TacScrollWnd*& Obj) {
  if (!SkinData) return;
  if (SkinData->Skinned()) {
    AttachScrollObject(SkinData, Obj, &NewTreeViewWnd);
  } else {
    FreeScrollObject(Obj);
  }
}


// The child-control adapter of a skinned form: the controls of the form that
// have no skin support of their own are found by class name in the skin
// manager's class-name lists (one list per kind, TacThirdPartyTypes) and get
// the subclass object of that kind. Labels of the class library are
// recoloured by the provider; a form placed inside the form gets a provider
// of its own. The application may veto or re-parameterise every control
// through the provider's OnSkinItem and OnSkinItemEx.
//
// The adapter belongs to the form's TsSkinProvider (its Adapter field); the
// provider reaches it through the seams this unit fills when it starts.
#pragma once

#include "skin/forms/sSkinProvider.h"
#include "skin/subclass/acSBUtils.h"

class TacCtrlAdapter;
class TacSpeedButtonHandler;
class TSpeedButton;

// One adapted window control and its subclass object.
class TacAdapterItem : public TPersistent {
  DK_CLASS(TacAdapterItem, TPersistent)
 public:
  TacAdapterItem(TacCtrlAdapter* AAdapter, TWinControl* AControl);
  ~TacAdapterItem() override;
  // Attaches the subclass object of the first class-name list that holds
  // the control's class name (nothing when none does).
  void DoHook(TWinControl* AControl, const TacSkinParams& Params);

  TWinControl* Ctrl = nullptr;
  TacCtrlAdapter* Adapter = nullptr;
  TacMainWnd* ScrollWnd = nullptr;  // owned, nullptr when the control was not taken
};

// One adapted speed button: its skin state and the handler that paints it.
class TacGraphItem : public TPersistent {
  DK_CLASS(TacGraphItem, TPersistent)
 public:
  TacGraphItem();
  ~TacGraphItem() override;
  // Puts a handler in front of the button's WindowProc.
  void DoHook(TControl* AControl);

  TControl* Ctrl = nullptr;
  TsCommonData* SkinData = nullptr;         // owned
  TacCtrlAdapter* Adapter = nullptr;
  TacSpeedButtonHandler* Handler = nullptr;  // owned
};

class TacCtrlAdapter : public TPersistent {
  DK_CLASS(TacCtrlAdapter, TPersistent)
 public:
  explicit TacCtrlAdapter(TsSkinProvider* AProvider);
  ~TacCtrlAdapter() override;

  // Adapts the supported controls of a control tree (nullptr: the form).
  // Needs srThirdParty in the manager's SkinningRules.
  void AddAllItems(TWinControl* OwnerCtrl = nullptr);
  void AddNewItem(TWinControl* Ctrl);
  void AddNewItem(TWinControl* Ctrl, const AnsiString& SkinSection);
  void AddNewItem(TSpeedButton* Button);
  bool IsControlSupported(TComponent* Control);

  // Drops the items whose object is gone or detached (their window was
  // destroyed or re-created); the rest keep their order.
  void CleanItems();
  void RemoveAllItems();
  void RemoveItem(Integer Index);
  Integer IndexOf(TWinControl* Ctrl) const;
  TacAdapterItem* GetItem(Integer Index) const;
  Integer Count() const { return static_cast<Integer>(Items.size()); }
  TsCommonData* GetCommonData(Integer) const { return nullptr; }
  // Passes the message to the adapted windows.
  void WndProc(TMessage& Message);

  TsSkinProvider* Provider() const { return FProvider; }
  TsSkinManager* Manager() const;

  AnsiString DefaultSection;          // never set: empty
  std::vector<TacAdapterItem*> Items; // owned
  std::vector<TacGraphItem*> GraphItems;  // owned, one per adapted speed button

 private:
  // The application's answer for a control (OnSkinItem, then OnSkinItemEx).
  bool ApplicationAgrees(TComponent* Control, TacSkinParams& Params) const;
  void AddItemsOf(TWinControl* OwnerCtrl);
  void AddOne(TComponent* Component);
  TsSkinProvider* FProvider;
};

// Set while an adapter adds all its items (no second run through messages
// sent meanwhile).
extern bool bFlag;

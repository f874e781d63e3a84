#include "skin/forms/sSkinProviderAdapter.h"
#include "skin/subclass/acSBUtilsSpeedButton.h"

#include <algorithm>

#include "classlib/ui/Buttons.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/acDwm.h"
#include "skin/subclass/acSBUtilsButtons.h"
#include "skin/subclass/acSBUtilsEdits.h"

// Named at link time so that the unit (and its start-up) is always kept.
extern "C" const int acProviderAdapterUnit = 0;

bool bFlag = false;

namespace {

// The subclass class of each class-name list (TacThirdPartyTypes order);
// nullptr where this build makes none (speed buttons never take a window
// object).
using TacWndFactory = TacMainWnd* (*)(HWND, TsSkinManager*, const TacSkinParams&);

template <class T>
TacMainWnd* Make(HWND Wnd, TsSkinManager* Manager, const TacSkinParams& Params) {
  return acCreateWnd<T>(Wnd, nullptr, Manager, Params, true);
}

const TacWndFactory kSubclassOf[acThirdPartyTypeCount] = {
    Make<TacEditWnd>,  // tpEdit
    Make<TacBtnWnd>,  // tpButton
    nullptr,  // tpBitBtn
    Make<TacCheckBoxWnd>,  // tpCheckBox
    Make<TacComboBoxWnd>,  // tpComboBox
    nullptr,  // tpGrid
    Make<TacGroupBoxWnd>,  // tpGroupBox
    nullptr,  // tpListView
    nullptr,  // tpPanel
    Make<TacTreeViewWnd>,  // tpTreeView
    nullptr,  // tpwwEdit
    nullptr,  // tpGridEh
    nullptr,  // tpVirtualTree
    nullptr,  // tpPageControl
    nullptr,  // tpTabControl
    nullptr,  // tpToolBar
    nullptr,  // tpStatusBar
    nullptr,  // tpSpeedButton: no window object
    Make<TacScrollBoxWnd>,  // tpScrollControl
    nullptr,  // tpUpDownBtn
    nullptr,  // tpScrollBar
    Make<TacStaticTextWnd>,  // tpStaticText
    Make<TacNativePaint>,  // tpNativePaint
};

// The index of the first class-name list holding the name (case-sensitive,
// the class itself only), -1 when none does.
int ListOf(TsSkinManager* Manager, const AnsiString& ClassName) {
  if (!Manager) return -1;
  for (int i = 0; i < acThirdPartyTypeCount; ++i) {
    const TStringList* list = Manager->ThirdLists[static_cast<size_t>(i)].get();
    if (!list) continue;
    for (int j = 0; j < list->Count(); ++j)
      if (list->Strings(j) == ClassName) return i;
  }
  return -1;
}

bool Hooked(TControl* Control) { return SendAMessage(Control, ACMD_QUERY_HOOKED) == 1; }

// Skinned labels paint themselves; only the class library's labels are
// recoloured.
bool IsSkinnedLabel(const TControl* Control) {
  for (TClass c = Control->ClassType(); c; c = c->ClassParent())
    if (c->ClassName() == "TsCustomLabel") return true;
  return false;
}

TacSkinParams DefaultParams(const AnsiString& Section) {
  TacSkinParams params;
  params.SkinSection = Section;
  return params;
}

class TFlagScope {
 public:
  explicit TFlagScope(bool& Flag) : FFlag(Flag) { FFlag = true; }
  ~TFlagScope() { FFlag = false; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

 private:
  bool& FFlag;
};

}  // namespace

// ------------------------------------------------------------ TacAdapterItem

TacAdapterItem::TacAdapterItem(TacCtrlAdapter* AAdapter, TWinControl* AControl) : Ctrl(AControl), Adapter(AAdapter) {}

TacAdapterItem::~TacAdapterItem() { FreeAndNil(ScrollWnd); }

void TacAdapterItem::DoHook(TWinControl* AControl, const TacSkinParams& Params) {
  if (!AControl || (AControl->Tag() & 0x100) || !AControl->HandleAllocated() || !AControl->Parent() ||
      Hooked(AControl))
    return;
  Ctrl = AControl;
  TsSkinManager* manager = Adapter->Manager();
  const int list = ListOf(manager, AControl->ClassName());
  if (list < 0 || !kSubclassOf[list]) return;
  TacSkinParams params = Params;
  params.Control = AControl;
  ScrollWnd = kSubclassOf[list](AControl->WindowHandle(), manager, params);
}

// ------------------------------------------------------------ TacGraphItem

TacGraphItem::TacGraphItem() : SkinData(new TsCommonData(this, true)) { SkinData->KindCode = 230; }

TacGraphItem::~TacGraphItem() {
  FreeAndNil(Handler);
  delete SkinData;
  SkinData = nullptr;
}

void TacGraphItem::DoHook(TControl* AControl) {
  if (!AControl || (AControl->Tag() & 0x100)) return;
  Ctrl = AControl;
  SkinData->OwnerControl = AControl;
  SkinData->OwnerObject = AControl;
  SkinData->UpdateIndexes(true);
  Handler = new TacSpeedButtonHandler(AControl, SkinData, SkinData->GetSkinManager(), SkinData->SkinSection(), true);
}

// ------------------------------------------------------------ TacCtrlAdapter

TacCtrlAdapter::TacCtrlAdapter(TsSkinProvider* AProvider) : FProvider(AProvider) {}

TacCtrlAdapter::~TacCtrlAdapter() {
  CleanItems();
  RemoveAllItems();
  // Freed while another adapter removes its items: nothing of ours is kept.
  for (TacAdapterItem* item : Items)
    if (item) item->Free();
  Items.clear();
}

TsSkinManager* TacCtrlAdapter::Manager() const {
  return FProvider && FProvider->SkinData() ? FProvider->SkinData()->GetSkinManager() : DefaultManager;
}

bool TacCtrlAdapter::ApplicationAgrees(TComponent* Control, TacSkinParams& Params) const {
  bool canBeAdded = true;
  if (FProvider->OnSkinItem) {
    FProvider->OnSkinItem(Control, canBeAdded, Params.SkinSection);
    if (!canBeAdded) return false;
  }
  if (FProvider->OnSkinItemEx) FProvider->OnSkinItemEx(Control, canBeAdded, &Params);
  return canBeAdded;
}

bool TacCtrlAdapter::IsControlSupported(TComponent* Control) {
  if (!Control || (Control->Tag() & 0x100)) return false;
  auto* win = dynamic_cast<TWinControl*>(Control);
  if (win && (!win->HandleAllocated() || Hooked(win))) return false;
  TacSkinParams params = DefaultParams("");
  if (dynamic_cast<TGraphicControl*>(Control)) {
    if (dynamic_cast<TCustomLabel*>(Control)) return ApplicationAgrees(Control, params);
    return dynamic_cast<TSpeedButton*>(Control) && ListOf(Manager(), Control->ClassName()) >= 0 &&
           ApplicationAgrees(Control, params);
  }
  if (dynamic_cast<TForm*>(Control)) return ApplicationAgrees(Control, params);
  return ListOf(Manager(), Control->ClassName()) >= 0;
}

void TacCtrlAdapter::AddAllItems(TWinControl* OwnerCtrl) {
  TsSkinManager* manager = Manager();
  if (bFlag || !manager || !manager->SkinningRules().Contains(srThirdParty)) return;
  TFlagScope running(bFlag);
  if (!OwnerCtrl) OwnerCtrl = FProvider->Form;
  if (!OwnerCtrl) return;
  CleanItems();
  AddItemsOf(OwnerCtrl);
}

// The components the control owns, then its child controls; each window
// control with a window is walked in turn.
void TacCtrlAdapter::AddItemsOf(TWinControl* OwnerCtrl) {
  auto walk = [this](TComponent* Component) {
    AddOne(Component);
    auto* win = dynamic_cast<TWinControl*>(Component);
    if (win && win->HandleAllocated() && win->Parent()) AddItemsOf(win);
  };
  for (int i = 0; i < OwnerCtrl->ComponentCount(); ++i) walk(OwnerCtrl->Components(i));
  for (int i = 0; i < OwnerCtrl->ControlCount(); ++i) walk(OwnerCtrl->Controls(i));
}

void TacCtrlAdapter::AddOne(TComponent* Component) {
  if (!IsControlSupported(Component)) return;
  if (auto* win = dynamic_cast<TWinControl*>(Component)) {
    AddNewItem(win, "");
  } else if (auto* label = dynamic_cast<TCustomLabel*>(Component); label && !IsSkinnedLabel(label)) {
    FProvider->InitLabel(label, true);
  } else if (auto* button = dynamic_cast<TSpeedButton*>(Component)) {
    AddNewItem(button);
  }
}

void TacCtrlAdapter::AddNewItem(TSpeedButton* Button) {
  if (!Button || (Button->Tag() & 0x100) || !Button->Parent() || Button->Perform(SM_ALPHACMD, AlphaCmdParam(ACMD_QUERY_HOOKED), 0) == 1)
    return;
  TacSkinParams params = DefaultParams("SPEEDBUTTON");
  if (!ApplicationAgrees(Button, params)) return;
  auto found = std::find_if(GraphItems.begin(), GraphItems.end(),
                            [Button](TacGraphItem* item) { return item && item->Ctrl == Button; });
  TacGraphItem* item = found == GraphItems.end() ? nullptr : *found;
  const bool fresh = !item;
  if (fresh) {
    item = new TacGraphItem;
    item->Adapter = this;
    item->Ctrl = Button;
    GraphItems.push_back(item);
  }
  item->SkinData->SetSkinSection(Button->Flat() ? "SPEEDBUTTON_SMALL" : "SPEEDBUTTON");
  if (Manager() && Manager() != DefaultManager) item->SkinData->SetSkinManager(Manager());
  if (!fresh) {
    if (item->Handler && item->Handler->Unhooked) {
      FreeAndNil(item->Handler);
      item->DoHook(Button);
    }
    return;
  }
  if (Button->Parent()) item->DoHook(Button);
  if (!item->Handler) {
    GraphItems.pop_back();
    item->Free();
  }
}

void TacCtrlAdapter::AddNewItem(TWinControl* Ctrl) { AddNewItem(Ctrl, DefaultSection); }

void TacCtrlAdapter::AddNewItem(TWinControl* Ctrl, const AnsiString& SkinSection) {
  if (!Ctrl || (Ctrl->Tag() & 0x100) || !Ctrl->Parent() || Hooked(Ctrl)) return;
  TacSkinParams params = DefaultParams(SkinSection);
  if (!ApplicationAgrees(Ctrl, params)) return;
  if (auto* form = dynamic_cast<TForm*>(Ctrl)) {
    // A form placed inside the form skins itself; it owns its provider.
    auto* provider = Create<TsSkinProvider>(form);
    provider->SkinData()->SetSkinSection(params.SkinSection.empty() ? AnsiString("FORM") : params.SkinSection);
    provider->PrepareForm();
    if (form->HandleAllocated()) InitDwm(form->WindowHandle(), true);
    return;
  }
  const Integer index = IndexOf(Ctrl);
  if (index < 0) {
    auto* item = new TacAdapterItem(this, Ctrl);
    Items.push_back(item);
    item->DoHook(Ctrl, params);
    if (!item->ScrollWnd) {
      Items.pop_back();
      item->Free();
    }
    return;
  }
  TacAdapterItem* item = Items[static_cast<size_t>(index)];
  if (item->ScrollWnd && item->ScrollWnd->Detached) {
    // The window was re-created: a new object for the new window.
    FreeAndNil(item->ScrollWnd);
    item->DoHook(Ctrl, params);
  }
}

void TacCtrlAdapter::CleanItems() {
  auto gone = [](TacAdapterItem* item) {
    if (item && item->ScrollWnd && !item->ScrollWnd->Detached) return false;
    if (item) item->Free();
    return true;
  };
  Items.erase(std::remove_if(Items.begin(), Items.end(), gone), Items.end());
  auto graphGone = [](TacGraphItem* item) {
    if (item && item->Handler && !item->Handler->Unhooked) return false;
    if (item) item->Free();
    return true;
  };
  GraphItems.erase(std::remove_if(GraphItems.begin(), GraphItems.end(), graphGone), GraphItems.end());
}

void TacCtrlAdapter::RemoveAllItems() {
  if (bRemoving) return;
  TFlagScope removing(bRemoving);
  while (!Items.empty()) {
    TacAdapterItem* item = Items.back();
    Items.pop_back();
    if (item) item->Free();
  }
  const bool terminating = Application && Application->Terminated();
  while (!GraphItems.empty()) {
    TacGraphItem* item = GraphItems.back();
    GraphItems.pop_back();
    if (!item) continue;
    // A button being destroyed with the program is left alone.
    if (terminating) {
      item->Ctrl = nullptr;
      if (item->Handler) item->Handler->Control = nullptr;
    }
    item->Free();
  }
}

void TacCtrlAdapter::RemoveItem(Integer Index) {
  if (Index < 0 || Index >= Count()) return;
  Items[static_cast<size_t>(Index)]->Free();
  Items[static_cast<size_t>(Index)] = Items.back();
  Items.pop_back();
}

Integer TacCtrlAdapter::IndexOf(TWinControl* Ctrl) const {
  for (size_t i = 0; i < Items.size(); ++i)
    if (Items[i] && Items[i]->Ctrl == Ctrl) return static_cast<Integer>(i);
  return -1;
}

TacAdapterItem* TacCtrlAdapter::GetItem(Integer Index) const {
  return Index >= 0 && Index < Count() ? Items[static_cast<size_t>(Index)] : nullptr;
}

void TacCtrlAdapter::WndProc(TMessage& Message) {
  // A window's answer may add or drop items (and free them): the list is read
  // afresh at every step instead of through a copy or an iterator.
  for (size_t i = 0; i < Items.size(); ++i) {
    TacAdapterItem* item = Items[i];
    if (!item || !item->ScrollWnd || item->ScrollWnd->Detached || !item->Ctrl->Parent()) continue;
    SendMessageW(item->Ctrl->WindowHandle(), Message.Msg, Message.WParam, Message.LParam);
  }
}

// ------------------------------------------------------------ the provider's seams

namespace {

void SeamAdapterCreate(TsSkinProvider* Provider) {
  if (!Provider->Adapter) Provider->Adapter = new TacCtrlAdapter(Provider);
  if (Provider->Form) Provider->Adapter->AddAllItems(nullptr);
}

void SeamAdapterRemove(TsSkinProvider* Provider) {
  TMessage message{SM_ALPHACMD, AlphaCmdParam(ACMD_SKIN_UNLOADED),
                   reinterpret_cast<LPARAM>(Provider->SkinData()->GetSkinManager()), 0};
  Provider->Adapter->WndProc(message);
  FreeAndNil(Provider->Adapter);
}

void SeamSendToAdapter(TsSkinProvider* Provider, const TMessage& Message) {
  TMessage copy = Message;
  Provider->Adapter->WndProc(copy);
}

void SeamFreeAdapter(TsSkinProvider* Provider) { FreeAndNil(Provider->Adapter); }

[[gnu::used]] const bool kSeamsFilled = [] {
  acProviderSeams.AdapterCreate = SeamAdapterCreate;
  acProviderSeams.AdapterRemove = SeamAdapterRemove;
  acProviderSeams.SendToAdapter = SeamSendToAdapter;
  acProviderSeams.FreeAdapter = SeamFreeAdapter;
  return true;
}();

}  // namespace

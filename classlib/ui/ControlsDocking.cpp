// The least of docking: dock sites, their docked clients and the dock
// manager that keeps the clients' places.
#include "classlib/ui/Controls.h"

#include <algorithm>

TClass DefaultDockTreeClass = TDockTree::StaticClass();

void TDockTree::InsertControl(TControl* Control, const TRect& Bounds) {
  if (Control) Control->SetBoundsRect(Bounds);
}

namespace {

// A new dock manager of the class DefaultDockTreeClass names (a plain
// TDockTree when that class cannot be made without arguments).
std::unique_ptr<TDockTree> NewDockManager(TWinControl* Site) {
  std::unique_ptr<TDockTree> tree;
  TClass cls = DefaultDockTreeClass;
  if (cls && cls->FactoryKind == TFactoryKind::Plain && cls->InheritsFrom(TDockTree::StaticClass()))
    tree.reset(dynamic_cast<TDockTree*>(cls->CreateInstance()));
  if (!tree) tree = std::make_unique<TDockTree>();
  tree->SetDockSite(Site);
  return tree;
}

}  // namespace

void TWinControl::SetDockSite(bool Value) {
  if (FDockSite == Value) return;
  FDockSite = Value;
  if (Value) {
    FDockManager = NewDockManager(this);
  } else {
    while (!FDockClients.empty()) FDockClients.back()->ManualDock(nullptr);
    FDockManager.reset();
  }
}

void TWinControl::UndockClient(TControl* Client) {
  auto at = std::find(FDockClients.begin(), FDockClients.end(), Client);
  if (at == FDockClients.end()) return;
  FDockClients.erase(at);
  Client->FHostDockSite = nullptr;
  if (FDockManager) FDockManager->RemoveControl(Client);
  Perform(CM_UNDOCKCLIENT, 0, reinterpret_cast<LPARAM>(Client));
}

bool TControl::ManualDock(TWinControl* NewDockSite, const TRect* Bounds) {
  if (NewDockSite && !NewDockSite->DockSite()) return false;
  if (NewDockSite == this) throw EInvalidOperation("A control cannot dock into itself");
  const TRect place = Bounds ? *Bounds : BoundsRect();
  if (FHostDockSite) FHostDockSite->UndockClient(this);
  if (!NewDockSite) return true;
  SetParent(NewDockSite);
  NewDockSite->FDockClients.push_back(this);
  FHostDockSite = NewDockSite;
  if (NewDockSite->FDockManager) NewDockSite->FDockManager->InsertControl(this, place);
  NewDockSite->Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(this), 1);
  return true;
}

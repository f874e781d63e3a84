// Actions, action lists and the link a control keeps to its action.
#include "classlib/ui/ActnList.h"

#include <algorithm>

DK_UNIT(ActnList);

// ------------------------------------------------------------ TBasicActionLink

TBasicActionLink::~TBasicActionLink() {
  if (FAction) FAction->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* Value) {
  if (FAction == Value) return;
  if (FAction) FAction->UnRegisterChanges(this);
  FAction = Value;
  if (FAction) FAction->RegisterChanges(this);
}

bool TBasicActionLink::Execute(TComponent*) { return FAction && FAction->Execute(); }

bool TBasicActionLink::Update() { return FAction && FAction->Update(); }

void TBasicActionLink::Change() {
  if (OnChange) OnChange(FAction);
}

// ------------------------------------------------------------ TBasicAction

TBasicAction::~TBasicAction() {
  // The clients keep no pointer to an action that is gone.
  for (TBasicActionLink* link : std::vector<TBasicActionLink*>(FClients)) link->FAction = nullptr;
  FClients.clear();
}

bool TBasicAction::Execute() {
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}

bool TBasicAction::Update() {
  const bool handled = static_cast<bool>(OnUpdate);
  if (handled) OnUpdate(this);
  for (TBasicActionLink* link : std::vector<TBasicActionLink*>(FClients))
    if (auto* control = dynamic_cast<TControl*>(link->Client()))
      control->Perform(CM_ACTIONUPDATE, 0, reinterpret_cast<LPARAM>(this));
  return handled;
}

void TBasicAction::RegisterChanges(TBasicActionLink* Value) {
  if (Value && std::find(FClients.begin(), FClients.end(), Value) == FClients.end()) FClients.push_back(Value);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* Value) {
  FClients.erase(std::remove(FClients.begin(), FClients.end(), Value), FClients.end());
}

void TBasicAction::Change() {
  for (TBasicActionLink* link : std::vector<TBasicActionLink*>(FClients)) link->Change();
  if (OnChange) OnChange(this);
}

// ------------------------------------------------------------ TCustomAction

TCustomAction::~TCustomAction() {
  if (FActionList) FActionList->RemoveAction(this);
}

void TCustomAction::SetCaption(const AnsiString& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  Change();
}

void TCustomAction::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Change();
}

void TCustomAction::SetHint(const AnsiString& Value) {
  if (FHint == Value) return;
  FHint = Value;
  Change();
}

void TCustomAction::SetImageIndex(Integer Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  Change();
}

void TCustomAction::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  Change();
}

void TCustomAction::SetActionList(TCustomActionList* Value) {
  if (FActionList == Value) return;
  if (FActionList) FActionList->RemoveAction(this);
  if (Value) Value->AddAction(this);
  Change();
}

DK_PUBLISH(TCustomAction) {
  P.Property("Caption", &TCustomAction::Caption, &TCustomAction::SetCaption);
  P.Property("Enabled", &TCustomAction::Enabled, &TCustomAction::SetEnabled).Default(true);
  P.Property("Hint", &TCustomAction::Hint, &TCustomAction::SetHint);
  P.Property("ImageIndex", &TCustomAction::ImageIndex, &TCustomAction::SetImageIndex).Default(-1);
  P.Property("Visible", &TCustomAction::Visible, &TCustomAction::SetVisible).Default(true);
  P.Property("OnExecute", &TCustomAction::OnExecute);
  P.Property("OnUpdate", &TCustomAction::OnUpdate);
}

// ------------------------------------------------------------ TCustomActionList

TCustomActionList::~TCustomActionList() {
  for (TCustomAction* a : std::vector<TCustomAction*>(FActions)) a->FActionList = nullptr;
  FActions.clear();
  if (FImages) FImages->UnRegisterChanges(FImageChangeLink.get());
}

void TCustomActionList::Construct() {
  inherited::Construct();
  FImageChangeLink = std::make_unique<TChangeLink>();
  FImageChangeLink->OnChange = TNotifyEvent(this, &TCustomActionList::ImageListChange);
}

void TCustomActionList::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages) {
    FImages->UnRegisterChanges(FImageChangeLink.get());
    FImages->RemoveFreeNotification(this);
  }
  FImages = Value;
  if (FImages) {
    FImages->RegisterChanges(FImageChangeLink.get());
    FImages->FreeNotification(this);
  }
  Change();
}

void TCustomActionList::AddAction(TCustomAction* Action) {
  if (std::find(FActions.begin(), FActions.end(), Action) == FActions.end()) FActions.push_back(Action);
  Action->FActionList = this;
}

void TCustomActionList::RemoveAction(TCustomAction* Action) {
  FActions.erase(std::remove(FActions.begin(), FActions.end(), Action), FActions.end());
  if (Action->FActionList == this) Action->FActionList = nullptr;
}

void TCustomActionList::Change() {
  for (TCustomAction* a : std::vector<TCustomAction*>(FActions)) a->Change();
  if (OnChange) OnChange(this);
}

void TCustomActionList::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) {
    FImages = nullptr;
    Change();
  }
}

void TCustomActionList::ImageListChange(TObject*) { Change(); }

DK_PUBLISH(TCustomActionList) {
  P.Property("Images", &TCustomActionList::Images, &TCustomActionList::SetImages);
  P.Property("OnChange", &TCustomActionList::OnChange);
}

// ------------------------------------------------------------ the control's side

void TControlActionLink::Change() {
  TBasicActionLink::Change();
  if (FControl && Action()) FControl->ActionChange(Action(), false);
}

TBasicAction* TControl::Action() const { return FActionLink ? FActionLink->Action() : nullptr; }

void TControl::SetAction(TBasicAction* Value) {
  if (!Value) {
    FActionLink.reset();
    FControlStyle.Exclude(csActionClient);
    return;
  }
  FControlStyle.Include(csActionClient);
  if (!FActionLink) FActionLink = std::make_unique<TControlActionLink>(this);
  FActionLink->SetAction(Value);
  Value->FreeNotification(this);
  ActionChange(Value, ComponentState().Contains(csLoading));
}

void TControl::ActionChange(TObject* Sender, bool CheckDefaults) {
  auto* a = dynamic_cast<TCustomAction*>(Sender);
  if (!a) return;
  if (!CheckDefaults || Caption().empty()) SetCaption(a->Caption());
  if (!CheckDefaults || Enabled()) SetEnabled(a->Enabled());
  if (!CheckDefaults || Hint().empty()) SetHint(a->Hint());
  if (!CheckDefaults || Visible()) SetVisible(a->Visible());
}

#include "classlib/core/ClassesObjects.h"

#include <algorithm>
#include <mutex>

#include "classlib/core/Classes.h"
#include "classlib/core/StreamingText.h"
#include "classlib/core/TypInfo.h"

using dk_streaming::SameIdent;

// ------------------------------------------------------------------ TPersistent

void TPersistent::Assign(TPersistent* Source) {
  if (Source)
    Source->AssignTo(this);
  else
    AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) { Dest->AssignError(this); }

void TPersistent::AssignError(TPersistent* Source) {
  AnsiString src = Source ? Source->ClassName() : AnsiString("nil");
  throw EConvertError("Cannot assign a " + src + " to a " + ClassName());
}

AnsiString TPersistent::GetNamePath() {
  AnsiString s = ClassName();
  if (TPersistent* owner = GetOwner()) {
    AnsiString path = owner->GetNamePath();
    if (!path.empty()) s = path + "." + s;
  }
  return s;
}

// ------------------------------------------------------------------ TComponent

bool IsValidIdent(const AnsiString& Ident, bool AllowDots) {
  if (Ident.empty()) return false;
  auto alpha = [](unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  auto digit = [](unsigned char c) { return c >= '0' && c <= '9'; };
  bool start = true;
  for (unsigned char c : Ident) {
    if (start) {
      if (!alpha(c)) return false;
      start = false;
    } else if (c == '.' && AllowDots) {
      start = true;
    } else if (!alpha(c) && !digit(c)) {
      return false;
    }
  }
  return !start;
}

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->Insert(this);
}

void TComponent::Construct() {
  inherited::Construct();
  if (FOwner && !FInsertNotified) {
    FInsertNotified = true;
    FOwner->Notification(this, opInsert);
  }
}

void TComponent::BeforeDestruction() {
  inherited::BeforeDestruction();
  if (!FComponentState.Contains(csDestroying)) Destroying();
  // Others learn of the end while the whole object still stands.
  SendFreeNotifications();
  if (FOwner && !FOwnerNotified) {
    FOwnerNotified = true;
    FOwner->Notification(this, opRemove);
  }
}

TComponent::~TComponent() {
  if (!FComponentState.Contains(csDestroying)) Destroying();
  SendFreeNotifications();
  DestroyComponents();
  if (FOwner) {
    if (!FOwnerNotified) {
      FOwnerNotified = true;
      FOwner->Notification(this, opRemove);
    }
    FOwner->Remove(this);
  }
  RemoveFixups(this);
}

void TComponent::SendFreeNotifications() {
  while (!FFreeNotifies.empty()) {
    TComponent* other = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    auto& back = other->FFreeNotifies;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
    other->Notification(this, opRemove);
  }
}

void TComponent::Destroying() {
  if (FComponentState.Contains(csDestroying)) return;
  FComponentState.Include(csDestroying);
  for (TComponent* c : FComponents) c->Destroying();
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* c = FComponents.back();
    Remove(c);
    c->FOwnerNotified = true;
    c->Free();
  }
}

TComponent* TComponent::Components(int Index) const {
  if (Index < 0 || Index >= ComponentCount())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FComponents[static_cast<size_t>(Index)];
}

int TComponent::ComponentIndex() const {
  if (!FOwner) return -1;
  auto& v = FOwner->FComponents;
  auto it = std::find(v.begin(), v.end(), this);
  return it == v.end() ? -1 : static_cast<int>(it - v.begin());
}

void TComponent::SetComponentIndex(int Value) {
  if (!FOwner) return;
  auto& v = FOwner->FComponents;
  int i = ComponentIndex();
  if (i < 0) return;
  if (Value < 0) Value = 0;
  if (Value >= static_cast<int>(v.size())) Value = static_cast<int>(v.size()) - 1;
  if (Value == i) return;
  v.erase(v.begin() + i);
  v.insert(v.begin() + Value, this);
}

void TComponent::SetSubComponent(bool IsSubComponent) {
  if (IsSubComponent)
    FComponentStyle.Include(csSubComponent);
  else
    FComponentStyle.Exclude(csSubComponent);
}

namespace {
constexpr size_t kIndexFrom = 16;
std::string NameKey(const AnsiString& Name) {
  std::string k = Name;
  for (auto& c : k)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return k;
}
}  // namespace

void TComponent::IndexName(TComponent* AComponent, bool Add) {
  if (!FNameIndex || AComponent->FName.empty()) return;
  std::string key = NameKey(AComponent->FName);
  if (Add) {
    FNameIndex->emplace(key, AComponent);
  } else {
    auto it = FNameIndex->find(key);
    if (it != FNameIndex->end() && it->second == AComponent) FNameIndex->erase(it);
  }
}

void TComponent::Insert(TComponent* AComponent) {
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
  AComponent->FOwnerNotified = false;
  if (!FNameIndex && FComponents.size() >= kIndexFrom) {
    FNameIndex = std::make_unique<std::unordered_map<std::string, TComponent*>>();
    for (TComponent* c : FComponents) IndexName(c, true);
  } else {
    IndexName(AComponent, true);
  }
}

void TComponent::Remove(TComponent* AComponent) {
  IndexName(AComponent, false);
  if (!FComponents.empty() && FComponents.back() == AComponent) {
    FComponents.pop_back();
  } else {
    auto it = std::find(FComponents.begin(), FComponents.end(), AComponent);
    if (it != FComponents.end()) FComponents.erase(it);
  }
  AComponent->FOwner = nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (!AComponent) return;
  if (AComponent->FOwner == this) return;
  AComponent->ValidateContainer(this);
  ValidateInsert(AComponent);
  ValidateRename(AComponent, AnsiString(), AComponent->FName);
  // The names of one owner's components stay unique when a component moves in.
  if (!AComponent->FName.empty() && FindComponent(AComponent->FName))
    throw EComponentError("A component named " + AComponent->FName + " already exists");
  if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
  Insert(AComponent);
  AComponent->FInsertNotified = true;
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  if (!AComponent || AComponent->FOwner != this) return;
  Notification(AComponent, opRemove);
  Remove(AComponent);
}

TComponent* TComponent::FindComponent(const AnsiString& AName) const {
  if (AName.empty()) return nullptr;
  if (FNameIndex) {
    auto it = FNameIndex->find(NameKey(AName));
    return it == FNameIndex->end() ? nullptr : it->second;
  }
  for (TComponent* c : FComponents)
    if (SameIdent(c->FName, AName)) return c;
  return nullptr;
}

void TComponent::SetName(const AnsiString& NewName) {
  if (FName == NewName) return;
  if (!NewName.empty() && !IsValidIdent(NewName))
    throw EComponentError("'" + NewName + "' is not a valid component name");
  if (FOwner)
    FOwner->ValidateRename(this, FName, NewName);
  else
    ValidateRename(nullptr, FName, NewName);
  if (FOwner) FOwner->IndexName(this, false);
  try {
    ChangeName(NewName);
  } catch (...) {
    if (FOwner) FOwner->IndexName(this, true);
    throw;
  }
  if (FOwner) FOwner->IndexName(this, true);
}

void TComponent::ValidateRename(TComponent* AComponent, const AnsiString& CurName, const AnsiString& NewName) {
  if (AComponent && !NewName.empty() && !SameIdent(CurName, NewName) && AComponent->FOwner == this) {
    TComponent* other = FindComponent(NewName);
    if (other && other != AComponent) throw EComponentError("A component named " + NewName + " already exists");
  }
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent) RemoveFreeNotification(AComponent);
  // The owned components hear of it too (the list may shrink meanwhile).
  for (size_t i = FComponents.size(); i-- > 0;) {
    if (i >= FComponents.size()) continue;
    TComponent* c = FComponents[i];
    if (c != AComponent) c->Notification(AComponent, Operation);
  }
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end())
    FFreeNotifies.push_back(AComponent);
  auto& back = AComponent->FFreeNotifies;
  if (std::find(back.begin(), back.end(), this) == back.end()) back.push_back(this);
  FComponentState.Include(csFreeNotification);
  AComponent->FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveNotification(TComponent* AComponent) {
  FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent), FFreeNotifies.end());
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  if (!AComponent) return;
  RemoveNotification(AComponent);
  AComponent->RemoveNotification(this);
}

void TComponent::ReadState(TReader* Reader) {
  // The parent comes before any property, so setters see where they are.
  if (Reader->Parent() && HasParent()) SetParentComponent(Reader->Parent());
  Reader->ReadData(this);
}

void TComponent::WriteState(TWriter* Writer) { Writer->WriteData(this); }

void TComponent::Loaded() { FComponentState.Exclude(csLoading); }

void TComponent::SetDesigning(bool Value, bool SetChildren) {
  if (Value)
    FComponentState.Include(csDesigning);
  else
    FComponentState.Exclude(csDesigning);
  if (SetChildren)
    for (TComponent* c : FComponents) c->SetDesigning(Value, true);
}

void TComponent::SetInline(bool Value) {
  if (Value)
    FComponentState.Include(csInline);
  else
    FComponentState.Exclude(csInline);
}

// ----------------------------------------------------------------- collections

TCollectionItem::TCollectionItem(TCollection* Collection) : FPendingCollection(Collection) {}

void TCollectionItem::Construct() {
  inherited::Construct();
  if (FPendingCollection) {
    TCollection* c = FPendingCollection;
    FPendingCollection = nullptr;
    SetCollection(c);
  }
}

TCollectionItem::~TCollectionItem() {
  if (FCollection) FCollection->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* Value) {
  if (FCollection == Value) return;
  if (FCollection) FCollection->RemoveItem(this);
  if (Value) Value->InsertItem(this);
}

int TCollectionItem::Index() const {
  if (!FCollection) return -1;
  auto& v = FCollection->FItems;
  auto it = std::find(v.begin(), v.end(), this);
  return it == v.end() ? -1 : static_cast<int>(it - v.begin());
}

void TCollectionItem::SetIndex(int Value) {
  int cur = Index();
  if (cur < 0 || Value < 0 || cur == Value) return;
  auto& v = FCollection->FItems;
  if (Value >= static_cast<int>(v.size())) Value = static_cast<int>(v.size()) - 1;
  v.erase(v.begin() + cur);
  v.insert(v.begin() + Value, this);
  Changed(true);
}

AnsiString TCollectionItem::GetDisplayName() { return ClassName(); }

TPersistent* TCollectionItem::GetOwner() { return FCollection; }

AnsiString TCollectionItem::GetNamePath() {
  if (FCollection) return FCollection->GetNamePath() + "[" + std::to_string(Index()) + "]";
  return ClassName();
}

void TCollectionItem::Changed(bool AllItems) {
  if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(AllItems ? nullptr : this);
}

TCollection::TCollection(TClass ItemClass) : FItemClass(ItemClass) {}

TCollection::~TCollection() {
  FUpdateCount = 1;  // no updates while going
  while (!FItems.empty()) {
    TCollectionItem* item = FItems.back();
    delete item;  // removes itself
  }
}

void TCollection::InsertItem(TCollectionItem* Item) {
  if (!Item->InheritsFrom(FItemClass))
    throw EListError("Invalid item class " + Item->ClassName() + " for " + ClassName());
  FItems.push_back(Item);
  Item->FCollection = this;
  Item->FID = FNextID++;
  TCollectionItem* added = Item;
  Added(added);
  Notify(Item, cnAdded);
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item) {
  Notify(Item, cnExtracting);
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  if (it != FItems.end()) FItems.erase(it);
  Item->FCollection = nullptr;
  Changed();
}

TCollectionItem* TCollection::Add() {
  if (!FItemClass) throw EListError("Collection has no item class");
  auto* item = static_cast<TCollectionItem*>(FItemClass->CreateInstance(static_cast<TCollection*>(this)));
  if (item->FCollection != this) item->SetCollection(this);
  return item;
}

TCollectionItem* TCollection::Insert(int Index) {
  BeginUpdate();
  try {
    TCollectionItem* item = Add();
    item->SetIndex(Index);
    EndUpdate();
    return item;
  } catch (...) {
    EndUpdate();
    throw;
  }
}

void TCollection::Delete(int Index) {
  TCollectionItem* item = Items(Index);
  Notify(item, cnDeleting);
  Deleting(item);
  delete item;
}

void TCollection::Clear() {
  if (FItems.empty()) return;
  BeginUpdate();
  try {
    while (!FItems.empty()) delete FItems.back();
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

TCollectionItem* TCollection::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FItems[static_cast<size_t>(Index)];
}

void TCollection::SetItem(int Index, TCollectionItem* Value) { Items(Index)->Assign(Value); }

TCollectionItem* TCollection::FindItemID(int ID) const {
  for (auto* i : FItems)
    if (i->FID == ID) return i;
  return nullptr;
}

void TCollection::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TCollection*>(Source)) {
    BeginUpdate();
    try {
      Clear();
      for (auto* i : src->FItems) Add()->Assign(i);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    return;
  }
  inherited::Assign(Source);
}

void TCollection::BeginUpdate() { ++FUpdateCount; }

void TCollection::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  Changed();
}

void TCollection::Changed() {
  if (FUpdateCount == 0) Update(nullptr);
}

AnsiString TCollection::PropName() { return FPropName; }

AnsiString TCollection::GetNamePath() {
  TPersistent* owner = GetOwner();
  if (!owner) return ClassName();
  AnsiString path = owner->GetNamePath();
  AnsiString prop = PropName();
  if (path.empty() || prop.empty()) return ClassName();
  return path + "." + prop;
}

// ------------------------------------------------------------- class registry

namespace {
struct ClassRegistry {
  std::mutex Lock;
  std::vector<std::pair<AnsiString, TClass>> Classes;
};
ClassRegistry& Registry() {
  static ClassRegistry r;
  return r;
}
void RegisterUnder(TClass AClass, const AnsiString& Name, bool Quiet) {
  auto& r = Registry();
  std::lock_guard<std::mutex> lock(r.Lock);
  for (auto& e : r.Classes) {
    if (SameIdent(e.first, Name)) {
      if (e.second == AClass || Quiet) return;
      throw EFilerError("A class named " + Name + " already exists");
    }
  }
  r.Classes.emplace_back(Name, AClass);
}
}  // namespace

namespace dk {
void RegisterClassQuiet(TClass AClass) { RegisterUnder(AClass, AClass->Name, true); }
}  // namespace dk

void RegisterClass(TClass AClass) {
  // The ancestors up to TPersistent become known too.
  for (TClass c = AClass; c && c != TPersistent::StaticClass() && c != TObject::StaticClass(); c = c->Parent) {
    if (c == AClass)
      RegisterUnder(c, c->Name, false);
    else
      RegisterUnder(c, c->Name, true);
  }
}

void RegisterClasses(std::initializer_list<TClass> Classes) {
  for (TClass c : Classes) RegisterClass(c);
}

void RegisterClassAlias(TClass AClass, const AnsiString& Alias) { RegisterUnder(AClass, Alias, false); }

void UnRegisterClass(TClass AClass) {
  auto& r = Registry();
  std::lock_guard<std::mutex> lock(r.Lock);
  r.Classes.erase(std::remove_if(r.Classes.begin(), r.Classes.end(), [&](auto& e) { return e.second == AClass; }),
                  r.Classes.end());
}

TClass GetClass(const AnsiString& ClassName) {
  auto& r = Registry();
  std::lock_guard<std::mutex> lock(r.Lock);
  for (auto& e : r.Classes)
    if (SameIdent(e.first, ClassName)) return e.second;
  return nullptr;
}

TClass FindClass(const AnsiString& ClassName) {
  TClass c = GetClass(ClassName);
  if (!c) throw EClassNotFound("Class " + ClassName + " not found");
  return c;
}

DK_PUBLISH(TComponent) {
  P.Property("Name", &TComponent::Name, &TComponent::SetName).Stored(false);
  P.Property("Tag", &TComponent::Tag, &TComponent::SetTag).Default(0);
}

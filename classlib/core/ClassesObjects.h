// Persistent objects, components and collections (part of Classes.h).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "classlib/core/SysUtils.h"
#include "classlib/core/System.h"

class TPersistent;
class TComponent;
class TCollection;
class TCollectionItem;
class TReader;
class TWriter;
class TStream;
class TFiler;

// ------------------------------------------------------------------ TPersistent

class TPersistent : public TObject {
  DK_CLASS(TPersistent, TObject)
 public:
  TPersistent() = default;
  // Copies Source into this object; falls back on Source->AssignTo(this).
  virtual void Assign(TPersistent* Source);
  // The owner in the naming hierarchy (nullptr by default).
  virtual TPersistent* GetOwner() { return nullptr; }
  // "Owner.Name.Sub" path used in messages.
  virtual AnsiString GetNamePath();
  // Declares unpublished data a filer reads and writes (binary blobs, string lists).
  virtual void DefineProperties(TFiler* Filer) {}

 protected:
  // Raises EConvertError "Cannot assign a %s to a %s".
  virtual void AssignTo(TPersistent* Dest);
  void AssignError(TPersistent* Source);
};

// ---------------------------------------------------------------------- TFiler

using TReaderProc = std::function<void(TReader* Reader)>;
using TWriterProc = std::function<void(TWriter* Writer)>;
using TStreamProc = std::function<void(TStream* Stream)>;

// The common part of TReader and TWriter: the stream, the root being filed,
// the lookup root for references and events, and the definition of
// unpublished properties.
class TFiler : public TObject {
  DK_CLASS(TFiler, TObject)
 public:
  explicit TFiler(TStream* Stream) : FStream(Stream) {}

  // Declares a property read/written through the filer's typed values.
  // HasData false: the writer skips it.
  virtual void DefineProperty(const AnsiString& Name, TReaderProc ReadData, TWriterProc WriteData,
                              bool HasData) = 0;
  // Declares a property held as a block of bytes (vaBinary).
  virtual void DefineBinaryProperty(const AnsiString& Name, TStreamProc ReadData, TStreamProc WriteData,
                                    bool HasData) = 0;

  TStream* Stream() const { return FStream; }
  TComponent* Root() const { return FRoot; }
  virtual void SetRoot(TComponent* Value) { FRoot = Value; }
  TComponent* LookupRoot() const { return FLookupRoot; }
  TPersistent* Ancestor() const { return FAncestor; }
  void SetAncestor(TPersistent* Value) { FAncestor = Value; }
  bool IgnoreChildren() const { return FIgnoreChildren; }
  void SetIgnoreChildren(bool Value) { FIgnoreChildren = Value; }

 protected:
  TStream* FStream;
  TComponent* FRoot = nullptr;
  TComponent* FLookupRoot = nullptr;
  TPersistent* FAncestor = nullptr;
  bool FIgnoreChildren = false;
};

// ------------------------------------------------------------------ TComponent

enum TComponentStateE {
  csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor, csUpdating, csFixups,
  csFreeNotification, csInline, csDesignInstance
};
using TComponentState = TSet<TComponentStateE>;

enum TComponentStyleE { csInheritable, csCheckPropAvail, csSubComponent, csTransient };
using TComponentStyle = TSet<TComponentStyleE>;

enum TOperation { opInsert, opRemove };

using TGetChildProc = std::function<void(TComponent* Child)>;

// A component: owned by another component (which frees it), named uniquely
// among its owner's components, notified when components it cares about go
// away, and streamed through the form reader and writer.
class TComponent : public TPersistent {
  DK_CLASS(TComponent, TPersistent)
 public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  void Construct() override;
  void BeforeDestruction() override;

  TComponent* Owner() const { return FOwner; }
  const AnsiString& Name() const { return FName; }
  // Validates the name (an identifier or empty) and its uniqueness among the
  // owner's components (case-insensitive); raises EComponentError.
  virtual void SetName(const AnsiString& NewName);
  NativeInt Tag() const { return FTag; }
  void SetTag(NativeInt Value) { FTag = Value; }

  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int Index) const;
  int ComponentIndex() const;
  void SetComponentIndex(int Value);
  TComponentState ComponentState() const { return FComponentState; }
  TComponentStyle ComponentStyle() const { return FComponentStyle; }
  void SetSubComponent(bool IsSubComponent);

  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  // Case-insensitive search among the owned components; nullptr when none.
  TComponent* FindComponent(const AnsiString& AName) const;
  // Frees every owned component, last first.
  void DestroyComponents();
  // Sets csDestroying and tells the owned components (recursively).
  void Destroying();

  // Asks AComponent to call Notification(AComponent, opRemove) on this one
  // before it goes (and the other way round).
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  // Streaming hooks.
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent* Value) {}
  // Calls Proc for each child to be written with this component, for the given root.
  virtual void GetChildren(const TGetChildProc& Proc, TComponent* Root) {}
  virtual TComponent* GetChildOwner() { return nullptr; }
  virtual TComponent* GetChildParent() { return this; }
  virtual void ReadState(TReader* Reader);
  virtual void WriteState(TWriter* Writer);
  virtual void Loaded();
  // Called by the reader when it cannot find the class, property or method; the default raises.
  TPersistent* GetOwner() override { return FOwner; }
  AnsiString GetNamePath() override { return FName; }

  // State bits (the reader and the Windows half set them).
  void SetComponentState(TComponentStateE s) { FComponentState.Include(s); }
  void ClearComponentState(TComponentStateE s) { FComponentState.Exclude(s); }
  void SetDesigning(bool Value, bool SetChildren = true);
  void SetInline(bool Value);
  virtual void Updating() { FComponentState.Include(csUpdating); }
  virtual void Updated() { FComponentState.Exclude(csUpdating); }

 protected:
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  virtual void ValidateRename(TComponent* AComponent, const AnsiString& CurName, const AnsiString& NewName);
  virtual void ValidateInsert(TComponent* AComponent) {}
  virtual void ValidateContainer(TComponent* AComponent) {}
  virtual void ChangeName(const AnsiString& NewName) { FName = NewName; }
  virtual void SetChildOrder(TComponent* Child, int Order) {}

  TComponentState FComponentState;
  TComponentStyle FComponentStyle{csInheritable};

 private:
  friend class TReader;
  friend class TWriter;
  void Insert(TComponent* AComponent);
  void Remove(TComponent* AComponent);
  void RemoveNotification(TComponent* AComponent);
  void SendFreeNotifications();

  TComponent* FOwner = nullptr;
  AnsiString FName;
  NativeInt FTag = 0;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  // Owned components by upper-case name, kept once there are many of them.
  std::unique_ptr<std::unordered_map<std::string, TComponent*>> FNameIndex;
  void IndexName(TComponent* AComponent, bool Add);
  bool FInsertNotified = false;
  bool FOwnerNotified = false;
};

// True when Ident is a valid identifier (letter or '_' then letters, digits, '_').
bool IsValidIdent(const AnsiString& Ident, bool AllowDots = false);

// ----------------------------------------------------------------- collections

class TCollectionItem : public TPersistent {
  DK_CLASS(TCollectionItem, TPersistent)
 public:
  explicit TCollectionItem(TCollection* Collection);
  ~TCollectionItem() override;
  TCollectionItem(const TCollectionItem&) = delete;
  TCollectionItem& operator=(const TCollectionItem&) = delete;
  void Construct() override;

  TCollection* Collection() const { return FCollection; }
  virtual void SetCollection(TCollection* Value);
  int ID() const { return FID; }
  int Index() const;
  virtual void SetIndex(int Value);
  virtual AnsiString GetDisplayName();
  virtual void SetDisplayName(const AnsiString& Value) { Changed(false); }
  AnsiString DisplayName() { return GetDisplayName(); }
  TPersistent* GetOwner() override;
  AnsiString GetNamePath() override;

 protected:
  // Tells the collection that this item (AllItems false) or all items changed.
  void Changed(bool AllItems);

 private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  TCollection* FPendingCollection = nullptr;
  int FID = 0;
};

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollection : public TPersistent {
  DK_CLASS(TCollection, TPersistent)
 public:
  explicit TCollection(TClass ItemClass);
  ~TCollection() override;
  TCollection(const TCollection&) = delete;
  TCollection& operator=(const TCollection&) = delete;

  TCollectionItem* Add();
  TCollectionItem* Insert(int Index);
  void Delete(int Index);
  void Clear();
  int Count() const { return static_cast<int>(FItems.size()); }
  TCollectionItem* Items(int Index) const;
  void SetItem(int Index, TCollectionItem* Value);
  TCollectionItem* FindItemID(int ID) const;
  TClass ItemClass() const { return FItemClass; }
  void Assign(TPersistent* Source) override;
  virtual void BeginUpdate();
  virtual void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }
  AnsiString GetNamePath() override;
  // Name of the property under which the owner publishes this collection.
  AnsiString PropName();
  void SetPropName(const AnsiString& Value) { FPropName = Value; }

 protected:
  // Called after an item (or, with nullptr, all items) changed, outside updates.
  virtual void Update(TCollectionItem* Item) {}
  virtual void Notify(TCollectionItem* Item, TCollectionNotification Action) {}
  virtual void Added(TCollectionItem*& Item) {}
  virtual void Deleting(TCollectionItem* Item) {}
  void Changed();

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);

  TClass FItemClass;
  std::vector<TCollectionItem*> FItems;
  int FUpdateCount = 0;
  int FNextID = 0;
  AnsiString FPropName;
};

// A collection whose owner (GetOwner) is given to its constructor.
class TOwnedCollection : public TCollection {
  DK_CLASS(TOwnedCollection, TCollection)
 public:
  TOwnedCollection(TPersistent* AOwner, TClass ItemClass) : TCollection(ItemClass), FOwner(AOwner) {}
  TPersistent* GetOwner() override { return FOwner; }

 private:
  TPersistent* FOwner;
};

// ------------------------------------------------------------- class registry

// Makes a class known by name to the form reader (FindClass/GetClass).
// Registering the same class twice is harmless; another class under a taken
// name raises EFilerError.
void RegisterClass(TClass AClass);
void RegisterClasses(std::initializer_list<TClass> Classes);
void RegisterClassAlias(TClass AClass, const AnsiString& Alias);
void UnRegisterClass(TClass AClass);
// nullptr when the name is unknown (case-insensitive).
TClass GetClass(const AnsiString& ClassName);
// Raises EClassNotFound "Class %s not found" when the name is unknown.
TClass FindClass(const AnsiString& ClassName);

// Actions: a command with its caption, enabled state, image and hint kept in
// one place, and the controls that follow it.
//
//   TBasicAction      runs OnExecute, asks OnUpdate; tells its links of changes
//   TCustomAction     adds Caption, Enabled, Hint, ImageIndex, Visible, its list
//   TCustomActionList holds actions and the image list their ImageIndex names
//   TBasicActionLink  what a client holds of an action (TControl::Action)
//
// A control given an action (TControl::SetAction) takes its properties at
// once and at every change (TControl::ActionChange). An action's Update runs
// OnUpdate and then sends CM_ACTIONUPDATE (LParam: the action) to every
// control that follows it, which takes what it needs of the action there.
#pragma once

#include <vector>

#include "classlib/core/Classes.h"
#include "classlib/ui/Controls.h"
#include "classlib/ui/ImgList.h"

class TBasicAction;
class TCustomActionList;

// A client's link to an action: the action tells it of every change, and it
// unregisters itself when it goes.
class TBasicActionLink : public TObject {
  DK_CLASS(TBasicActionLink, TObject)
 public:
  explicit TBasicActionLink(TObject* AClient = nullptr) : FClient(AClient) {}
  ~TBasicActionLink() override;
  TBasicActionLink(const TBasicActionLink&) = delete;
  TBasicActionLink& operator=(const TBasicActionLink&) = delete;

  TBasicAction* Action() const { return FAction; }
  void SetAction(TBasicAction* Value);
  TObject* Client() const { return FClient; }
  // The action ran (true) or had nothing to run.
  virtual bool Execute(TComponent* Target = nullptr);
  virtual bool Update();
  TNotifyEvent OnChange;

 protected:
  friend class TBasicAction;
  // The action changed.
  virtual void Change();

 private:
  TBasicAction* FAction = nullptr;
  TObject* FClient;
};

class TBasicAction : public TComponent {
  DK_CLASS(TBasicAction, TComponent)
 public:
  explicit TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}
  ~TBasicAction() override;

  // OnExecute when assigned; whether something ran.
  virtual bool Execute();
  // OnUpdate when assigned, then CM_ACTIONUPDATE to every client control;
  // whether OnUpdate ran.
  virtual bool Update();
  TNotifyEvent OnExecute;
  TNotifyEvent OnUpdate;
  // Raised by Change besides the links (a control may hook it).
  TNotifyEvent OnChange;

  void RegisterChanges(TBasicActionLink* Value);
  void UnRegisterChanges(TBasicActionLink* Value);
  int ClientCount() const { return static_cast<int>(FClients.size()); }

 protected:
  // Tells every link and OnChange.
  virtual void Change();

 private:
  std::vector<TBasicActionLink*> FClients;
};

class TCustomAction : public TBasicAction {
  DK_CLASS(TCustomAction, TBasicAction)
 public:
  explicit TCustomAction(TComponent* AOwner) : TBasicAction(AOwner) {}
  ~TCustomAction() override;

  AnsiString Caption() const { return FCaption; }
  void SetCaption(const AnsiString& Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  AnsiString Hint() const { return FHint; }
  void SetHint(const AnsiString& Value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  TCustomActionList* ActionList() const { return FActionList; }
  // Moves the action to another list (nullptr: none).
  void SetActionList(TCustomActionList* Value);

 private:
  AnsiString FCaption;
  AnsiString FHint;
  bool FEnabled = true;
  bool FVisible = true;
  Integer FImageIndex = -1;
  TCustomActionList* FActionList = nullptr;
  friend class TCustomActionList;
};

class TAction : public TCustomAction {
  DK_CLASS(TAction, TCustomAction)
 public:
  using TCustomAction::TCustomAction;
};

// The actions of a form and the image list they share.
class TCustomActionList : public TComponent {
  DK_CLASS(TCustomActionList, TComponent)
 public:
  explicit TCustomActionList(TComponent* AOwner) : TComponent(AOwner) {}
  ~TCustomActionList() override;
  void Construct() override;

  int ActionCount() const { return static_cast<int>(FActions.size()); }
  TCustomAction* Actions(int Index) const { return FActions.at(static_cast<size_t>(Index)); }
  TCustomImageList* Images() const { return FImages; }
  // The actions' clients hear of a new list or of a change of its images.
  void SetImages(TCustomImageList* Value);
  TNotifyEvent OnChange;

 protected:
  friend class TCustomAction;
  void AddAction(TCustomAction* Action);
  void RemoveAction(TCustomAction* Action);
  // Every action tells its clients; then OnChange.
  virtual void Change();
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void ImageListChange(TObject* Sender);
  std::vector<TCustomAction*> FActions;
  TCustomImageList* FImages = nullptr;
  std::unique_ptr<TChangeLink> FImageChangeLink;
};

class TActionList : public TCustomActionList {
  DK_CLASS(TActionList, TCustomActionList)
 public:
  using TCustomActionList::TCustomActionList;
};

// The link a control holds to its action.
class TControlActionLink : public TBasicActionLink {
  DK_CLASS(TControlActionLink, TBasicActionLink)
 public:
  explicit TControlActionLink(TControl* AClient) : TBasicActionLink(AClient), FControl(AClient) {}
  TControl* Control() const { return FControl; }

 protected:
  void Change() override;

 private:
  TControl* FControl;
};

DK_LINK_UNIT(ActnList)

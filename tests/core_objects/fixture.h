// Test components covering every kind of published property.
#pragma once

#include <string>
#include <vector>

#include "classlib/core/Classes.h"
#include "classlib/core/ClassesStreams.h"
#include "classlib/core/TypInfo.h"

DK_ENUM(TTestAlign, alNone, alTop, alBottom, alClient);
DK_ENUM(TTestAnchor, akLeft, akTop, akRight, akBottom);
DK_ENUM(TTestStyle, fsBold, fsItalic, fsUnderline);
using TTestAnchors = TSet<TTestAnchor>;
using TTestStyles = TSet<TTestStyle>;

// Events of the whole test run, in order.
std::vector<std::string>& Log();

class TTestFont : public TPersistent {
  DK_CLASS(TTestFont, TPersistent)
 public:
  AnsiString FName;
  int FSize = 8;
  TTestStyles FStyle;
  Integer FColor = Integer(0x80000008);
  void Assign(TPersistent* Source) override;
};

class TTestItem : public TCollectionItem {
  DK_CLASS(TTestItem, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  AnsiString FCaption;
  int FValue = 0;
};

class TTestItems : public TOwnedCollection {
  DK_CLASS(TTestItems, TOwnedCollection)
 public:
  explicit TTestItems(TPersistent* AOwner) : TOwnedCollection(AOwner, TTestItem::StaticClass()) {}
  int Updates = 0;

 protected:
  void Update(TCollectionItem* Item) override { ++Updates; }
};

class TTestControl : public TComponent {
  DK_CLASS(TTestControl, TComponent)
 public:
  explicit TTestControl(TComponent* AOwner);
  ~TTestControl() override;

  int FLeft = 0, FTop = 0;
  AnsiString FCaption;
  WideString FWCaption;
  bool FVisible = true;
  TTestAlign FAlign = alNone;
  TTestAnchors FAnchors{akLeft, akTop};
  double FRatio = 0;
  float FWeight = 0;
  Currency FPrice;
  TDateTime FStamp = 0;
  Int64 FBig = 0;
  char FLetter = 0;
  char16_t FWLetter = 0;
  Integer FColor = Integer(0x8000000F);
  TTestFont* FFont;
  TTestItems* FItems;
  TStringList* FLines;
  TTestControl* FBuddy = nullptr;
  TNotifyEvent FOnClick;
  std::string FData;               // streamed as binary "Data"
  std::vector<std::string> FExtra; // streamed as the list "Extra"
  TTestControl* FParent = nullptr;
  std::vector<TTestControl*> FControls;

  virtual void SetCaption(const AnsiString& Value) { FCaption = Value; }
  const AnsiString& GetCaption() const { return FCaption; }
  void SetBuddy(TTestControl* Value);
  TTestFont* GetFont() const { return FFont; }
  void SetFont(TTestFont* Value) { FFont->Assign(Value); }
  TTestItems* GetItems() const { return FItems; }
  void SetItems(TTestItems* Value) { FItems->Assign(Value); }
  TStrings* GetLines() const { return FLines; }
  void SetLines(TStrings* Value) { FLines->Assign(Value); }
  int GetControlCount() const { return static_cast<int>(FControls.size()); }

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override { return FParent; }
  void SetParentComponent(TComponent* Value) override;
  void SetParent(TTestControl* Value);
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  void DefineProperties(TFiler* Filer) override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
};

class TTestForm : public TTestControl {
  DK_CLASS(TTestForm, TTestControl)
 public:
  using TTestControl::TTestControl;
  int Clicks = 0;
  void Button1Click(TObject* Sender) { ++Clicks; }
  void OtherClick(TObject* Sender) { Clicks += 10; }
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
};

// Records the component state at each step of its life.
class TSpy : public TTestControl {
  DK_CLASS(TSpy, TTestControl)
 public:
  using TTestControl::TTestControl;
  std::string State() const;
  void AfterConstruction() override;
  void SetCaption(const AnsiString& Value) override;
  void SetParentComponent(TComponent* Value) override;
  void Loaded() override;
};

class TSpyForm : public TSpy {
  DK_CLASS(TSpyForm, TSpy)
 public:
  using TSpy::TSpy;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
};

// CRLF line ends for expected texts written with plain newlines.
std::string Crlf(const std::string& s);
// Reads a text form into Root (or a new root when Root is null).
TComponent* LoadText(const std::string& text, TComponent* Root);
// The binary form of a component (WriteComponent).
std::string SaveBinary(TComponent* c);

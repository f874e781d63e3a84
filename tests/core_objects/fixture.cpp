#include "fixture.h"

#include <algorithm>

std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}

void TTestFont::Assign(TPersistent* Source) {
  if (auto* f = dynamic_cast<TTestFont*>(Source)) {
    FName = f->FName;
    FSize = f->FSize;
    FStyle = f->FStyle;
    FColor = f->FColor;
    return;
  }
  inherited::Assign(Source);
}

TTestControl::TTestControl(TComponent* AOwner)
    : TComponent(AOwner), FFont(new TTestFont()), FItems(new TTestItems(this)), FLines(new TStringList()) {
  FItems->SetPropName("Items");
}

TTestControl::~TTestControl() {
  SetParent(nullptr);
  for (auto* c : FControls) c->FParent = nullptr;
  delete FFont;
  delete FItems;
  delete FLines;
}

void TTestControl::SetBuddy(TTestControl* Value) {
  FBuddy = Value;
  if (Value) Value->FreeNotification(this);
}

void TTestControl::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FBuddy) FBuddy = nullptr;
}

void TTestControl::SetParent(TTestControl* Value) {
  if (FParent == Value) return;
  if (FParent) {
    auto& v = FParent->FControls;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
  }
  FParent = Value;
  if (Value) Value->FControls.push_back(this);
}

void TTestControl::SetParentComponent(TComponent* Value) { SetParent(dynamic_cast<TTestControl*>(Value)); }

void TTestControl::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  for (auto* c : FControls)
    if (c->Owner() == Root) Proc(c);
}

void TTestControl::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      "Data",
      [this](TStream* s) {
        if (auto* m = dynamic_cast<TCustomMemoryStream*>(s)) {
          FData.assign(static_cast<const char*>(m->Memory()), static_cast<size_t>(m->Size()));
        } else {
          FData.assign(static_cast<size_t>(s->Size()), '\0');
          s->ReadBuffer(FData.data(), static_cast<Integer>(FData.size()));
        }
      },
      [this](TStream* s) { s->WriteBuffer(FData.data(), static_cast<Integer>(FData.size())); }, !FData.empty());
  Filer->DefineProperty(
      "Extra",
      [this](TReader* r) {
        FExtra.clear();
        r->ReadListBegin();
        while (!r->EndOfList()) FExtra.push_back(r->ReadString());
        r->ReadListEnd();
      },
      [this](TWriter* w) {
        w->WriteListBegin();
        for (auto& s : FExtra) w->WriteString(s);
        w->WriteListEnd();
      },
      !FExtra.empty());
}

void TTestForm::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  // Owned components that no control holds come first, then the controls.
  for (int i = 0; i < ComponentCount(); ++i) {
    auto* c = dynamic_cast<TTestControl*>(Components(i));
    if (!c || !c->FParent) Proc(Components(i));
  }
  inherited::GetChildren(Proc, Root);
}

std::string TSpy::State() const {
  std::string s;
  if (ComponentState().Contains(csLoading)) s += "L";
  if (ComponentState().Contains(csReading)) s += "R";
  return s.empty() ? "-" : s;
}

void TSpy::AfterConstruction() {
  inherited::AfterConstruction();
  Log().push_back("construct " + ClassName() + " " + State());
}

void TSpy::SetCaption(const AnsiString& Value) {
  inherited::SetCaption(Value);
  Log().push_back("caption " + Name() + " " + State() + (FParent ? " parented" : " unparented"));
}

void TSpy::SetParentComponent(TComponent* Value) {
  inherited::SetParentComponent(Value);
  Log().push_back("parent " + Name() + " " + State());
}

void TSpy::Loaded() {
  Log().push_back("loaded " + Name() + " " + State() + (FBuddy ? " buddy=" + FBuddy->Name() : ""));
  inherited::Loaded();
}

void TSpyForm::GetChildren(const TGetChildProc& Proc, TComponent* Root) { inherited::GetChildren(Proc, Root); }

DK_PUBLISH(TTestFont) {
  P.Property("Name", &TTestFont::FName);
  P.Property("Size", &TTestFont::FSize).Default(8);
  P.Property("Style", &TTestFont::FStyle).Default(TTestStyles{});
  P.Property("Color", &TTestFont::FColor).Type(TypeInfoTColor()).Default(Integer(0x80000008));
}

DK_PUBLISH(TTestItem) {
  P.Property("Caption", &TTestItem::FCaption);
  P.Property("Value", &TTestItem::FValue).Default(0);
}

DK_PUBLISH(TTestControl) {
  P.Property("Left", &TTestControl::FLeft);
  P.Property("Top", &TTestControl::FTop);
  P.Property("Caption", &TTestControl::GetCaption, &TTestControl::SetCaption);
  P.Property("WCaption", &TTestControl::FWCaption);
  P.Property("Visible", &TTestControl::FVisible).Default(true);
  P.Property("Align", &TTestControl::FAlign).Default(alNone);
  P.Property("Anchors", &TTestControl::FAnchors).Default(TTestAnchors{akLeft, akTop});
  P.Property("Ratio", &TTestControl::FRatio);
  P.Property("Weight", &TTestControl::FWeight);
  P.Property("Price", &TTestControl::FPrice);
  P.Property("Stamp", &TTestControl::FStamp).Type(TypeInfoTDateTime());
  P.Property("Big", &TTestControl::FBig);
  P.Property("Letter", &TTestControl::FLetter).Default(0);
  P.Property("WLetter", &TTestControl::FWLetter).Default(0);
  P.Property("Color", &TTestControl::FColor).Type(TypeInfoTColor()).Default(Integer(0x8000000F));
  P.Property("Font", &TTestControl::GetFont, &TTestControl::SetFont);
  P.Property("Items", &TTestControl::GetItems, &TTestControl::SetItems);
  P.Property("Lines", &TTestControl::GetLines, &TTestControl::SetLines);
  P.Property("Buddy", &TTestControl::FBuddy, &TTestControl::SetBuddy);
  P.Property("OnClick", &TTestControl::FOnClick);
  P.Property("ControlCount", &TTestControl::GetControlCount);
}

DK_PUBLISH(TTestForm) {
  P.Method("Button1Click", &TTestForm::Button1Click);
  P.Method("OtherClick", &TTestForm::OtherClick);
}

DK_PUBLISH(TSpy) {}
DK_PUBLISH(TSpyForm) {}

std::string Crlf(const std::string& s) {
  std::string r;
  for (char c : s) {
    if (c == '\n') r += '\r';
    r += c;
  }
  return r;
}

TComponent* LoadText(const std::string& text, TComponent* Root) {
  std::string bin = ObjectTextToBinaryBytes(text);
  TMemoryStream ms;
  ms.WriteBuffer(bin.data(), static_cast<Integer>(bin.size()));
  ms.SetPosition(0);
  return ms.ReadComponent(Root);
}

std::string SaveBinary(TComponent* c) {
  TMemoryStream ms;
  ms.WriteComponent(c);
  return std::string(static_cast<const char*>(ms.Memory()), static_cast<size_t>(ms.Size()));
}

// Controls bound to a serial port: the selector, the combo box, the radio
// group and the lamp.
#include "serial/CPortCtl.h"

#include "classlib/ui/WinApi.h"
// WinApi.h must come first: the units below include the platform headers too.
#include "classlib/ui/Forms.h"
#include "serial/CPortSetup.h"

#include <algorithm>
#include <cstring>

const int dk_link::CPortCtlUnit = 0;

namespace {

// The setup form and the terminal come with the controls.
[[gnu::used]] const int* const kSetupFormAnchor = &dk_link::CPortSetupUnit;
[[gnu::used]] const int* const kTerminalAnchor = &dk_link::CPortCtlTermUnit;

bool IsLoading(const TComponent* C) { return C->ComponentState().Contains(csLoading); }
bool IsDesigning(const TComponent* C) { return C->ComponentState().Contains(csDesigning); }

}  // namespace

// ==================================================================== selector

void TComSelect::SelectPort() { EnumComPorts(FItems); }

void TComSelect::SelectBaudRate() {
  for (int i = brCustom; i <= br256000; ++i) FItems->Add(BaudRateToStr(static_cast<TBaudRate>(i)));
}

void TComSelect::SelectDataBits() {
  for (int i = dbFive; i <= dbEight; ++i) FItems->Add(DataBitsToStr(static_cast<TDataBits>(i)));
}

void TComSelect::SelectStopBits() {
  for (int i = sbOneStopBit; i <= sbTwoStopBits; ++i) FItems->Add(StopBitsToStr(static_cast<TStopBits>(i)));
}

void TComSelect::SelectParity() {
  for (int i = prNone; i <= prSpace; ++i) FItems->Add(ParityToStr(static_cast<TParityBits>(i)));
}

void TComSelect::SelectFlowControl() {
  for (int i = fcHardware; i <= fcCustom; ++i) FItems->Add(FlowControlToStr(static_cast<TFlowControl>(i)));
}

void TComSelect::SetComProperty(TComProperty Value) {
  FComProperty = Value;
  FHasSelection = false;
  if (!FItems) return;
  if (Value == cpPort) {
    // The port list replaces the items as a whole.
    SelectPort();
    return;
  }
  FItems->BeginUpdate();
  try {
    FItems->Clear();
    switch (Value) {
      case cpBaudRate: SelectBaudRate(); break;
      case cpDataBits: SelectDataBits(); break;
      case cpStopBits: SelectStopBits(); break;
      case cpParity: SelectParity(); break;
      case cpFlowControl: SelectFlowControl(); break;
      default: break;
    }
  } catch (...) {
    FItems->EndUpdate();
    throw;
  }
  FItems->EndUpdate();
}

void TComSelect::Change(const AnsiString& Text) {
  switch (FComProperty) {
    case cpPort: FPort = Text; break;
    case cpBaudRate: FBaudRate = StrToBaudRate(Text); break;
    case cpDataBits: FDataBits = StrToDataBits(Text); break;
    case cpStopBits: FStopBits = StrToStopBits(Text); break;
    case cpParity: FParityBits = StrToParity(Text); break;
    case cpFlowControl: FFlowControl = StrToFlowControl(Text); break;
    default: break;
  }
  // An empty port name is no choice: it would leave the port without a device.
  FHasSelection = FComProperty != cpNone && !(FComProperty == cpPort && Text.empty());
  if (FAutoApply) ApplySettings();
}

void TComSelect::ApplySettings() {
  if (!FComPort || !FHasSelection) return;
  switch (FComProperty) {
    case cpPort: FComPort->SetPort(FPort); break;
    case cpBaudRate: FComPort->SetBaudRate(FBaudRate); break;
    case cpDataBits: FComPort->SetDataBits(FDataBits); break;
    case cpStopBits: FComPort->SetStopBits(FStopBits); break;
    case cpParity: FComPort->Parity()->SetBits(FParityBits); break;
    case cpFlowControl: FComPort->FlowControl()->SetFlowControl(FFlowControl); break;
    default: break;
  }
}

AnsiString TComSelect::PortValueText() const {
  switch (FComProperty) {
    case cpPort: return FComPort->Port();
    case cpBaudRate: return BaudRateToStr(FComPort->BaudRate());
    case cpDataBits: return DataBitsToStr(FComPort->DataBits());
    case cpStopBits: return StopBitsToStr(FComPort->StopBits());
    case cpParity: return ParityToStr(FComPort->Parity()->Bits());
    case cpFlowControl: return FlowControlToStr(FComPort->FlowControl()->FlowControl());
    default: return AnsiString();
  }
}

void TComSelect::UpdateSettings(Integer& ItemIndex) {
  if (!FComPort || FComProperty == cpNone || !FItems) return;
  AnsiString text = PortValueText();
  ItemIndex = -1;
  for (int i = 0; i < FItems->Count(); ++i)
    if (AnsiSameText(FItems->Strings(i), text)) {
      ItemIndex = i;
      break;
    }
  if (ItemIndex < 0) {
    // Nothing shown, nothing to write: an earlier choice is void.
    FHasSelection = false;
    return;
  }
  // The listed text is the choice: the port's value as the list shows it.
  bool autoApply = FAutoApply;
  FAutoApply = false;
  Change(FItems->Strings(ItemIndex));
  FAutoApply = autoApply;
}

// =================================================================== combo box

TComComboBox::TComComboBox(TComponent* AOwner) : TCustomComboBox(AOwner), FComSelect(std::make_unique<TComSelect>()) {}

TComComboBox::~TComComboBox() = default;

void TComComboBox::Construct() {
  inherited::Construct();
  FComSelect->SetItems(Items());
  SetStyle(csDropDownList);
}

// What the bound list and the bound radio group do alike when their port or
// their property changes.
template <class C>
void BindPort(C* Control, TComSelect* Select, TCustomComPort* Value) {
  if (Value == Select->ComPort()) return;
  if (Select->ComPort()) Select->ComPort()->RemoveFreeNotification(Control);
  Select->SetComPort(Value);
  if (Value) {
    Value->FreeNotification(Control);
    Control->UpdateSettings();
  }
}

template <class C>
void BindProperty(C* Control, TComSelect* Select, TComProperty Value) {
  // A form may give the item index before the property: reading keeps it.
  Integer streamed = IsLoading(Control) ? Control->ItemIndex() : -1;
  Select->SetComProperty(Value);
  if (Control->Items()->Count() == 0) return;
  if (streamed >= 0)
    Control->SetItemIndex(streamed);
  else if (!Select->ComPort())
    Control->SetItemIndex(0);
  else
    Control->UpdateSettings();
}

void TComComboBox::SetComPort(TCustomComPort* Value) { BindPort(this, FComSelect.get(), Value); }

void TComComboBox::SetComProperty(TComProperty Value) { BindProperty(this, FComSelect.get(), Value); }

void TComComboBox::UpdateSettings() {
  Integer index = ItemIndex();
  FComSelect->UpdateSettings(index);
  SetItemIndex(index);
}

void TComComboBox::ApplySettings() { FComSelect->ApplySettings(); }

AnsiString TComComboBox::GetText() {
  Integer index = ItemIndex();
  if (index < 0 || index >= Items()->Count()) return AnsiString();
  return Items()->Strings(index);
}

void TComComboBox::SetText(const AnsiString& Value) {
  for (int i = 0; i < Items()->Count(); ++i)
    if (AnsiSameText(Items()->Strings(i), Value)) {
      SetItemIndex(i);
      return;
    }
}

void TComComboBox::Change() {
  FComSelect->Change(GetText());
  inherited::Change();
}

void TComComboBox::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove || !AComponent || AComponent != FComSelect->ComPort()) return;
  FComSelect->SetComPort(nullptr);
  if (Items()->Count() > 0) SetItemIndex(0);
}

DK_PUBLISH(TComComboBox) {
  // The items are the selector's, never a form's.
  P.Property("Items", &TComComboBox::Items, &TComComboBox::SetItems).Stored(false);
  P.Property("Style", &TComComboBox::Style, &TComComboBox::SetStyle).Default(csDropDownList);
  P.Property("ComPort", &TComComboBox::ComPort, &TComComboBox::SetComPort);
  P.Property("ComProperty", &TComComboBox::ComProperty, &TComComboBox::SetComProperty).Default(cpNone);
  P.Property("AutoApply", &TComComboBox::AutoApply, &TComComboBox::SetAutoApply).Default(false);
}

// ================================================================= radio group

TComRadioGroup::TComRadioGroup(TComponent* AOwner)
    : TCustomRadioGroup(AOwner), FComSelect(std::make_unique<TComSelect>()) {}

TComRadioGroup::~TComRadioGroup() = default;

void TComRadioGroup::Construct() {
  inherited::Construct();
  FComSelect->SetItems(Items());
}

void TComRadioGroup::SetComPort(TCustomComPort* Value) { BindPort(this, FComSelect.get(), Value); }

void TComRadioGroup::SetComProperty(TComProperty Value) { BindProperty(this, FComSelect.get(), Value); }

void TComRadioGroup::UpdateSettings() {
  Integer index = ItemIndex();
  FComSelect->UpdateSettings(index);
  // Recorded first: the selection read from the port is no choice to hand back.
  FOldIndex = index;
  SetItemIndex(index);
}

void TComRadioGroup::ApplySettings() { FComSelect->ApplySettings(); }

void TComRadioGroup::Click() {
  Integer index = ItemIndex();
  if (index != FOldIndex) {
    if (index >= 0 && index < Items()->Count()) FComSelect->Change(Items()->Strings(index));
    FOldIndex = index;
  }
  inherited::Click();
}

void TComRadioGroup::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove || !AComponent || AComponent != FComSelect->ComPort()) return;
  FComSelect->SetComPort(nullptr);
  FOldIndex = 0;
  if (Items()->Count() > 0) SetItemIndex(0);
}

DK_PUBLISH(TComRadioGroup) {
  P.Property("Items", &TComRadioGroup::Items, &TComRadioGroup::SetItems).Stored(false);
  P.Property("ComPort", &TComRadioGroup::ComPort, &TComRadioGroup::SetComPort);
  P.Property("ComProperty", &TComRadioGroup::ComProperty, &TComRadioGroup::SetComProperty).Default(cpNone);
  P.Property("AutoApply", &TComRadioGroup::AutoApply, &TComRadioGroup::SetAutoApply).Default(false);
}

// ========================================================================= LED

namespace {

const char* const kLedBitmaps[lkCustom][2] = {
    {"LEDREDON", "LEDREDOFF"},       {"LEDGREENON", "LEDGREENOFF"},   {"LEDBLUEON", "LEDBLUEOFF"},
    {"LEDYELLOWON", "LEDYELLOWOFF"}, {"LEDPURPLEON", "LEDPURPLEOFF"}, {"LEDBULBON", "LEDBULBOFF"},
};

// Loads the bitmap resource Name of the program. A bitmap resource is a
// bitmap file without its file header; the header made here tells where the
// pixels start (after the info header and the colour table or bit masks).
void LoadBitmapResource(TBitmap* Bitmap, const char* Name) {
  const char* bad = "Bitmap image is not valid";
  HMODULE module = MainInstance();
  std::wstring name = winapi::W(Name);
  HRSRC res = FindResourceW(module, name.c_str(), MAKEINTRESOURCEW(2) /* RT_BITMAP */);
  if (!res) throw EResNotFound(Format("Resource %s not found", {AnsiString(Name)}));
  const auto* data = static_cast<const Byte*>(LockResource(LoadResource(module, res)));
  size_t size = SizeofResource(module, res);
  if (!data || size < sizeof(BITMAPCOREHEADER)) throw EInvalidGraphic(bad);
  DWORD headerSize;
  std::memcpy(&headerSize, data, sizeof headerSize);
  size_t table = 0;
  if (headerSize == sizeof(BITMAPCOREHEADER)) {
    BITMAPCOREHEADER core;
    std::memcpy(&core, data, sizeof core);
    if (core.bcBitCount <= 8) table = (size_t{1} << core.bcBitCount) * 3;
  } else {
    BITMAPINFOHEADER info;
    if (headerSize < sizeof info || size < sizeof info) throw EInvalidGraphic(bad);
    std::memcpy(&info, data, sizeof info);
    if (info.biBitCount <= 8) {
      size_t full = size_t{1} << info.biBitCount;
      table = (info.biClrUsed && info.biClrUsed < full ? info.biClrUsed : full) * sizeof(RGBQUAD);
    } else if (info.biCompression == BI_BITFIELDS && headerSize == sizeof info) {
      table = 3 * sizeof(DWORD);
    }
  }
  if (headerSize + table > size) throw EInvalidGraphic(bad);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfSize = static_cast<DWORD>(sizeof file + size);
  file.bfOffBits = static_cast<DWORD>(sizeof file + headerSize + table);
  TMemoryStream stream;
  stream.WriteBuffer(&file, sizeof file);
  stream.WriteBuffer(data, static_cast<Integer>(size));
  stream.SetPosition(0);
  Bitmap->LoadFromStream(&stream);
}

TBitmap* NewGlyph() {
  auto* b = Create<TBitmap>();
  b->SetTransparent(true);
  b->SetTransparentColor(clDefault);  // the bottom left pixel
  return b;
}

}  // namespace

TComLed::TComLed(TComponent* AOwner) : TGraphicControl(AOwner) {}

TComLed::~TComLed() {
  if (FComPort) {
    TComPort* port = FComPort;
    FComPort = nullptr;
    port->RemoveFreeNotification(this);
    try {
      port->UnRegisterLink(FComLink);
    } catch (...) {
    }
  }
  FreeAndNil(FComLink);
  FreeAndNil(FRingTimer);
  FreeAndNil(FGlyphOn);
  FreeAndNil(FGlyphOff);
}

void TComLed::Construct() {
  inherited::Construct();
  FControlStyle.Exclude(csSetCaption);
  FComLink = Create<TComLink>();
  FComLink->OnConn = TComSignalEvent(this, &TComLed::SignalChange);
  FGlyphOn = NewGlyph();
  FGlyphOff = NewGlyph();
  FRingTimer = Create<TTimer>(nullptr);
  FRingTimer->SetEnabled(false);
  FRingTimer->SetInterval(1000);
  FRingTimer->OnTimer = TNotifyEvent(this, &TComLed::DoTimer);
  SetBounds(Left(), Top(), 25, 25);
}

void TComLed::SetComPort(TComPort* Value) {
  if (Value == FComPort) return;
  if (FComPort) {
    FComPort->RemoveFreeNotification(this);
    FComPort->UnRegisterLink(FComLink);
  }
  FComPort = Value;
  if (!Value) {
    SetStateInternal(lsOff);
    return;
  }
  Value->FreeNotification(this);
  Value->RegisterLink(FComLink);
  if (Value->Connected() && !IsDesigning(this) && !IsLoading(this)) SetStateInternal(IsStateOn() ? lsOn : lsOff);
}

bool TComLed::IsStateOn() {
  switch (FLedSignal) {
    case lsConn: return FComPort && FComPort->Connected();
    case lsCTS: return FComPort && FComPort->Signals().Contains(csCTS);
    case lsDSR: return FComPort && FComPort->Signals().Contains(csDSR);
    case lsRLSD: return FComPort && FComPort->Signals().Contains(csRLSD);
    default: return false;
  }
}

void TComLed::SetLedSignal(TComLedSignal Value) {
  if (Value == FLedSignal) return;
  FLedSignal = Value;
  FComLink->OnConn = nullptr;
  FComLink->OnCTSChange = nullptr;
  FComLink->OnDSRChange = nullptr;
  FComLink->OnRLSDChange = nullptr;
  FComLink->OnRing = nullptr;
  FComLink->OnTx = nullptr;
  FComLink->OnRx = nullptr;
  TComSignalEvent signal(this, &TComLed::SignalChange);
  switch (Value) {
    case lsConn: FComLink->OnConn = signal; break;
    case lsCTS: FComLink->OnCTSChange = signal; break;
    case lsDSR: FComLink->OnDSRChange = signal; break;
    case lsRLSD: FComLink->OnRLSDChange = signal; break;
    case lsRing: FComLink->OnRing = TNotifyEvent(this, &TComLed::RingDetect); break;
    case lsRx: FComLink->OnRx = signal; break;
    case lsTx: FComLink->OnTx = signal; break;
  }
}

void TComLed::SignalChange(TObject* Sender, bool OnOff) {
  SetStateInternal(OnOff ? lsOn : lsOff);
  // shown at once, also while the program is busy
  if (Application) Application->ProcessMessages();
}

void TComLed::RingDetect(TObject* Sender) {
  FRingTimer->SetEnabled(true);
  SetStateInternal(lsOn);
}

void TComLed::DoTimer(TObject* Sender) {
  FRingTimer->SetEnabled(false);
  SetStateInternal(lsOff);
}

void TComLed::SetState(TLedState Value) {
  if (FComPort) throw EComPort(CError_LedStateFailed);
  SetStateInternal(Value);
}

void TComLed::SetStateInternal(TLedState Value) {
  FState = Value;
  if (!IsLoading(this)) DoChange(Value);
  Invalidate();
}

void TComLed::DoChange(TLedState AState) {
  if (OnChange) OnChange(this, AState);
}

void TComLed::SetKind(TLedKind Value) {
  if (Value == FKind) return;
  FKind = Value;
  LoadBitmaps(Value);
  Invalidate();
}

void TComLed::LoadBitmaps(TLedKind Value) {
  if (Value == lkCustom) return;
  LoadBitmapResource(FGlyphOn, kLedBitmaps[Value][0]);
  LoadBitmapResource(FGlyphOff, kLedBitmaps[Value][1]);
}

namespace {
void TakeGlyph(TBitmap* Dest, TBitmap* Source) {
  if (Source) {
    Dest->Assign(Source);
  } else {
    TBitmap empty;
    Dest->Assign(&empty);
  }
  Dest->SetTransparent(true);
  Dest->SetTransparentColor(clDefault);
}
}  // namespace

void TComLed::SetGlyphOn(TBitmap* Value) {
  if (FKind != lkCustom) return;
  TakeGlyph(FGlyphOn, Value);
  Invalidate();
}

void TComLed::SetGlyphOff(TBitmap* Value) {
  if (FKind != lkCustom) return;
  TakeGlyph(FGlyphOff, Value);
  Invalidate();
}

Integer TComLed::RingDuration() const { return static_cast<Integer>(FRingTimer->Interval()); }

void TComLed::SetRingDuration(Integer Value) { FRingTimer->SetInterval(static_cast<Cardinal>(Value)); }

void TComLed::Paint() {
  if (FGlyphOn->Empty() || FGlyphOff->Empty()) LoadBitmaps(FKind);
  TBitmap* glyph = Enabled() && FState == lsOn ? FGlyphOn : FGlyphOff;
  if (glyph->Empty()) return;
  TRect client = ClientRect();
  int x = client.Left + std::max(0, (client.Width() - glyph->Width()) / 2);
  int y = client.Top + std::max(0, (client.Height() - glyph->Height()) / 2);
  Canvas()->Draw(x, y, glyph);
}

void TComLed::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove || !AComponent || AComponent != FComPort) return;
  // The port is being destroyed: its link list goes with it.
  FComPort = nullptr;
  if (ComponentState().Contains(csDestroying))
    FState = lsOff;
  else
    SetStateInternal(lsOff);
}

DK_PUBLISH(TComLed) {
  P.Property("ComPort", &TComLed::ComPort, &TComLed::SetComPort);
  P.Property("LedSignal", &TComLed::LedSignal, &TComLed::SetLedSignal).Default(lsConn);
  P.Property("Kind", &TComLed::Kind, &TComLed::SetKind).Default(lkRedLight);
  P.Property("GlyphOn", &TComLed::GlyphOn, &TComLed::SetGlyphOn).Stored(&TComLed::IsGlyphStored);
  P.Property("GlyphOff", &TComLed::GlyphOff, &TComLed::SetGlyphOff).Stored(&TComLed::IsGlyphStored);
  P.Property("State", &TComLed::State, &TComLed::SetState).Default(lsOff);
  P.Property("RingDuration", &TComLed::RingDuration, &TComLed::SetRingDuration).Default(1000);
  P.Property("OnChange", &TComLed::OnChange);
}

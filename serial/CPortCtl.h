// Controls bound to a serial port: a combo box and a radio group that list the
// possible values of one setting of a port and write the chosen one into it,
// a lamp that shows the connection, a line or the activity of a port, and the
// terminal (CPortCtlTerm.h).
//
// The lists share a selector (TComSelect) that fills their items, keeps the
// value chosen last (the pending selection) and writes it into the port. The
// lamp attaches to its port through a link. All of them publish ComPort as a
// component reference, so that a form resource binds them by name
// ("ComPort = ComPort1" or "ComPort = Form1.ComPort1").
//
// The lamp's pictures are the bitmap resources LEDREDON, LEDREDOFF ... of the
// program; serial/CMakeLists.txt gives the resource objects that a program
// using these controls links (DK_SERIAL_CTL_RESOURCES).
#pragma once

#include "classlib/ui/ExtCtrls.h"
#include "classlib/ui/Graphics.h"
#include "classlib/ui/StdCtrls.h"
#include "serial/CPort.h"

DK_ENUM(TComProperty, cpNone, cpPort, cpBaudRate, cpDataBits, cpStopBits, cpParity, cpFlowControl);
DK_ENUM(TComLedSignal, lsConn, lsCTS, lsDSR, lsRLSD, lsRing, lsRx, lsTx);
DK_ENUM(TLedKind, lkRedLight, lkGreenLight, lkBlueLight, lkYellowLight, lkPurpleLight, lkBulb, lkCustom);
DK_ENUM(TLedState, lsOff, lsOn);

using TLedStateEvent = TClosure<void(TObject* Sender, TLedState AState)>;

// ------------------------------------------------------------------ selector

// Lists the values of one port setting into the items of its control and
// carries the chosen value to the port.
class TComSelect : public TObject {
  DK_CLASS(TComSelect, TObject)
 public:
  TComSelect() = default;

  // Stores the property and fills the items with its values (the ports
  // present for cpPort, the value texts for the others; none for cpNone).
  void SetComProperty(TComProperty Value);
  TComProperty ComProperty() const { return FComProperty; }
  // Takes Text as the value chosen for the current property; with AutoApply
  // it goes to the port at once.
  void Change(const AnsiString& Text);
  // Writes the chosen value of the current property into the port. Nothing is
  // written while no value has been chosen or read from the port (so that a
  // port whose name is not listed keeps its name).
  void ApplySettings();
  // Finds the port's current value among the items: ItemIndex becomes its
  // index (-1 when it is not listed) and a listed value becomes the chosen
  // one (an unlisted one leaves nothing to apply). Without a port or with
  // cpNone, ItemIndex is left as it is.
  void UpdateSettings(Integer& ItemIndex);

  TStrings* Items() const { return FItems; }
  void SetItems(TStrings* Value) { FItems = Value; }
  TCustomComPort* ComPort() const { return FComPort; }
  void SetComPort(TCustomComPort* Value) { FComPort = Value; }
  bool AutoApply() const { return FAutoApply; }
  void SetAutoApply(bool Value) { FAutoApply = Value; }
  // True while a chosen value waits for ApplySettings.
  bool HasSelection() const { return FHasSelection; }

 private:
  void SelectPort();
  void SelectBaudRate();
  void SelectDataBits();
  void SelectStopBits();
  void SelectParity();
  void SelectFlowControl();
  // The port's current value of the current property as its display text.
  AnsiString PortValueText() const;

  AnsiString FPort;
  TBaudRate FBaudRate = br9600;
  TDataBits FDataBits = dbEight;
  TStopBits FStopBits = sbOneStopBit;
  TParityBits FParityBits = prNone;
  TFlowControl FFlowControl = fcNone;
  bool FHasSelection = false;
  TStrings* FItems = nullptr;  // the control's items, not owned
  TComProperty FComProperty = cpNone;
  TCustomComPort* FComPort = nullptr;
  bool FAutoApply = false;
};

// ----------------------------------------------------------------- combo box

// A drop-down list of the values of one port setting. Text is the selected
// item (empty when none), never an edited text.
class TComComboBox : public TCustomComboBox {
  DK_CLASS(TComComboBox, TCustomComboBox)
 public:
  explicit TComComboBox(TComponent* AOwner);
  ~TComComboBox() override;
  void Construct() override;

  // Selects the item of the port's current value.
  void UpdateSettings();
  // Writes the selected value into the port.
  void ApplySettings();

  TCustomComPort* ComPort() const { return FComSelect->ComPort(); }
  void SetComPort(TCustomComPort* Value);
  TComProperty ComProperty() const { return FComSelect->ComProperty(); }
  void SetComProperty(TComProperty Value);
  bool AutoApply() const { return FComSelect->AutoApply(); }
  void SetAutoApply(bool Value) { FComSelect->SetAutoApply(Value); }
  AnsiString GetText() override;
  // Selects the item equal to Value (without regard to case); an unlisted
  // text leaves the selection as it is.
  void SetText(const AnsiString& Value) override;

 protected:
  void Change() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  std::unique_ptr<TComSelect> FComSelect;
};

// --------------------------------------------------------------- radio group

// A radio group of the values of one port setting.
class TComRadioGroup : public TCustomRadioGroup {
  DK_CLASS(TComRadioGroup, TCustomRadioGroup)
 public:
  explicit TComRadioGroup(TComponent* AOwner);
  ~TComRadioGroup() override;
  void Construct() override;

  void UpdateSettings();
  void ApplySettings();
  void Click() override;

  TCustomComPort* ComPort() const { return FComSelect->ComPort(); }
  void SetComPort(TCustomComPort* Value);
  TComProperty ComProperty() const { return FComSelect->ComProperty(); }
  void SetComProperty(TComProperty Value);
  bool AutoApply() const { return FComSelect->AutoApply(); }
  void SetAutoApply(bool Value) { FComSelect->SetAutoApply(Value); }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  std::unique_ptr<TComSelect> FComSelect;
  Integer FOldIndex = -1;  // the item last handed to the selector
};

// ----------------------------------------------------------------------- LED

// A lamp (25 x 25 at creation) showing one signal of its port: the
// connection, a modem line, a ring (on for RingDuration milliseconds) or the
// reception and transmission of data. Without a port its State is set by the
// program.
class TComLed : public TGraphicControl {
  DK_CLASS(TComLed, TGraphicControl)
 public:
  explicit TComLed(TComponent* AOwner);
  ~TComLed() override;
  void Construct() override;

  TComPort* ComPort() const { return FComPort; }
  void SetComPort(TComPort* Value);
  TComLedSignal LedSignal() const { return FLedSignal; }
  void SetLedSignal(TComLedSignal Value);
  TLedKind Kind() const { return FKind; }
  void SetKind(TLedKind Value);
  TLedState State() const { return FState; }
  // Raises EComPort code 19 while a port is bound.
  void SetState(TLedState Value);
  TBitmap* GlyphOn() const { return FGlyphOn; }
  TBitmap* GlyphOff() const { return FGlyphOff; }
  // Taken only when Kind is lkCustom.
  void SetGlyphOn(TBitmap* Value);
  void SetGlyphOff(TBitmap* Value);
  Integer RingDuration() const;
  void SetRingDuration(Integer Value);

  // GlyphOn and GlyphOff go into a form only for lkCustom.
  bool IsGlyphStored() const { return FKind == lkCustom; }

  TLedStateEvent OnChange;

 protected:
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual void DoChange(TLedState AState);

 private:
  bool IsStateOn();
  void SetStateInternal(TLedState Value);
  void LoadBitmaps(TLedKind Value);
  void SignalChange(TObject* Sender, bool OnOff);
  void RingDetect(TObject* Sender);
  void DoTimer(TObject* Sender);

  TComPort* FComPort = nullptr;
  TComLedSignal FLedSignal = lsConn;
  TLedKind FKind = lkRedLight;
  TLedState FState = lsOff;
  TBitmap* FGlyphOff = nullptr;
  TBitmap* FGlyphOn = nullptr;
  TComLink* FComLink = nullptr;
  TTimer* FRingTimer = nullptr;
};

// Keeps the unit's classes (found by name by the form reader) and the port
// setup form in every program that uses the controls.
namespace dk_link {
extern const int CPortCtlUnit;
[[gnu::used]] static const int* const CPortCtlAnchor = &CPortCtlUnit;
}  // namespace dk_link

// The terminal belongs to this unit too.
#include "serial/CPortCtlTerm.h"

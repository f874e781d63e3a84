// The terminal control: shows what a port receives on a grid of character
// cells, interprets VT100/ANSI or VT52 control sequences, answers the host's
// queries and sends the keys typed into it to the port.
//
// The cells and the rules that fill them are the portable screen
// (CPortCtlScreen.h); this control draws them, scrolls its window, keeps the
// system caret on the caret cell and talks to the port through a link.
// Cells hold code page 1251 bytes, drawn through the W functions, each in a
// cell as wide as the font's widest character and as high as the font.
//
// Received chunks are drawn once per Write: the changed cells and the rows
// moved are collected while the bytes are put and shown before Write returns.
//
// Part of the unit CPortCtl (CPortCtl.h includes this header).
#pragma once

#include <memory>

#include "classlib/ui/Controls.h"
#include "classlib/ui/Graphics.h"
#include "classlib/ui/StdCtrls.h"
#include "serial/CPort.h"
#include "serial/CPortCtlScreen.h"
#include "serial/CPortEsc.h"

DK_ENUM(TTermEmulation, teVT100orANSI, teVT52, teNone);
DK_ENUM(TTermCaret, tcBlock, tcUnderline, tcNone);
DK_ENUM(TArrowKeys, akTerminal, akWindows);

using TChScreenEvent = TClosure<void(TObject* Sender, char Ch)>;
// The handler may supply a parser (which the terminal then owns).
using TEscapeEvent = TClosure<void(TObject* Sender, TEscapeCodes*& EscapeCodes)>;
using TUnhandledEvent = TClosure<void(TObject* Sender, TEscapeCode Code, const AnsiString& Data)>;
// The handler may change the received text before it is shown.
using TStrRecvEvent = TClosure<void(TObject* Sender, AnsiString& Str)>;

// The terminal's default font: "Fixedsys", 9 points, white.
TFont* ComTerminalFont();

class TCustomComTerminal : public TCustomControl, private TComTermView {
  DK_CLASS(TCustomComTerminal, TCustomControl)
  DK_MESSAGES(TCustomComTerminal)
 public:
  explicit TCustomComTerminal(TComponent* AOwner);
  ~TCustomComTerminal() override;
  void Construct() override;
  void BeforeDestruction() override;

  // The screen.
  void ClearScreen();
  void MoveCaret(Integer X, Integer Y);
  // Received bytes (through the parser when there is one).
  void Write(const void* Buffer, Integer Count);
  void WriteStr(const AnsiString& Str);
  // Performs a code as if it had been received (when a parser exists).
  void WriteEscCode(TEscapeCode Code, TStrings* Params);
  void PutChar(char Ch);
  bool PutEscapeCode(TEscapeCode Code, TStrings* Params);
  void AdvanceCaret(TAdvanceCaret Kind) { Batched([&] { FScreen->AdvanceCaret(Kind); }); }
  TComTermChar GetCharAttr() const { return FScreen->GetCharAttr(); }
  void SetAttributes(TStrings* Params) { FScreen->SetAttributes(Params); }
  void SetMode(TStrings* Params, bool OnOff) { Batched([&] { FScreen->SetMode(Params, OnOff); }); }
  void SaveCaretPos() { FScreen->SaveCaretPos(); }
  void RestoreCaretPos() { FScreen->RestoreCaretPos(); }
  void SaveAttr() { FScreen->SaveAttr(); }
  void RestoreAttr() { FScreen->RestoreAttr(); }
  void LoadFromStream(TStream* Stream);
  void SaveToStream(TStream* Stream) { FScreen->SaveToStream(Stream); }

  // The port.
  // A typed character to the port (only while a port is bound and connected).
  void SendChar(char Ch);
  void SendCode(TEscapeCode Code, TStrings* Params);
  void SendCodeNoEcho(TEscapeCode Code, TStrings* Params);
  // The link's receive handler.
  void RxBuf(TObject* Sender, const void* Buffer, Integer Count);
  void StringReceived(const AnsiString& Str);

  // A font dialog of fixed-pitch fonts; the terminal takes the chosen one.
  void SelectFont();
  void ShowSetupDialog();
  // The parser of the emulation (or the one OnGetEscapeCodes gives).
  void CreateEscapeCodes();

  TComTermBuffer* Buffer() const { return FScreen->Buffer(); }
  TEscapeCodes* EscapeCodes() const { return FScreen->EscapeCodes(); }
  TPoint CaretPos() const { return FScreen->CaretPos(); }
  // The cell shown at the top left of the window (1, 1 unless scrolled).
  TPoint TopLeft() const { return FTopLeft; }
  Integer CharWidth() const { return FCharWidth; }
  Integer CharHeight() const { return FCharHeight; }
  bool AppCursorKeys() const { return FScreen->AppCursorKeys(); }

  // Properties.
  TCustomComPort* ComPort() const { return FComPort; }
  void SetComPort(TCustomComPort* Value);
  bool Connected() const;
  void SetConnected(bool Value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  TArrowKeys ArrowKeys() const { return FArrowKeys; }
  void SetArrowKeys(TArrowKeys Value) { FArrowKeys = Value; }
  bool WantTab() const { return FWantTab; }
  void SetWantTab(bool Value) { FWantTab = Value; }
  Integer Columns() const { return FScreen->Columns(); }
  void SetColumns(Integer Value);
  Integer Rows() const { return FScreen->Rows(); }
  void SetRows(Integer Value);
  TColor AltColor() const { return FScreen->AltColor(); }
  void SetAltColor(TColor Value);
  bool LocalEcho() const { return FLocalEcho; }
  void SetLocalEcho(bool Value) { FLocalEcho = Value; }
  bool SendLF() const { return FSendLF; }
  void SetSendLF(bool Value) { FSendLF = Value; }
  bool AppendLF() const { return FAppendLF; }
  void SetAppendLF(bool Value) { FAppendLF = Value; }
  bool Force7Bit() const { return FForce7Bit; }
  void SetForce7Bit(bool Value) { FForce7Bit = Value; }
  bool WrapLines() const { return FScreen->WrapLines(); }
  void SetWrapLines(bool Value) { FScreen->SetWrapLines(Value); }
  bool SmoothScroll() const { return FSmoothScroll; }
  void SetSmoothScroll(bool Value) { FSmoothScroll = Value; }
  TTermEmulation Emulation() const { return FEmulation; }
  void SetEmulation(TTermEmulation Value);
  TTermCaret Caret() const { return FCaret; }
  void SetCaret(TTermCaret Value);

  // Events.
  TChScreenEvent OnChar;
  TEscapeEvent OnGetEscapeCodes;
  TUnhandledEvent OnUnhandledCode;
  TStrRecvEvent OnStrRecieved;

 protected:
  virtual void DoChar(char Ch);
  virtual void DoGetEscapeCodes(TEscapeCodes*& EscapeCodes);
  virtual void DoStrRecieved(AnsiString& Str);
  virtual void DoUnhandledCode(TEscapeCode Code, const AnsiString& Data);

  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  bool CanAutoSize(Integer& NewWidth, Integer& NewHeight) override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Paint() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;

 public:  // message handlers
  void CMFontChanged(TMessage& Message);
  void CMColorChanged(TMessage& Message);
  void CMCtl3DChanged(TMessage& Message);
  void WMGetDlgCode(TMessage& Message);
  void WMSetFocus(TWMSetFocus& Message);
  void WMKillFocus(TWMKillFocus& Message);
  void WMLButtonDown(TWMMouse& Message);
  void WMSize(TWMSize& Message);
  void WMHScroll(TWMScroll& Message);
  void WMVScroll(TWMScroll& Message);

 private:
  // TComTermView: what the screen reports.
  bool CanInitGrid() override;
  void CellsChanged(Integer X1, Integer Y1, Integer X2, Integer Y2) override;
  void RowsScrolled(bool Up) override;
  void ScreenChanged() override;
  void CaretMoved() override;
  void GridResized() override;
  void SendAnswer(TEscapeCode Code, TStrings* Params) override;
  void CharPut(char Ch) override;
  void UnhandledCode(TEscapeCode Code, const AnsiString& Data) override;

  // Runs Fn with the drawing held back; the outermost run shows what changed.
  template <class F>
  void Batched(F&& Fn);
  // Shows what changed since the last time: moves the picture, redraws the
  // changed cells, at once.
  void ShowDamage();
  bool IsSending() const;
  // Measures the font and makes the fonts of the cells.
  void UpdateFontMetrics();
  void CreateCaret();
  void DestroyCaret();
  void PlaceCaret();
  // Places the caret when it moved during a run of changes.
  void PlaceMovedCaret();
  void UpdateScrollRange();
  void ClampTopLeft();
  void ModifyScrollBar(int ScrollBar, int ScrollCode, int Pos);
  // The part of the client area the visible cells take.
  RECT GridRect();
  void DrawRow(HDC DC, Integer Y, Integer X1, Integer X2);
  void PaintDesignSample(HDC DC);

  std::unique_ptr<TComTermScreen> FScreen;
  TComLink* FComLink = nullptr;
  TCustomComPort* FComPort = nullptr;
  TBorderStyle FBorderStyle = bsSingle;
  TScrollStyle FScrollBars = ssBoth;
  TArrowKeys FArrowKeys = akTerminal;
  bool FWantTab = false;
  bool FLocalEcho = false;
  bool FSendLF = false;
  bool FAppendLF = false;
  bool FForce7Bit = false;
  bool FSmoothScroll = false;
  Integer FCharHeight = 0, FCharWidth = 0;
  TTermEmulation FEmulation = teVT100orANSI;
  TTermCaret FCaret = tcBlock;
  bool FCreatedCaret = false;
  Integer FCaretHeight = 0;
  TPoint FTopLeft{1, 1};
  TComTermDamage FDamage;
  int FBatch = 0;
  bool FCaretMoved = false;
  bool FAdjustingFont = false;
  bool FUpdatingRange = false;
  // The fonts of the cells: plain and underlined.
  struct TFonts;
  std::unique_ptr<TFonts> FFonts;
};

template <class F>
void TCustomComTerminal::Batched(F&& Fn) {
  struct Hold {
    TCustomComTerminal* T;
    ~Hold() {
      if (--T->FBatch == 0) T->ShowDamage();
    }
  };
  ++FBatch;
  Hold hold{this};
  Fn();
}

// The published terminal.
class TComTerminal : public TCustomComTerminal {
  DK_CLASS(TComTerminal, TCustomComTerminal)
 public:
  using TCustomComTerminal::TCustomComTerminal;
};

namespace dk_link {
extern const int CPortCtlTermUnit;
}  // namespace dk_link

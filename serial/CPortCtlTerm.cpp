// The terminal control.
#include "serial/CPortCtl.h"

#include "classlib/ui/WinApi.h"
// WinApi.h must come first: the units below include the platform headers too.
#include "classlib/core/Cp1251.h"
#include "classlib/ui/Dialogs.h"
#include "classlib/ui/Forms.h"
#include "serial/CPortTrmSet.h"

#include <algorithm>
#include <string>
#include <vector>

const int dk_link::CPortCtlTermUnit = 0;

namespace {

bool IsLoading(const TComponent* C) { return C->ComponentState().Contains(csLoading); }
bool IsDesigning(const TComponent* C) { return C->ComponentState().Contains(csDesigning); }

// A device context of the screen for measuring a font.
class TMeasureDC {
 public:
  explicit TMeasureDC(HFONT Font) : FDC(GetDC(nullptr)), FOld(SelectObject(FDC, Font)) {}
  ~TMeasureDC() {
    SelectObject(FDC, FOld);
    ReleaseDC(nullptr, FDC);
  }
  TMeasureDC(const TMeasureDC&) = delete;
  TMeasureDC& operator=(const TMeasureDC&) = delete;
  TEXTMETRICW Metrics() const {
    TEXTMETRICW tm{};
    GetTextMetricsW(FDC, &tm);
    return tm;
  }

 private:
  HDC FDC;
  HGDIOBJ FOld;
};

// The state of a device context, restored when the object goes.
class TSavedDC {
 public:
  explicit TSavedDC(HDC DC) : FDC(DC), FSaved(SaveDC(DC)) {}
  ~TSavedDC() { RestoreDC(FDC, FSaved); }
  TSavedDC(const TSavedDC&) = delete;
  TSavedDC& operator=(const TSavedDC&) = delete;

 private:
  HDC FDC;
  int FSaved;
};

// A region made of rectangles.
class TRegion {
 public:
  TRegion() : FRegion(CreateRectRgn(0, 0, 0, 0)) {}
  ~TRegion() { DeleteObject(FRegion); }
  TRegion(const TRegion&) = delete;
  TRegion& operator=(const TRegion&) = delete;
  void Add(int Left, int Top, int Right, int Bottom) {
    HRGN part = CreateRectRgn(Left, Top, Right, Bottom);
    CombineRgn(FRegion, FRegion, part, RGN_OR);
    DeleteObject(part);
    FEmpty = false;
  }
  bool Empty() const { return FEmpty; }
  HRGN Handle() const { return FRegion; }

 private:
  HRGN FRegion;
  bool FEmpty = true;
};

}  // namespace

// The fonts the cells are drawn with.
struct TCustomComTerminal::TFonts {
  HFONT Plain = nullptr;
  HFONT Underlined = nullptr;
  explicit TFonts(HFONT From) {
    LOGFONTW lf{};
    GetObjectW(From, sizeof lf, &lf);
    lf.lfUnderline = FALSE;
    Plain = CreateFontIndirectW(&lf);
    lf.lfUnderline = TRUE;
    Underlined = CreateFontIndirectW(&lf);
  }
  ~TFonts() {
    if (Plain) DeleteObject(Plain);
    if (Underlined) DeleteObject(Underlined);
  }
  TFonts(const TFonts&) = delete;
  TFonts& operator=(const TFonts&) = delete;
};

TFont* ComTerminalFont() {
  static TFont* font = [] {
    static TFont f;
    f.SetName("Fixedsys");
    f.SetColor(clWhite);
    f.SetSize(9);
    return &f;
  }();
  return font;
}

// ================================================================ lifecycle

TCustomComTerminal::TCustomComTerminal(TComponent* AOwner) : TCustomControl(AOwner) {}

TCustomComTerminal::~TCustomComTerminal() { delete FComLink; }

void TCustomComTerminal::Construct() {
  inherited::Construct();
  // The cells and the parser exist from the start, so that a terminal made
  // in code works before (and without) Loaded.
  FScreen = std::make_unique<TComTermScreen>(static_cast<TComTermView*>(this));
  FComLink = new TComLink();
  FComLink->OnRxBuf = TRxBufEvent(this, &TCustomComTerminal::RxBuf);
  SetBounds(Left(), Top(), 400, 250);
  SetTabStop(true);
  SetColor(clBlack);
  Font()->Assign(ComTerminalFont());
  FScreen->SetFontColor(Font()->Color());
  FScreen->SetBackColor(Color());
  CreateEscapeCodes();
  FDamage.Reset(Buffer()->Rows());
}

void TCustomComTerminal::BeforeDestruction() {
  try {
    SetComPort(nullptr);
  } catch (...) {
    // the terminal goes in any case
  }
  DestroyCaret();
  inherited::BeforeDestruction();
}

void TCustomComTerminal::Loaded() {
  inherited::Loaded();
  CreateEscapeCodes();
  if (!IsDesigning(this)) FScreen->Init();
  AdjustSize();
  UpdateScrollRange();
  FDamage.Reset(Buffer()->Rows());
  FDamage.All();
}

void TCustomComTerminal::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove || !FComPort || AComponent != FComPort) return;
  // The port is going away: forget it even when it no longer knows the link.
  TCustomComPort* old = FComPort;
  FComPort = nullptr;
  try {
    old->UnRegisterLink(FComLink);
  } catch (...) {
  }
}

void TCustomComTerminal::CreateEscapeCodes() {
  if (IsDesigning(this)) return;
  switch (FEmulation) {
    case teVT100orANSI: FScreen->SetEscapeCodes(Create<TEscapeCodesVT100>()); break;
    case teVT52: FScreen->SetEscapeCodes(Create<TEscapeCodesVT52>()); break;
    case teNone: {
      FScreen->SetEscapeCodes(nullptr);
      TEscapeCodes* codes = nullptr;
      DoGetEscapeCodes(codes);
      FScreen->SetEscapeCodes(codes);
      break;
    }
  }
}

// =================================================================== events

void TCustomComTerminal::DoChar(char Ch) {
  if (OnChar) OnChar(this, Ch);
}

void TCustomComTerminal::DoGetEscapeCodes(TEscapeCodes*& EscapeCodes) {
  if (OnGetEscapeCodes) OnGetEscapeCodes(this, EscapeCodes);
}

void TCustomComTerminal::DoStrRecieved(AnsiString& Str) {
  if (OnStrRecieved) OnStrRecieved(this, Str);
}

void TCustomComTerminal::DoUnhandledCode(TEscapeCode Code, const AnsiString& Data) {
  if (OnUnhandledCode) OnUnhandledCode(this, Code, Data);
}

// ================================================================ the screen

namespace {

// Hides the system caret while the screen changes.
class TCaretHidden {
 public:
  TCaretHidden(HWND Wnd, bool Created) : FWnd(Created ? Wnd : nullptr) {
    if (FWnd) HideCaret(FWnd);
  }
  ~TCaretHidden() {
    if (FWnd) ShowCaret(FWnd);
  }
  TCaretHidden(const TCaretHidden&) = delete;
  TCaretHidden& operator=(const TCaretHidden&) = delete;

 private:
  HWND FWnd;
};

}  // namespace

void TCustomComTerminal::ClearScreen() {
  Batched([&] { FScreen->ClearScreen(); });
}

void TCustomComTerminal::MoveCaret(Integer X, Integer Y) { FScreen->MoveCaret(X, Y); }

void TCustomComTerminal::Write(const void* Buffer, Integer Count) {
  TCaretHidden hidden(WindowHandle(), FCreatedCaret);
  Batched([&] { FScreen->Write(Buffer, Count); });
}

void TCustomComTerminal::WriteStr(const AnsiString& Str) { Write(Str.data(), static_cast<Integer>(Str.size())); }

void TCustomComTerminal::WriteEscCode(TEscapeCode Code, TStrings* Params) {
  if (EscapeCodes()) PutEscapeCode(Code, Params);
}

void TCustomComTerminal::PutChar(char Ch) {
  Batched([&] { FScreen->PutChar(Ch); });
}

bool TCustomComTerminal::PutEscapeCode(TEscapeCode Code, TStrings* Params) {
  bool handled = false;
  Batched([&] { handled = FScreen->PutEscapeCode(Code, Params); });
  return handled;
}

void TCustomComTerminal::LoadFromStream(TStream* Stream) {
  Batched([&] { FScreen->LoadFromStream(Stream); });
}

// ================================================================= the port

bool TCustomComTerminal::IsSending() const { return FComPort && FComPort->Connected(); }

void TCustomComTerminal::SendChar(char Ch) {
  if (!IsSending()) return;
  FComPort->WriteStr(AnsiString(1, Ch));
  if (FLocalEcho) {
    TCaretHidden hidden(WindowHandle(), FCreatedCaret);
    PutChar(Ch);
  }
  if (Ch == '\r' && FSendLF) SendChar('\n');
}

void TCustomComTerminal::SendCode(TEscapeCode Code, TStrings* Params) {
  if (!IsSending() || !EscapeCodes()) return;
  SendCodeNoEcho(Code, Params);
  if (FLocalEcho) PutEscapeCode(Code, Params);
}

void TCustomComTerminal::SendCodeNoEcho(TEscapeCode Code, TStrings* Params) {
  if (!IsSending() || !EscapeCodes()) return;
  AnsiString text = EscapeCodes()->EscCodeToStr(Code, Params);
  if (!text.empty()) FComPort->WriteStr(text);
}

void TCustomComTerminal::RxBuf(TObject* Sender, const void* Buffer, Integer Count) {
  AnsiString text(static_cast<const char*>(Buffer), static_cast<std::size_t>(std::max(Count, 0)));
  if (FForce7Bit)
    for (char& c : text) c = static_cast<char>(c & 0x7F);
  if (FAppendLF) {
    AnsiString withLF;
    withLF.reserve(text.size() + text.size() / 8);
    for (char c : text) {
      withLF += c;
      if (c == '\r') withLF += '\n';
    }
    text.swap(withLF);
  }
  StringReceived(text);
}

void TCustomComTerminal::StringReceived(const AnsiString& Str) {
  AnsiString text = Str;
  DoStrRecieved(text);
  WriteStr(text);
}

void TCustomComTerminal::SetComPort(TCustomComPort* Value) {
  if (Value == FComPort) return;
  if (FComPort) {
    TCustomComPort* old = FComPort;
    FComPort = nullptr;
    old->RemoveFreeNotification(this);
    old->UnRegisterLink(FComLink);
  }
  if (!Value) return;
  Value->FreeNotification(this);
  try {
    Value->RegisterLink(FComLink);
  } catch (...) {
    Value->RemoveFreeNotification(this);
    throw;
  }
  FComPort = Value;
}

bool TCustomComTerminal::Connected() const { return FComPort && FComPort->Connected(); }

void TCustomComTerminal::SetConnected(bool Value) {
  if (FComPort) FComPort->SetConnected(Value);
}

// ===================================================================== keys

void TCustomComTerminal::KeyDown(Word& Key, TShiftState Shift) {
  inherited::KeyDown(Key, Shift);
  TEscapeCode code;
  switch (Key) {
    case VK_HOME: code = ecCursorHome; break;
    case VK_LEFT: code = ecCursorLeft; break;
    case VK_UP: code = ecCursorUp; break;
    case VK_RIGHT: code = ecCursorRight; break;
    case VK_DOWN: code = ecCursorDown; break;
    default: return;
  }
  if (!AppCursorKeys()) {
    if (FArrowKeys == akWindows)
      PutEscapeCode(code, nullptr);
    else
      SendCode(code, nullptr);
    return;
  }
  switch (code) {
    case ecCursorUp: SendCode(ecAppCursorUp, nullptr); break;
    case ecCursorDown: SendCode(ecAppCursorDown, nullptr); break;
    case ecCursorLeft: SendCode(ecAppCursorLeft, nullptr); break;
    case ecCursorRight: SendCode(ecAppCursorRight, nullptr); break;
    default: break;
  }
}

void TCustomComTerminal::KeyPress(char& Key) {
  inherited::KeyPress(Key);
  // a handler that took the key leaves nothing to send
  if (Key) SendChar(Key);
}

void TCustomComTerminal::WMGetDlgCode(TMessage& Message) {
  Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | (FWantTab ? DLGC_WANTTAB : 0);
}

void TCustomComTerminal::WMLButtonDown(TWMMouse& Message) {
  if (CanFocus() && TabStop()) SetFocus();
  TControl::WMLButtonDown(Message);
}

// ==================================================================== caret

void TCustomComTerminal::CreateCaret() {
  HWND wnd = WindowHandle();
  if (!wnd || FCaret == tcNone || FCreatedCaret || FCharHeight <= 0) return;
  FCaretHeight = FCaret == tcBlock ? FCharHeight : std::max(1, FCharHeight / 8);
  if (!::CreateCaret(wnd, nullptr, FCharWidth, FCaretHeight)) return;
  FCreatedCaret = true;
  PlaceCaret();
  ShowCaret(wnd);
}

void TCustomComTerminal::DestroyCaret() {
  if (!FCreatedCaret) return;
  FCreatedCaret = false;
  ::DestroyCaret();
}

void TCustomComTerminal::PlaceMovedCaret() {
  if (!FCaretMoved) return;
  FCaretMoved = false;
  PlaceCaret();
}

void TCustomComTerminal::PlaceCaret() {
  if (!FCreatedCaret) return;
  TPoint p = CaretPos();
  SetCaretPos((p.X - FTopLeft.X) * FCharWidth, (p.Y - FTopLeft.Y + 1) * FCharHeight - FCaretHeight);
}

void TCustomComTerminal::WMSetFocus(TWMSetFocus& Message) {
  TWinControl::WMSetFocus(Message);
  CreateCaret();
}

void TCustomComTerminal::WMKillFocus(TWMKillFocus& Message) {
  TWinControl::WMKillFocus(Message);
  DestroyCaret();
}

void TCustomComTerminal::SetCaret(TTermCaret Value) {
  if (Value == FCaret) return;
  FCaret = Value;
  if (Focused()) {
    DestroyCaret();
    CreateCaret();
  }
}

// =================================================================== view

bool TCustomComTerminal::CanInitGrid() { return !IsLoading(this) && !IsDesigning(this); }

void TCustomComTerminal::CellsChanged(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  FDamage.Cells(X1, Y1, X2, Y2);
  if (!FBatch) ShowDamage();
}

void TCustomComTerminal::RowsScrolled(bool Up) {
  FDamage.Scroll(Up);
  if (!FBatch) ShowDamage();
}

void TCustomComTerminal::ScreenChanged() {
  FDamage.All();
  if (!FBatch) ShowDamage();
}

void TCustomComTerminal::CaretMoved() {
  // placing the system caret asks the window system: once per run of changes
  if (FBatch)
    FCaretMoved = true;
  else
    PlaceCaret();
}

void TCustomComTerminal::GridResized() {
  AdjustSize();
  UpdateScrollRange();
  FDamage.Reset(Buffer()->Rows());
  ScreenChanged();
}

void TCustomComTerminal::SendAnswer(TEscapeCode Code, TStrings* Params) { SendCodeNoEcho(Code, Params); }

void TCustomComTerminal::CharPut(char Ch) { DoChar(Ch); }

void TCustomComTerminal::UnhandledCode(TEscapeCode Code, const AnsiString& Data) { DoUnhandledCode(Code, Data); }

RECT TCustomComTerminal::GridRect() {
  RECT client{};
  ::GetClientRect(WindowHandle(), &client);
  RECT r{0, 0, 0, 0};
  r.right = std::min<LONG>(client.right, (Columns() - FTopLeft.X + 1) * FCharWidth);
  r.bottom = std::min<LONG>(client.bottom, (Rows() - FTopLeft.Y + 1) * FCharHeight);
  return r;
}

void TCustomComTerminal::ShowDamage() {
  HWND wnd = WindowHandle();
  if (FDamage.Empty() || !wnd || FCharWidth <= 0 || FCharHeight <= 0) {
    FDamage.Reset(Buffer()->Rows());
    PlaceMovedCaret();
    return;
  }
  // A picture with parts still to paint cannot be moved: they would move too.
  bool whole = FDamage.Whole() || (FDamage.Scrolled() && GetUpdateRect(wnd, nullptr, FALSE));
  if (FDamage.Scrolled() && DoubleBuffered()) whole = true;
  if (whole) {
    InvalidateRect(wnd, nullptr, TRUE);
  } else {
    if (FDamage.Scrolled()) {
      RECT grid = GridRect();
      ScrollWindowEx(wnd, 0, -FDamage.Scrolled() * FCharHeight, &grid, &grid, nullptr, nullptr,
                     SW_INVALIDATE | SW_ERASE);
    }
    // the changed cells as one region: one request to the window system
    TRegion changed;
    for (Integer y = std::max(FTopLeft.Y, 1); y <= FDamage.Rows(); ++y) {
      const TComTermDamage::TSpan& span = FDamage.Row(y);
      Integer x1 = std::max(span.First, FTopLeft.X), x2 = std::min(span.Last, Columns());
      if (span.Empty() || x1 > x2) continue;
      changed.Add((x1 - FTopLeft.X) * FCharWidth, (y - FTopLeft.Y) * FCharHeight, (x2 - FTopLeft.X + 1) * FCharWidth,
                  (y - FTopLeft.Y + 1) * FCharHeight);
    }
    if (!changed.Empty()) InvalidateRgn(wnd, changed.Handle(), TRUE);
  }
  FDamage.Reset(Buffer()->Rows());
  UpdateWindow(wnd);
  PlaceMovedCaret();
}

// ================================================================= painting

void TCustomComTerminal::Paint() {
  HDC dc = Canvas()->Handle();
  if (IsDesigning(this)) {
    PaintDesignSample(dc);
    return;
  }
  PlaceCaret();
  if (FCharWidth <= 0 || FCharHeight <= 0 || !FFonts) return;
  RECT clip;
  if (GetClipBox(dc, &clip) == NULLREGION || clip.right <= 0 || clip.bottom <= 0) return;
  const TComTermBuffer* b = Buffer();
  Integer x1 = std::max<Integer>(clip.left / FCharWidth + FTopLeft.X, 1);
  Integer y1 = std::max<Integer>(clip.top / FCharHeight + FTopLeft.Y, 1);
  Integer x2 = std::min<Integer>((clip.right - 1) / FCharWidth + FTopLeft.X, b->Columns());
  Integer y2 = std::min<Integer>((clip.bottom - 1) / FCharHeight + FTopLeft.Y, b->Rows());
  TSavedDC saved(dc);
  SetBkMode(dc, OPAQUE);
  SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
  for (Integer y = y1; y <= y2; ++y) {
    RECT row{(x1 - FTopLeft.X) * FCharWidth, (y - FTopLeft.Y) * FCharHeight, (x2 - FTopLeft.X + 1) * FCharWidth,
             (y - FTopLeft.Y + 1) * FCharHeight};
    if (RectVisible(dc, &row)) DrawRow(dc, y, x1, x2);
  }
}

// Draws the characters of row Y from X1 to X2 in runs of one look; empty
// cells are left to the background.
void TCustomComTerminal::DrawRow(HDC DC, Integer Y, Integer X1, Integer X2) {
  const TComTermBuffer* b = Buffer();
  std::wstring text;
  std::vector<INT> advances;
  for (Integer x = X1; x <= X2;) {
    const TComTermChar look = b->GetChar(x, Y);
    if (!look.Ch) {
      ++x;
      continue;
    }
    Integer start = x;
    text.clear();
    for (; x <= X2; ++x) {
      TComTermChar c = b->GetChar(x, Y);
      if (!c.Ch || c.FrontColor != look.FrontColor || c.BackColor != look.BackColor || c.Underline != look.Underline)
        break;
      text += static_cast<wchar_t>(dk_cp1251::ToUnicode(static_cast<unsigned char>(c.Ch)));
    }
    advances.assign(text.size(), FCharWidth);
    SetTextColor(DC, static_cast<COLORREF>(ColorToRGB(look.FrontColor)));
    SetBkColor(DC, static_cast<COLORREF>(ColorToRGB(look.BackColor)));
    SelectObject(DC, look.Underline ? FFonts->Underlined : FFonts->Plain);
    RECT r{(start - FTopLeft.X) * FCharWidth, (Y - FTopLeft.Y) * FCharHeight, (x - FTopLeft.X) * FCharWidth,
           (Y - FTopLeft.Y + 1) * FCharHeight};
    ExtTextOutW(DC, r.left, r.top, ETO_OPAQUE | ETO_CLIPPED, &r, text.data(), static_cast<UINT>(text.size()),
                advances.data());
  }
}

// At design time: a line in the font colour and one in the bold colour, the
// caret cell of each inverted.
void TCustomComTerminal::PaintDesignSample(HDC DC) {
  if (!FFonts || FCharHeight <= 0) return;
  TSavedDC saved(DC);
  SelectObject(DC, FFonts->Plain);
  SetBkMode(DC, TRANSPARENT);
  const std::pair<const wchar_t*, TColor> lines[] = {{L"VT100/ANSI", Font()->Color()}, {L"VT52", AltColor()}};
  for (int i = 0; i < 2; ++i) {
    SetTextColor(DC, static_cast<COLORREF>(ColorToRGB(lines[i].second)));
    TextOutW(DC, 0, i * FCharHeight, lines[i].first, static_cast<int>(wcslen(lines[i].first)));
    RECT first{0, i * FCharHeight, FCharWidth, (i + 1) * FCharHeight};
    InvertRect(DC, &first);
  }
}

void TCustomComTerminal::UpdateFontMetrics() {
  TEXTMETRICW tm = TMeasureDC(Font()->Handle()).Metrics();
  // the grid needs a font of one width (set, a pitch bit means variable)
  if ((tm.tmPitchAndFamily & TMPF_FIXED_PITCH) && Font()->Name() != ComTerminalFont()->Name()) {
    Font()->SetName(ComTerminalFont()->Name());
    tm = TMeasureDC(Font()->Handle()).Metrics();
  }
  if (Font()->Style().Contains(fsUnderline)) Font()->SetStyle(Font()->Style() - TFontStyles{fsUnderline});
  FCharHeight = tm.tmHeight;
  FCharWidth = tm.tmMaxCharWidth;
  FFonts = std::make_unique<TFonts>(Font()->Handle());
}

void TCustomComTerminal::CMFontChanged(TMessage& Message) {
  TWinControl::CMFontChanged(Message);
  if (!FScreen || FAdjustingFont) return;
  FAdjustingFont = true;
  struct Reset {
    bool& Flag;
    ~Reset() { Flag = false; }
  } reset{FAdjustingFont};
  UpdateFontMetrics();
  FScreen->SetFontColor(Font()->Color());
  AdjustSize();
  UpdateScrollRange();
  if (FCreatedCaret) {
    DestroyCaret();
    CreateCaret();
  }
  Invalidate();
}

void TCustomComTerminal::CMColorChanged(TMessage& Message) {
  TWinControl::CMColorChanged(Message);
  if (FScreen) FScreen->SetBackColor(Color());
}

void TCustomComTerminal::CMCtl3DChanged(TMessage& Message) {
  if (FBorderStyle == bsSingle) RecreateWnd();
}

// ============================================================ size, scrolling

bool TCustomComTerminal::CanAutoSize(Integer& NewWidth, Integer& NewHeight) {
  bool single = FBorderStyle == bsSingle;
  int bx = single ? 2 * GetSystemMetrics(Ctl3D() ? SM_CXEDGE : SM_CXBORDER) : 0;
  int by = single ? 2 * GetSystemMetrics(Ctl3D() ? SM_CYEDGE : SM_CYBORDER) : 0;
  if (Align() != alTop && Align() != alBottom && Align() != alClient) NewWidth = FCharWidth * Columns() + bx;
  if (Align() != alLeft && Align() != alRight && Align() != alClient) NewHeight = FCharHeight * Rows() + by;
  return true;
}

void TCustomComTerminal::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (FBorderStyle == bsSingle) {
    if (Ctl3D())
      Params.ExStyle |= WS_EX_CLIENTEDGE;
    else
      Params.Style |= WS_BORDER;
  }
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) Params.Style |= WS_VSCROLL;
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) Params.Style |= WS_HSCROLL;
}

void TCustomComTerminal::CreateWnd() {
  inherited::CreateWnd();
  UpdateScrollRange();
}

void TCustomComTerminal::WMSize(TWMSize& Message) {
  TWinControl::WMSize(Message);
  UpdateScrollRange();
}

void TCustomComTerminal::UpdateScrollRange() {
  HWND wnd = WindowHandle();
  if (!wnd || FCharWidth <= 0 || FCharHeight <= 0) return;
  // a bar that comes or goes resizes the window meanwhile
  if (FUpdatingRange) return;
  FUpdatingRange = true;
  struct Reset {
    bool& Flag;
    ~Reset() { Flag = false; }
  } reset{FUpdatingRange};
  bool vertical = FScrollBars == ssVertical || FScrollBars == ssBoth;
  bool horizontal = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
  // the second pass sees the client area the first pass's bars left
  for (int pass = 0; pass < 2; ++pass) {
    RECT client{};
    ::GetClientRect(wnd, &client);
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE;
    if (vertical) {
      si.nMax = std::max<int>(0, Rows() - client.bottom / FCharHeight);
      SetScrollInfo(wnd, SB_VERT, &si, TRUE);
    }
    if (horizontal) {
      ::GetClientRect(wnd, &client);
      si.nMax = std::max<int>(0, Columns() - client.right / FCharWidth);
      SetScrollInfo(wnd, SB_HORZ, &si, TRUE);
    }
  }
  FTopLeft = {horizontal ? GetScrollPos(wnd, SB_HORZ) + 1 : 1, vertical ? GetScrollPos(wnd, SB_VERT) + 1 : 1};
  ClampTopLeft();
  PlaceCaret();
}

void TCustomComTerminal::ClampTopLeft() {
  FTopLeft.X = std::clamp<Integer>(FTopLeft.X, 1, Columns());
  FTopLeft.Y = std::clamp<Integer>(FTopLeft.Y, 1, Rows());
}

void TCustomComTerminal::ModifyScrollBar(int ScrollBar, int ScrollCode, int Pos) {
  HWND wnd = WindowHandle();
  if (!wnd || FCharWidth <= 0 || FCharHeight <= 0) return;
  if (ScrollCode == SB_ENDSCROLL || (ScrollCode == SB_THUMBTRACK && !FSmoothScroll)) return;
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  GetScrollInfo(wnd, ScrollBar, &si);
  RECT client{};
  ::GetClientRect(wnd, &client);
  int page = ScrollBar == SB_VERT ? client.bottom / FCharHeight : client.right / FCharWidth;
  int pos = si.nPos;
  switch (ScrollCode) {
    case SB_LINEUP: --pos; break;
    case SB_LINEDOWN: ++pos; break;
    case SB_PAGEUP: pos -= std::max(page, 1); break;
    case SB_PAGEDOWN: pos += std::max(page, 1); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: pos = Pos; break;
    default: break;
  }
  SetScrollPos(wnd, ScrollBar, std::clamp(pos, si.nMin, si.nMax), TRUE);
  TPoint old = FTopLeft;
  if (ScrollBar == SB_VERT)
    FTopLeft.Y = GetScrollPos(wnd, SB_VERT) + 1;
  else
    FTopLeft.X = GetScrollPos(wnd, SB_HORZ) + 1;
  ClampTopLeft();
  if (FTopLeft == old) return;
  if (DoubleBuffered())
    InvalidateRect(wnd, nullptr, TRUE);
  else
    ScrollWindowEx(wnd, (old.X - FTopLeft.X) * FCharWidth, (old.Y - FTopLeft.Y) * FCharHeight, nullptr, nullptr,
                   nullptr, nullptr, SW_INVALIDATE | SW_ERASE);
  PlaceCaret();
}

void TCustomComTerminal::WMHScroll(TWMScroll& Message) {
  if (Message.LParam) {
    TWinControl::WMScroll(Message);
    return;
  }
  ModifyScrollBar(SB_HORZ, Message.ScrollCode(), Message.Pos());
}

void TCustomComTerminal::WMVScroll(TWMScroll& Message) {
  if (Message.LParam) {
    TWinControl::WMScroll(Message);
    return;
  }
  ModifyScrollBar(SB_VERT, Message.ScrollCode(), Message.Pos());
}

// =============================================================== properties

void TCustomComTerminal::SetBorderStyle(TBorderStyle Value) {
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TCustomComTerminal::SetScrollBars(TScrollStyle Value) {
  if (Value == FScrollBars) return;
  FScrollBars = Value;
  RecreateWnd();
}

void TCustomComTerminal::SetColumns(Integer Value) {
  Batched([&] { FScreen->SetColumns(Value); });
}

void TCustomComTerminal::SetRows(Integer Value) {
  Batched([&] { FScreen->SetRows(Value); });
}

void TCustomComTerminal::SetAltColor(TColor Value) {
  FScreen->SetAltColor(Value);
  if (IsDesigning(this)) Invalidate();
}

void TCustomComTerminal::SetEmulation(TTermEmulation Value) {
  if (Value == FEmulation) return;
  FEmulation = Value;
  if (!IsLoading(this)) CreateEscapeCodes();
}

void TCustomComTerminal::SelectFont() {
  std::unique_ptr<TFontDialog, void (*)(TFontDialog*)> dialog(Create<TFontDialog>(static_cast<TComponent*>(nullptr)),
                                                              [](TFontDialog* d) { d->Free(); });
  dialog->SetOptions(dialog->Options() + TFontDialogOptions{fdFixedPitchOnly});
  dialog->SetFont(Font());
  if (dialog->Execute()) SetFont(dialog->Font());
}

void TCustomComTerminal::ShowSetupDialog() { EditComTerminal(this); }

DK_MESSAGE_UNIT(TCustomComTerminal);
DK_MESSAGE_HANDLER(TCustomComTerminal, CM_FONTCHANGED, CMFontChanged);
DK_MESSAGE_HANDLER(TCustomComTerminal, CM_COLORCHANGED, CMColorChanged);
DK_MESSAGE_HANDLER(TCustomComTerminal, CM_CTL3DCHANGED, CMCtl3DChanged);
DK_MESSAGE_HANDLER(TCustomComTerminal, WM_GETDLGCODE, WMGetDlgCode);
DK_MESSAGE_HANDLER(TCustomComTerminal, WM_SETFOCUS, WMSetFocus);
DK_MESSAGE_HANDLER(TCustomComTerminal, WM_KILLFOCUS, WMKillFocus);
DK_MESSAGE_HANDLER(TCustomComTerminal, WM_LBUTTONDOWN, WMLButtonDown);
DK_MESSAGE_HANDLER(TCustomComTerminal, WM_SIZE, WMSize);
DK_MESSAGE_HANDLER(TCustomComTerminal, WM_HSCROLL, WMHScroll);
DK_MESSAGE_HANDLER(TCustomComTerminal, WM_VSCROLL, WMVScroll);

DK_PUBLISH(TComTerminal) {
  P.Property("AltColor", &TComTerminal::AltColor, &TComTerminal::SetAltColor)
      .Type(TypeInfoTColor())
      .Default(TComTermScreen::kAltColor);
  P.Property("AppendLF", &TComTerminal::AppendLF, &TComTerminal::SetAppendLF).Default(false);
  P.Property("ArrowKeys", &TComTerminal::ArrowKeys, &TComTerminal::SetArrowKeys).Default(akTerminal);
  P.Property("AutoSize", &TComTerminal::AutoSize, &TComTerminal::SetAutoSize).Default(false);
  P.Property("BorderStyle", &TComTerminal::BorderStyle, &TComTerminal::SetBorderStyle).Default(bsSingle);
  P.Property("Columns", &TComTerminal::Columns, &TComTerminal::SetColumns).Default(80);
  P.Property("ComPort", &TComTerminal::ComPort, &TComTerminal::SetComPort);
  P.Property("Connected", &TComTerminal::Connected, &TComTerminal::SetConnected).Stored(false);
  P.Property("Ctl3D", &TComTerminal::Ctl3D, &TComTerminal::SetCtl3D).Default(true);
  P.Property("ParentCtl3D", &TComTerminal::ParentCtl3D, &TComTerminal::SetParentCtl3D).Default(true);
  P.Property("Emulation", &TComTerminal::Emulation, &TComTerminal::SetEmulation).Default(teVT100orANSI);
  P.Property("Force7Bit", &TComTerminal::Force7Bit, &TComTerminal::SetForce7Bit).Default(false);
  P.Property("LocalEcho", &TComTerminal::LocalEcho, &TComTerminal::SetLocalEcho).Default(false);
  P.Property("Rows", &TComTerminal::Rows, &TComTerminal::SetRows).Default(24);
  P.Property("ScrollBars", &TComTerminal::ScrollBars, &TComTerminal::SetScrollBars).Default(ssBoth);
  P.Property("SendLF", &TComTerminal::SendLF, &TComTerminal::SetSendLF).Default(false);
  P.Property("SmoothScroll", &TComTerminal::SmoothScroll, &TComTerminal::SetSmoothScroll).Default(false);
  P.Property("Caret", &TComTerminal::Caret, &TComTerminal::SetCaret).Default(tcBlock);
  P.Property("WantTab", &TComTerminal::WantTab, &TComTerminal::SetWantTab).Default(false);
  P.Property("WrapLines", &TComTerminal::WrapLines, &TComTerminal::SetWrapLines).Default(false);
  P.Property("OnChar", &TComTerminal::OnChar);
  P.Property("OnGetEscapeCodes", &TComTerminal::OnGetEscapeCodes);
  P.Property("OnStrRecieved", &TComTerminal::OnStrRecieved);
  P.Property("OnUnhandledCode", &TComTerminal::OnUnhandledCode);
}

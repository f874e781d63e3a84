// Controls on real windows: how messages travel, what the property setters
// announce, reflection to child controls, windows made again, painting by
// the parent, alignment.
#include <gtest/gtest.h>

#include <vector>

#include "classlib/ui/Controls.h"
#include "classlib/ui/Forms.h"
#include "classlib/ui/StdCtrls.h"

// after the class library, whose header takes care of the platform macros
#include "TestSupport.h"

namespace {

// Records the messages that pass through a replaced WindowProc.
class TRecorder : public TObject {
  DK_CLASS(TRecorder, TObject)
 public:
  TControl* Target = nullptr;
  TWndMethod Old;
  std::vector<UINT> Seen;
  UINT Watch = 0;  // 0: everything of the class library (CM_*, CN_*), else this number only
  void Hook(TControl* c) {
    Target = c;
    Old = c->WindowProc;
    c->WindowProc = TWndMethod(this, &TRecorder::Proc);
  }
  void Unhook() { Target->WindowProc = Old; }
  void Proc(TMessage& m) {
    if (Watch ? m.Msg == Watch : m.Msg >= CM_BASE) Seen.push_back(m.Msg);
    Old(m);
  }
  bool Has(UINT msg) const { return std::find(Seen.begin(), Seen.end(), msg) != Seen.end(); }
};

constexpr UINT WM_PROBE = WM_USER + 77;

// A window control with a handler of its own for WM_PROBE and CN_COMMAND.
class TProbeControl : public TCustomControl {
  DK_CLASS(TProbeControl, TCustomControl)
  DK_MESSAGES(TProbeControl)
 public:
  using TCustomControl::TCustomControl;
  std::vector<AnsiString> Log;
  TColor Fill = clLime;
  void WMProbe(TMessage& m) {
    Log.push_back("handler");
    m.Result = 42;
  }
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_PROBE) Log.push_back("wndproc");
    inherited::WndProc(m);
  }

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(Fill);
    Canvas()->FillRect(ClientRect());
  }
};
DK_MESSAGE_UNIT(TProbeControl);
DK_MESSAGE_HANDLER(TProbeControl, WM_PROBE, WMProbe);

// Controls on system classes, as the standard controls are built.
class TProbeButton : public TWinControl {
  DK_CLASS(TProbeButton, TWinControl)
  DK_MESSAGES(TProbeButton)
 public:
  using TWinControl::TWinControl;
  int Clicks = 0;
  void CNCommand(TWMCommand& m) {
    if (m.NotifyCode() == BN_CLICKED) ++Clicks;
  }

 protected:
  void CreateParams(TCreateParams& p) override {
    inherited::CreateParams(p);
    CreateSubClass(p, L"BUTTON");
    p.Style |= BS_PUSHBUTTON;
  }
};
DK_MESSAGE_UNIT(TProbeButton);
DK_MESSAGE_HANDLER(TProbeButton, CN_COMMAND, CNCommand);

class TProbeEdit : public TWinControl {
  DK_CLASS(TProbeEdit, TWinControl)
 public:
  using TWinControl::TWinControl;

 protected:
  void CreateParams(TCreateParams& p) override {
    inherited::CreateParams(p);
    CreateSubClass(p, L"EDIT");
    p.Style |= ES_AUTOHSCROLL;
  }
};

// A control without a window that fills itself.
class TProbeShape : public TGraphicControl {
  DK_CLASS(TProbeShape, TGraphicControl)
 public:
  using TGraphicControl::TGraphicControl;
  TColor Fill = clRed;
  int Clicks = 0;
  void Click() override { ++Clicks; }

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(Fill);
    Canvas()->FillRect(ClientRect());
  }
};

AnsiString ClassOf(HWND w) {
  wchar_t buf[64];
  int n = GetClassNameW(w, buf, 64);
  return winapi::A(buf, n);
}

int gSubclassCount = 0;
WNDPROC gSubclassOld = nullptr;
LRESULT CALLBACK CountingProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_PROBE) ++gSubclassCount;
  return CallWindowProcW(gSubclassOld, w, m, wp, lp);
}

struct Fixture : ::testing::Test {
  TForm* Form = nullptr;
  void SetUp() override {
    Form = Create<TForm>(nullptr, 0);
    Form->SetBounds(100, 100, 300, 200);
  }
  void TearDown() override { Form->Free(); }
  template <class T>
  T* Child(int l, int t, int w, int h) {
    T* c = Create<T>(Form);
    c->SetParent(Form);
    c->SetBounds(l, t, w, h);
    return c;
  }
};

using UiControls = Fixture;

TEST_F(UiControls, MessagesGoThroughWindowProcThenWndProcThenTheHandler) {
  auto* c = Child<TProbeControl>(10, 10, 50, 50);
  HWND h = c->Handle();
  EXPECT_EQ(ClassOf(h), "TProbeControl") << "the window class carries the class name";
  EXPECT_EQ(FindControl(h), c);

  TRecorder rec;
  rec.Watch = WM_PROBE;
  rec.Hook(c);
  EXPECT_EQ(SendMessageW(h, WM_PROBE, 0, 0), 42);
  EXPECT_EQ(c->Perform(WM_PROBE), 42);
  EXPECT_EQ(rec.Seen.size(), 2u) << "both the window and Perform pass the replaced WindowProc";
  EXPECT_EQ(c->Log, (std::vector<AnsiString>{"wndproc", "handler", "wndproc", "handler"}));

  // a window subclass sees what comes through the window, not Perform
  gSubclassOld = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc)));
  gSubclassCount = 0;
  SendMessageW(h, WM_PROBE, 0, 0);
  c->Perform(WM_PROBE);
  EXPECT_EQ(gSubclassCount, 1);
  SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gSubclassOld));

  rec.Unhook();
  rec.Seen.clear();
  c->Log.clear();
  EXPECT_EQ(SendMessageW(h, WM_PROBE, 0, 0), 42);
  EXPECT_TRUE(rec.Seen.empty()) << "the restored WindowProc no longer passes the recorder";
  EXPECT_EQ(c->Log, (std::vector<AnsiString>{"wndproc", "handler"}));
}

TEST_F(UiControls, PropertySettersAnnounceTheirChangesByNumber) {
  auto* parent = Child<TProbeControl>(0, 0, 100, 100);
  auto* c = Create<TProbeControl>(Form);
  c->SetParent(parent);
  TRecorder rec;
  rec.Hook(c);
  struct Case {
    const char* What;
    std::function<void()> Change;
    UINT Expected;
  } cases[] = {
      {"Visible", [&] { c->SetVisible(false); }, 0xB00B},
      {"Enabled", [&] { c->SetEnabled(false); }, 0xB00C},
      {"Color", [&] { c->SetColor(clRed); }, 0xB00D},
      {"Font", [&] { c->Font()->SetSize(14); }, 0xB00E},
      {"Text", [&] { c->SetText("abc"); }, 0xB012},
      {"parent's font", [&] { parent->Font()->SetName("Arial"); }, 0xB008},
      {"parent's colour", [&] { c->SetParentColor(true); parent->SetColor(clBlue); }, 0xB009},
      {"Invalidate", [&] { c->Invalidate(); }, 0xB034},
  };
  EXPECT_EQ(CM_MOUSEENTER, 0xB013u);
  EXPECT_EQ(CM_MOUSELEAVE, 0xB014u);
  EXPECT_EQ(CM_SHOWINGCHANGED, 0xB019u);
  EXPECT_EQ(CN_NOTIFY, 0xBC4Eu);
  EXPECT_EQ(CN_COMMAND, 0xBD11u);
  for (auto& k : cases) {
    rec.Seen.clear();
    k.Change();
    EXPECT_TRUE(rec.Has(k.Expected)) << k.What;
  }
  c->Font()->SetSize(9);
  parent->Font()->SetName("Tahoma");
  EXPECT_EQ(c->Font()->Name(), "MS Sans Serif") << "a font of its own does not follow the parent";
  c->SetParentFont(true);
  EXPECT_EQ(c->Font()->Name(), "Tahoma");
  EXPECT_EQ(c->Color(), clBlue);
  rec.Unhook();
}

TEST_F(UiControls, NotificationsReachTheChildAsReflectedMessages) {
  auto* b = Child<TProbeButton>(10, 10, 80, 24);
  auto* e = Child<TProbeEdit>(10, 40, 120, 24);
  EXPECT_EQ(ClassOf(b->Handle()), "TProbeButton");
  EXPECT_EQ(ClassOf(e->Handle()), "TProbeEdit");
  SendMessageW(b->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(b->Clicks, 1) << "WM_COMMAND to the form came back to the button as CN_COMMAND";

  // WM_CTLCOLOREDIT is answered by the edit itself: its colour and font colour
  e->SetColor(clYellow);
  e->Font()->SetColor(clNavy);
  HDC dc = GetDC(e->Handle());
  LRESULT brush = SendMessageW(Form->Handle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(e->Handle()));
  EXPECT_EQ(brush, reinterpret_cast<LRESULT>(e->Brush()->Handle()));
  EXPECT_EQ(GetBkColor(dc), static_cast<COLORREF>(clYellow));
  EXPECT_EQ(GetTextColor(dc), static_cast<COLORREF>(clNavy));
  ReleaseDC(e->Handle(), dc);
}

TEST_F(UiControls, RecreateWndKeepsTheTextTheWindowHolds) {
  auto* e = Child<TProbeEdit>(10, 40, 120, 24);
  e->SetText("start");
  HWND old = e->Handle();
  SetWindowTextW(old, L"\x0422\x0435\x043A\x0441\x0442");  // typed by the user: "Текст"
  e->RecreateWnd();
  HWND now = e->Handle();
  EXPECT_NE(now, old);
  EXPECT_FALSE(IsWindow(old));
  EXPECT_EQ(e->Text(), "\xD2\xE5\xEA\xF1\xF2") << "the text comes back in code page 1251";
  wchar_t buf[16];
  GetWindowTextW(now, buf, 16);
  EXPECT_STREQ(buf, L"\x0422\x0435\x043A\x0441\x0442");
  EXPECT_EQ(FindControl(now), e);
  EXPECT_EQ(FindControl(old), nullptr);
}

TEST_F(UiControls, GraphicControlsArePaintedByTheirParentAtTheirPlace) {
  Form->SetColor(clWhite);
  auto* shape = Child<TProbeShape>(20, 30, 40, 20);
  shape->Fill = clRed;
  auto* over = Child<TProbeShape>(50, 40, 30, 30);  // later: on top
  over->Fill = clBlue;
  Form->Show();
  testsupport::PumpMessages(300);
  HWND h = Form->Handle();
  EXPECT_EQ(testsupport::ClientPixel(h, 21, 31), static_cast<COLORREF>(clRed));
  EXPECT_EQ(testsupport::ClientPixel(h, 45, 45), static_cast<COLORREF>(clRed));
  EXPECT_EQ(testsupport::ClientPixel(h, 60, 50), static_cast<COLORREF>(clBlue)) << "z-order among graphic controls";
  EXPECT_EQ(testsupport::ClientPixel(h, 19, 29), static_cast<COLORREF>(clWhite));
  EXPECT_EQ(testsupport::ClientPixel(h, 81, 71), static_cast<COLORREF>(clWhite));
  // the same through a bitmap
  Form->SetDoubleBuffered(true);
  shape->Fill = clGreen;
  Form->Repaint();
  testsupport::PumpMessages(100);
  EXPECT_EQ(testsupport::ClientPixel(h, 21, 31), static_cast<COLORREF>(clGreen));
  EXPECT_EQ(testsupport::ClientPixel(h, 60, 50), static_cast<COLORREF>(clBlue));
  EXPECT_EQ(testsupport::ClientPixel(h, 19, 29), static_cast<COLORREF>(clWhite));
  shape->Fill = clRed;

  // PaintTo draws the same into any DC
  std::unique_ptr<TBitmap> bmp(Create<TBitmap>());
  bmp->SetSize(Form->ClientWidth(), Form->ClientHeight());
  RECT wr, cr;
  GetWindowRect(h, &wr);
  POINT o{0, 0};
  ClientToScreen(h, &o);
  bmp->SetSize(wr.right - wr.left, wr.bottom - wr.top);
  Form->PaintTo(bmp->Canvas()->Handle(), 0, 0);
  int dx = o.x - wr.left, dy = o.y - wr.top;
  (void)cr;
  EXPECT_EQ(bmp->Canvas()->Pixel(dx + 21, dy + 31), clRed);
  EXPECT_EQ(bmp->Canvas()->Pixel(dx + 60, dy + 50), clBlue);
  EXPECT_EQ(bmp->Canvas()->Pixel(dx + 19, dy + 29), clWhite);

  // a click on the parent at the control's place is the control's click
  PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(25, 35));
  PostMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(25, 35));
  testsupport::PumpMessages(100);
  EXPECT_EQ(shape->Clicks, 1);
  EXPECT_EQ(over->Clicks, 0);
}

TEST_F(UiControls, AlignedChildrenShareTheClientArea) {
  Form->HandleNeeded();
  Form->SetClientWidth(200);
  Form->SetClientHeight(100);
  auto* top = Child<TProbeControl>(0, 0, 10, 20);
  auto* bottom = Child<TProbeControl>(0, 0, 10, 10);
  auto* left = Child<TProbeShape>(0, 0, 30, 10);
  auto* right = Child<TProbeControl>(0, 0, 40, 10);
  auto* client = Child<TProbeControl>(0, 0, 5, 5);
  top->SetAlign(alTop);
  bottom->SetAlign(alBottom);
  left->SetAlign(alLeft);
  right->SetAlign(alRight);
  client->SetAlign(alClient);
  EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 200, 20));
  EXPECT_EQ(bottom->BoundsRect(), Rect(0, 90, 200, 100));
  EXPECT_EQ(left->BoundsRect(), Rect(0, 20, 30, 90));
  EXPECT_EQ(right->BoundsRect(), Rect(160, 20, 200, 90));
  EXPECT_EQ(client->BoundsRect(), Rect(30, 20, 160, 90));
  Form->SetClientWidth(300);
  EXPECT_EQ(client->BoundsRect(), Rect(30, 20, 260, 90)) << "a new size aligns again";
  EXPECT_EQ(right->BoundsRect(), Rect(260, 20, 300, 90));
  top->SetVisible(false);
  EXPECT_EQ(left->BoundsRect(), Rect(0, 0, 30, 90)) << "a hidden control gives its room away";
}

TEST_F(UiControls, AnchoredChildrenFollowTheEdgesTheyHold) {
  Form->HandleNeeded();
  Form->SetClientWidth(300);
  Form->SetClientHeight(200);
  auto* corner = Child<TProbeControl>(200, 150, 80, 30);  // a button in the bottom right corner
  auto* wide = Child<TProbeShape>(10, 10, 280, 20);        // a field across the top
  auto* middle = Child<TProbeControl>(130, 90, 40, 20);    // anchored to nothing: keeps its relative place
  auto* plain = Child<TProbeControl>(5, 40, 10, 10);
  corner->SetAnchors(TAnchors{akRight, akBottom});
  wide->SetAnchors(TAnchors{akLeft, akTop, akRight});
  middle->SetAnchors(TAnchors{});
  Form->SetClientWidth(400);
  Form->SetClientHeight(300);
  EXPECT_EQ(corner->BoundsRect(), Rect(300, 250, 380, 280));
  EXPECT_EQ(wide->BoundsRect(), Rect(10, 10, 390, 30));
  EXPECT_EQ(middle->BoundsRect(), Rect(180, 140, 220, 160));
  EXPECT_EQ(plain->BoundsRect(), Rect(5, 40, 15, 50));
  Form->SetClientWidth(300);
  Form->SetClientHeight(200);
  EXPECT_EQ(corner->BoundsRect(), Rect(200, 150, 280, 180)) << "back at the first size, back in place";
  EXPECT_EQ(wide->BoundsRect(), Rect(10, 10, 290, 30));
  // Placed by hand, the control keeps its new distance from the edges.
  corner->SetBounds(100, 100, 80, 30);
  Form->SetClientWidth(350);
  EXPECT_EQ(corner->BoundsRect(), Rect(150, 100, 230, 130));
}

TEST_F(UiControls, ConstraintsLimitTheSize) {
  auto* shape = Child<TProbeShape>(0, 0, 10, 10);
  auto* panel = Child<TProbeControl>(0, 0, 10, 10);
  panel->Handle();
  for (TControl* c : {static_cast<TControl*>(shape), static_cast<TControl*>(panel)}) {
    c->Constraints()->SetMaxWidth(50);
    c->Constraints()->SetMinHeight(30);
    EXPECT_EQ(c->Height(), 30) << "a new limit applies at once";
    c->SetBounds(0, 0, 100, 10);
    EXPECT_EQ(c->Width(), 50);
    EXPECT_EQ(c->Height(), 30);
    c->SetAlign(alClient);
    EXPECT_EQ(c->Width(), 50) << "alignment keeps to the limits too";
    c->SetAlign(alNone);
  }
  RECT r;
  GetWindowRect(panel->Handle(), &r);
  EXPECT_EQ(r.right - r.left, 50);
}

TEST_F(UiControls, ChildControlsGoWithTheirParent) {
  struct TCounted : TProbeShape {
    using TProbeShape::TProbeShape;
    int* Gone = nullptr;
    ~TCounted() override { ++*Gone; }
  };
  int gone = 0;
  auto* panel = Child<TProbeControl>(0, 0, 100, 100);
  auto* owned = Create<TCounted>(Form);     // owned by the form
  auto* unowned = Create<TCounted>(nullptr);  // owned by nobody
  owned->Gone = unowned->Gone = &gone;
  owned->SetParent(panel);
  unowned->SetParent(panel);
  panel->Handle();
  int before = Form->ComponentCount();
  panel->Free();
  EXPECT_EQ(gone, 2);
  EXPECT_EQ(Form->ComponentCount(), before - 2) << "the owner forgets the panel and the owned child";
}

TEST_F(UiControls, UtilityWindowsServeTheirMethod) {
  // AllocateHWnd calls the method directly (no WindowProc of a control here)
  struct TSink : TObject {
    int Got = 0;
    void Proc(TMessage& m) {
      if (m.Msg == WM_PROBE) {
        ++Got;
        m.Result = 7;
      }
    }
  } sink;
  HWND w = AllocateHWnd(TWndMethod(&sink, &TSink::Proc));
  EXPECT_EQ(ClassOf(w), "TPUtilWindow");
  EXPECT_EQ(SendMessageW(w, WM_PROBE, 0, 0), 7);
  EXPECT_EQ(sink.Got, 1);
  DeallocateHWnd(w);
  EXPECT_FALSE(IsWindow(w));
}

}  // namespace

namespace {

// A form that draws its own frame: it handles the frame's messages with their
// typed records, as it handles any other message.
class TFramedForm : public TForm {
  DK_CLASS(TFramedForm, TForm)
  DK_MESSAGES(TFramedForm)
 public:
  using TForm::TForm;
  static constexpr int kBorder = 6;
  std::vector<UINT> Seen;
  bool LastActive = false;
  void WMNCCalcSize(TWMNCCalcSize& m) {
    Seen.push_back(m.Msg);
    RECT& r = m.CalcValidRects() ? m.CalcSizeParams()->rgrc[0] : *m.Rect();
    InflateRect(&r, -kBorder, -kBorder);
    m.Result = 0;
  }
  void WMNCHitTest(TWMNCHitTest& m) {
    Seen.push_back(m.Msg);
    TPoint p = ScreenToClient(m.Pos());
    m.Result = p.Y < 0 ? HTCAPTION : HTCLIENT;
  }
  void WMNCActivate(TWMNCActivate& m) {
    Seen.push_back(m.Msg);
    LastActive = m.Active();
    m.Result = 1;
  }
  void WMNCPaint(TWMNCPaint& m) { Seen.push_back(m.Msg); }
  void WMNCLButtonDown(TWMNCLButtonDown& m) {
    Seen.push_back(m.Msg);
    EXPECT_EQ(m.HitTest(), HTCAPTION);
  }
  void WMSetRedraw(TWMSetRedraw& m) {
    Seen.push_back(m.Msg);
    inherited::DefaultHandler(&m);
  }
  bool Saw(UINT msg) const { return std::find(Seen.begin(), Seen.end(), msg) != Seen.end(); }
};
DK_MESSAGE_UNIT(TFramedForm);
DK_MESSAGE_HANDLER(TFramedForm, WM_NCCALCSIZE, WMNCCalcSize);
DK_MESSAGE_HANDLER(TFramedForm, WM_NCHITTEST, WMNCHitTest);
DK_MESSAGE_HANDLER(TFramedForm, WM_NCACTIVATE, WMNCActivate);
DK_MESSAGE_HANDLER(TFramedForm, WM_NCPAINT, WMNCPaint);
DK_MESSAGE_HANDLER(TFramedForm, WM_NCLBUTTONDOWN, WMNCLButtonDown);
DK_MESSAGE_HANDLER(TFramedForm, WM_SETREDRAW, WMSetRedraw);

TEST(TypedMessages, AFormHandlesTheMessagesOfItsFrameWithTheirRecords) {
  auto* f = Create<TFramedForm>(nullptr, 0);
  f->SetBorderStyle(bsNone);
  f->SetBounds(100, 100, 200, 150);
  HWND h = f->Handle();
  SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  EXPECT_TRUE(f->Saw(WM_NCCALCSIZE));
  EXPECT_EQ(f->ClientWidth(), 200 - 2 * TFramedForm::kBorder) << "the client area the handler left";
  EXPECT_EQ(f->ClientHeight(), 150 - 2 * TFramedForm::kBorder);
  EXPECT_EQ(SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(150, 102)), HTCAPTION);
  EXPECT_EQ(SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(150, 140)), HTCLIENT);
  SendMessageW(h, WM_NCACTIVATE, TRUE, 0);
  EXPECT_TRUE(f->LastActive);
  SendMessageW(h, WM_NCPAINT, 1, 0);
  SendMessageW(h, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(150, 102));
  SendMessageW(h, WM_SETREDRAW, FALSE, 0);
  SendMessageW(h, WM_SETREDRAW, TRUE, 0);
  for (UINT m : {WM_NCACTIVATE, WM_NCPAINT, WM_NCLBUTTONDOWN, WM_SETREDRAW}) EXPECT_TRUE(f->Saw(m)) << m;
  f->Free();
}

TEST(TypedMessages, AMessageHasOnlyTheTypedViewsThatFitIt) {
  TMessage size;
  size.Msg = WM_SIZE;
  size.LParam = MAKELPARAM(30, 40);
  EXPECT_EQ(MessageAs<TWMSize>(size).Height(), 40);
  TMessage reflected;
  reflected.Msg = CN_COMMAND;
  EXPECT_NO_THROW(MessageAs<TWMCommand>(reflected)) << "a reflected notification keeps its record";
  EXPECT_THROW(MessageAs<TWMCtlColor>(size), EInvalidCast);
  EXPECT_THROW(MessageAs<TWMNCHitTest>(size), EInvalidCast);
  static_assert(TWMPrint::Fits(WM_PRINTCLIENT) && TWMPrint::Fits(WM_PRINT) && !TWMPrint::Fits(WM_PAINT));
  static_assert(TWMWindowPosMsg::Fits(WM_WINDOWPOSCHANGING) && !TWMWindowPosMsg::Fits(WM_MOVE));
}

}  // namespace

namespace {

// A container whose background is two colours, split at its middle.
class TStriped : public TCustomControl {
  DK_CLASS(TStriped, TCustomControl)
 public:
  using TCustomControl::TCustomControl;
  void PaintBackground(HDC DC) override {
    RECT r;
    ::GetClientRect(WindowHandle(), &r);
    RECT left{0, 0, r.right / 2, r.bottom}, right{r.right / 2, 0, r.right, r.bottom};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0)), blue = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(DC, &left, red);
    FillRect(DC, &right, blue);
    DeleteObject(red);
    DeleteObject(blue);
  }
};

// A control that paints nothing of its own over its background.
class TSeeThrough : public TCustomControl {
  DK_CLASS(TSeeThrough, TCustomControl)
 public:
  using TCustomControl::TCustomControl;
  void Construct() override {
    inherited::Construct();
    FControlStyle.Include(csParentBackground);
    SetColor(clLime);
  }
};

TEST_F(UiControls, AControlWithParentBackgroundShowsWhatItsParentPaintsBehindIt) {
  auto* striped = Child<TStriped>(10, 10, 200, 100);
  auto* child = Create<TSeeThrough>(Form);
  child->SetParent(striped);
  child->SetBounds(60, 20, 80, 40);  // across the split at x = 100
  auto* inner = Create<TSeeThrough>(Form);
  inner->SetParent(child);
  inner->SetBounds(30, 10, 20, 20);  // the split at its x = 10
  auto* plain = Create<TSeeThrough>(Form);
  plain->SetControlStyle(plain->ControlStyle() - TControlStyle{csParentBackground});
  plain->SetParent(striped);
  plain->SetBounds(10, 70, 20, 20);
  auto* check = Create<TCheckBox>(Form);
  check->SetControlStyle(check->ControlStyle() + TControlStyle{csParentBackground});
  check->SetParent(striped);
  check->SetCaption("x");
  check->SetBounds(70, 70, 60, 20);
  Form->Show();
  testsupport::PumpMessages(300);
  HWND h = Form->Handle();
  auto at = [&](int x, int y) { return testsupport::ClientPixel(h, 10 + x, 10 + y); };  // striped's coordinates
  EXPECT_EQ(at(70, 25), RGB(255, 0, 0)) << "the child's left part over the red half";
  EXPECT_EQ(at(130, 25), RGB(0, 0, 255)) << "the child's right part over the blue half";
  EXPECT_EQ(at(95, 35), RGB(255, 0, 0)) << "a grandchild: through its parent to the container";
  EXPECT_EQ(at(105, 35), RGB(0, 0, 255));
  EXPECT_EQ(at(15, 75), static_cast<COLORREF>(clLime)) << "without the style: its own colour";
  EXPECT_EQ(at(127, 88), RGB(0, 0, 255)) << "a check box of the system's class shows the parent too";
}

TEST_F(UiControls, WMPrintClientPaintsTheClientAreaIntoTheGivenContext) {
  auto* striped = Child<TStriped>(10, 10, 40, 10);
  auto* shape = Create<TProbeShape>(Form);
  shape->SetParent(striped);
  shape->SetBounds(2, 2, 4, 4);
  striped->Handle();
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 40, 10);
  HGDIOBJ old = SelectObject(mem, bmp);
  SendMessageW(striped->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT | PRF_ERASEBKGND);
  EXPECT_EQ(GetPixel(mem, 10, 8), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(mem, 30, 8), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(mem, 3, 3), static_cast<COLORREF>(clRed)) << "with the children without a window";
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
}

}  // namespace

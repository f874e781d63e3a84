// Forms and the application on real windows: forms read from their
// resources, activation around modal windows and message boxes, the message
// loop serving timers and worker threads, keys previewed by the form,
// exceptions handed to the application, the end of the program.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>

#include "classlib/core/Classes.h"
#include "classlib/ui/Controls.h"
#include "classlib/ui/ExtCtrls.h"
#include "classlib/ui/Forms.h"

// after the class library, whose header takes care of the platform macros
#include "TestSupport.h"

// --------------------------------------------------------- classes of the form

class TUiTestPanel : public TCustomControl {
  DK_CLASS(TUiTestPanel, TCustomControl)
 public:
  using TCustomControl::TCustomControl;

 protected:
  void Paint() override {
    TCanvas* c = Canvas();
    c->Brush()->SetColor(Color());
    c->FillRect(ClientRect());
    c->Font()->Assign(Font());
    TSize s = c->TextExtent(Caption());
    c->TextOut((Width() - s.cx) / 2, (Height() - s.cy) / 2, Caption());
  }
};
DK_PUBLISH(TUiTestPanel) {}

class TUiTestForm : public TForm {
  DK_CLASS(TUiTestForm, TForm)
 public:
  using TForm::TForm;
  static inline bool CloseInCreate = false;
  int Created = 0, Closed = 0, PanelClicks = 0;
  void FormCreate(TObject*) {
    ++Created;
    if (CloseInCreate) Close();
  }
  void FormClose(TObject*, TCloseAction& Action) { ++Closed; }
  void PanelClick(TObject*) { ++PanelClicks; }
};
DK_PUBLISH(TUiTestForm) {
  P.Method("FormCreate", &TUiTestForm::FormCreate);
  P.Method("FormClose", &TUiTestForm::FormClose);
  P.Method("PanelClick", &TUiTestForm::PanelClick);
}

class TBrokenForm : public TForm {
  DK_CLASS(TBrokenForm, TForm)
 public:
  using TForm::TForm;
};

class TNoResourceForm : public TForm {
  DK_CLASS(TNoResourceForm, TForm)
 public:
  using TForm::TForm;
};

class TEditBox : public TWinControl {
  DK_CLASS(TEditBox, TWinControl)
 public:
  using TWinControl::TWinControl;

 protected:
  void CreateParams(TCreateParams& p) override {
    inherited::CreateParams(p);
    CreateSubClass(p, L"EDIT");
    p.Style |= ES_AUTOHSCROLL | WS_BORDER;
  }
};

namespace {

// Event handlers of the tests: std::function behind the class library's events.
class TSink : public TObject {
  DK_CLASS(TSink, TObject)
 public:
  std::function<void(TObject*)> Notify;
  std::function<void(TObject*, Word&, TShiftState)> Key;
  std::function<void(TObject*, Exception*)> Error;
  void OnNotify(TObject* s) {
    if (Notify) Notify(s);
  }
  void OnKey(TObject* s, Word& k, TShiftState sh) {
    if (Key) Key(s, k, sh);
  }
  void OnError(TObject* s, Exception* e) {
    if (Error) Error(s, e);
  }
  void OnCloseFree(TObject*, TCloseAction& Action) { Action = caFree; }
  TNotifyEvent N() { return TNotifyEvent(this, &TSink::OnNotify); }
};

// Runs the application's loop until Done or the time is up.
bool LoopUntil(const std::function<bool()>& Done, int ms = 5000) {
  DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  while (!Done()) {
    if (static_cast<int>(end - GetTickCount()) <= 0) return false;
    Application->ProcessMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

// A timer calling Fn on every tick.
struct Ticker {
  TSink Sink;
  std::unique_ptr<TTimer, void (*)(TTimer*)> Timer{nullptr, [](TTimer* t) { t->Free(); }};
  Ticker(int ms, std::function<void(TObject*)> fn) {
    Sink.Notify = std::move(fn);
    Timer.reset(Create<TTimer>(nullptr));
    Timer->SetInterval(static_cast<Cardinal>(ms));
    Timer->SetOnTimer(Sink.N());
  }
};

class TSyncThread : public TThread {
  DK_CLASS(TSyncThread, TThread)
 public:
  using TThread::TThread;
  std::atomic<bool>* Flag = nullptr;

 protected:
  void Execute() override {
    Sleep(50);
    Synchronize([this] { *Flag = TThread::IsMainThread(); });
  }
};

TEST(UiForms, FormIsReadFromItsResourceWithChildrenCaptionsAndEvents) {
  TUiTestForm::CloseInCreate = false;
  auto* f = Create<TUiTestForm>(Application);
  EXPECT_EQ(f->Created, 1) << "OnCreate bound by name and run";
  EXPECT_EQ(f->Caption(), "\xCF\xF0\xEE\xE1\xE0 \xF4\xEE\xF0\xEC\xFB") << "Cyrillic caption in code page 1251";
  auto* panel = dynamic_cast<TUiTestPanel*>(f->FindComponent("Panel1"));
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->Parent(), f);
  EXPECT_EQ(panel->BoundsRect(), Rect(10, 10, 160, 60));
  EXPECT_EQ(panel->Caption(), "\xCF\xE0\xED\xE5\xEB\xFC");
  EXPECT_EQ(panel->Font()->Name(), "Tahoma") << "the child takes the form's font";
  EXPECT_FALSE(f->HandleAllocated()) << "no window before it is needed";
  panel->Click();
  EXPECT_EQ(f->PanelClicks, 1);

  f->Show();
  testsupport::PumpMessages(300);
  EXPECT_EQ(f->ClientWidth(), 240);
  EXPECT_EQ(f->ClientHeight(), 120);
  wchar_t title[64];
  GetWindowTextW(f->Handle(), title, 64);
  EXPECT_STREQ(title, L"\x041F\x0440\x043E\x0431\x0430 \x0444\x043E\x0440\x043C\x044B");
  EXPECT_EQ(testsupport::ClientPixel(f->Handle(), 12, 12), static_cast<COLORREF>(clLime));
  EXPECT_FALSE(testsupport::Screenshot(f->Handle(), "ui_forms_resource").empty());

  // the mouse over the panel: the loop's idle step tells it, then its parent
  struct TEnter : TObject {
    TWndMethod Old;
    std::vector<std::pair<UINT, LPARAM>> Seen;
    void Proc(TMessage& m) {
      if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) Seen.push_back({m.Msg, m.LParam});
      Old(m);
    }
  } onPanel, onForm;
  onPanel.Old = panel->WindowProc;
  panel->WindowProc = TWndMethod(&onPanel, &TEnter::Proc);
  onForm.Old = f->WindowProc;
  f->WindowProc = TWndMethod(&onForm, &TEnter::Proc);
  auto idle = [] {
    MSG m{};
    Application->Idle(m);
  };
  TPoint p = f->ClientToScreen({200, 100});  // the form, off the panel
  SetCursorPos(p.X, p.Y);
  LoopUntil([&] { idle(); return !onForm.Seen.empty(); }, 1000);
  onForm.Seen.clear();
  p = panel->ClientToScreen({20, 20});
  SetCursorPos(p.X, p.Y);
  EXPECT_TRUE(LoopUntil([&] { idle(); return !onPanel.Seen.empty(); }, 2000));
  using Seen = std::vector<std::pair<UINT, LPARAM>>;
  EXPECT_EQ(onPanel.Seen, (Seen{{CM_MOUSEENTER, 0}}));
  LPARAM panelParam = reinterpret_cast<LPARAM>(panel);
  EXPECT_EQ(onForm.Seen, (Seen{{CM_MOUSELEAVE, 0}, {CM_MOUSEENTER, panelParam}}));
  panel->WindowProc = onPanel.Old;
  f->WindowProc = onForm.Old;
  f->Free();
}

TEST(UiForms, AFormClassWithoutResourceRaisesAndCreateNewMakesAnEmptyForm) {
  int forms = Screen->FormCount();
  TNoResourceForm* ref = nullptr;
  EXPECT_THROW(Application->CreateForm(ref), EResNotFound);
  EXPECT_EQ(ref, nullptr);
  EXPECT_EQ(Screen->FormCount(), forms) << "the failed form left the screen's list";
  EXPECT_EQ(Application->MainForm(), nullptr);
  auto* f = Create<TNoResourceForm>(Application, 0);
  EXPECT_EQ(f->ComponentCount(), 0);
  f->Free();
}

// A form's opacity: set before its window exists it is applied when the
// window is made; a new value reaches the window at once; switched off the
// window is plain again.
namespace {
bool LayeredStyle(HWND wnd) { return (GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }
int LayeredAlpha(HWND wnd) {
  BYTE a = 0;
  DWORD flags = 0;
  return GetLayeredWindowAttributes(wnd, nullptr, &a, &flags) && (flags & LWA_ALPHA) ? int(a) : -1;
}
}  // namespace

TEST(UiForms, AlphaBlendMakesTheWindowLayeredWithItsValue) {
  auto* f = Create<TForm>(Application, 0);
  f->SetAlphaBlend(true);
  f->SetAlphaBlendValue(200);
  const HWND wnd = f->Handle();
  EXPECT_TRUE(LayeredStyle(wnd));
  EXPECT_EQ(LayeredAlpha(wnd), 200);
  f->SetAlphaBlendValue(90);
  EXPECT_EQ(LayeredAlpha(wnd), 90);
  f->SetAlphaBlend(false);
  EXPECT_FALSE(LayeredStyle(wnd));
  f->Free();
}

TEST(UiForms, ABrokenResourceRaisesAndLeavesNothingBehind) {
  int forms = Screen->FormCount();
  int owned = Application->ComponentCount();
  EXPECT_THROW(Create<TBrokenForm>(Application), EReadError);
  EXPECT_EQ(Screen->FormCount(), forms);
  EXPECT_EQ(Application->ComponentCount(), owned);
}

TEST(UiForms, CloseDuringConstructionRunsOnCloseWithoutAWindow) {
  TUiTestForm::CloseInCreate = true;
  auto* f = Create<TUiTestForm>(Application);
  TUiTestForm::CloseInCreate = false;
  EXPECT_EQ(f->Closed, 1);
  EXPECT_FALSE(f->HandleAllocated());
  EXPECT_FALSE(f->Visible());
  f->Free();
}

TEST(UiForms, KeyPreviewGivesTheFormTheKeysOfItsControls) {
  for (bool preview : {true, false}) {
    auto* f = Create<TForm>(Application, 0);
    f->SetKeyPreview(preview);
    auto* edit = Create<TEditBox>(f);
    edit->SetParent(f);
    edit->SetBounds(10, 10, 100, 22);
    Word formKey = 0;
    Word editKey = 0;
    TSink formSink, editSink;
    formSink.Key = [&](TObject* s, Word& k, TShiftState) {
      EXPECT_EQ(s, f);
      formKey = k;
    };
    editSink.Key = [&](TObject*, Word& k, TShiftState) { editKey = k; };
    f->OnKeyUp = TKeyEvent(&formSink, &TSink::OnKey);
    edit->OnKeyUp = TKeyEvent(&editSink, &TSink::OnKey);
    f->Show();
    edit->SetFocus();
    testsupport::PumpMessages(100);
    ASSERT_EQ(GetFocus(), edit->Handle());
    PostMessageW(edit->Handle(), WM_KEYDOWN, VK_F1, 0x003B0001);
    PostMessageW(edit->Handle(), WM_KEYUP, VK_F1, static_cast<LPARAM>(0xC03B0001u));
    LoopUntil([&] { return editKey != 0; }, 1000);
    EXPECT_EQ(formKey, preview ? VK_F1 : 0) << "preview " << preview;
    EXPECT_EQ(editKey, VK_F1) << "the control still gets the key";
    f->Free();
  }
}

TEST(UiForms, TabMovesTheFocusThroughTheFormsDialogKey) {
  auto* f = Create<TForm>(Application, 0);
  auto* a = Create<TEditBox>(f);
  auto* b = Create<TEditBox>(f);
  int enters = 0, exits = 0;
  TSink enter, exit;
  enter.Notify = [&](TObject* s) { enters += s == b; };
  exit.Notify = [&](TObject* s) { exits += s == a; };
  for (auto* e : {a, b}) {
    e->SetParent(f);
    e->SetTabStop(true);
    e->OnEnter = enter.N();
    e->OnExit = exit.N();
  }
  a->SetBounds(10, 10, 100, 22);
  b->SetBounds(10, 40, 100, 22);
  f->Show();
  a->SetFocus();
  testsupport::PumpMessages(100);
  ASSERT_EQ(GetFocus(), a->Handle());
  PostMessageW(a->Handle(), WM_KEYDOWN, VK_TAB, 0x000F0001);
  EXPECT_TRUE(LoopUntil([&] { return GetFocus() == b->Handle(); }, 1000));
  EXPECT_EQ(f->ActiveControl(), b);
  EXPECT_EQ(Screen->ActiveControl(), b);
  EXPECT_EQ(enters, 1);
  EXPECT_EQ(exits, 1);
  f->Free();
}

struct Activation : ::testing::Test {
  TForm* Main = nullptr;
  TSink Sink;
  int Activations = 0;
  void SetUp() override {
    Main = Create<TForm>(Application, 0);
    Main->SetBounds(50, 50, 300, 200);
    Main->SetCaption("Main");
    Sink.Notify = [this](TObject*) { ++Activations; };
    Main->OnActivate = Sink.N();
    Main->Show();
    testsupport::PumpMessages(200);
    ASSERT_EQ(Screen->ActiveForm(), Main);
    ASSERT_GE(Activations, 1);
  }
  void TearDown() override { Main->Free(); }
};

TEST_F(Activation, TheFormUnderAModalFormIsActivatedAgainBeforeShowModalReturns) {
  auto* dialog = Create<TForm>(Application, 0);
  dialog->SetBounds(100, 100, 200, 100);
  int before = Activations;
  int dialogActivations = 0;
  TSink dsink;
  dsink.Notify = [&](TObject*) { ++dialogActivations; };
  dialog->OnActivate = dsink.N();
  int deactivations = 0;
  TSink msink;
  msink.Notify = [&](TObject*) { ++deactivations; };
  Main->OnDeactivate = msink.N();
  bool mainDisabled = false;
  Ticker t(50, [&](TObject*) {
    mainDisabled = !IsWindowEnabled(Main->Handle());
    dialog->SetModalResult(mrOk);
  });
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  int after = Activations;
  EXPECT_EQ(deactivations, 1) << "the focus left the form for the dialog";
  EXPECT_TRUE(mainDisabled) << "the other windows are disabled while the dialog runs";
  EXPECT_EQ(dialogActivations, 1);
  EXPECT_EQ(after, before + 1) << "OnActivate of the form under the dialog ran inside ShowModal";
  EXPECT_FALSE(dialog->Visible());
  EXPECT_TRUE(IsWindowEnabled(Main->Handle()));
  EXPECT_EQ(Screen->ActiveForm(), Main);
  dialog->Free();
}

TEST_F(Activation, TheFormUnderAMessageBoxIsActivatedAgain) {
  int before = Activations;
  Ticker t(100, [](TObject*) {
    HWND box = FindWindowW(L"#32770", nullptr);
    if (box) PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  int r = Application->MessageBox("\xCF\xF0\xEE\xE1\xE0", "Test", MB_OK);
  EXPECT_EQ(r, IDOK);
  EXPECT_EQ(Activations, before + 1);
  EXPECT_TRUE(IsWindowEnabled(Main->Handle()));
}

TEST(UiForms, TimersAndSynchronizeAreServedInsideAModalLoop) {
  auto* dialog = Create<TForm>(Application, 0);
  std::atomic<bool> synced{false};
  int ticks = 0;
  auto* thread = Create<TSyncThread>(true);
  thread->Flag = &synced;
  DWORD start = GetTickCount();
  Ticker t(30, [&](TObject*) {
    ++ticks;
    if ((ticks >= 3 && synced) || GetTickCount() - start > 5000) dialog->SetModalResult(mrOk);
  });
  thread->Start();
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_GE(ticks, 3);
  EXPECT_TRUE(synced) << "the worker's Synchronize ran on the main thread inside the modal loop";
  thread->WaitFor();
  thread->Free();
  dialog->Free();
}

TEST(UiForms, ExceptionsInHandlersReachOnExceptionAndTheProgramGoesOn) {
  TSink errors;
  std::vector<AnsiString> seen;
  std::vector<TObject*> senders;
  errors.Error = [&](TObject* s, Exception* e) {
    seen.push_back(e->Message);
    senders.push_back(s);
  };
  Application->OnException = TExceptionEvent(&errors, &TSink::OnError);

  int ticks = 0;
  std::unique_ptr<Ticker> t;
  t = std::make_unique<Ticker>(20, [&](TObject*) {
    ++ticks;
    if (ticks == 1) throw Exception("boom");
    if (ticks == 2) throw EAbort("silent");
  });
  EXPECT_TRUE(LoopUntil([&] { return ticks >= 3; }));
  EXPECT_EQ(seen, (std::vector<AnsiString>{"boom"})) << "EAbort stays silent";
  EXPECT_EQ(senders.front(), t->Timer.get());

  // a window procedure: the handler's exception does not cross the window
  auto* f = Create<TForm>(Application, 0);
  TSink click;
  click.Notify = [](TObject*) { throw EConvertError("bad number"); };
  f->OnClick = click.N();
  f->Show();
  SendMessageW(f->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(f->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1], "bad number");
  EXPECT_EQ(senders[1], f);
  EXPECT_TRUE(IsWindow(f->Handle()));
  Application->OnException = nullptr;
  f->Free();
}

BOOL CALLBACK CollectText(HWND w, LPARAM lp) {
  wchar_t buf[256];
  int n = GetWindowTextW(w, buf, 256);
  if (n > 0) reinterpret_cast<std::vector<AnsiString>*>(lp)->push_back(winapi::A(buf, n));
  return TRUE;
}

TEST(UiForms, WithoutOnExceptionTheMessageIsShownInABox) {
  Application->SetTitle("Monitor");
  std::vector<AnsiString> texts;
  AnsiString title;
  Ticker closer(100, [&](TObject*) {
    HWND box = FindWindowW(L"#32770", nullptr);
    if (!box || !texts.empty()) return;
    wchar_t buf[64];
    title = winapi::A(buf, GetWindowTextW(box, buf, 64));
    EnumChildWindows(box, &CollectText, reinterpret_cast<LPARAM>(&texts));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  try {
    throw EConvertError("\xCD\xE5\xE2\xE5\xF0\xED\xEE\xE5 \xF7\xE8\xF1\xEB\xEE");  // "Неверное число"
  } catch (...) {
    Application->HandleException(nullptr);
  }
  EXPECT_EQ(title, "Monitor");
  EXPECT_NE(std::find(texts.begin(), texts.end(), "\xCD\xE5\xE2\xE5\xF0\xED\xEE\xE5 \xF7\xE8\xF1\xEB\xEE."),
            texts.end())
      << "the exception's text, with a full stop";
}

TEST(UiForms, TheApplicationWindowOwnsTheFormsAndTheScreenListsThem) {
  HWND app = Application->Handle();
  wchar_t cls[32];
  GetClassNameW(app, cls, 32);
  EXPECT_STREQ(cls, L"TApplication");
  // a hook sees the application window's messages first and may keep them
  struct THook : TObject {
    std::vector<UINT> Seen;
    bool Hook(TMessage& m) {
      if (m.Msg < WM_USER) return false;
      Seen.push_back(m.Msg);
      m.Result = 5;
      return true;
    }
  } hook;
  Application->HookMainWindow(TWindowHook(&hook, &THook::Hook));
  EXPECT_EQ(SendMessageW(app, WM_USER + 3, 0, 0), 5);
  // the application's activation is announced by CM_ACTIVATE posted to its window
  SendMessageW(app, WM_ACTIVATEAPP, TRUE, 0);
  testsupport::PumpMessages(50);
  Application->UnhookMainWindow(TWindowHook(&hook, &THook::Hook));
  EXPECT_EQ(SendMessageW(app, WM_USER + 3, 0, 0), 0);
  EXPECT_EQ(hook.Seen, (std::vector<UINT>{WM_USER + 3, 0xB000}));

  auto* a = Create<TForm>(Application, 0);
  auto* b = Create<TForm>(Application, 0);
  a->Show();
  b->Show();
  testsupport::PumpMessages(100);
  EXPECT_EQ(GetWindow(a->Handle(), GW_OWNER), app);
  EXPECT_EQ(Screen->Forms(0), b) << "the last activated form first";
  a->SetFocus();
  testsupport::PumpMessages(100);
  EXPECT_EQ(Screen->Forms(0), a);
  EXPECT_EQ(Screen->ActiveForm(), a);
  int n = Screen->FormCount();
  b->Free();
  EXPECT_EQ(Screen->FormCount(), n - 1);

  // caFree: the form goes once the messages queued before have been handled
  TSink freeing;
  a->OnClose = TCloseEvent(&freeing, &TSink::OnCloseFree);
  bool gone = false;
  TSink watch;
  watch.Notify = [&](TObject*) { gone = true; };
  a->OnDestroy = watch.N();
  a->Close();
  EXPECT_FALSE(gone) << "not within Close";
  EXPECT_TRUE(LoopUntil([&] { return gone; }, 1000));
  EXPECT_EQ(Screen->FormCount(), n - 2);
}

}  // namespace

class TMainForm : public TForm {
  DK_CLASS(TMainForm, TForm)
 public:
  explicit TMainForm(TComponent* Owner) : TForm(Owner, 0) {}
  int Closes = 0;
  void FormClose(TObject*, TCloseAction&) { ++Closes; }
};

// Last: it ends the application's loop for good.
TEST(UiFormsRun, ClosingTheMainFormEndsRun) {
  TMainForm* main = nullptr;
  Application->CreateForm(main);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(Application->MainForm(), main) << "the first form made by CreateForm";
  main->OnClose = TCloseEvent(main, &TMainForm::FormClose);
  int ticks = 0;
  bool hiddenWhenMinimized = false, shownWhenRestored = false;
  Ticker t(100, [&](TObject*) {
    switch (++ticks) {
      case 1:
        EXPECT_TRUE(IsWindowVisible(main->Handle()));
        SendMessageW(main->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        hiddenWhenMinimized = IsIconic(Application->Handle()) && !IsWindowVisible(main->Handle());
        break;
      case 2:
        Application->Restore();
        shownWhenRestored = !IsIconic(Application->Handle()) && IsWindowVisible(main->Handle());
        break;
      default:
        main->Close();
    }
  });
  Application->Run();
  EXPECT_TRUE(Application->Terminated());
  EXPECT_EQ(main->Closes, 1);
  EXPECT_TRUE(hiddenWhenMinimized) << "minimising the main form minimises the application";
  EXPECT_TRUE(shownWhenRestored);
}

namespace {

TEST(UiResources, ResourceStreamsReadTheModulesResources) {
  auto instance = reinterpret_cast<std::uintptr_t>(GetModuleHandleW(nullptr));
  TResourceStream form(instance, "TUITESTFORM", reinterpret_cast<const char*>(RT_RCDATA));
  char signature[4];
  form.ReadBuffer(signature, 4);
  EXPECT_EQ(std::string(signature, 4), "TPF0") << "the form resource as the build embedded it";
  EXPECT_GT(form.Size(), 4);
  EXPECT_THROW(form.WriteBuffer(signature, 4), EStreamError);
  EXPECT_THROW(TResourceStream(instance, "NO_SUCH_RESOURCE", reinterpret_cast<const char*>(RT_RCDATA)), EResNotFound);
  EXPECT_THROW(TResourceStream(instance, 4711, reinterpret_cast<const char*>(RT_RCDATA)), EResNotFound);
}

}  // namespace

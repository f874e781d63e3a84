// Window procedures stacked over a control's and over windows the class
// library did not make: every order of putting them on and taking them away,
// the control freed under them, its window made again, and the system's
// message box and colour dialog subclassed from their creation on.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "classlib/ui/Controls.h"
#include "classlib/ui/Forms.h"
#include "classlib/ui/WndThunks.h"

// after the class library, whose header takes care of the platform macros
#include <commdlg.h>

#include "TestSupport.h"

namespace {

constexpr UINT WM_PROBE = WM_USER + 91;

// A control that counts the probes it gets, into a count that outlives it.
class TCountingControl : public TCustomControl {
  DK_CLASS(TCountingControl, TCustomControl)
  DK_MESSAGES(TCountingControl)
 public:
  using TCustomControl::TCustomControl;
  int* Probes = nullptr;
  void WMProbe(TMessage& m) {
    ++*Probes;
    m.Result = 1;
  }
};
DK_MESSAGE_UNIT(TCountingControl);
DK_MESSAGE_HANDLER(TCountingControl, WM_PROBE, WMProbe);

// One party with a subclass of its own over the window, through the function
// pair ("A", "B") or written as other programs do with SetWindowLongPtr ("R").
struct TParty : TObject {
  std::string Name;
  bool Raw = false;
  int Probes = 0;
  int NCDestroys = 0;
  bool On = false;  // put on and not yet taken away
  TWndSubclass* Subclass = nullptr;
  HWND RawWnd = nullptr;
  WNDPROC RawPrevious = nullptr;

  void Proc(TMessage& m) {
    if (m.Msg == WM_PROBE) ++Probes;
    if (m.Msg == WM_NCDESTROY) ++NCDestroys;
    Subclass->CallPrevious(m);
  }
  void Put(HWND Wnd) {
    On = true;
    if (!Raw) {
      Subclass = SubclassWindow(Wnd, TWndMethod(this, &TParty::Proc));
      return;
    }
    RawWnd = Wnd;
    SetPropW(Wnd, L"DkTestRawParty", this);
    RawPrevious = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TParty::RawProc)));
  }
  void Take() {
    On = false;
    if (!Raw) {
      UnsubclassWindow(Subclass);
      Subclass = nullptr;
    } else if (RawWnd && IsWindow(RawWnd)) {
      RemovePropW(RawWnd, L"DkTestRawParty");
      SetWindowLongPtrW(RawWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RawPrevious));
    }
  }
  // Follows the control to its new window.
  void Follow(HWND Wnd) {
    if (!On) return;
    if (Raw) {
      RawWnd = nullptr;
    } else {
      UnsubclassWindow(Subclass);
      Subclass = nullptr;
    }
    Put(Wnd);
  }
  static LRESULT CALLBACK RawProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
    auto* p = static_cast<TParty*>(GetPropW(Wnd, L"DkTestRawParty"));
    if (Msg == WM_PROBE) ++p->Probes;
    if (Msg == WM_NCDESTROY) {
      ++p->NCDestroys;
      // as such code often does: off the window at its end
      LRESULT r = CallWindowProcW(p->RawPrevious, Wnd, Msg, WParam, LParam);
      RemovePropW(Wnd, L"DkTestRawParty");
      SetWindowLongPtrW(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(p->RawPrevious));
      p->RawWnd = nullptr;
      return r;
    }
    return CallWindowProcW(p->RawPrevious, Wnd, Msg, WParam, LParam);
  }
};

// Hears of the control's new window and lets the parties follow it.
struct TFollower : TObject {
  TWndMethod Old;
  std::vector<TParty*> Parties;
  int Recreated = 0;
  void Proc(TMessage& m) {
    Old(m);
    if (m.Msg != CM_WNDRECREATED) return;
    ++Recreated;
    for (TParty* p : Parties) p->Follow(reinterpret_cast<HWND>(m.LParam));
  }
};

struct SubclassOrders : ::testing::Test {
  TForm* Form = nullptr;
  void SetUp() override {
    Form = Create<TForm>(nullptr, 0);
    Form->SetBounds(100, 100, 300, 200);
  }
  void TearDown() override { Form->Free(); }
};

// Steps: "A+" puts party A on, "A-" takes it away, "W" makes the control's
// window again, "C" frees the control (and with it its window).
struct TOrder {
  const char* Steps;
  const char* Raw;  // the parties that subclass as other programs do
};

TEST_F(SubclassOrders, EveryMessageReachesEveryLiveProcedureOnceAndNothingFreedIsCalled) {
  const TOrder orders[] = {
      {"A+ B+ B- A-", ""},     {"A+ B+ A- B-", ""},       {"A+ R+ A- R-", "R"},    {"R+ A+ A- R-", "R"},
      {"A+ B+ C A- B-", ""},   {"A+ R+ C R- A-", "R"},    {"A+ B+ A- C B-", ""},   {"A+ B+ W A- B-", ""},
      {"A+ B+ A- W B-", ""},   {"A+ R+ W R- A-", "R"},    {"A+ W B+ C B- A-", ""}, {"A+ B+ R+ B- A- R-", "R"},
      {"A+ B+ R+ A- B- R-", "R"},
  };
  for (const TOrder& order : orders) {
    SCOPED_TRACE(order.Steps);
    long staleBefore = dk::StaleThunkCalls();
    int controlProbes = 0;
    auto* control = Create<TCountingControl>(Form);
    control->Probes = &controlProbes;
    control->SetParent(Form);
    control->SetBounds(10, 10, 50, 50);
    HWND wnd = control->Handle();

    std::map<char, std::unique_ptr<TParty>> parties;
    TFollower follower;
    follower.Old = control->WindowProc;
    control->WindowProc = TWndMethod(&follower, &TFollower::Proc);
    auto party = [&](char name) -> TParty& {
      auto& p = parties[name];
      if (!p) {
        p = std::make_unique<TParty>();
        p->Name = std::string(1, name);
        p->Raw = std::string(order.Raw).find(name) != std::string::npos;
        follower.Parties.push_back(p.get());
      }
      return *p;
    };

    // The chain as the rules say it must be, bottom first: the procedure of
    // each party and whether it only passes messages on.
    struct TLink {
      TParty* Party;
      WNDPROC Proc;
      bool PassThrough;
    };
    std::vector<TLink> chain;
    auto procOf = [](TParty& p) { return p.Raw ? &TParty::RawProc : p.Subclass->Thunk(); };
    auto top = [&] { return chain.empty() ? control->ObjectInstance() : chain.back().Proc; };

    bool controlAlive = true;
    std::istringstream steps(order.Steps);
    std::string step;
    while (steps >> step) {
      SCOPED_TRACE(step);
      std::map<char, int> ncBefore;
      for (auto& [name, p] : parties) ncBefore[name] = p->NCDestroys;
      if (step == "C" || step == "W") {
        if (step == "C") {
          control->Free();
          controlAlive = false;
        } else {
          control->RecreateWnd();
          EXPECT_FALSE(IsWindow(wnd));
          wnd = control->Handle();
          EXPECT_EQ(follower.Recreated, 1) << "told when the new window stands";
          chain.clear();
          for (TParty* p : follower.Parties)
            if (p->On) chain.push_back({p, procOf(*p), false});
        }
        for (auto& [name, p] : parties)
          EXPECT_EQ(p->NCDestroys, ncBefore[name] + (p->On ? 1 : 0)) << p->Name << " saw the window go";
      } else if (step[1] == '+') {
        TParty& p = party(step[0]);
        p.Put(wnd);
        chain.push_back({&p, procOf(p), false});
      } else {
        TParty& p = party(step[0]);
        WNDPROC proc = controlAlive ? procOf(p) : nullptr;
        p.Take();
        if (controlAlive) {
          if (chain.back().Proc != proc) {
            for (TLink& l : chain)
              if (l.Proc == proc) l.PassThrough = true;
          } else {
            chain.pop_back();
            // ours beneath that only pass on leave with it
            if (!p.Raw)
              while (!chain.empty() && chain.back().PassThrough && !chain.back().Party->Raw) chain.pop_back();
          }
        }
      }
      if (!controlAlive) continue;
      EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(wnd, GWLP_WNDPROC)), top())
          << "the window's procedure is the one the last remover expected";
      // one probe through the window: each live procedure sees it once
      std::map<char, int> before;
      for (auto& [name, p] : parties) before[name] = p->Probes;
      int controlBefore = controlProbes;
      EXPECT_EQ(SendMessageW(wnd, WM_PROBE, 0, 0), 1);
      EXPECT_EQ(controlProbes, controlBefore + 1);
      for (auto& [name, p] : parties) EXPECT_EQ(p->Probes, before[name] + (p->On ? 1 : 0)) << p->Name;
    }
    if (controlAlive) {
      if (std::string(order.Raw).empty()) {
        EXPECT_EQ(top(), control->ObjectInstance()) << "every subclass of ours gone: the control's own";
      }
      control->WindowProc = follower.Old;
      control->Free();
    }
    EXPECT_EQ(dk::StaleThunkCalls(), staleBefore) << "no procedure that was given back was called";
  }
}

// A window-creation hook subclasses a control's window before its first
// message reaches the control: the control's procedure stays under it.
struct TCreationHook {
  static TParty* Party;
  static LRESULT CALLBACK Proc(int Code, WPARAM WParam, LPARAM LParam) {
    if (Code == HCBT_CREATEWND && Party && !Party->On) {
      wchar_t cls[32] = {};
      GetClassNameW(reinterpret_cast<HWND>(WParam), cls, 32);
      if (std::wstring(cls) == L"TCountingControl") Party->Put(reinterpret_cast<HWND>(WParam));
    }
    return CallNextHookEx(nullptr, Code, WParam, LParam);
  }
};
TParty* TCreationHook::Party = nullptr;

TEST_F(SubclassOrders, ASubclassPutOnAtTheWindowsCreationStaysInFrontOfTheControl) {
  for (bool raw : {false, true}) {
    SCOPED_TRACE(raw ? "written as other programs do" : "through SubclassWindow");
    long staleBefore = dk::StaleThunkCalls();
    TParty party;
    party.Raw = raw;
    TCreationHook::Party = &party;
    HHOOK hook = SetWindowsHookExW(WH_CBT, &TCreationHook::Proc, nullptr, GetCurrentThreadId());
    int probes = 0;
    auto* control = Create<TCountingControl>(Form);
    control->Probes = &probes;
    control->SetParent(Form);
    HWND wnd = control->Handle();
    UnhookWindowsHookEx(hook);
    TCreationHook::Party = nullptr;
    ASSERT_TRUE(party.On);
    EXPECT_EQ(FindControl(wnd), control);
    EXPECT_EQ(SendMessageW(wnd, WM_PROBE, 0, 0), 1);
    EXPECT_EQ(probes, 1) << "the control still serves its window";
    EXPECT_EQ(party.Probes, 1);
    control->Free();
    EXPECT_EQ(party.NCDestroys, 1) << "the subclass saw its window go";
    party.Take();
    EXPECT_EQ(dk::StaleThunkCalls(), staleBefore);
  }
}

TEST_F(SubclassOrders, ThunksAreNeverWritableAndExecutableAtOnce) {
  auto* control = Create<TCountingControl>(Form);
  control->SetParent(Form);
  WNDPROC instance = MakeObjectInstance(TWndMethod());
  for (WNDPROC code : {control->ObjectInstance(), instance}) {
    MEMORY_BASIC_INFORMATION info{};
    ASSERT_NE(VirtualQuery(reinterpret_cast<void*>(code), &info, sizeof info), 0u);
    EXPECT_EQ(info.Protect, static_cast<DWORD>(PAGE_EXECUTE_READ));
  }
  FreeObjectInstance(instance);
}

// ------------------------------------------------- windows of the system

// Subclasses the first top-level dialog window the thread creates, from its
// creation on (as a window-creation hook of a skin engine does).
struct TDialogWatch : TObject {
  static TDialogWatch* Current;
  HHOOK Hook = nullptr;
  TWndSubclass* Subclass = nullptr;
  int ChildrenAtInit = -1;
  bool SawNCDestroy = false;
  WPARAM CloseWith = IDCANCEL;

  TDialogWatch() {
    Current = this;
    Hook = SetWindowsHookExW(WH_CBT, &TDialogWatch::CbtProc, nullptr, GetCurrentThreadId());
  }
  ~TDialogWatch() {
    UnhookWindowsHookEx(Hook);
    if (Subclass) UnsubclassWindow(Subclass);
    Current = nullptr;
  }
  static LRESULT CALLBACK CbtProc(int Code, WPARAM WParam, LPARAM LParam) {
    TDialogWatch* w = Current;
    if (Code == HCBT_CREATEWND && w && !w->Subclass) {
      HWND wnd = reinterpret_cast<HWND>(WParam);
      wchar_t cls[16] = {};
      GetClassNameW(wnd, cls, 16);
      auto* cs = reinterpret_cast<CBT_CREATEWNDW*>(LParam)->lpcs;
      if (std::wstring(cls) == L"#32770" && !(cs->style & WS_CHILD))
        w->Subclass = SubclassWindow(wnd, TWndMethod(w, &TDialogWatch::Proc));
    }
    return CallNextHookEx(nullptr, Code, WParam, LParam);
  }
  void Proc(TMessage& m) {
    HWND wnd = Subclass->Handle();
    if (m.Msg == WM_INITDIALOG) {
      ChildrenAtInit = 0;
      for (HWND c = GetWindow(wnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) ++ChildrenAtInit;
      PostMessageW(wnd, WM_COMMAND, CloseWith, 0);
    }
    if (m.Msg == WM_NCDESTROY) SawNCDestroy = true;
    Subclass->CallPrevious(m);
  }
};
TDialogWatch* TDialogWatch::Current = nullptr;

TEST(SystemWindows, AMessageBoxSubclassedAtItsCreationSeesItsDialogAndItsEnd) {
  TDialogWatch watch;
  watch.CloseWith = IDOK;
  EXPECT_EQ(MessageBoxW(nullptr, L"\x0422\x0435\x043A\x0441\x0442", L"Probe", MB_OK), IDOK);
  ASSERT_NE(watch.Subclass, nullptr);
  EXPECT_GE(watch.ChildrenAtInit, 2) << "the text and the button stand when WM_INITDIALOG comes";
  EXPECT_TRUE(watch.SawNCDestroy);
  EXPECT_EQ(watch.Subclass->Handle(), nullptr) << "off the window once it is gone";
}

TEST(SystemWindows, ACommonDialogSubclassedAtItsCreationSeesItsDialogAndItsEnd) {
  TDialogWatch watch;
  static COLORREF custom[16] = {};
  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof cc;
  cc.rgbResult = RGB(10, 20, 30);
  cc.lpCustColors = custom;
  cc.Flags = CC_RGBINIT;
  EXPECT_FALSE(ChooseColorW(&cc)) << "cancelled";
  ASSERT_NE(watch.Subclass, nullptr);
  EXPECT_GE(watch.ChildrenAtInit, 5) << "the dialog's controls stand when WM_INITDIALOG comes";
  EXPECT_TRUE(watch.SawNCDestroy);
  EXPECT_EQ(watch.Subclass->Handle(), nullptr);
}

}  // namespace

// Message dialogs on real windows: their look, the answer of the button the
// user presses, and the form under them active again afterwards.
#include <gtest/gtest.h>

#include <functional>

#include "classlib/ui/Dialogs.h"
#include "classlib/ui/StdCtrls.h"

// after the class library, whose header takes care of the platform macros
#include "TestSupport.h"

namespace {

class TSink : public TObject {
  DK_CLASS(TSink, TObject)
 public:
  std::function<void(TObject*)> Fn;
  void Handle(TObject* s) {
    if (Fn) Fn(s);
  }
  TNotifyEvent N() { return TNotifyEvent(this, &TSink::Handle); }
};

// What the "user" does to the next message dialog, from a timer of the
// modal loop: press the button with this text, or send the message.
std::wstring gPress;
UINT gSend = 0;
WPARAM gKey = 0;
int gTicks = 0;
std::string gShot;

BOOL CALLBACK FindButton(HWND child, LPARAM param) {
  wchar_t text[64] = {};
  GetWindowTextW(child, text, 64);
  if (gPress == text) {
    *reinterpret_cast<HWND*>(param) = child;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK Drive(HWND, UINT, UINT_PTR, DWORD) {
  HWND dialog = FindWindowW(L"TMessageForm", nullptr);
  if (!dialog || !IsWindowVisible(dialog) || ++gTicks < 3) return;
  if (!gShot.empty()) {
    testsupport::Screenshot(dialog, gShot);
    gShot.clear();
  }
  if (gKey) {
    HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, gKey, 0x00010001);
    PostMessageW(focus, WM_KEYUP, gKey, static_cast<LPARAM>(0xC0010001u));
    gKey = 0;
  } else if (gSend) {
    PostMessageW(dialog, gSend, 0, 0);
  } else {
    HWND button = nullptr;
    EnumChildWindows(dialog, FindButton, reinterpret_cast<LPARAM>(&button));
    if (button) PostMessageW(button, BM_CLICK, 0, 0);
  }
}

struct UiDialogs : ::testing::Test {
  TForm* Main = nullptr;
  TSink Sink;
  int Activations = 0;
  UINT_PTR Timer = 0;
  void SetUp() override {
    Main = Create<TForm>(Application, 0);
    Main->SetBounds(60, 60, 320, 200);
    Main->SetCaption("Main");
    Sink.Fn = [this](TObject*) { ++Activations; };
    Main->OnActivate = Sink.N();
    Main->Show();
    testsupport::PumpMessages(200);
    ASSERT_EQ(Screen->ActiveForm(), Main);
    gPress.clear();
    gSend = 0;
    gKey = 0;
    gTicks = 0;
    Timer = SetTimer(nullptr, 0, 50, Drive);
  }
  void TearDown() override {
    KillTimer(nullptr, Timer);
    Main->Free();
  }
};

TEST_F(UiDialogs, MessageDlgAnswersTheButtonPressedAndTheFormUnderItIsActiveAgain) {
  struct Case {
    TMsgDlgButtons Buttons;
    const wchar_t* Press;
    int Result;
  };
  const Case cases[] = {
      {TMsgDlgButtons{mbYes, mbNo}, L"&No", mrNo},
      {TMsgDlgButtons{mbYes, mbNo}, L"&Yes", mrYes},
      {mbOKCancel, L"Cancel", mrCancel},
      {mbAbortRetryIgnore, L"&Retry", mrRetry},
      {TMsgDlgButtons{mbOK}, L"OK", mrOk},
  };
  gShot = "ui_dialogs_confirm";
  for (const auto& c : cases) {
    gPress = c.Press;
    gTicks = 0;
    int before = Activations;
    EXPECT_EQ(MessageDlg("Произвести поиск прибора?"_cp, mtConfirmation, c.Buttons, 0), c.Result);
    EXPECT_EQ(Activations, before + 1) << "the form under the dialog got OnActivate again";
    EXPECT_EQ(Screen->ActiveForm(), Main);
    EXPECT_TRUE(IsWindowEnabled(Main->Handle()));
  }
  EXPECT_EQ(FindWindowW(L"TMessageForm", nullptr), nullptr) << "the dialog is gone";
}

TEST_F(UiDialogs, EnterPressesTheDefaultButtonAndEscapeTheCancelButton) {
  gKey = VK_RETURN;
  EXPECT_EQ(MessageDlg("Сохранить?"_cp, mtConfirmation, mbYesNoCancel, 0), mrYes);
  gTicks = 0;
  gKey = VK_ESCAPE;
  EXPECT_EQ(MessageDlg("Сохранить?"_cp, mtConfirmation, mbYesNoCancel, 0), mrCancel);
  gTicks = 0;
  gKey = VK_ESCAPE;
  EXPECT_EQ(MessageDlg("Сохранить?"_cp, mtConfirmation, {mbYes, mbNo}, 0), mrNo) << "No cancels when there is no Cancel";
}

TEST_F(UiDialogs, ClosingTheDialogAnswersCancel) {
  gSend = WM_CLOSE;
  EXPECT_EQ(MessageDlg("Ошибка записи INI-файла!"_cp, mtError, {mbOK}, 0), mrCancel);
  EXPECT_EQ(Screen->ActiveForm(), Main);
}

// Types into the input dialog's edit and presses its button gPress.
void CALLBACK Type(HWND, UINT, UINT_PTR, DWORD) {
  HWND dialog = FindWindowW(L"TForm", L"Адрес");
  if (!dialog || !IsWindowVisible(dialog) || ++gTicks < 3) return;
  HWND edit = FindWindowExW(dialog, nullptr, L"TEdit", nullptr);
  if (edit) SetWindowTextW(edit, L"1F");
  HWND button = nullptr;
  EnumChildWindows(dialog, FindButton, reinterpret_cast<LPARAM>(&button));
  if (button) PostMessageW(button, BM_CLICK, 0, 0);
}

TEST_F(UiDialogs, InputQueryTakesTheTextOnlyWhenConfirmed) {
  KillTimer(nullptr, Timer);
  Timer = SetTimer(nullptr, 0, 50, Type);
  AnsiString value = "FF";
  gPress = L"Cancel";
  EXPECT_FALSE(InputQuery("Адрес"_cp, "Адрес MODBUS:"_cp, value));
  EXPECT_EQ(value, "FF");
  gTicks = 0;
  gPress = L"OK";
  EXPECT_EQ(InputBox("Адрес"_cp, "Адрес MODBUS:"_cp, "FF"), "1F");
  EXPECT_EQ(Screen->ActiveForm(), Main);
}

TEST(UiDialogsLook, TheDialogHoldsIconTextAndButtonsWithDefaultAndCancel) {
  TForm* f = CreateMessageDialog("Прибор не обнаружен!\r\nИзмените настройки порта."_cp, mtWarning,
                                 mbYesNoCancel);
  EXPECT_EQ(f->ClassName(), "TMessageForm");
  EXPECT_EQ(f->Caption(), "Warning");
  auto* text = dynamic_cast<TLabel*>(f->FindComponent("Message"));
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->Caption(), "Прибор не обнаружен!\r\nИзмените настройки порта."_cp);
  EXPECT_NE(f->FindComponent("Image"), nullptr);
  auto* yes = dynamic_cast<TButton*>(f->FindComponent("Yes"));
  auto* no = dynamic_cast<TButton*>(f->FindComponent("No"));
  auto* cancel = dynamic_cast<TButton*>(f->FindComponent("Cancel"));
  ASSERT_TRUE(yes && no && cancel);
  EXPECT_EQ(f->FindComponent("OK"), nullptr);
  EXPECT_EQ(yes->ModalResult(), mrYes);
  EXPECT_EQ(no->ModalResult(), mrNo);
  EXPECT_TRUE(yes->Default());
  EXPECT_TRUE(cancel->Cancel());
  EXPECT_FALSE(no->Cancel());
  EXPECT_LT(yes->Left(), no->Left());
  EXPECT_LT(no->Left(), cancel->Left());
  EXPECT_GE(text->Left(), f->FindComponent("Image") ? 32 : 0) << "the text stands right of the icon";
  EXPECT_GT(yes->Top(), text->Top() + text->Height() - 1) << "the buttons below the text";
  EXPECT_LE(cancel->Left() + cancel->Width(), f->ClientWidth());
  f->Free();

  // A custom dialog has no icon, the application's title, and No as its
  // cancel button when there is no Cancel.
  Application->SetTitle("Дорнека-ХБВ"_cp);
  f = CreateMessageDialog("Текст"_cp, mtCustom, {mbYes, mbNo});
  EXPECT_EQ(f->Caption(), "Дорнека-ХБВ"_cp);
  EXPECT_EQ(f->FindComponent("Image"), nullptr);
  EXPECT_TRUE(dynamic_cast<TButton*>(f->FindComponent("No"))->Cancel());
  f->Free();
}

// Confirms the next system dialog (class "#32770") of the thread.
void CALLBACK Confirm(HWND, UINT, UINT_PTR, DWORD) {
  struct Find {
    static BOOL CALLBACK Proc(HWND w, LPARAM p) {
      wchar_t cls[16] = {};
      GetClassNameW(w, cls, 16);
      if (std::wstring(cls) == L"#32770" && IsWindowVisible(w)) {
        *reinterpret_cast<HWND*>(p) = w;
        return FALSE;
      }
      return TRUE;
    }
  };
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), Find::Proc, reinterpret_cast<LPARAM>(&dialog));
  if (dialog && ++gTicks >= 5) PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

TEST(UiSystemDialogs, FolderAndFileDialogsAnswerWhatTheUserConfirms) {
  wchar_t windir[MAX_PATH];
  GetWindowsDirectoryW(windir, MAX_PATH);
  const AnsiString folder = winapi::A(windir);
  gTicks = 0;
  UINT_PTR timer = SetTimer(nullptr, 0, 100, Confirm);
  AnsiString dir = folder;
  EXPECT_TRUE(SelectDirectory("Папка для журналов"_cp, "", dir));
  EXPECT_TRUE(SameText(ExcludeTrailingPathDelimiter(dir), folder)) << dir;

  gTicks = 0;
  auto* open = Create<TOpenDialog>(nullptr);
  open->SetFilter("INI (*.ini)|*.ini|Все файлы|*.*"_cp);
  open->SetFileName(folder + "\\win.ini");
  open->SetOptions(open->Options() + TOpenOptions{ofFileMustExist});
  int shows = 0, closes = 0;
  TSink s1, s2;
  s1.Fn = [&](TObject*) { ++shows; };
  s2.Fn = [&](TObject*) { ++closes; };
  open->OnShow = s1.N();
  open->OnClose = s2.N();
  EXPECT_TRUE(open->Execute());
  EXPECT_TRUE(SameText(open->FileName(), folder + "\\win.ini")) << open->FileName();
  EXPECT_EQ(open->Files()->Count(), 1);
  EXPECT_EQ(shows, 1);
  EXPECT_EQ(closes, 1);
  open->Free();
  KillTimer(nullptr, timer);
}

}  // namespace

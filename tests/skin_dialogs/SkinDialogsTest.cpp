// The skinned message functions on real system boxes: what the user sees of
// the box (caption, icon, buttons) is read back while it is up, and where the
// box stands when the caller asked for a place.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "../skin_forms/SkinFormsSupport.h"
#include "skin/forms/acDials.h"
#include "skin/forms/sDialogs.h"

namespace {

// What was seen of the first system dialog of the thread while it was up.
struct TBoxSeen {
  bool Seen = false;
  std::wstring Caption;
  bool Icon = false;
  std::vector<int> Buttons;  // control ids, left to right
  RECT Rect{};
  bool Skinned = false;      // carries the skin engine's subclass object
  std::string Shot;          // screenshot file, when one was asked for
};

TBoxSeen gSeen;
std::string gShotName;

BOOL CALLBACK FirstDialog(HWND w, LPARAM p) {
  wchar_t cls[16] = {};
  GetClassNameW(w, cls, 16);
  if (std::wstring(cls) != L"#32770" || !IsWindowVisible(w)) return TRUE;
  *reinterpret_cast<HWND*>(p) = w;
  return FALSE;
}

HWND FindDialog() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FirstDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

void ReadBox(HWND box) {
  wchar_t text[128] = {};
  GetWindowTextW(box, text, 128);
  gSeen.Caption = text;
  GetWindowRect(box, &gSeen.Rect);
  gSeen.Skinned = GetPropW(box, L"ACSBSC") != nullptr;
  std::vector<std::pair<LONG, int>> buttons;
  for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (!IsWindowVisible(c)) continue;
    wchar_t cls[16] = {};
    GetClassNameW(c, cls, 16);
    const LONG style = GetWindowLongW(c, GWL_STYLE);
    if (_wcsicmp(cls, L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON && SendMessageW(c, STM_GETICON, 0, 0))
      gSeen.Icon = true;
    if (_wcsicmp(cls, L"Button") == 0) {
      RECT r{};
      GetWindowRect(c, &r);
      buttons.emplace_back(r.left, GetDlgCtrlID(c));
    }
  }
  std::sort(buttons.begin(), buttons.end());
  for (const auto& b : buttons) gSeen.Buttons.push_back(b.second);
}

// From a timer of the box's modal loop: read the box, then press its first
// button (or cancel a box without buttons of its own).
void CALLBACK Look(HWND, UINT, UINT_PTR Id, DWORD) {
  HWND box = FindDialog();
  if (!box || gSeen.Seen) return;
  KillTimer(nullptr, Id);
  gSeen.Seen = true;
  ReadBox(box);
  if (!gShotName.empty()) {
    testsupport::PumpMessages(200);
    gSeen.Shot = testsupport::Screenshot(box, gShotName);
  }
  const int press = gSeen.Buttons.empty() ? IDCANCEL : gSeen.Buttons.front();
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(press, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, press)));
}

// Runs Call, which shows a dialog; what was seen of it and the call's answer.
TBoxSeen Watch(const std::function<int()>& Call, int* Answer = nullptr, const std::string& Shot = "") {
  gSeen = TBoxSeen{};
  gShotName = Shot;
  const UINT_PTR timer = SetTimer(nullptr, 0, 40, Look);
  const int answer = Call();
  KillTimer(nullptr, timer);
  if (Answer) *Answer = answer;
  return gSeen;
}

TEST(SkinDialogs, MessageBoxesShowTheCaptionIconAndButtonsAsked) {
  const struct {
    const char* Name;
    AnsiString Caption;
    TMsgDlgType Type;
    TMsgDlgButtons Buttons;
    std::wstring WantCaption;
    bool WantIcon;
    std::vector<int> WantButtons;
  } cases[] = {
      {"custom, OK", "", mtCustom, {mbOK}, L"", false, {IDOK}},
      {"error without caption", "", mtError, {mbOK}, L"Error", true, {IDOK}},
      {"own caption in code page 1251", "Связь"_cp, mtWarning, {mbOK}, L"Связь", true, {IDOK}},
      {"yes no cancel", "", mtConfirmation, {mbYes, mbNo, mbCancel}, L"Confirm", true, {IDYES, IDNO, IDCANCEL}},
      {"yes no", "", mtConfirmation, {mbYes, mbNo}, L"Confirm", true, {IDYES, IDNO}},
      {"abort retry ignore", "", mtInformation, {mbAbort, mbRetry, mbIgnore}, L"Information", true,
       {IDABORT, IDRETRY, IDIGNORE}},
      {"OK wins over the rest", "", mtCustom, {mbOK, mbCancel, mbYes}, L"", false, {IDOK, IDCANCEL}},
      {"retry cancel", "", mtCustom, {mbRetry, mbCancel}, L"", false, {IDRETRY, IDCANCEL}},
      {"yes to all alone is OK", "", mtCustom, {mbYesToAll}, L"", false, {IDOK}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    int answer = -1;
    const TBoxSeen seen = Watch([&] { return sMessageDlg(c.Caption, "Текст"_cp, c.Type, c.Buttons, 0); }, &answer);
    ASSERT_TRUE(seen.Seen);
    EXPECT_EQ(seen.Caption, c.WantCaption);
    EXPECT_EQ(seen.Icon, c.WantIcon);
    EXPECT_EQ(seen.Buttons, c.WantButtons);
    EXPECT_EQ(answer, c.WantButtons.front()) << "the pressed button's id is the answer";
  }
}

TEST(SkinDialogs, ShowMessageHasNoIconOneButtonAndNoCaption) {
  const TBoxSeen seen = Watch([] {
    sShowMessage("Готово"_cp);
    return 0;
  });
  ASSERT_TRUE(seen.Seen);
  EXPECT_EQ(seen.Caption, L"");
  EXPECT_FALSE(seen.Icon);
  EXPECT_EQ(seen.Buttons, std::vector<int>{IDOK});
}

// With a skin in use the window-creation hook takes the box and places it.
class SkinDialogsSkinned : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    Skins = new skinforms::TFixtureSkins;
    Manager = Create<TsSkinManager>(nullptr);
    Manager->SetSkinDirectory(skintest::Ansi(Skins->Path()));
    Manager->SetSkinName("Fixture");
  }
  static void TearDownTestSuite() {
    if (Manager) Manager->Free();
    Manager = nullptr;
    delete Skins;
  }
  void SetUp() override { ASSERT_TRUE(Manager->CommonSkinData.Active); }
  static inline skinforms::TFixtureSkins* Skins = nullptr;
  static inline TsSkinManager* Manager = nullptr;
};

TEST_F(SkinDialogsSkinned, ABoxAskedForAPlaceStandsThereAndTheNextIsPlacedByTheSystem) {
  const TBoxSeen placed = Watch([] { return sMessageDlgPos("Здесь"_cp, mtInformation, {mbOK}, 0, 100, 50); });
  ASSERT_TRUE(placed.Seen);
  EXPECT_EQ(DlgLeft, -1);
  EXPECT_EQ(DlgTop, -1);
  if (!placed.Skinned) GTEST_SKIP() << "the window-creation hook does not skin message boxes in this build";
  EXPECT_EQ(placed.Rect.left, 100);
  EXPECT_EQ(placed.Rect.top, 50);

  const TBoxSeen next = Watch([] {
    sShowMessage("Там"_cp);
    return 0;
  });
  ASSERT_TRUE(next.Seen);
  EXPECT_TRUE(next.Skinned);
  EXPECT_FALSE(next.Rect.left == 100 && next.Rect.top == 50) << "the system places the next box";
}

TEST_F(SkinDialogsSkinned, TheFolderDialogIsSkinned) {
  const TBoxSeen seen = Watch(
      [] {
        AnsiString dir;
        return sSelectDirectory("Каталог для сохранения файлов"_cp, "", dir) ? 1 : 0;
      },
      nullptr, "skinned_folder_dialog");
  ASSERT_TRUE(seen.Seen);
  if (!seen.Skinned) GTEST_SKIP() << "the window-creation hook does not skin system dialogs in this build";
  EXPECT_FALSE(seen.Shot.empty());
}

}  // namespace

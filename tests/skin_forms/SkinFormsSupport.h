// What the tests of skinned forms share: a fixture skin written by the test
// (a solid title, a form border with known key-colour corner runs, title
// buttons of known sizes, a size grip), test forms of each border style and
// screen reading and mouse input helpers.
#pragma once

#include <memory>
#include <string>

#include "../skin_manager/SkinManagerSupport.h"
#include "classlib/ui/Forms.h"
#include "classlib/ui/Menus.h"
#include "skin/core/sSkinManager.h"
#include "skin/forms/sSkinProvider.h"
#include "TestSupport.h"

namespace skinforms {

// The fixture's colours and sizes.
constexpr std::uint32_t kTitleColor = 0x3060C0;   // FORMTITLE, as 0xRRGGBB on screen
constexpr TColor kTitleTColor = 0xC06030;          // the same as a TColor (red low)
constexpr std::uint32_t kBorderColor = 0x204020;
constexpr std::uint32_t kKey = 0xFF00FF;
constexpr int kBiLeft = 2, kBiRight = 5;
constexpr int kCloseW = 25, kCloseH = 18, kMinW = 20, kSmallW = 14, kGripSize = 10;
constexpr int kMask = 30, kMargin = 6;  // the border mask: 30 x 30, margins 6

// The controls' sections (0xRRGGBB on screen, normal and hot): scroll-bar
// tracks before and after the thumb, thumb, arrow buttons with their arrow
// colour, and the button, check box, edit and dialog sections.
constexpr std::uint32_t kTrack1Color = 0x30A030, kTrack2Color = 0x208070;
constexpr std::uint32_t kThumbColor = 0xE0A000, kThumbHotColor = 0xF0C850;
constexpr std::uint32_t kArrowBtnColor = 0x4040C0, kArrowBtnHotColor = 0x7070F0, kArrowColor = 0xFFFFFF;
constexpr std::uint32_t kButtonColor = 0xB0D0F0, kButtonHotColor = 0xD8ECFF;
constexpr std::uint32_t kCheckColor = 0xD0B0F0, kCheckHotColor = 0xE8D0FF;
constexpr std::uint32_t kEditColor = 0xF0F0D0, kEditHotColor = 0xFFFFE8;
constexpr std::uint32_t kDialogColor = 0x909090;
// A screen colour as a TColor (red low).
constexpr TColor ToTColor(std::uint32_t Rgb) {
  return static_cast<TColor>(((Rgb & 0xFF) << 16) | (Rgb & 0xFF00) | ((Rgb >> 16) & 0xFF));
}

// Key-colour runs of the mask's top-left corner: (row, first x, last x).
struct TRun {
  int Row, First, Last;
};
inline constexpr TRun kCornerRuns[] = {{0, 0, 3}, {1, 0, 1}, {2, 0, 0}};

inline std::string Image(int l, int t, int r, int b, int margins, int columns) {
  char s[96];
  std::snprintf(s, sizeof s, "^%04d^%04d^%04d^%04d^%04d^%04d^%04d^%04d^%d^0^0^0", l, t, r, b, margins, margins, margins,
                margins, columns);
  return s;
}

// The fixture skin's text; WithKeys: the border mask has key-colour corners;
// WithIcons: the title-button images exist.
inline std::string SkinText(bool WithIcons = true) {
  std::string g = "[GLOBALINFO]\r\nVERSION=8.00\r\nMASTERBITMAP=MASTER.BMP\r\nBILEFT=" + std::to_string(kBiLeft) +
                  "\r\nBIRIGHT=" + std::to_string(kBiRight) + "\r\nGRIPIMAGE=" + Image(100, 0, 110, 10, 0, 1) + "\r\n";
  if (WithIcons) {
    g += "BICONCLOSE=" + Image(0, 40, 3 * kCloseW, 40 + kCloseH, 0, 3) + "\r\n";
    g += "BICONMIN=" + Image(0, 60, 3 * kMinW, 60 + kCloseH, 0, 3) + "\r\n";
    g += "BICONMAX=" + Image(0, 80, 3 * kMinW, 80 + kCloseH, 0, 3) + "\r\n";
    g += "BICONNORM=" + Image(0, 100, 3 * kMinW, 100 + kCloseH, 0, 3) + "\r\n";
    g += "SICONCLOSE=" + Image(0, 120, 3 * kSmallW, 120 + kSmallW, 0, 3) + "\r\n";
  }
  // Sections of one look in both states (the active frame takes the hot one).
  auto solid = [](const char* Name, TColor Color, const std::string& More = "") {
    const std::string c = std::to_string(Color);
    return std::string("[") + Name + "]\r\nCOLOR=" + c + "\r\nHOTCOLOR=" + c + "\r\nTRANSPARENCY=0\r\n" + More;
  };
  // Sections with a hot look of their own.
  auto twoLooks = [](const char* Name, std::uint32_t Normal, std::uint32_t Hot, const std::string& More = "") {
    return std::string("[") + Name + "]\r\nCOLOR=" + std::to_string(ToTColor(Normal)) +
           "\r\nHOTCOLOR=" + std::to_string(ToTColor(Hot)) + "\r\nTRANSPARENCY=0\r\nHOTTRANSPARENCY=0\r\n" + More;
  };
  const std::string arrow = "FONTCOLOR=" + std::to_string(ToTColor(kArrowColor)) +
                            "\r\nHOTFONTCOLOR=" + std::to_string(ToTColor(kArrowColor)) + "\r\n";
  std::string controls;
  for (const char* n : {"SCROLLBAR1H", "SCROLLBAR1V"}) controls += twoLooks(n, kTrack1Color, kTrack1Color);
  for (const char* n : {"SCROLLBAR2H", "SCROLLBAR2V"}) controls += twoLooks(n, kTrack2Color, kTrack2Color);
  for (const char* n : {"SCROLLSLIDERH", "SCROLLSLIDERV"}) controls += twoLooks(n, kThumbColor, kThumbHotColor);
  for (const char* n : {"SCROLLBTNLEFT", "SCROLLBTNTOP", "SCROLLBTNRIGHT", "SCROLLBTNBOTTOM"})
    controls += twoLooks(n, kArrowBtnColor, kArrowBtnHotColor, arrow);
  controls += twoLooks("BUTTON", kButtonColor, kButtonHotColor) + twoLooks("CHECKBOX", kCheckColor, kCheckHotColor) +
              twoLooks("EDIT", kEditColor, kEditHotColor) +
              twoLooks("DIALOG", kDialogColor, kDialogColor,
                       "BORDERSMASK=" + Image(0, 0, kMask, kMask, kMargin, 1) + "\r\n");
  return g + solid("FORM", 0x808080, "BORDERSMASK=" + Image(0, 0, kMask, kMask, kMargin, 1) + "\r\n") +
         solid("FORMTITLE", kTitleTColor) + solid("MENULINE", 0xE0E0E0) + controls;
}

// The master image: the border mask (key runs in its four corners when
// WithKeys), the button images, the grip.
inline skinfixture::TPicture Master(bool WithKeys) {
  skinfixture::TPicture p(140, 150, 0x808080);
  p.Fill(0, 0, kMask, kMask, kBorderColor);
  p.Fill(kMargin, kMargin, kMask - kMargin, kMask - kMargin, 0x808080);
  if (WithKeys)
    for (const TRun& r : kCornerRuns)
      for (int x = r.First; x <= r.Last; ++x) {
        p.At(x, r.Row) = kKey;
        p.At(kMask - 1 - x, r.Row) = kKey;
        p.At(x, kMask - 1 - r.Row) = kKey;
        p.At(kMask - 1 - x, kMask - 1 - r.Row) = kKey;
      }
  p.Fill(0, 40, 3 * kCloseW, 40 + kCloseH, 0xC00000);
  p.Fill(0, 60, 3 * kMinW, 60 + kCloseH, 0x00C000);
  p.Fill(0, 80, 3 * kMinW, 80 + kCloseH, 0x0000C0);
  p.Fill(0, 100, 3 * kMinW, 100 + kCloseH, 0x00C0C0);
  p.Fill(0, 120, 3 * kSmallW, 120 + kSmallW, 0xC000C0);
  p.Fill(100, 0, 110, 10, 0x404040);
  return p;
}

// A skin directory with the fixture skin "Fixture" (and "NoKeys", "NoIcons").
class TFixtureSkins {
 public:
  TFixtureSkins() {
    FDir.Folder("Fixture", SkinText(true), Master(true));
    FDir.Folder("NoKeys", SkinText(true), Master(false));
    FDir.Folder("NoIcons", SkinText(false), Master(true));
  }
  const std::filesystem::path& Path() const { return FDir.Path(); }

 private:
  skintest::TSkinDir FDir;
};

// A form of the border style, shown at (Left, Top), 300 x 200, with a
// skin provider (and a main menu of two items when WithMenu).
struct TTestForm {
  TForm* Form = nullptr;
  TsSkinProvider* Provider = nullptr;
  HWND Wnd() const { return Form->WindowHandle(); }
  RECT Window() const {
    RECT r{};
    GetWindowRect(Wnd(), &r);
    return r;
  }
};

inline TTestForm NewSkinnedForm(TFormBorderStyle Style, TBorderIcons Icons, bool WithMenu = false, int Left = 60,
                                int Top = 60, bool WithProvider = true, NativeInt Tag = 0) {
  TTestForm t;
  t.Form = Create<TForm>(Application, 0);
  t.Form->SetBorderStyle(Style);
  t.Form->SetBorderIcons(Icons);
  t.Form->SetCaption("A");
  t.Form->SetTag(Tag);
  t.Form->SetBounds(Left, Top, 300, 200);
  if (WithMenu) {
    auto* menu = Create<TMainMenu>(t.Form);
    for (const char* caption : {"File", "Help"}) {
      auto* item = Create<TMenuItem>(menu);
      item->SetCaption(caption);
      menu->Items()->Add(item);
    }
    t.Form->SetMenu(menu);
  }
  if (WithProvider) t.Provider = Create<TsSkinProvider>(t.Form);
  t.Form->Show();
  testsupport::PumpMessages(50);
  return t;
}

// The screen pixel (0xRRGGBB) at a screen point.
inline std::uint32_t ScreenPixel(int x, int y) {
  HDC dc = GetDC(nullptr);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(nullptr, dc);
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

// Mouse input at a screen point through the system's input queue.
inline void MouseAt(int x, int y) {
  SetCursorPos(x, y);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
  in.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
}

// Mouse moves (Flag 0, to X, Y) and button changes queued at once: a modal
// loop that a press starts (a caption drag) finds the release already there.
struct TMouseStep {
  DWORD Flag;
  int X = 0, Y = 0;
};
inline void MouseSteps(std::initializer_list<TMouseStep> Steps) {
  std::vector<INPUT> inputs;
  for (const TMouseStep& s : Steps) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = s.Flag;
    if (s.Flag == 0) {
      in.mi.dx = s.X * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
      in.mi.dy = s.Y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
      in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    }
    inputs.push_back(in);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

inline void MouseButton(DWORD Flag) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = Flag;
  SendInput(1, &in, sizeof in);
}

// Runs the message loop until Done holds or Limit ms have passed; whether it held.
template <class Pred>
bool PumpUntil(Pred Done, int Limit = 2000) {
  const DWORD start = GetTickCount();
  while (!Done()) {
    if (static_cast<int>(GetTickCount() - start) > Limit) return false;
    testsupport::PumpMessages(10);
  }
  return true;
}

}  // namespace skinforms

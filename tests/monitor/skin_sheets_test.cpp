// A sheet per stored skin under Wine: a mock of the monitor's main window and
// of a dialog, painted section by section with the pixel engine from the
// packed skin, shown in a window and saved from the screen as
// build/screenshots/skins/<name>.png. The checks read the screen: what a user
// sees of the caption, the button states, the hot menu item, the selection,
// the check glyphs and the hot scroll bar, and that the seven differ.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "SkinManagerSupport.h"
#include "classlib/ui/Forms.h"
#include "classlib/ui/WinApi.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sSkinManager.h"
#include "skin/graphics/sAlphaGraph.h"
#include "skin/graphics/sGraphUtils.h"

// after the class library, whose header takes care of the platform macros
#include "TestSupport.h"

namespace {

constexpr int kSheetW = 760, kSheetH = 440;
constexpr TColor kDesktop = 0x84684A;  // behind the windows (TColor)
constexpr int kMenuH = 20, kEditH = 22, kScrollW = 17;

std::uint32_t Rgb(TColor c) { return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); }

// UTF-8 (this source) as the program's code page 1251.
AnsiString Cp(const std::string& Utf8) {
  std::wstring w(Utf8.size(), L'\0');
  w.resize(static_cast<size_t>(
      MultiByteToWideChar(CP_UTF8, 0, Utf8.data(), static_cast<int>(Utf8.size()), w.data(), static_cast<int>(w.size()))));
  return winapi::A(w);
}

// The sheet's bitmap and the painting of sections, glyphs and texts into it.
class TSheet {
 public:
  explicit TSheet(TsSkinManager* Manager) : FM(Manager), FBmp(CreateBmp32(kSheetW, kSheetH)) {
    FillBitmapRect(FBmp.get(), Rect(0, 0, kSheetW, kSheetH), kDesktop);
  }
  TacBitmap* Bmp() const { return FBmp.get(); }
  TsSkinManager* Manager() const { return FM; }
  Integer Index(const char* Section) const { return FM->GetSkinIndex(Section); }

  // The section in R over what the sheet holds there, as a control paints
  // itself over its parent's image.
  void Section(const char* Name, int State, const TRect& R) {
    auto child = CreateBmp32(R.Width(), R.Height());
    PaintItem(Index(Name), Name, MakeCacheInfo(FBmp.get()), true, State, Rect(0, 0, R.Width(), R.Height()),
              TPoint{R.Left, R.Top}, child.get(), FM);
    BlockCopy(FBmp.get(), R.Left, R.Top, R.Width(), R.Height(), child.get(), 0, 0);
  }
  // A glyph image (a state of it) centred in R.
  void Glyph(Integer Mask, int State, const TRect& R) {
    if (!FM->IsValidImgIndex(Mask)) return;
    const TsMaskData& md = FM->Masks[static_cast<size_t>(Mask)];
    const TPoint p{R.Left + (R.Width() - WidthOfImage(md)) / 2, R.Top + (R.Height() - HeightOfImage(md)) / 2};
    DrawSkinGlyph(FBmp.get(), p, State, 1, md, MakeCacheInfo(FBmp.get()));
  }
  // A border image (a state of it) over R.
  void Border(Integer Mask, int State, const TRect& R) {
    if (FM->IsValidImgIndex(Mask))
      DrawSkinRect(FBmp.get(), R, MakeCacheInfo(FBmp.get()), FM->Masks[static_cast<size_t>(Mask)], State, true);
  }
  // Text (UTF-8) in the section's colours, normal or hot.
  void Text(const char* Section, bool Hot, const std::string& Utf8, TRect R, Cardinal Flags, int Height = -11,
            bool Bold = false) {
    TCanvas* c = FBmp->Canvas();
    c->Font()->SetName("Tahoma");
    c->Font()->SetHeight(Height);
    c->Font()->SetStyle(Bold ? TFontStyles{fsBold} : TFontStyles{});
    const AnsiString text = Cp(Utf8);
    WriteTextEx(c, text.c_str(), true, R, Flags | DT_SINGLELINE | DT_NOPREFIX, Index(Section), Hot, FM);
  }

 private:
  TsSkinManager* FM;
  std::unique_ptr<TacBitmap> FBmp;
};

constexpr Cardinal kLeft = DT_LEFT | DT_VCENTER, kCentre = DT_CENTER | DT_VCENTER, kRight = DT_RIGHT | DT_VCENTER;

// Where the checks look, filled in while painting.
struct TSpots {
  TRect Caption;            // the caption's text
  TRect Buttons[4];         // normal, hot, pressed, default
  TRect MenuItem, HotItem;  // a plain and the hot menu item
  TRect ListRow, Selection;
  TRect Checked, Unchecked;  // the glyphs
  TRect Slider, HotSlider;
  TRect Client;  // a spot of the main window's client area
  TRect Title;   // a spot of the title band without text
};

// A window's frame, title band, title buttons and caption; answers the
// client rectangle.
TRect Window(TSheet& S, const TRect& W, bool Dialog, const std::string& Caption, TSpots* Spots) {
  const TsSkinData& d = S.Manager()->CommonSkinData;
  const int bw = d.FormBorderWidth, th = d.TitleHeight;
  S.Section(Dialog ? "DIALOG" : "FORM", 1, W);
  const TRect band = Rect(W.Left, W.Top, W.Right, W.Top + th);
  S.Section(Dialog ? "DIALOGTITLE" : "FORMTITLE", 1, band);
  const TConstantSkinData& k = S.Manager()->ConstData;
  const std::vector<Integer> icons = Dialog ? std::vector<Integer>{k.TitleIcons[tiSIconClose]}
                                            : std::vector<Integer>{k.TitleIcons[tiBIconClose], k.TitleIcons[tiBIconMax],
                                                                   k.TitleIcons[tiBIconMin]};
  int x = W.Right - bw - 2;
  for (size_t i = 0; i < icons.size(); ++i) {
    if (!S.Manager()->IsValidImgIndex(icons[i])) continue;
    const TsMaskData& md = S.Manager()->Masks[static_cast<size_t>(icons[i])];
    x -= WidthOfImage(md);
    S.Glyph(icons[i], 0, Rect(x, band.Top + bw / 2, x + WidthOfImage(md), band.Bottom));
  }
  const TRect caption = Rect(W.Left + bw + 8, band.Top + bw / 2, x - 8, band.Bottom);
  S.Text(Dialog ? "DIALOGTITLE" : "FORMTITLE", true, Caption, caption, kLeft, -12, true);
  if (Spots) {
    Spots->Caption = caption;
    Spots->Title = Rect(x - 6, band.Top + th / 2, x - 4, band.Top + th / 2 + 1);
  }
  return Rect(W.Left + bw, band.Bottom, W.Right - bw, W.Bottom - bw);
}

// A vertical scroll bar in R, all normal or with the mouse over its slider.
TRect ScrollBar(TSheet& S, const TRect& R, bool Hot) {
  const TConstantSkinData& k = S.Manager()->ConstData;
  const TRect up = Rect(R.Left, R.Top, R.Right, R.Top + kScrollW);
  const TRect down = Rect(R.Left, R.Bottom - kScrollW, R.Right, R.Bottom);
  const TRect slider = Rect(R.Left, up.Bottom + 12, R.Right, up.Bottom + 12 + 30);
  S.Section("SCROLLBAR1V", 0, Rect(R.Left, up.Bottom, R.Right, slider.Top));
  S.Section("SCROLLBAR2V", 0, Rect(R.Left, slider.Bottom, R.Right, down.Top));
  S.Section("SCROLLBTNTOP", Hot ? 1 : 0, up);
  S.Glyph(k.ScrollButtons[1].GlyphMask, Hot ? 1 : 0, up);
  S.Section("SCROLLBTNBOTTOM", 0, down);
  S.Glyph(k.ScrollButtons[3].GlyphMask, 0, down);
  S.Section("SCROLLSLIDERV", Hot ? 1 : 0, slider);
  S.Glyph(k.ScrollSliders[1].GlyphMask, Hot ? 1 : 0, slider);
  return slider;
}

// A button of the given state (0 normal, 1 hot, 2 pressed, 3 default).
void Button(TSheet& S, const TRect& R, int State, const std::string& Caption) {
  S.Section("BUTTON", State, R);
  S.Text("BUTTON", State == 1 || State == 2, Caption, R, kCentre);
}

void Edit(TSheet& S, const TRect& R, const std::string& Text) {
  S.Section("EDIT", 0, R);
  S.Text("EDIT", false, Text, Rect(R.Left + 5, R.Top, R.Right - 3, R.Bottom), kLeft);
}

void MainWindow(TSheet& S, TSpots& Spots) {
  const TRect c = Window(S, Rect(12, 12, 472, 424), false, "Дорнека-ХБВ", &Spots);
  Spots.Client = Rect(c.Left + 3, c.Bottom - 4, c.Left + 4, c.Bottom - 3);

  // The menu line with its second item hot.
  const TRect line = Rect(c.Left, c.Top, c.Right, c.Top + kMenuH);
  S.Section("MENULINE", 0, line);
  int x = line.Left + 2;
  const char* items[] = {"Файл", "Каналы", "Настройка", "Справка"};
  const int widths[] = {44, 62, 78, 66};
  for (int i = 0; i < 4; ++i) {
    const TRect cell = Rect(x, line.Top + 1, x + widths[i], line.Bottom - 1);
    if (i == 1) S.Section("MENUITEM", 1, cell);
    S.Text(i == 1 ? "MENUITEM" : "MENULINE", i == 1, items[i], cell, kCentre);
    (i == 1 ? Spots.HotItem : Spots.MenuItem) = Rect(cell.Left + 2, cell.Top + 2, cell.Left + 3, cell.Top + 3);
    x += widths[i];
  }

  // A panel holding the four states of a button.
  const TRect panel = Rect(c.Left + 8, line.Bottom + 8, c.Right - 8, line.Bottom + 50);
  S.Section("PANEL", 0, panel);
  const char* captions[] = {"Старт", "Наведена", "Нажата", "Основная"};
  for (int i = 0; i < 4; ++i) {
    const TRect b = Rect(panel.Left + 10 + i * 104, panel.Top + 8, panel.Left + 10 + i * 104 + 96, panel.Top + 34);
    Button(S, b, i, captions[i]);
    Spots.Buttons[i] = b;
  }

  // The value fields of three channels.
  const char* labels[] = {"Канал 1", "Канал 2", "Канал 3"};
  const char* values[] = {"12.34", "567.80", "-0.05"};
  for (int i = 0; i < 3; ++i) {
    const TRect bar = Rect(panel.Left + i * 144, panel.Bottom + 10, panel.Left + i * 144 + 136, panel.Bottom + 74);
    S.Section("BAR", 0, bar);
    S.Text("BAR", false, labels[i], Rect(bar.Left + 8, bar.Top + 4, bar.Right - 8, bar.Top + 20), kLeft);
    S.Text("BAR", false, values[i], Rect(bar.Left + 8, bar.Top + 20, bar.Right - 10, bar.Bottom - 4), kRight, -26,
           true);
  }

  // The port line: an edit and a combo box with its button.
  const int row = panel.Bottom + 86;
  S.Text("FORM", false, "Порт:", Rect(panel.Left, row, panel.Left + 46, row + kEditH), kLeft);
  Edit(S, Rect(panel.Left + 48, row, panel.Left + 160, row + kEditH), "COM5");
  S.Text("FORM", false, "Скорость:", Rect(panel.Left + 180, row, panel.Left + 250, row + kEditH), kLeft);
  const TRect combo = Rect(panel.Left + 252, row, panel.Left + 362, row + kEditH);
  S.Section("COMBOBOX", 0, combo);
  S.Text("COMBOBOX", false, "9600", Rect(combo.Left + 5, combo.Top, combo.Right - 20, combo.Bottom), kLeft);
  const TRect drop = Rect(combo.Right - 19, combo.Top + 2, combo.Right - 2, combo.Bottom - 2);
  S.Section("COMBOBTN", 0, drop);
  S.Glyph(S.Manager()->ConstData.ComboButton.GlyphMask, 0, drop);

  // A group box with a checked and an unchecked check box.
  const TRect group = Rect(panel.Left, row + kEditH + 14, panel.Left + 200, c.Bottom - 10);
  S.Section("GROUPBOX", 0, group);
  S.Text("GROUPBOX", false, "Параметры", Rect(group.Left + 8, group.Top + 2, group.Right - 8, group.Top + 18), kLeft);
  const Integer checked = S.Manager()->ConstData.CheckGlyphs[cgBoxChecked];
  const Integer unchecked = S.Manager()->ConstData.CheckGlyphs[cgBoxUnchecked];
  const char* boxes[] = {"Автозапись", "Звук"};
  for (int i = 0; i < 2; ++i) {
    const TRect box = Rect(group.Left + 10, group.Top + 26 + i * 26, group.Right - 10, group.Top + 48 + i * 26);
    S.Section("CHECKBOX", 0, box);
    const TRect glyph = Rect(box.Left, box.Top, box.Left + 20, box.Bottom);
    S.Glyph(i == 0 ? checked : unchecked, 0, glyph);
    S.Text("CHECKBOX", false, boxes[i], Rect(glyph.Right + 4, box.Top, box.Right, box.Bottom), kLeft);
    (i == 0 ? Spots.Checked : Spots.Unchecked) = glyph;
  }

  // A list with a selected row and a scroll bar.
  const TRect list = Rect(group.Right + 12, group.Top, panel.Right, group.Bottom);
  S.Section("EDIT", 0, list);
  const char* rows[] = {"XBV5 адрес 1", "XBV10 адрес 2", "GOLM144 адрес 3", "XBV18 адрес 4", "GOLM152 адрес 5"};
  const int sx = list.Right - 2 - kScrollW;
  for (int i = 0; i < 5; ++i) {
    const TRect r = Rect(list.Left + 3, list.Top + 3 + i * 19, sx - 1, list.Top + 22 + i * 19);
    if (i == 1) S.Section("SELECTION", 1, r);
    S.Text(i == 1 ? "SELECTION" : "EDIT", i == 1, rows[i], Rect(r.Left + 4, r.Top, r.Right, r.Bottom), kLeft);
    if (i == 1) Spots.Selection = Rect(r.Right - 6, r.Top + 9, r.Right - 5, r.Top + 10);
    if (i == 3) Spots.ListRow = Rect(r.Right - 6, r.Top + 9, r.Right - 5, r.Top + 10);
  }
  const TRect slider = ScrollBar(S, Rect(sx, list.Top + 2, sx + kScrollW, list.Bottom - 2), false);
  Spots.Slider = Rect(slider.Left + 3, slider.Top + 6, slider.Left + 4, slider.Top + 7);
}

void Dialog(TSheet& S, TSpots& Spots) {
  const TRect c = Window(S, Rect(490, 40, 748, 330), true, "Настройки", nullptr);
  S.Text("DIALOG", false, "Адрес устройства:", Rect(c.Left + 12, c.Top + 12, c.Left + 130, c.Top + 12 + kEditH),
         kLeft);
  Edit(S, Rect(c.Left + 134, c.Top + 12, c.Right - 12, c.Top + 12 + kEditH), "17");
  // A memo whose scroll bar has the mouse over it.
  const TRect memo = Rect(c.Left + 12, c.Top + 46, c.Right - 12, c.Bottom - 50);
  S.Section("EDIT", 0, memo);
  const char* lines[] = {"Опрос: 3 канала", "Период: 500 мс", "Запись в журнал", "Порт: COM5"};
  for (int i = 0; i < 4; ++i)
    S.Text("EDIT", false, lines[i], Rect(memo.Left + 6, memo.Top + 4 + i * 19, memo.Right - 20, memo.Top + 23 + i * 19),
           kLeft);
  const int sx = memo.Right - 2 - kScrollW;
  const TRect slider = ScrollBar(S, Rect(sx, memo.Top + 2, sx + kScrollW, memo.Bottom - 2), true);
  Spots.HotSlider = Rect(slider.Left + 3, slider.Top + 6, slider.Left + 4, slider.Top + 7);
  Button(S, Rect(c.Right - 184, c.Bottom - 38, c.Right - 100, c.Bottom - 12), 3, "OK");
  Button(S, Rect(c.Right - 92, c.Bottom - 38, c.Right - 12, c.Bottom - 12), 0, "Отмена");
}

// A window without frame showing a bitmap at the top-left of the screen.
class TSheetWindow {
 public:
  explicit TSheetWindow(TacBitmap* Bmp) {
    Shown() = Bmp;
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"DkSkinSheet";
    RegisterClassW(&wc);
    FWnd = CreateWindowExW(WS_EX_TOPMOST, L"DkSkinSheet", L"", WS_POPUP | WS_VISIBLE, 0, 0, BitmapWidth(Bmp),
                           BitmapHeight(Bmp), nullptr, nullptr, wc.hInstance, nullptr);
    UpdateWindow(FWnd);
    GdiFlush();
  }
  ~TSheetWindow() {
    DestroyWindow(FWnd);
    Shown() = nullptr;
  }
  TSheetWindow(const TSheetWindow&) = delete;
  TSheetWindow& operator=(const TSheetWindow&) = delete;
  HWND Handle() const { return FWnd; }

 private:
  static TacBitmap*& Shown() {
    static TacBitmap* shown = nullptr;
    return shown;
  }
  static LRESULT CALLBACK Proc(HWND Wnd, UINT Msg, WPARAM W, LPARAM L) {
    if (Msg != WM_PAINT || !Shown()) return DefWindowProcW(Wnd, Msg, W, L);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Wnd, &ps);
    BitBlt(dc, 0, 0, BitmapWidth(Shown()), BitmapHeight(Shown()), Shown()->Canvas()->Handle(), 0, 0, SRCCOPY);
    EndPaint(Wnd, &ps);
    return 0;
  }
  HWND FWnd = nullptr;
};

// What the screen shows of the sheet's window, read once it shows the whole
// sheet as painted (the window system brings a window's pixels to the screen
// in its own time), or after three seconds.
class TScreen {
 public:
  TScreen(HWND Wnd, TacBitmap* Sheet) {
    const TPixelView32 v = PixelsOf(Sheet);
    for (int y = 0; y < v.Height; ++y)
      for (int x = 0; x < v.Width; ++x) FPainted.push_back(v.Row(y)[x] & 0xFFFFFF);
    for (int i = 0; i < 150; ++i) {
      Read(Wnd);
      if (ShowsSheet()) return;
      testsupport::PumpMessages(20);
    }
  }
  bool ShowsSheet() const { return FPixels == FPainted; }
  std::uint32_t At(int X, int Y) const { return FPixels[static_cast<size_t>(Y) * kSheetW + X]; }
  std::uint32_t At(const TRect& Spot) const { return At(Spot.Left, Spot.Top); }
  std::vector<std::uint32_t> Area(const TRect& R) const {
    std::vector<std::uint32_t> out;
    for (int y = R.Top; y < R.Bottom; ++y)
      for (int x = R.Left; x < R.Right; ++x) out.push_back(At(x, y));
    return out;
  }
  int Count(const TRect& R, std::uint32_t Color) const {
    int n = 0;
    for (std::uint32_t p : Area(R)) n += p == Color;
    return n;
  }

 private:
  void Read(HWND Wnd) {
    RECT r;
    GetWindowRect(Wnd, &r);
    HDC dc = GetDC(nullptr);
    FPixels = testsupport::ReadPixels(dc, r.left, r.top, kSheetW, kSheetH);
    ReleaseDC(nullptr, dc);
    for (std::uint32_t& p : FPixels) p &= 0xFFFFFF;  // the copy may carry the painted alpha
  }
  std::vector<std::uint32_t> FPixels, FPainted;
};

TColor FontColor(TsSkinManager* M, const char* Section, bool Hot) {
  return M->Sections[static_cast<size_t>(M->GetSkinIndex(Section))].Props[Hot ? 1 : 0].FontColor.Color;
}

const char* const kStoredSkins[] = {"Aluminium", "BlueGlass", "DarkGlass", "GrayPlastic", "Neutral2", "Pulsar", "Wood"};

// Paints the sheet of a packed skin, shows and saves it; what the screen
// showed at a few places that tell skins apart.
std::vector<std::uint32_t> CheckSheet(const std::string& Name) {
  skintest::TDialogWatcher errors;
  std::unique_ptr<TsSkinManager, void (*)(TsSkinManager*)> manager(Create<TsSkinManager>(nullptr),
                                                                   [](TsSkinManager* m) { m->Free(); });
  manager->SetSkinDirectory(winapi::A(testsupport::WinPath(DK_STORED_SKINS_DIR).substr(4)));
  manager->SetSkinName(Name);
  EXPECT_TRUE(errors.Texts.empty()) << errors.Texts[0];
  EXPECT_EQ(manager->SkinName(), Name);
  if (manager->SkinName() != Name) return {};

  TSheet sheet(manager.get());
  TSpots spots;
  MainWindow(sheet, spots);
  Dialog(sheet, spots);
  TSheetWindow window(sheet.Bmp());
  const TScreen screen(window.Handle(), sheet.Bmp());
  EXPECT_TRUE(screen.ShowsSheet()) << "the window shows the sheet as painted";
  const std::string dir = testsupport::HostBuildDir() + "/screenshots";
  CreateDirectoryW(testsupport::WinPath(dir).c_str(), nullptr);
  CreateDirectoryW(testsupport::WinPath(dir + "/skins").c_str(), nullptr);
  EXPECT_FALSE(testsupport::Screenshot(window.Handle(), "skins/" + Name).empty());

  // The caption is written in the title's hot font colour.
  EXPECT_GE(screen.Count(spots.Caption, Rgb(FontColor(manager.get(), "FORMTITLE", true))), 20);
  // The four button states look different from each other.
  for (int i = 0; i < 4; ++i)
    for (int j = i + 1; j < 4; ++j)
      EXPECT_NE(screen.Area(spots.Buttons[i]), screen.Area(spots.Buttons[j])) << "states " << i << " and " << j;
  const TPoint face{8, 5};
  EXPECT_NE(screen.At(spots.Buttons[0].Left + face.X, spots.Buttons[0].Top + face.Y),
            screen.At(spots.Buttons[1].Left + face.X, spots.Buttons[1].Top + face.Y))
      << "a hot button's face";
  EXPECT_NE(screen.At(spots.HotItem), screen.At(spots.MenuItem)) << "the hot menu item";
  EXPECT_NE(screen.At(spots.Selection), screen.At(spots.ListRow)) << "the selected row";
  EXPECT_NE(screen.Area(spots.Checked), screen.Area(spots.Unchecked)) << "the check glyphs";
  EXPECT_NE(screen.At(spots.HotSlider), screen.At(spots.Slider)) << "the slider under the mouse";
  return {screen.At(spots.Title), screen.At(spots.Client),
          screen.At(spots.Buttons[0].Left + face.X, spots.Buttons[0].Top + face.Y)};
}

TEST(SkinSheets, ShowEachStoredSkinOnTheMonitorsWindowsAndTheSevenDiffer) {
  std::set<std::vector<std::uint32_t>> looks;
  for (const char* name : kStoredSkins) {
    SCOPED_TRACE(name);
    looks.insert(CheckSheet(name));
  }
  EXPECT_EQ(looks.size(), std::size(kStoredSkins)) << "title, client and button face tell the skins apart";
}

}  // namespace

// The skinned system menu of a provider's form: the items it copies from the
// form's own system menu and the states the title buttons read from it, for
// each border style and set of border icons; and the caption icon's size.
#include <gtest/gtest.h>

#include "classlib/ui/Forms.h"
#include "skin/core/sConst.h"
#include "skin/forms/sSkinProvider.h"
#include "skin/forms/sSystemMenu.h"
#include "skin/forms/sTitleButtons.h"
// After the class library, whose names the system's macros would take.
#include "TestSupport.h"

namespace {

using testsupport::PumpMessages;

TForm* NewForm(TFormBorderStyle Style, TBorderIcons Icons) {
  TForm* f = Create<TForm>(Application, 0);
  f->SetBorderStyle(Style);
  f->SetBorderIcons(Icons);
  f->SetBounds(100, 100, 240, 120);
  f->HandleNeeded();
  return f;
}

TsSystemMenu* NewSystemMenu(TForm* Form) {
  auto* provider = Create<TsSkinProvider>(Form);
  return Create<TsSystemMenu>(provider);
}

TEST(SystemMenu, TheStatesFollowTheBorderStyleAndIcons) {
  const TBorderIcons all{biSystemMenu, biMinimize, biMaximize};
  struct TCase {
    const char* Name;
    TFormBorderStyle Style;
    TBorderIcons Icons;
    // close, max, min visible; max, min, restore enabled; restore, size visible; size, move enabled
    bool VClose, VMax, VMin, EMax, EMin, ERestore, VRestore, VSize, ESize, EMove;
  };
  const TCase cases[] = {
      {"sizeable, all icons", bsSizeable, all, true, true, true, true, true, false, true, true, true, true},
      {"single, all icons", bsSingle, all, true, true, true, true, true, false, true, true, false, true},
      {"single, minimize only", bsSingle, {biSystemMenu, biMinimize}, true, false, true, false, true, false, true,
       true, false, true},
      {"dialog", bsDialog, all, true, false, false, false, true, false, false, false, true, true},
      {"tool window", bsToolWindow, all, true, false, false, false, true, false, false, false, true, true},
      {"sizeable tool window", bsSizeToolWin, all, true, false, false, false, true, false, false, true, true, true},
      {"sizeable without system menu", bsSizeable, {biMinimize, biMaximize}, false, false, false, true, true, false,
       false, true, true, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TForm* form = NewForm(c.Style, c.Icons);
    TsSystemMenu* menu = NewSystemMenu(form);
    EXPECT_EQ(menu->VisibleClose(), c.VClose);
    EXPECT_EQ(menu->VisibleMax(), c.VMax);
    EXPECT_EQ(menu->VisibleMin(), c.VMin);
    EXPECT_EQ(menu->EnabledMax(), c.EMax);
    EXPECT_EQ(menu->EnabledMin(), c.EMin);
    EXPECT_EQ(menu->EnabledRestore(), c.ERestore);
    EXPECT_EQ(menu->VisibleRestore(), c.VRestore);
    EXPECT_EQ(menu->VisibleSize(), c.VSize);
    EXPECT_EQ(menu->EnabledSize(), c.ESize);
    EXPECT_EQ(menu->EnabledMove(), c.EMove);
    EXPECT_EQ(menu->EnabledClose(), c.VClose) << "enabled as long as the system menu has it";
    form->Free();
  }
}

TEST(SystemMenu, MaximizedAndDisabledCloseChangeTheirStatesAndItems) {
  TForm* form = NewForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
  form->Show();
  TsSystemMenu* menu = NewSystemMenu(form);
  form->SetWindowState(wsMaximized);
  PumpMessages(30);
  EnableMenuItem(GetSystemMenu(form->Handle(), FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  menu->UpdateItems(true);
  EXPECT_TRUE(menu->EnabledRestore());
  EXPECT_FALSE(menu->EnabledMove());
  EXPECT_FALSE(menu->EnabledClose());
  EXPECT_FALSE(menu->ItemClose->Enabled());
  EXPECT_FALSE(menu->ItemMove->Enabled());
  EXPECT_TRUE(menu->ItemRestore->Enabled());
  form->Free();
}

TEST(SystemMenu, ItemsCopyTheSystemMenuWithItsExtraCommandsBeforeClose) {
  TForm* form = NewForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
  HMENU sys = GetSystemMenu(form->Handle(), FALSE);
  AppendMenuW(sys, MF_STRING, 0x0120, L"Extra\tCtrl+E");
  AppendMenuW(sys, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(sys, MF_STRING, 0x0121, L"");
  TsSystemMenu* menu = NewSystemMenu(form);
  EXPECT_EQ(menu->Name().substr(0, 9), "acSysMenu");
  EXPECT_EQ(menu->ExtraCount, 1) << "neither the separator nor an item without text";
  struct TExpect {
    const char* Name;
    NativeInt Tag;
  };
  const TExpect expect[] = {{"acIR", SC_RESTORE}, {"acIM", SC_MOVE},  {"acIS", SC_SIZE}, {"acIN", SC_MINIMIZE},
                            {"acIX", SC_MAXIMIZE}, {"", 0},           {"", 0x0120},      {"", 0},
                            {"acIC", SC_CLOSE}};
  TMenuItem* items = menu->Items();
  ASSERT_EQ(items->Count(), static_cast<int>(std::size(expect)));
  for (int i = 0; i < items->Count(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(items->Items(i)->Name(), expect[i].Name);
    EXPECT_EQ(items->Items(i)->Tag(), expect[i].Tag);
  }
  EXPECT_EQ(items->Items(6)->Caption(), "Extra");
  EXPECT_EQ(items->Items(6)->GetShortCut(), TextToShortCut("Ctrl+E"));
  EXPECT_TRUE(items->Items(5)->IsLine());
  EXPECT_TRUE(items->Items(7)->IsLine());
  EXPECT_FALSE(menu->ItemClose->Caption().empty());
  form->Free();
}

TEST(SystemMenu, TheExtraSubMenuComesAtItsPositionWithCopiesOfItsItems) {
  TForm* form = NewForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
  auto* provider = Create<TsSkinProvider>(form);
  ASSERT_NE(provider->SysSubMenu(), nullptr) << "the provider makes its sub-menu object";
  auto* popup = Create<TPopupMenu>(form);
  auto* source = Create<TMenuItem>(form);
  source->SetName("Options");
  source->SetCaption("Options");
  source->SetChecked(true);
  popup->Items()->Add(source);
  provider->SysSubMenu()->Caption = "More";
  provider->SysSubMenu()->PopupMenu = popup;
  struct TCase {
    TacMenuItemPos Position;
    int Index;              // of "ac_SubMenu"
    const char* Neighbour;  // the separator's name
    int NeighbourIndex;
  };
  const TCase cases[] = {{ipTop, 0, "ac_TopDiv", 1}, {ipBeforeClose, 6, "ac_TopDiv", 7}, {ipBottom, 8, "ac_BtmDiv", 7}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Index);
    provider->SysSubMenu()->Position = c.Position;
    auto* menu = Create<TsSystemMenu>(provider);
    TMenuItem* items = menu->Items();
    ASSERT_GT(items->Count(), c.Index);
    EXPECT_EQ(items->Items(c.Index)->Name(), "ac_SubMenu");
    EXPECT_EQ(items->Items(c.Index)->Caption(), "More");
    EXPECT_EQ(items->Items(c.NeighbourIndex)->Name(), c.Neighbour);
    ASSERT_EQ(items->Items(c.Index)->Count(), 1);
    EXPECT_EQ(items->Items(c.Index)->Items(0)->Name(), "OptionsCopy");
    EXPECT_TRUE(items->Items(c.Index)->Items(0)->Checked());
    menu->Free();
  }
  provider->SysSubMenu()->Caption = "";
  auto* plain = Create<TsSystemMenu>(provider);
  EXPECT_EQ(plain->SubMenuItem, nullptr) << "an empty caption adds nothing";
  form->Free();
}

TEST(SystemMenu, CommandsReachTheForm) {
  TForm* form = NewForm(bsSizeable, {biSystemMenu, biMinimize, biMaximize});
  form->Show();
  TsSystemMenu* menu = NewSystemMenu(form);
  menu->ItemMaximize->Click();
  EXPECT_TRUE(IsZoomed(form->Handle()));
  EXPECT_TRUE(menu->ItemRestore->Enabled()) << "the items follow at once";
  menu->ItemRestore->Click();
  EXPECT_FALSE(IsZoomed(form->Handle()));
  form->Free();
}

TEST(TitleIcon, TheIconSizeFollowsTheCaptionHeight) {
  const int cases[][2] = {{22, 16}, {17, 16}, {16, 8}, {12, 8}, {9, 8}, {8, 1}, {0, 1}, {-100, 1}};
  for (const auto& c : cases) EXPECT_EQ(IconSizeFor(c[0]), c[1]) << c[0];
}

}  // namespace

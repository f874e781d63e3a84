// A skin repaint broadcast to the shown skinned forms: each form's frame and
// client are painted once, whatever the form holds (a main menu, a dialog
// frame).
#include <gtest/gtest.h>

#include "../skin_core/MessageCounter.h"
#include "SkinFormsSupport.h"
#include "skin/core/Smessages.h"

using namespace skinforms;

namespace {

struct TFormKind {
  const char* Name;
  TFormBorderStyle Style;
  bool WithMenu;
};

TEST(SkinRepaintBroadcast, EachShownFormIsPaintedOnce) {
  TFixtureSkins skins;
  auto* manager = Create<TsSkinManager>(nullptr);
  manager->SetSkinDirectory(skintest::Ansi(skins.Path()));
  manager->SetSkinName("Fixture");
  ASSERT_TRUE(manager->CommonSkinData.Active);
  const TFormKind kinds[] = {{"sizeable with a menu", bsSizeable, true},
                             {"single with a menu", bsSingle, true},
                             {"sizeable", bsSizeable, false},
                             {"dialog", bsDialog, false}};
  std::vector<TTestForm> forms;
  int i = 0;
  for (const TFormKind& k : kinds) {
    forms.push_back(NewSkinnedForm(k.Style, TBorderIcons{biSystemMenu, biMinimize}, k.WithMenu, 40 + 30 * i, 40 + 30 * i));
    ++i;
  }
  testsupport::PumpMessages(100);
  for (int round = 0; round < 2; ++round) {
    skincore::TMessageCounter counter;
    manager->RepaintForms(false);
    testsupport::PumpMessages(50);
    for (size_t f = 0; f < forms.size(); ++f) {
      SCOPED_TRACE(kinds[f].Name);
      EXPECT_EQ(counter.Commands(forms[f].Wnd(), ACMD_SKIN_REPAINT), 1);
      EXPECT_EQ(counter.Messages(forms[f].Wnd(), WM_NCPAINT), 1) << "the frame is painted once";
      EXPECT_LE(counter.Messages(forms[f].Wnd(), WM_PAINT), 1) << "the client is painted at most once";
    }
  }
  // The single repaint still shows the skin's title.
  const RECT r = forms[0].Window();
  EXPECT_EQ(ScreenPixel((r.left + r.right) / 2, r.top + GetSystemMetrics(SM_CYFRAME) + 3), kTitleColor);
  for (TTestForm& t : forms) t.Form->Free();
  manager->Free();
}

}  // namespace

// Without any skin manager in the process, the skinned labels, bevels, group
// boxes and edits look exactly like their class-library twins: each pair is
// put on two plain panels of a form and the panels' pixels are compared.
#include <gtest/gtest.h>

#include <functional>

#include "TextControlsFixture.h"
#include "classlib/ui/ExtCtrls.h"
#include "skin/controls/sBevel.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sGroupBox.h"
#include "skin/controls/sLabel.h"

using namespace textctl;

namespace {

// Makes one control of the pair on Parent and sets it up.
using TMake = std::function<TControl*(TWinControl* Parent)>;

template <class T>
TMake Maker(std::function<void(T*)> Setup) {
  return [Setup](TWinControl* Parent) {
    T* c = Create<T>(Parent);
    c->SetParent(Parent);
    Setup(c);
    return c;
  };
}

TShot PanelShot(TPanel* P) {
  RedrawWindow(P->WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  testsupport::PumpMessages(30);
  return ShotOf(P->WindowHandle());
}

TEST(PlainTwins, WithoutASkinManagerEachSkinnedControlLooksAsItsClassLibraryTwin) {
  ASSERT_EQ(DefaultManager, nullptr);
  const auto label = [](TCustomLabel* L) {
    L->SetBounds(10, 10, 120, 20);
    L->SetCaption("&Period, s");
    L->SetTransparent(true);
  };
  const auto disabledLabel = [](TCustomLabel* L) {
    L->SetBounds(10, 10, 120, 20);
    L->SetCaption("Disabled");
    L->SetTransparent(true);
    L->SetEnabled(false);
  };
  const auto bevel = [](TBevel* B) {
    B->SetBounds(10, 10, 150, 60);
    B->SetShape(bsFrame);
  };
  const auto line = [](TBevel* B) {
    B->SetBounds(10, 10, 150, 60);
    B->SetShape(bsTopLine);
    B->SetStyle(bsRaised);
  };
  const auto box = [](TGroupBox* G) {
    G->SetBounds(10, 10, 160, 80);
    G->SetCaption("Port");
  };
  const auto edit = [](TEdit* E) {
    E->SetBounds(10, 10, 120, 22);
    E->SetText("12,5");
    E->SetTabStop(false);
  };
  const struct {
    const char* Name;
    TMake Plain, Skinned;
  } pairs[] = {
      {"label", Maker<TLabel>(label), Maker<TsLabel>(label)},
      {"disabled label", Maker<TLabel>(disabledLabel), Maker<TsLabel>(disabledLabel)},
      {"frame bevel", Maker<TBevel>(bevel), Maker<TsBevel>(bevel)},
      {"line bevel", Maker<TBevel>(line), Maker<TsBevel>(line)},
      {"group box", Maker<TGroupBox>(box), Maker<TsGroupBox>(box)},
      {"edit", Maker<TEdit>(edit), Maker<TsEdit>(edit)},
  };
  TForm* form = Create<TForm>(Application);
  form->SetBounds(30, 30, 440, 200);
  form->Show();
  for (const auto& p : pairs) {
    SCOPED_TRACE(p.Name);
    TPanel* left = Create<TPanel>(form);
    left->SetParent(form);
    left->SetBounds(10, 10, 200, 120);
    TPanel* right = Create<TPanel>(form);
    right->SetParent(form);
    right->SetBounds(220, 10, 200, 120);
    p.Plain(left);
    p.Skinned(right);
    const TShot a = PanelShot(left), b = PanelShot(right);
    ASSERT_EQ(a.Px.size(), b.Px.size());
    int differ = 0;
    for (size_t i = 0; i < a.Px.size(); ++i) differ += a.Px[i] != b.Px[i];
    EXPECT_EQ(differ, 0);
    int drawn = 0;  // the control shows something on the panel
    for (int y = 10; y < 30; ++y)
      for (int x = 10; x < 130; ++x) drawn += a.At(x, y) != a.At(5, 5);
    EXPECT_GT(drawn, 20);
    left->Free();
    right->Free();
  }
  form->Free();
}

}  // namespace

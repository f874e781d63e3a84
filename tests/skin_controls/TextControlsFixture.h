// What the tests of the skinned labels, bevels, group boxes, edits and list
// boxes share: the fixture skin (TextControlsSkin.h) and a skinned form with
// it loaded to put the controls on.
#pragma once

#include <gtest/gtest.h>

#include "TextControlsSkin.h"

namespace textctl {

// A skinned form with the fixture skin "Controls" (or another) loaded.
class TSkinnedFormTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    Skins = new TSkins;
    Manager = Create<TsSkinManager>(nullptr);
    Manager->SetSkinDirectory(skintest::Ansi(Skins->Path()));
  }
  static void TearDownTestSuite() {
    if (Manager) Manager->Free();
    Manager = nullptr;
    delete Skins;
  }
  void UseSkin(const char* Name) {
    if (!Manager->Active()) Manager->SetActive(true);
    if (Manager->SkinName() != Name) Manager->SetSkinName(Name);
    ASSERT_TRUE(Manager->CommonSkinData.Active);
  }
  void SetUp() override {
    UseSkin("Controls");
    Form = skinforms::NewSkinnedForm(bsSingle, TBorderIcons{biSystemMenu}, false, 40, 40);
    Form.Form->SetBounds(40, 40, 460, 340);
    testsupport::PumpMessages(50);
  }
  void TearDown() override {
    if (Form.Form) Form.Form->Free();
  }
  // A control of class T on Parent (the form when none) at the bounds.
  template <class T>
  T* Put(int X, int Y, int W, int H, TWinControl* Parent = nullptr) {
    T* c = Create<T>(Form.Form);
    c->SetBounds(X, Y, W, H);
    c->SetParent(Parent ? Parent : Form.Form);
    return c;
  }
  void Settle() {
    RedrawWindow(Form.Wnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    testsupport::PumpMessages(60);
  }

  static inline TSkins* Skins = nullptr;
  static inline TsSkinManager* Manager = nullptr;
  skinforms::TTestForm Form;
};

}  // namespace textctl

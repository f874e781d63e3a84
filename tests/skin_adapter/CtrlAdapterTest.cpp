// The child-control adapter on a skinned form with the fixture skin: the
// class-name lists decide which control gets which subclass object, the
// application may veto, a re-created window gets a new object, and the
// labels the provider recolours get their own look back when the skin goes.
#include "skin/forms/sSkinProviderAdapter.h"

#include <gtest/gtest.h>

#include "../skin_forms/SkinFormsSupport.h"

namespace {

// A button class of the program's own that no list names.
class TOwnButton : public TButton {
  DK_CLASS(TOwnButton, TButton)
 public:
  using TButton::TButton;
};

bool SkinButtonFace(std::uint32_t Rgb) {
  return Rgb == skinforms::kButtonColor || Rgb == skinforms::kButtonHotColor;  // hot: it has the focus
}

// The button's own pixel left of its caption, as 0xRRGGBB.
std::uint32_t ButtonFace(TWinControl* Button) {
  testsupport::PumpMessages(50);
  const COLORREF c = testsupport::ClientPixel(Button->WindowHandle(), 4, 12);
  return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

TacMainWnd* ObjectOf(TWinControl* Control) {
  return reinterpret_cast<TacMainWnd*>(GetPropW(Control->WindowHandle(), acSubclassProp));
}

class CtrlAdapterTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    Skins = new skinforms::TFixtureSkins;
    Manager = Create<TsSkinManager>(nullptr);
    Manager->SetSkinDirectory(skintest::Ansi(Skins->Path()));
  }
  static void TearDownTestSuite() {
    if (Manager) Manager->Free();
    Manager = nullptr;
    delete Skins;
  }
  void SetUp() override {
    Manager->SetSkinningRules(TacSkinningRules{srStdForms, srStdDialogs, srThirdParty});
    Manager->SetSkinName("Fixture");
    Manager->SetActive(true);
    ASSERT_TRUE(Manager->CommonSkinData.Active);
    Form = Create<TForm>(Application, 0);
    Form->SetBounds(80, 80, 320, 200);
    Form->SetCaption("Adapter");
  }
  void TearDown() override {
    if (Form) Form->Free();
    Form = nullptr;
  }
  template <class T>
  T* Add(int Top) {
    T* c = Create<T>(Form);
    c->SetParent(Form);
    c->SetBounds(10, Top, 100, 24);
    c->SetCaption("Кнопка"_cp);
    return c;
  }
  // Gives the form its provider and shows it: the provider adapts what it
  // finds when the form is first activated.
  TsSkinProvider* Skin() {
    auto* provider = Create<TsSkinProvider>(Form);
    Form->Show();
    testsupport::PumpMessages(50);
    EXPECT_TRUE(provider->Skinned());
    EXPECT_TRUE(provider->Adapter);
    return provider;
  }

  static inline skinforms::TFixtureSkins* Skins = nullptr;
  static inline TsSkinManager* Manager = nullptr;
  TForm* Form = nullptr;
};

TEST_F(CtrlAdapterTest, AListedButtonGetsTheButtonSubclassAndAnUnlistedDescendantNothing) {
  TButton* listed = Add<TButton>(10);
  TOwnButton* own = Add<TOwnButton>(40);
  TsSkinProvider* provider = Skin();
  ASSERT_TRUE(provider->Adapter);
  ASSERT_TRUE(ObjectOf(listed));
  EXPECT_EQ(ObjectOf(listed)->ClassName(), "TacBtnWnd");
  EXPECT_EQ(ObjectOf(own), nullptr) << "the class name is compared exactly";
  EXPECT_EQ(provider->Adapter->Count(), 1);
  EXPECT_TRUE(SkinButtonFace(ButtonFace(listed))) << "painted from the skin's button section";
  EXPECT_FALSE(SkinButtonFace(ButtonFace(own)));

  provider->Adapter->AddAllItems();
  EXPECT_EQ(provider->Adapter->Count(), 1) << "a second run adds no second item";

  Manager->SetActive(false);
  testsupport::PumpMessages(20);
  EXPECT_EQ(provider->Adapter, nullptr);
  EXPECT_EQ(ObjectOf(listed), nullptr) << "the button is plain again";
  EXPECT_FALSE(SkinButtonFace(ButtonFace(listed)));
  EXPECT_EQ(SendMessageW(listed->WindowHandle(), BM_GETSTATE, 0, 0) & BST_PUSHED, 0) << "and still answers";
}

TEST_F(CtrlAdapterTest, TheFirstListNamingTheClassDecidesAndSpeedButtonsListTakesNoWindow) {
  const struct {
    const char* Name;
    TacThirdPartyTypes Extra;  // a second list that also names TButton
    bool TakenFirst;            // the extra list comes before tpButton
    const char* Want;
  } cases[] = {
      {"an earlier list wins", tpEdit, true, "TacEditWnd"},
      {"a later list loses", tpCheckBox, false, "TacBtnWnd"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Manager->ThirdLists[c.Extra]->Add("TButton");
    TButton* b = Add<TButton>(10);
    Skin();
    Manager->ThirdLists[c.Extra]->Delete(Manager->ThirdLists[c.Extra]->IndexOf("TButton"));
    ASSERT_TRUE(ObjectOf(b));
    EXPECT_EQ(ObjectOf(b)->ClassName(), c.Want);
    TearDown();
    SetUp();
  }
  // Named only in the speed-button list, a window control gets nothing.
  Manager->ThirdLists[tpButton]->Delete(Manager->ThirdLists[tpButton]->IndexOf("TButton"));
  Manager->ThirdLists[tpSpeedButton]->Add("TButton");
  TButton* b = Add<TButton>(10);
  TsSkinProvider* provider = Skin();
  Manager->ThirdLists[tpSpeedButton]->Delete(Manager->ThirdLists[tpSpeedButton]->IndexOf("TButton"));
  Manager->ThirdLists[tpButton]->Add("TButton");
  EXPECT_EQ(ObjectOf(b), nullptr);
  ASSERT_TRUE(provider->Adapter);
  EXPECT_EQ(provider->Adapter->Count(), 0);
}

class TVeto : public TObject {
  DK_CLASS(TVeto, TObject)
 public:
  TControl* Refused = nullptr;
  void OnItem(TComponent* Item, bool& CanBeAdded, AnsiString&) {
    if (Item == Refused) CanBeAdded = false;
  }
};

TEST_F(CtrlAdapterTest, TheApplicationVetoesAndTheRulesGateTheWholeForm) {
  TButton* refused = Add<TButton>(10);
  TButton* taken = Add<TButton>(40);
  auto* label = Add<TLabel>(70);
  label->Font()->SetColor(clRed);
  label->SetParentFont(false);
  TVeto veto;
  veto.Refused = refused;
  auto* provider = Create<TsSkinProvider>(Form);
  provider->OnSkinItem = TAddItemEvent(&veto, &TVeto::OnItem);
  Form->Show();
  testsupport::PumpMessages(50);
  ASSERT_TRUE(provider->Adapter);
  EXPECT_EQ(ObjectOf(refused), nullptr);
  EXPECT_TRUE(ObjectOf(taken));

  // Without srThirdParty nothing of the form is adapted, but one control
  // asked for by name still is.
  Manager->SetActive(false);
  Manager->SetSkinningRules(TacSkinningRules{srStdForms, srStdDialogs});
  Manager->SetActive(true);
  testsupport::PumpMessages(20);
  ASSERT_TRUE(provider->Adapter);
  EXPECT_EQ(ObjectOf(taken), nullptr);
  EXPECT_EQ(label->Font()->Color(), clRed) << "no label recoloured either";
  provider->Adapter->AddNewItem(taken);
  EXPECT_TRUE(ObjectOf(taken));
}

TEST_F(CtrlAdapterTest, ARecreatedWindowGetsANewObject) {
  TButton* b = Add<TButton>(10);
  TsSkinProvider* provider = Skin();
  ASSERT_TRUE(provider->Adapter);
  ASSERT_TRUE(ObjectOf(b));
  b->RecreateWnd();
  testsupport::PumpMessages(20);
  provider->Adapter->AddNewItem(b);
  ASSERT_TRUE(ObjectOf(b)) << "the new window is skinned";
  EXPECT_FALSE(ObjectOf(b)->Detached);
  EXPECT_EQ(provider->Adapter->Count(), 1);
}

// Labels: recoloured with the skin's label colour; when the skin goes each
// gets back its own colour or its parent's font, whatever became of the
// other labels before.
TEST_F(CtrlAdapterTest, LabelsGetTheirColourAndParentFontBackWhenTheSkinGoes) {
  const TColor own = clRed, formColor = clNavy;
  for (const int removedFirst : {-1, 0, 1}) {
    SCOPED_TRACE(removedFirst);
    Form->Font()->SetColor(formColor);
    TLabel* labels[2] = {Add<TLabel>(10), Add<TLabel>(40)};
    labels[0]->Font()->SetColor(own);
    labels[0]->SetParentFont(false);
    Skin();
    const TColor skinColor = Manager->GetGlobalFontColor();
    ASSERT_NE(skinColor, own);
    ASSERT_NE(skinColor, formColor);
    for (TLabel* l : labels) EXPECT_EQ(l->Font()->Color(), skinColor);
    if (removedFirst >= 0) {
      labels[removedFirst]->Free();
      labels[removedFirst] = nullptr;
    }
    Manager->SetActive(false);
    testsupport::PumpMessages(20);
    if (labels[0]) {
      EXPECT_EQ(labels[0]->Font()->Color(), own);
      EXPECT_FALSE(labels[0]->ParentFont());
    }
    if (labels[1]) {
      EXPECT_EQ(labels[1]->Font()->Color(), formColor);
      EXPECT_TRUE(labels[1]->ParentFont());
    }
    TearDown();
    SetUp();
  }
}

}  // namespace

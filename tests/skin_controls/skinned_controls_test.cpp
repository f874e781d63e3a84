// Every skinned stand-in, created by its class name as a form creates it:
// its skin state is published as SkinData, carries the control's kind code
// and, with no section streamed, takes the section of that code.
#include <gtest/gtest.h>

#include "skin/controls/sBitBtn.h"
#include "skin/controls/sButton.h"
#include "skin/controls/sComboBox.h"
#include "skin/controls/sEdit.h"
#include "skin/controls/sGroupBox.h"
#include "skin/controls/sListBox.h"
#include "skin/controls/sMemo.h"
#include "skin/controls/sPanel.h"
#include "skin/controls/sRadioButton.h"

namespace {

TEST(SkinnedControls, EachKeepsItsKindCodeAndTheSectionOfIt) {
  const struct {
    const char* ClassName;
    int KindCode;
    const char* Section;
  } cases[] = {
      {"TsPanel", 51, "PANEL"},         {"TsMemo", 7, "EDIT"},           {"TsButton", 93, "BUTTON"},
      {"TsBitBtn", 94, "BUTTON"},       {"TsEdit", 3, "EDIT"},           {"TsComboBox", 3, "COMBOBOX"},
      {"TsListBox", 8, "EDIT"},         {"TsRadioButton", 33, "CHECKBOX"}, {"TsGroupBox", 74, "GROUPBOX"},
      {"TsRadioGroup", 74, "GROUPBOX"}, {"TsGroupButton", 33, "CHECKBOX"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ClassName);
    TClass cls = FindClass(c.ClassName);
    ASSERT_NE(cls, nullptr);
    TObject* control = cls->CreateInstance(nullptr);
    auto* data = dynamic_cast<TsCommonData*>(GetObjectProp(control, "SkinData"));
    ASSERT_NE(data, nullptr) << "published as SkinData";
    EXPECT_EQ(data->KindCode, c.KindCode);
    EXPECT_EQ(data->SkinSection(), c.Section);
    EXPECT_EQ(data->OwnerControl, control);
    control->Free();
  }
}

TEST(SkinnedControls, TheRadioGroupsShareTheirButtonsLogic) {
  std::unique_ptr<TsRadioGroup, void (*)(TsRadioGroup*)> group(Create<TsRadioGroup>(nullptr),
                                                              [](TsRadioGroup* g) { g->Free(); });
  group->Items()->Add("one");
  group->Items()->Add("two");
  group->SetItemIndex(5);
  EXPECT_EQ(group->ItemIndex(), 1) << "beyond the last: the last";
  ASSERT_EQ(group->ButtonCount(), 2);
  EXPECT_TRUE(group->Buttons(1)->Checked());
  EXPECT_EQ(group->Buttons(0)->ClassName(), "TsGroupButton");
  group->SetEnabled(false);
  EXPECT_FALSE(group->Buttons(0)->Enabled()) << "the buttons follow the group";
}

}  // namespace

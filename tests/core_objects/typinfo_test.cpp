// The property registry and the class registry.
#include <gtest/gtest.h>

#include <memory>

#include "fixture.h"

TEST(TypInfo, PropertiesInDeclarationOrderAncestorsFirst) {
  const TPropList& list = GetPropList(TTestForm::StaticClass());
  ASSERT_GE(list.size(), 4u);
  EXPECT_EQ(list[0]->Name, "Name");
  EXPECT_EQ(list[1]->Name, "Tag");
  EXPECT_EQ(list[2]->Name, "Left");
  EXPECT_EQ(list.back()->Name, "ControlCount");
  TPropList methods = GetPropList(TTestForm::StaticClass(), tkMethods);
  ASSERT_EQ(methods.size(), 1u);
  EXPECT_EQ(methods[0]->Name, "OnClick");
}

TEST(TypInfo, KindsAndAccess) {
  struct Case {
    const char* name;
    TTypeKind kind;
    bool writable;
  };
  for (auto c : {Case{"Left", tkInteger, true}, Case{"caption", tkLString, true}, Case{"WCaption", tkWString, true},
                 Case{"Visible", tkEnumeration, true}, Case{"Anchors", tkSet, true}, Case{"Ratio", tkFloat, true},
                 Case{"Big", tkInt64, true}, Case{"Letter", tkChar, true}, Case{"WLetter", tkWChar, true},
                 Case{"Font", tkClass, true}, Case{"OnClick", tkMethod, true}, Case{"Tag", tkInt64, true},
                 Case{"ControlCount", tkInteger, false}}) {
    PPropInfo p = GetPropInfo(TTestControl::StaticClass(), c.name);
    ASSERT_NE(p, nullptr) << c.name;
    EXPECT_EQ(p->PropType->Kind, c.kind) << c.name;
    EXPECT_EQ(p->SetProc != nullptr, c.writable) << c.name;
  }
  EXPECT_EQ(GetPropInfo(TTestControl::StaticClass(), "Nothing"), nullptr);
  EXPECT_EQ(GetPropInfo(TTestControl::StaticClass(), "Left", TTypeKinds{tkString}), nullptr);
}

TEST(TypInfo, AccessorsByName) {
  std::unique_ptr<TTestForm> f(Create<TTestForm>(nullptr));
  SetOrdProp(f.get(), "Left", 42);
  EXPECT_EQ(GetOrdProp(f.get(), "Left"), 42);
  SetStrProp(f.get(), "Caption", "abc");
  EXPECT_EQ(f->FCaption, "abc");
  SetStrProp(f.get(), "WCaption", "\xC6");  // 8-bit text into a 16-bit property
  EXPECT_EQ(f->FWCaption, u"\u0416");
  EXPECT_EQ(GetWideStrProp(f.get(), "Caption"), u"abc");
  SetFloatProp(f.get(), "Ratio", 0.5);
  EXPECT_EQ(GetFloatProp(f.get(), "Ratio"), 0.5);
  SetEnumProp(f.get(), "Align", "alTop");
  EXPECT_EQ(f->FAlign, alTop);
  EXPECT_EQ(GetEnumProp(f.get(), "Align"), "alTop");
  SetSetProp(f.get(), GetPropInfo(f.get(), "Anchors"), "[akRight,akBottom]");
  EXPECT_EQ(GetSetProp(f.get(), GetPropInfo(f.get(), "Anchors"), true), "[akRight,akBottom]");
  EXPECT_EQ(GetObjectProp(f.get(), "Font"), f->FFont);
  EXPECT_EQ(GetObjectProp(f.get(), "Font", TComponent::StaticClass()), nullptr);
  std::unique_ptr<TTestControl> other(Create<TTestControl>(nullptr));
  SetObjectProp(f.get(), "Buddy", other.get());
  EXPECT_EQ(f->FBuddy, other.get());
  EXPECT_THROW(SetObjectProp(f.get(), "Buddy", f->FFont), EInvalidCast);
  TMethod m = FindPublishedMethod(f.get(), "button1click");
  ASSERT_NE(m.Code, nullptr);
  SetMethodProp(f.get(), "OnClick", m);
  f->FOnClick(f.get());
  EXPECT_EQ(f->Clicks, 1);
  EXPECT_TRUE(GetMethodProp(f.get(), "OnClick") == m);
  EXPECT_EQ(PublishedMethodName(TTestForm::StaticClass(), m.Code), "Button1Click");
  EXPECT_TRUE(IsPublishedProp(f.get(), "Font"));
  EXPECT_TRUE(PropIsType(f.get(), "OnClick", tkMethod));
  EXPECT_THROW(GetOrdProp(f.get(), "Nothing"), EPropertyError);
  EXPECT_THROW(GetOrdProp(f.get(), "Caption"), EPropertyError);
  EXPECT_THROW(SetOrdProp(f.get(), "ControlCount", 1), EPropertyError);
  EXPECT_THROW(SetEnumProp(f.get(), "Align", "alNowhere"), EPropertyConvertError);
}

TEST(TypInfo, EnumNamesAndIdentifierMaps) {
  PTypeInfo t = TypeInfo<TTestAlign>();
  EXPECT_EQ(GetEnumName(t, 3), "alClient");
  EXPECT_EQ(GetEnumValue(t, "ALTOP"), 1);
  EXPECT_EQ(GetEnumValue(t, "nothing"), -1);
  EXPECT_EQ(GetEnumName(TypeInfo<bool>(), 1), "True");
  Integer v = 0;
  EXPECT_TRUE(IdentToInt(TypeInfoTColor(), "clBtnFace", v));
  EXPECT_EQ(v, Integer(0x8000000F));
  AnsiString id;
  EXPECT_TRUE(IntToIdent(TypeInfoTColor(), 0xFFFFFF, id));
  EXPECT_EQ(id, "clWhite");
  // Another unit extends the table.
  RegisterIntegerConsts(TypeInfoTColor(), {{0x00D7EBFA, "clCream"}});
  EXPECT_TRUE(IdentToInt(TypeInfoTColor(), "clcream", v));
  EXPECT_EQ(v, 0x00D7EBFA);
  EXPECT_EQ(IntegerTypeInfo("TCursor"), IntegerTypeInfo("TCursor"));
}

namespace {
class TLocal : public TComponent {
  DK_CLASS(TLocal, TComponent)
 public:
  using TComponent::TComponent;
};
}  // namespace

TEST(ClassRegistry, FindAndGetClass) {
  EXPECT_EQ(GetClass("ttestform"), TTestForm::StaticClass());
  EXPECT_EQ(GetClass("TNothing"), nullptr);
  try {
    FindClass("TNothing");
    FAIL();
  } catch (const EClassNotFound& e) {
    EXPECT_EQ(e.Message, "Class TNothing not found");
  }
  RegisterClass(TLocal::StaticClass());
  RegisterClass(TLocal::StaticClass());  // again: harmless
  EXPECT_EQ(FindClass("TLocal"), TLocal::StaticClass());
  RegisterClassAlias(TLocal::StaticClass(), "TLocalAlias");
  EXPECT_EQ(GetClass("TLocalAlias"), TLocal::StaticClass());
  EXPECT_THROW(RegisterClassAlias(TTestForm::StaticClass(), "TLocal"), EFilerError);
  UnRegisterClass(TLocal::StaticClass());
  EXPECT_EQ(GetClass("TLocal"), nullptr);
}

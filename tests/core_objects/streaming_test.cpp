// Form streaming: text and binary round trips, the load order, cloning of
// template panels and malformed input.
#include <gtest/gtest.h>

#include <memory>

#include "fixture.h"

namespace {

// Every value kind the text form can carry, written the way the writer writes it.
const char* const kFixture = R"(object Form1: TTestForm
  Tag = 5
  Left = -3
  Top = 300
  Caption = 'It''s a '#1058#1077#1089#1090' form'#13#10
  WCaption = 'wide '#20013#25991
  Visible = False
  Align = alClient
  Anchors = [akLeft, akRight]
  Ratio = 1.5
  Weight = 2.25s
  Price = 12.3456c
  Stamp = 45000.5d
  Big = 12345678901
  Letter = 'x'
  WLetter = #8721
  Color = clWhite
  Font.Name = 'Arial'
  Font.Size = 70000
  Font.Style = [fsBold, fsUnderline]
  Items = <
    item
      Caption = 'first'
      Value = 1
    end
    item
      Caption = 'second'
    end>
  Lines.Strings = (
    'line 1'
    ''
    #1051#1080#1085#1080#1103)
  Data = {
    000102FF}
  Extra = (
    'one'
    'two')
  object Button1: TTestControl
    Left = 8
    Top = 0
    Caption = 'OK'
    Color = 123456
    Items = <>
    Buddy = Button2
    OnClick = Button1Click
  end
  object Button2: TTestControl
    Left = 0
    Top = 0
    Caption = 
      '0123456789012345678901234567890123456789012345678901234567890123' +
      '4567890123456789012345678901234567890123456789012345678901234567' +
      '8901234567890123456789012345678901234567890123456789012345678901' +
      '2345678901234567890123456789012345678901234567890123456789012345' +
      '6789'
    Items = <>
  end
end
)";

}  // namespace

TEST(FormStreaming, TextBinaryObjectsBinaryTextRoundTrip) {
  std::string text = Crlf(kFixture);
  std::string bin1 = ObjectTextToBinaryBytes(text);
  std::unique_ptr<TComponent> form(LoadText(text, nullptr));
  auto* f = dynamic_cast<TTestForm*>(form.get());
  ASSERT_NE(f, nullptr);

  // The values arrived.
  EXPECT_EQ(f->Name(), "Form1");
  EXPECT_EQ(f->Tag(), 5);
  EXPECT_EQ(f->FLeft, -3);
  EXPECT_EQ(f->FCaption, "It's a \xD2\xE5\xF1\xF2 form\r\n");
  EXPECT_EQ(f->FWCaption, u"wide \u4E2D\u6587");
  EXPECT_FALSE(f->FVisible);
  EXPECT_EQ(f->FAlign, alClient);
  EXPECT_EQ(f->FAnchors, (TTestAnchors{akLeft, akRight}));
  EXPECT_DOUBLE_EQ(f->FRatio, 1.5);
  EXPECT_FLOAT_EQ(f->FWeight, 2.25f);
  EXPECT_EQ(f->FPrice.Value, 123456);
  EXPECT_DOUBLE_EQ(f->FStamp, 45000.5);
  EXPECT_EQ(f->FBig, 12345678901LL);
  EXPECT_EQ(f->FLetter, 'x');
  EXPECT_EQ(f->FWLetter, u'\u2211');
  EXPECT_EQ(f->FColor, 0xFFFFFF);
  EXPECT_EQ(f->FFont->FName, "Arial");
  EXPECT_EQ(f->FFont->FSize, 70000);
  EXPECT_EQ(f->FFont->FStyle, (TTestStyles{fsBold, fsUnderline}));
  ASSERT_EQ(f->FItems->Count(), 2);
  EXPECT_EQ(static_cast<TTestItem*>(f->FItems->Items(0))->FValue, 1);
  EXPECT_EQ(f->FData, std::string("\x00\x01\x02\xFF", 4));
  ASSERT_EQ(f->FLines->Count(), 3);
  EXPECT_EQ(f->FLines->Strings(2), "\xCB\xE8\xED\xE8\xFF");
  EXPECT_EQ(f->FExtra, (std::vector<std::string>{"one", "two"}));
  auto* b1 = dynamic_cast<TTestControl*>(f->FindComponent("button1"));
  auto* b2 = dynamic_cast<TTestControl*>(f->FindComponent("Button2"));
  ASSERT_TRUE(b1 && b2);
  EXPECT_EQ(b1->FParent, f);
  EXPECT_EQ(b1->FBuddy, b2);
  EXPECT_EQ(b1->FColor, 123456);
  EXPECT_EQ(b2->FCaption.size(), 260u);
  ASSERT_TRUE(static_cast<bool>(b1->FOnClick));
  b1->FOnClick(b1);
  EXPECT_EQ(f->Clicks, 1);
  EXPECT_FALSE(f->ComponentState().Contains(csLoading));
  EXPECT_FALSE(b1->ComponentState().Contains(csLoading));

  // And come back the same, in both formats.
  std::string bin2 = SaveBinary(f);
  EXPECT_EQ(bin2, bin1);
  EXPECT_EQ(ObjectBinaryToTextBytes(bin2), text);
}

TEST(FormStreaming, ConverterKeepsWhatObjectsNeverWrite) {
  // Forms of the syntax that no writer produces still convert both ways.
  std::string text = Crlf(R"(inherited Frame1: TFrame [2]
  A = nil
  B = (
    1
    -200
    70000
    Ident
    True)
  C = <
    item [3]
      X = 1
    end>
  D = <>
  E = []
  F = {}
  G = ''
  H = 'It''s'#0
  I = -922337203685477.5808c
  J = 922337203685477.5807c
  K = 0.5c
  object TButton
  end
  inline Sub: TSub
  end
end
)");
  std::string bin = ObjectTextToBinaryBytes(text);
  EXPECT_EQ(ObjectBinaryToTextBytes(bin), text);
}

TEST(FormStreaming, TextAcceptsUtf8AndHexAndJoinedStrings) {
  std::string text = "object A: TTestControl\n  Caption = 'При' + 'вет'#33\n  Left = $10\n  Data = {0a0B\n 0c}\nend\n";
  std::unique_ptr<TComponent> c(LoadText(text, nullptr));
  auto* t = static_cast<TTestControl*>(c.get());
  EXPECT_EQ(t->FCaption, "\xCF\xF0\xE8\xE2\xE5\xF2!");
  EXPECT_EQ(t->FLeft, 16);
  EXPECT_EQ(t->FData, "\x0A\x0B\x0C");
}

TEST(FormStreaming, BinaryIncludeNeedsAResolver) {
  std::string text = "object A: TTestControl\n  Data = { @file 'skin.bin' }\nend\n";
  EXPECT_THROW(ObjectTextToBinaryBytes(text), EParserError);
  std::string asked;
  std::string bin = ObjectTextToBinaryBytes(text, [&](const AnsiString& path) {
    asked = path;
    return std::string("\x01\x02", 2);
  });
  EXPECT_EQ(asked, "skin.bin");
  TMemoryStream ms;
  ms.WriteBuffer(bin.data(), static_cast<Integer>(bin.size()));
  ms.SetPosition(0);
  std::unique_ptr<TComponent> c(ms.ReadComponent(nullptr));
  EXPECT_EQ(static_cast<TTestControl*>(c.get())->FData, std::string("\x01\x02", 2));
}

TEST(FormStreaming, LoadOrderSeenByAComponent) {
  Log().clear();
  std::string text = R"(object Root: TSpyForm
  Caption = 'root'
  object Child1: TSpy
    Caption = 'one'
    Buddy = Child2
  end
  object Child2: TSpy
    Caption = 'two'
  end
end
)";
  std::unique_ptr<TComponent> root(LoadText(text, nullptr));
  std::vector<std::string> expected = {
      "construct TSpyForm -",            // AfterConstruction before csLoading
      "caption Root LR unparented",      // the root has no parent from the stream
      "construct TSpy -",
      "parent Child1 LR",                // the parent comes before any property
      "caption Child1 LR parented",
      "construct TSpy -",
      "parent Child2 LR",
      "caption Child2 LR parented",
      "loaded Root L",                   // fix-ups done, root first, csReading gone
      "loaded Child1 L buddy=Child2",
      "loaded Child2 L",
  };
  EXPECT_EQ(Log(), expected);
  for (int i = 0; i < root->ComponentCount(); ++i)
    EXPECT_TRUE((root->Components(i)->ComponentState() * TComponentState{csLoading, csReading}).Empty()) << i;
}

// Builds the form of the channel panel case: a hidden template panel with a
// button whose click goes to the form.
struct PanelCase {
  std::unique_ptr<TTestForm> form{Create<TTestForm>(nullptr)};
  TTestControl* panel;
  TTestControl* button;
  PanelCase() {
    form->SetName("Form1");
    panel = Create<TTestControl>(form.get());
    panel->SetName("sPanel");
    panel->SetParent(form.get());
    panel->FLeft = 8;
    panel->FCaption = "template";
    panel->FOnClick = TNotifyEvent(form.get(), &TTestForm::Button1Click);
    button = Create<TTestControl>(form.get());
    button->SetName("btnDelete");
    button->SetParent(panel);
    button->FTop = 40;
    button->FOnClick = TNotifyEvent(form.get(), &TTestForm::Button1Click);
  }
};

TEST(FormStreaming, CloningATemplatePanel) {
  PanelCase pc;
  Log().clear();
  // The panel of channel 3.
  auto* clone = Create<TSpy>(pc.form.get());
  clone->SetParent(pc.form.get());
  pc.panel->SetName("sPanelZZ");
  TMemoryStream ms;
  ms.WriteComponent(pc.panel);
  pc.panel->SetName("sPanel");
  std::string bin(static_cast<const char*>(ms.Memory()), static_cast<size_t>(ms.Size()));
  EXPECT_EQ(bin.find("btnDelete"), std::string::npos) << "children owned by the form are not written";
  EXPECT_EQ(bin.find("OnClick"), std::string::npos) << "events of another root are not written";
  ms.SetPosition(0);
  ms.ReadComponent(clone);
  EXPECT_EQ(clone->Name(), "sPanelZZ");
  EXPECT_EQ(clone->FLeft, 8);
  EXPECT_EQ(clone->FCaption, "template");
  EXPECT_FALSE(static_cast<bool>(clone->FOnClick));
  EXPECT_EQ(clone->FParent, pc.form.get());
  EXPECT_FALSE(clone->ComponentState().Contains(csLoading));
  EXPECT_EQ(Log().back(), "loaded sPanelZZ L");
  clone->SetName("sPanel3");

  // A child: written alone, read into a new control owned by the panel.
  TMemoryStream cs;
  cs.WriteComponent(pc.button);
  cs.SetPosition(0);
  auto* copy = Create<TTestControl>(clone);
  copy->SetParent(clone);
  cs.ReadComponent(copy);
  EXPECT_EQ(copy->Name(), "btnDelete");
  EXPECT_EQ(copy->FTop, 40);
  EXPECT_FALSE(static_cast<bool>(copy->FOnClick));
  copy->FOnClick = pc.button->FOnClick;  // copied by hand, as the loader does
  EXPECT_TRUE(copy->FOnClick == pc.button->FOnClick);
  copy->SetName("btnDelete3");
  EXPECT_EQ(clone->FindComponent("BTNDELETE3"), copy);
}

TEST(FormStreaming, NameFromTheStreamIsMadeUnique) {
  PanelCase pc;
  TMemoryStream ms;
  ms.WriteComponent(pc.panel);  // not renamed first: "sPanel" is taken
  for (const char* expected : {"sPanel_1", "sPanel_2"}) {
    auto* clone = Create<TTestControl>(pc.form.get());
    ms.SetPosition(0);
    TReader reader(&ms);
    AnsiString seen;
    reader.SetNameHook = [&](TReader*, TComponent*, AnsiString& name) { seen = name; };
    reader.ReadRootComponent(clone);
    EXPECT_EQ(clone->Name(), expected);
    EXPECT_EQ(seen, expected);
  }
}

TEST(FormStreaming, EventWrittenOnlyForTheLookupRoot) {
  PanelCase pc;
  std::string whole = SaveBinary(pc.form.get());
  std::string text = ObjectBinaryToTextBytes(whole);
  // Written from the form, the children it owns and their events are there.
  EXPECT_NE(text.find("object btnDelete: TTestControl"), std::string::npos);
  EXPECT_NE(text.find("OnClick = Button1Click"), std::string::npos);
}

TEST(FormStreaming, ReferencesToAnotherRootWaitForIt) {
  std::unique_ptr<TTestForm> other(Create<TTestForm>(nullptr));
  other->SetName("Other");
  RegisterFindGlobalComponent([&](const AnsiString& n) -> TComponent* {
    return other && SameText(n, other->Name()) ? other.get() : nullptr;
  });
  std::unique_ptr<TComponent> a(LoadText("object A: TTestControl\n  Buddy = Other.Target\nend\n", nullptr));
  auto* ta = static_cast<TTestControl*>(a.get());
  EXPECT_EQ(ta->FBuddy, nullptr);
  EXPECT_TRUE(ta->ComponentState().Contains(csFixups));
  auto* target = Create<TTestControl>(other.get());
  target->SetName("Target");
  GlobalFixupReferences();
  EXPECT_EQ(ta->FBuddy, target);
  EXPECT_FALSE(ta->ComponentState().Contains(csFixups));

  // A holder that goes away takes its pending references with it.
  std::unique_ptr<TComponent> b(LoadText("object B: TTestControl\n  Buddy = Other.Later\nend\n", nullptr));
  b.reset();
  auto* later = Create<TTestControl>(other.get());
  later->SetName("Later");
  GlobalFixupReferences();  // must not touch the freed holder
  RegisterFindGlobalComponent(nullptr);
}

TEST(FormStreaming, ReadsUnsignedAndWideStringForms) {
  // 8-bit properties take 16-bit and UTF-8 values and the other way round.
  TMemoryStream ms;
  {
    TWriter w(&ms);
    w.WriteSignature();
    w.WriteStr("TTestControl");
    w.WriteStr("A");
    w.WriteStr("Caption");
    w.WriteWideString(u"\u0416!");
    w.WriteStr("WCaption");
    w.WriteUTF8String("\xE2\x82\xAC");
    w.WriteStr("Ratio");
    w.WriteDouble(0.25);
    w.WriteListEnd();
    w.WriteListEnd();
  }
  ms.SetPosition(0);
  std::unique_ptr<TComponent> c(ms.ReadComponent(nullptr));
  auto* t = static_cast<TTestControl*>(c.get());
  EXPECT_EQ(t->FCaption, "\xC6!");
  EXPECT_EQ(t->FWCaption, u"\u20AC");
  EXPECT_DOUBLE_EQ(t->FRatio, 0.25);
  EXPECT_EQ(ms.Position(), ms.Size()) << "the reader gives back what it read ahead";
}

// ------------------------------------------------------------------ bad input

TEST(FormStreamingErrors, MalformedStreamsRaiseReadErrors) {
  struct Case {
    const char* name;
    std::string text;
  };
  std::vector<Case> cases = {
      {"unknown property", "object A: TTestControl\n  Nope = 1\nend\n"},
      {"unknown sub-property", "object A: TTestControl\n  Font.Nope = 1\nend\n"},
      {"unknown method", "object A: TTestForm\n  OnClick = NoSuchClick\nend\n"},
      {"string for integer", "object A: TTestControl\n  Left = 'x'\nend\n"},
      {"integer for string", "object A: TTestControl\n  Caption = 1\nend\n"},
      {"unknown enum name", "object A: TTestControl\n  Align = alSideways\nend\n"},
      {"unknown set name", "object A: TTestControl\n  Anchors = [akLeft, akNowhere]\nend\n"},
      {"unknown colour", "object A: TTestControl\n  Color = clPlaid\nend\n"},
      {"integer out of range", "object A: TTestControl\n  Left = 4294967296\nend\n"},
      {"read-only property", "object A: TTestControl\n  ControlCount = 3\nend\n"},
      {"list for float", "object A: TTestControl\n  Ratio = (1)\nend\n"},
      {"long char", "object A: TTestControl\n  Letter = 'xy'\nend\n"},
      {"collection for reference", "object A: TTestControl\n  Buddy = <>\nend\n"},
      {"items of a non-collection", "object A: TTestControl\n  Font = <>\nend\n"},
      {"binary for list", "object A: TTestControl\n  Extra = {00}\nend\n"},
      {"duplicate names", "object A: TTestForm\n  object B: TTestControl\n  end\n  object b: TTestControl\n  end\nend\n"},
      {"not a component class", "object A: TTestForm\n  object B: TTestFont\n  end\nend\n"},
  };
  for (auto& c : cases) {
    std::string bin = ObjectTextToBinaryBytes(c.text);
    TMemoryStream ms;
    ms.WriteBuffer(bin.data(), static_cast<Integer>(bin.size()));
    ms.SetPosition(0);
    try {
      std::unique_ptr<TComponent> r(ms.ReadComponent(nullptr));
      ADD_FAILURE() << c.name << ": no error";
    } catch (const EReadError& e) {
      EXPECT_FALSE(e.Message.empty()) << c.name;
    }
  }
}

TEST(FormStreamingErrors, UnknownClassRaisesClassNotFound) {
  std::string bin = ObjectTextToBinaryBytes("object A: TTestControl\n  object B: TNoSuchClass\n  end\nend\n");
  TMemoryStream ms;
  ms.WriteBuffer(bin.data(), static_cast<Integer>(bin.size()));
  ms.SetPosition(0);
  try {
    ms.ReadComponent(nullptr);
    FAIL() << "no error";
  } catch (const EClassNotFound& e) {
    EXPECT_EQ(e.Message, "Class TNoSuchClass not found");
  }
}

TEST(FormStreamingErrors, EveryTruncationFailsCleanly) {
  // Each prefix of a valid stream raises; what was made is freed (the leak
  // checker watches) and a given root stays usable.
  std::string bin = ObjectTextToBinaryBytes(Crlf(kFixture));
  for (size_t n = 0; n < bin.size(); ++n) {
    TMemoryStream ms;
    ms.WriteBuffer(bin.data(), static_cast<Integer>(n));
    ms.SetPosition(0);
    EXPECT_THROW(ms.ReadComponent(nullptr), EReadError) << n;
    ms.SetPosition(0);
    std::unique_ptr<TTestForm> root(Create<TTestForm>(nullptr));
    EXPECT_THROW(ms.ReadComponent(root.get()), EReadError) << n;
    EXPECT_FALSE(root->ComponentState().Contains(csLoading)) << n;
  }
}

TEST(FormStreamingErrors, FalseLengthsDoNotAllocateOrOverread) {
  const std::string head = std::string("TPF0\x0CTTestControl\x01" "A", 19);
  for (std::string prop : {std::string("\x07" "Caption\x0C\xFF\xFF\xFF\x7F", 13),  // vaLString of 2 GB
                           std::string("\x07" "Caption\x12\xFF\xFF\xFF\x7F", 13),  // vaWString
                           std::string("\x04" "Data\x0A\xF0\xFF\xFF\x7F", 10),     // vaBinary
                           std::string("\x07" "Caption\x0C\x00\x00\x00\x80", 13)}) {  // negative
    std::string bin = head + prop;
    TMemoryStream ms;
    ms.WriteBuffer(bin.data(), static_cast<Integer>(bin.size()));
    ms.SetPosition(0);
    EXPECT_THROW(ms.ReadComponent(nullptr), EReadError);
  }
}

// A float for a currency property that the currency cannot hold: a NaN (only
// a binary stream can carry one) or a value beyond its range.
TEST(FormStreamingErrors, FloatACurrencyCannotHoldIsAReadError) {
  std::string nan = ObjectTextToBinaryBytes("object A: TTestControl\n  Price = 1.5\nend\n");
  const std::string onePointFive("\x05\0\0\0\0\0\0\0\xC0\xFF\x3F", 11);  // vaExtended 1.5
  const size_t at = nan.find(onePointFive);
  ASSERT_NE(at, std::string::npos);
  nan[at + 10] = '\x7F';  // exponent all ones: a NaN
  for (const std::string& bin : {nan, ObjectTextToBinaryBytes("object A: TTestControl\n  Price = 1E300\nend\n"),
                                 ObjectTextToBinaryBytes("object A: TTestControl\n  Price = -1E20\nend\n")}) {
    TMemoryStream ms;
    ms.WriteBuffer(bin.data(), static_cast<Integer>(bin.size()));
    ms.SetPosition(0);
    try {
      std::unique_ptr<TComponent> r(ms.ReadComponent(nullptr));
      ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message, "Error reading A.Price: Invalid floating point operation");
    }
  }
}

TEST(FormStreamingErrors, BadTextRaisesParserErrorsWithTheLine) {
  for (const char* text : {"", "object", "object A: TB\n  X = \nend\n", "object A: TB\n  X = 'open\nend\n",
                           "object A: TB\n  X = {0}\nend\n", "object A: TB\n  X = 99999999999999999999\nend\n",
                           "object A: TB\n  X = #99999999\nend\n", "object A: TB\n  X = 1\n", "thing A: TB\nend\n",
                           "object A: TB\nend\nextra", "object A: TB\n  X = <item>\nend\n",
                           "object A: TB\n  X = <item [2601540620] end>\nend\n", "object A: TB [4294967296]\nend\n"}) {
    try {
      ObjectTextToBinaryBytes(text);
      ADD_FAILURE() << "no error for: " << text;
    } catch (const EParserError& e) {
      EXPECT_EQ(e.Message.rfind("Line ", 0), 0u) << e.Message;
    }
  }
  // A class name whose length byte would read as a flags prefix.
  EXPECT_THROW(ObjectTextToBinaryBytes("object A: T" + std::string(239, 'x') + "\nend\n"), EParserError);
  std::string deep = "object A: TB\n  X = ";
  for (int i = 0; i < 100000; ++i) deep += "(";
  EXPECT_THROW(ObjectTextToBinaryBytes(deep), EParserError);
}

TEST(FormStreamingErrors, BadBinaryToTextRaises) {
  for (std::string bin : {std::string("TPF1"), std::string("TPF0\x05TForm", 10),
                          std::string("TPF0\x05TForm\x01" "A\x01X\x63", 15),
                          std::string("TPF0\x05TForm\x01" "A\x01X\x0A\xFF\xFF\xFF\x7F", 19)}) {
    EXPECT_THROW(ObjectBinaryToTextBytes(bin), EReadError);
  }
}

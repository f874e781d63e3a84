// TList, TStringList and the streams.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "classlib/core/Classes.h"
#include "support.h"

TEST(List, Operations) {
  int a = 1, b = 2, c = 3;
  TList l;
  l.Add(&a);
  l.Add(&b);
  l.Insert(0, &c);
  EXPECT_EQ(l.Count(), 3);
  EXPECT_EQ(l.Items(0), &c);
  EXPECT_EQ(l.IndexOf(&b), 2);
  l.Exchange(0, 2);
  EXPECT_EQ(l.Items(0), &b);
  l.Move(0, 2);
  EXPECT_EQ(l.Items(2), &b);
  l.Sort([](void* x, void* y) { return *static_cast<int*>(x) - *static_cast<int*>(y); });
  EXPECT_EQ(l.Items(0), &a);
  EXPECT_EQ(l.Items(2), &c);
  EXPECT_EQ(l.Remove(&b), 1);
  EXPECT_EQ(l.Remove(&b), -1);
  l.Add(nullptr);
  l.Pack();
  EXPECT_EQ(l.Count(), 2);
  try {
    l.Items(5);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message, "List index out of bounds (5)");
  }
  EXPECT_THROW(l.Delete(-1), EListError);
  EXPECT_THROW(l.Insert(3, nullptr), EListError);
  l.Clear();
  EXPECT_EQ(l.Count(), 0);
}

TEST(StringList, TextLineEnds) {
  TStringList l;
  l.SetText("a\r\nb\nc\rd");
  ASSERT_EQ(l.Count(), 4);
  EXPECT_EQ(l[3], "d");
  EXPECT_EQ(l.Text(), "a\r\nb\r\nc\r\nd\r\n");
  l.SetText("a\r\n\r\n");
  EXPECT_EQ(l.Count(), 2) << "an empty line, but no line after the last line end";
  EXPECT_EQ(l[1], "");
  l.SetText("a\n\rb");
  EXPECT_EQ(l.Count(), 3) << "LF then CR are two line ends";
  l.SetText("");
  EXPECT_EQ(l.Count(), 0);
  EXPECT_EQ(l.Text(), "");
}

TEST(StringList, CommaAndDelimitedText) {
  TStringList l;
  l.SetCommaText("a, \"b c\",\"d\"\"e\",,f g");
  ASSERT_EQ(l.Count(), 6);
  EXPECT_EQ(l[1], "b c");
  EXPECT_EQ(l[2], "d\"e");
  EXPECT_EQ(l[3], "");
  EXPECT_EQ(l[4], "f");
  EXPECT_EQ(l[5], "g");
  EXPECT_EQ(l.CommaText(), "a,\"b c\",\"d\"\"e\",,f,g");
  l.SetCommaText("x,");
  EXPECT_EQ(l.Count(), 2) << "a trailing delimiter adds an empty item";
  l.Clear();
  l.Add("");
  EXPECT_EQ(l.CommaText(), "\"\"") << "a lone empty item is quoted";
  l.SetDelimiter(';');
  l.SetQuoteChar('\'');
  l.SetDelimitedText("1;'2;3';4 5");
  ASSERT_EQ(l.Count(), 4);
  EXPECT_EQ(l[1], "2;3");
  l.SetStrictDelimiter(true);
  l.SetDelimitedText("1; 4 5");
  ASSERT_EQ(l.Count(), 2);
  EXPECT_EQ(l[1], " 4 5");
  EXPECT_EQ(l.DelimitedText(), "1; 4 5");
}

TEST(StringList, SortedWithDuplicates) {
  TStringList l;
  l.SetSorted(true);
  for (const AnsiString& s : {"б"_cp, "А"_cp, "ё"_cp, "Е"_cp, "ж"_cp, AnsiString("z")}) l.Add(s);
  std::vector<AnsiString> want = {"z", "А"_cp, "б"_cp, "Е"_cp, "ё"_cp, "ж"_cp};
  ASSERT_EQ(l.Count(), 6);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(l[i], want[static_cast<std::size_t>(i)]) << i;
  EXPECT_EQ(l.Add("Б"_cp), 2) << "dupIgnore returns the existing item";
  EXPECT_EQ(l.Count(), 6);
  l.SetDuplicates(dupError);
  EXPECT_THROW(l.Add("б"_cp), EStringListError);
  l.SetDuplicates(dupAccept);
  l.Add("б"_cp);
  EXPECT_EQ(l.Count(), 7);
  EXPECT_THROW(l.Insert(0, "x"), EStringListError);
  EXPECT_THROW(l.SetStrings(0, "x"), EStringListError);
  int idx;
  EXPECT_TRUE(l.Find("Ж"_cp, idx));
  EXPECT_EQ(idx, 6);
  EXPECT_EQ(l.IndexOf("ЖЖ"_cp), -1);
  l.SetCaseSensitive(true);
  l.SetDuplicates(dupIgnore);
  EXPECT_EQ(l.IndexOf("Ж"_cp), -1);
  EXPECT_EQ(l.IndexOf("ж"_cp), 6);

  TStringList u;
  u.SetCommaText("c,A,b,a");
  u.Sort();
  EXPECT_EQ(u.CommaText(), "A,a,b,c") << "a stable sort by text without case";
  u.CustomSort([](TStringList* list, int i, int j) { return CompareStr(list->Strings(j), list->Strings(i)); });
  EXPECT_EQ(u.CommaText(), "c,b,a,A");
}

TEST(StringList, NamesAndValues) {
  TStringList l;
  l.SetText("Port=COM1\nBaudRate=9600\nflag\n=empty name\nPort=COM2");
  EXPECT_EQ(l.Values("port"), "COM1") << "the first of duplicate names";
  EXPECT_EQ(l.Names(1), "BaudRate");
  EXPECT_EQ(l.Names(2), "");
  EXPECT_EQ(l.ValueFromIndex(1), "9600");
  EXPECT_EQ(l.IndexOfName("BAUDRATE"), 1);
  EXPECT_EQ(l.IndexOfName("flag"), -1);
  l.SetValues("Parity", "None");
  EXPECT_EQ(l[5], "Parity=None");
  l.SetValues("BaudRate", "19200");
  EXPECT_EQ(l[1], "BaudRate=19200");
  l.SetValues("BaudRate", "");
  EXPECT_EQ(l.IndexOfName("BaudRate"), -1);
  l.SetValueFromIndex(0, "COM3");
  EXPECT_EQ(l[0], "Port=COM3");
}

namespace {
class Counter : public TObject {
  DK_CLASS(Counter, TObject)
 public:
  int changes = 0, changing = 0;
  void Change(TObject*) { ++changes; }
  void Changing(TObject*) { ++changing; }
};
}  // namespace

TEST(StringList, ChangeEventsAndUpdates) {
  Counter c;
  TStringList l;
  l.OnChange = TNotifyEvent(&c, &Counter::Change);
  l.OnChanging = TNotifyEvent(&c, &Counter::Changing);
  l.Add("a");
  EXPECT_EQ(c.changes, 1);
  EXPECT_EQ(c.changing, 1);
  l.BeginUpdate();
  l.Add("b");
  l.BeginUpdate();
  l.Delete(0);
  l.EndUpdate();
  l.Add("c");
  EXPECT_EQ(c.changes, 1) << "nothing fires inside an update";
  l.EndUpdate();
  EXPECT_EQ(c.changes, 2);
  EXPECT_EQ(c.changing, 2);
  l.SetText("x\ny\nz");
  EXPECT_EQ(c.changes, 3) << "setting the text is one change";
  l.Clear();
  l.Clear();
  EXPECT_EQ(c.changes, 4) << "clearing an empty list changes nothing";
  l.OnChange = nullptr;
  l.Add("q");
  EXPECT_EQ(c.changes, 4);
}

TEST(StringList, ObjectsAssignAndFiles) {
  TObject o1, o2;
  TStringList l;
  l.AddObject("one", &o1);
  l.AddObject("two", &o2);
  l.Exchange(0, 1);
  EXPECT_EQ(l.Objects(0), &o2);
  EXPECT_EQ(l.IndexOfObject(&o1), 1);
  l.Move(1, 0);
  EXPECT_EQ(l[0], "one");
  EXPECT_EQ(l.Objects(0), &o1);
  TStringList copy;
  copy.Add("old");
  copy.Assign(&l);
  EXPECT_TRUE(copy.Equals(&l));
  EXPECT_EQ(copy.Objects(1), &o2);
  copy.AddStrings(&copy);
  EXPECT_EQ(copy.Count(), 4);
  try {
    l.Strings(2);
    FAIL();
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.Message, "List index out of bounds (2)");
  }

  TempDir tmp;
  const AnsiString name = tmp.Path() + "list.txt";
  TStringList save;
  save.SetText("первая\nsecond"_cp);
  save.SaveToFile(name);
  TStringList load;
  load.LoadFromFile(name);
  EXPECT_EQ(load.Text(), "первая\r\nsecond\r\n"_cp);
  try {
    load.LoadFromFile(tmp.Path() + "missing.txt");
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_NE(e.Message.find("missing.txt"), std::string::npos) << e.Message;
  }
}

TEST(Streams, MemoryStream) {
  TMemoryStream m;
  m.WriteBuffer("hello", 5);
  EXPECT_EQ(m.Size(), 5);
  EXPECT_EQ(m.Position(), 5);
  m.SetPosition(8);
  m.WriteBuffer("!", 1);
  EXPECT_EQ(m.Size(), 9);
  EXPECT_EQ(std::string(static_cast<char*>(m.Memory()), 9), std::string("hello\0\0\0!", 9));
  m.SetPosition(1);
  char buf[4];
  m.ReadBuffer(buf, 4);
  EXPECT_EQ(std::string(buf, 4), "ello");
  m.Seek(-2, soEnd);
  EXPECT_EQ(m.Read(buf, 4), 2);
  try {
    m.ReadBuffer(buf, 1);
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message, "Stream read error");
  }
  m.SetSize(3);
  EXPECT_EQ(m.Position(), 3);
  m.Clear();
  EXPECT_EQ(m.Size(), 0);
  EXPECT_THROW(m.ReadBuffer(buf, 1), EReadError);
  m.ReadBuffer(buf, 0);
}

TEST(Streams, CopyFrom) {
  TStringStream src("0123456789");
  src.Seek(0, soEnd);
  TMemoryStream dst;
  EXPECT_EQ(dst.CopyFrom(&src, 0), 10) << "count 0 copies the whole source from its start";
  EXPECT_EQ(std::string(static_cast<char*>(dst.Memory()), 10), "0123456789");
  src.SetPosition(4);
  TStringStream part;
  EXPECT_EQ(part.CopyFrom(&src, 3), 3);
  EXPECT_EQ(part.DataString(), "456");
  EXPECT_THROW(part.CopyFrom(&src, 10), EReadError) << "only 3 bytes are left";
  TMemoryStream big;
  std::vector<char> data(200000);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7);
  big.WriteBuffer(data.data(), static_cast<Integer>(data.size()));
  TMemoryStream copy;
  copy.CopyFrom(&big, 0);
  ASSERT_EQ(copy.Size(), 200000);
  EXPECT_EQ(std::memcmp(copy.Memory(), data.data(), data.size()), 0);
}

TEST(Streams, StringStreamWritesInPlace) {
  TStringStream s("abcdef");
  s.SetPosition(2);
  s.WriteString("XY");
  EXPECT_EQ(s.DataString(), "abXYef") << "writing in the middle keeps the rest";
  s.Seek(0, soEnd);
  s.WriteString("!");
  EXPECT_EQ(s.DataString(), "abXYef!");
  s.SetPosition(1);
  EXPECT_EQ(s.ReadString(3), "bXY");
  EXPECT_EQ(s.ReadString(100), "ef!");
  s.SetSize(2);
  EXPECT_EQ(s.DataString(), "ab");
}

TEST(Streams, FileStream) {
  TempDir tmp;
  const AnsiString name = tmp.Path() + "data.bin";
  {
    TFileStream f(name, fmCreate | fmShareExclusive);
    f.WriteBuffer("abcdef", 6);
    EXPECT_EQ(f.FileName(), name);
  }
  {
    TFileStream f(name, fmOpenReadWrite | fmShareDenyWrite);
    EXPECT_EQ(f.Size(), 6);
    f.Seek(2, soBeginning);
    f.WriteBuffer("XY", 2);
    f.SetSize(5);
  }
  {
    TFileStream f(name, fmOpenRead);
    char buf[8] = {};
    EXPECT_EQ(f.Read(buf, 8), 5);
    EXPECT_EQ(std::string(buf, 5), "abXYe");
    EXPECT_THROW(f.WriteBuffer("x", 1), EWriteError);
  }
  TMemoryStream m;
  m.LoadFromFile(name);
  EXPECT_EQ(m.Size(), 5);
  m.SaveToFile(name + "2");
  EXPECT_EQ(FileSizeByName(name + "2"), 5);
  try {
    TFileStream f(tmp.Path() + "nope.bin", fmOpenRead);
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_NE(e.Message.find("nope.bin"), std::string::npos) << e.Message;
    EXPECT_EQ(e.Message.rfind("Cannot open file \"", 0), 0u) << e.Message;
  }
  try {
    TFileStream f(tmp.Path() + "no" + PathDelim + "such" + PathDelim + "x.bin", fmCreate);
    FAIL();
  } catch (const EFCreateError& e) {
    EXPECT_NE(e.Message.find("x.bin"), std::string::npos) << e.Message;
  }
}

// TIniFile on the system's profile functions: code page 1251 text, typed
// values, sections, and writes that the system refuses.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>

#include "classlib/ui/IniFiles.h"
#include "classlib/ui/WinApi.h"

namespace {

// A fresh folder under the system's temporary folder.
class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    dir_ = winapi::A(tmp) + "ini_test_" + IntToStr(static_cast<int>(GetCurrentProcessId()));
    ASSERT_TRUE(ForceDirectories(dir_)) << dir_;
    ASSERT_TRUE(DirectoryExists(dir_)) << dir_;
    name_ = dir_ + "\\settings.ini";
  }
  void TearDown() override {
    SetFileAttributesW(winapi::W(name_).c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFile(name_);
    RemoveDir(dir_);
  }
  std::string FileBytes() const {
    std::ifstream f(winapi::W(name_).c_str(), std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
  }
  void PutFileBytes(const std::string& bytes) const {
    std::ofstream f(winapi::W(name_).c_str(), std::ios::binary);
    f << bytes;
  }
  std::unique_ptr<TIniFile> Open() const { return std::unique_ptr<TIniFile>(Create<TIniFile>(name_)); }

  AnsiString dir_, name_;
};

// Every letter and sign of code page 1251 (0x98 has no character).
AnsiString AllCp1251() {
  AnsiString s;
  for (int c = 0x80; c <= 0xFF; ++c)
    if (c != 0x98) s += static_cast<char>(c);
  return s;
}

TEST_F(IniFileTest, Cp1251TextRoundTripsByteForByteThroughTheFile) {
  const AnsiString label = "Канал №1 ёЁ "_cp + AllCp1251();
  Open()->WriteString("Settings", "ChannelLabel0", label);
  Open()->WriteString("Секция"_cp, "Ключ"_cp, "Значение"_cp);

  // The file holds the very bytes (the system writes its ANSI code page).
  std::string bytes = FileBytes();
  EXPECT_NE(bytes.find("ChannelLabel0=" + label), std::string::npos);
  EXPECT_NE(bytes.find("[Секция]"_cp), std::string::npos);
  EXPECT_NE(bytes.find("Ключ=Значение"_cp), std::string::npos);

  auto ini = Open();
  EXPECT_EQ(ini->ReadString("Settings", "ChannelLabel0", ""), label);
  EXPECT_EQ(ini->ReadString("Секция"_cp, "Ключ"_cp, ""), "Значение"_cp);
  EXPECT_EQ(ini->ReadString("SETTINGS", "channellabel0", ""), label) << "names compare without case";

  // A file written by someone else in code page 1251 reads the same.
  PutFileBytes("[Settings]\r\nSkin=Серый пластик\r\n"_cp);
  EXPECT_EQ(Open()->ReadString("Settings", "Skin", ""), "Серый пластик"_cp);
}

TEST_F(IniFileTest, TypedValuesAndDefaults) {
  auto ini = Open();
  ini->WriteInteger("ADC", "Period", 750);
  ini->WriteBool("Settings", "AutoLog", true);
  ini->WriteFloat("Point2_3", "Value", 20000.25);
  ini->WriteString("Settings", "Hex", "$1F");
  ini->WriteString("Settings", "Bad", "12a");
  const AnsiString longValue(10000, 'x');  // longer than any first buffer
  ini->WriteString("Settings", "Long", longValue);

  auto again = Open();
  EXPECT_EQ(again->ReadInteger("ADC", "Period", 500), 750);
  EXPECT_TRUE(again->ReadBool("Settings", "AutoLog", false));
  EXPECT_DOUBLE_EQ(again->ReadFloat("Point2_3", "Value", 0), 20000.25);
  EXPECT_EQ(again->ReadInteger("Settings", "Hex", 0), 31);
  EXPECT_EQ(again->ReadInteger("Settings", "Bad", -1), -1);
  EXPECT_EQ(again->ReadString("Settings", "Long", ""), longValue);
  // Missing section, key and file give the defaults.
  EXPECT_EQ(again->ReadInteger("ADC", "Missing", 500), 500);
  EXPECT_EQ(again->ReadString("Nowhere", "Key", "def"), "def");
  TIniFile missing(dir_ + "\\missing.ini");
  EXPECT_EQ(missing.ReadString("Settings", "Skin", "GrayPlastic (internal)"), "GrayPlastic (internal)");
  EXPECT_DOUBLE_EQ(missing.ReadFloat("Point1_0", "Value", 0), 0);
}

TEST_F(IniFileTest, SectionsKeysAndDeletion) {
  PutFileBytes("[Settings]\r\nChannelLabel0=Вес\r\nDataSource0=[0]\r\n[ADC]\r\nPeriod=500\r\n[Point1_0]\r\nADC=0\r\n"_cp);
  auto ini = Open();
  TStringList list;
  ini->ReadSections(&list);
  EXPECT_EQ(list.Text(), "Settings\r\nADC\r\nPoint1_0\r\n");
  ini->ReadSection("Settings", &list);
  EXPECT_EQ(list.Text(), "ChannelLabel0\r\nDataSource0\r\n");
  ini->ReadSectionValues("Settings", &list);
  EXPECT_EQ(list.Text(), "ChannelLabel0=Вес\r\nDataSource0=[0]\r\n"_cp);
  EXPECT_TRUE(ini->SectionExists("adc"));
  EXPECT_FALSE(ini->SectionExists("Point2_0"));
  EXPECT_TRUE(ini->ValueExists("Settings", "datasource0"));
  EXPECT_FALSE(ini->ValueExists("Settings", "DeviceType0"));

  ini->DeleteKey("Settings", "ChannelLabel0");
  ini->DeleteKey("Settings", "NoSuchKey");
  ini->EraseSection("Point1_0");
  auto again = Open();
  again->ReadSections(&list);
  EXPECT_EQ(list.Text(), "Settings\r\nADC\r\n");
  again->ReadSection("Settings", &list);
  EXPECT_EQ(list.Text(), "DataSource0\r\n");
  again->ReadSection("Nowhere", &list);
  EXPECT_EQ(list.Count(), 0);

  // Removing from a file that does not exist is no failure.
  TIniFile missing(dir_ + "\\missing.ini");
  EXPECT_NO_THROW(missing.DeleteKey("Settings", "DataSource0"));
  EXPECT_NO_THROW(missing.EraseSection("Settings"));
}

// Every write (and removal) the system refuses raises with the file's name;
// the file keeps what it held and reads go on.
void ExpectEveryWriteRaises(TIniFile& ini, const AnsiString& what) {
  SCOPED_TRACE(what);
  try {
    ini.WriteString("Settings", "Skin", "New");
    ADD_FAILURE() << "the write went through";
  } catch (const EIniFileException& e) {
    EXPECT_EQ(e.Message, "Unable to write to " + ini.FileName());
  }
  EXPECT_THROW(ini.WriteInteger("ADC", "Period", 100), EIniFileException);
  EXPECT_THROW(ini.WriteBool("Settings", "AutoLog", true), EIniFileException);
  EXPECT_THROW(ini.WriteFloat("Point1_0", "Value", 1.5), EIniFileException);
}

TEST_F(IniFileTest, RefusedWritesRaiseAndLoseNothing) {
  Open()->WriteString("Settings", "Skin", "Old");
  const std::string before = FileBytes();
  const std::wstring wname = winapi::W(name_);

  {  // A file another program holds open without sharing.
    HANDLE h = CreateFileW(wname.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    auto ini = Open();
    ExpectEveryWriteRaises(*ini, "locked file");
    EXPECT_THROW(ini->DeleteKey("Settings", "Skin"), EIniFileException);
    EXPECT_THROW(ini->EraseSection("Settings"), EIniFileException);
    CloseHandle(h);
    EXPECT_EQ(FileBytes(), before);
    EXPECT_EQ(ini->ReadString("Settings", "Skin", ""), "Old") << "reads go on";
  }

  {  // A read-only file. (A process with the rights to ignore the attribute,
     // such as root under Wine, may write it anyway; then there is nothing to see.)
    ASSERT_TRUE(SetFileAttributesW(wname.c_str(), FILE_ATTRIBUTE_READONLY));
    HANDLE probe = CreateFileW(wname.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    if (probe == INVALID_HANDLE_VALUE) {
      auto ini = Open();
      ExpectEveryWriteRaises(*ini, "read-only file");
      EXPECT_EQ(FileBytes(), before);
    } else {
      CloseHandle(probe);
    }
    SetFileAttributesW(wname.c_str(), FILE_ATTRIBUTE_NORMAL);
  }

  {  // A folder that does not exist, and a folder in place of the file.
    TIniFile nowhere(dir_ + "\\no such folder\\a.ini");
    ExpectEveryWriteRaises(nowhere, "missing folder");
    EXPECT_EQ(nowhere.ReadString("Settings", "Skin", "def"), "def");
    ASSERT_TRUE(CreateDir(dir_ + "\\folder.ini"));
    TIniFile folder(dir_ + "\\folder.ini");
    ExpectEveryWriteRaises(folder, "folder");
    RemoveDir(dir_ + "\\folder.ini");
  }
}

}  // namespace

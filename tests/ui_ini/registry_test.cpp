// TRegistry on the real registry, under a key of its own in the current
// user's root that the test removes again.
#include <gtest/gtest.h>

#include <memory>

#include "classlib/ui/Registry.h"

namespace {

const AnsiString kBase = "\\Software\\DornekTests\\Registry" ;

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = kBase + IntToStr(static_cast<int>(GetCurrentProcessId()));
    reg_.reset(Create<TRegistry>());
  }
  void TearDown() override {
    reg_->CloseKey();
    reg_->DeleteKey(base_);
  }
  AnsiString base_;
  std::unique_ptr<TRegistry> reg_;
};

TEST_F(RegistryTest, ValuesWrittenAreReadBack) {
  EXPECT_EQ(reg_->RootKey(), HKEY_CURRENT_USER);
  ASSERT_TRUE(reg_->OpenKey(base_ + "\\ComPort1", true));
  EXPECT_EQ(reg_->CurrentPath(), base_.substr(1) + "\\ComPort1");
  reg_->WriteString("Port", "COM3");
  reg_->WriteString("Имя"_cp, "Порт №3 ё"_cp);
  reg_->WriteString("Empty", "");
  reg_->WriteInteger("BaudRate", 115200);
  reg_->WriteInteger("Negative", -5);
  reg_->WriteBool("DiscardNull", true);
  reg_->CloseKey();

  auto other = std::unique_ptr<TRegistry>(Create<TRegistry>());
  ASSERT_TRUE(other->OpenKeyReadOnly(base_ + "\\ComPort1"));
  EXPECT_EQ(other->ReadString("Port"), "COM3");
  EXPECT_EQ(other->ReadString("имя"_cp), "Порт №3 ё"_cp);
  EXPECT_EQ(other->ReadString("Empty"), "");
  EXPECT_EQ(other->ReadInteger("BaudRate"), 115200);
  EXPECT_EQ(other->ReadInteger("Negative"), -5);
  EXPECT_TRUE(other->ReadBool("DiscardNull"));
  EXPECT_EQ(other->GetDataType("Port"), rdString);
  EXPECT_EQ(other->GetDataType("BaudRate"), rdInteger);
  EXPECT_EQ(other->GetDataSize("BaudRate"), 4);
  EXPECT_EQ(other->GetDataSize("Missing"), -1);
  TStringList names;
  other->GetValueNames(&names);
  names.Sort();
  EXPECT_EQ(names.CommaText(), "BaudRate,DiscardNull,Empty,Negative,Port,Имя"_cp);
  EXPECT_THROW(other->WriteString("Port", "COM4"), ERegistryException) << "the key is open for reading";
}

TEST_F(RegistryTest, MissingValuesAndWrongTypes) {
  ASSERT_TRUE(reg_->OpenKey(base_, true));
  reg_->WriteString("Text", "115200");
  reg_->WriteInteger("Number", 7);
  EXPECT_FALSE(reg_->ValueExists("Missing"));
  EXPECT_TRUE(reg_->ValueExists("Text"));

  // A missing text reads as empty; a missing integer is an error.
  EXPECT_EQ(reg_->ReadString("Missing"), "");
  try {
    reg_->ReadInteger("Missing");
    FAIL() << "a missing integer was read";
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Message, "Failed to get data for 'Missing'");
  }
  EXPECT_THROW(reg_->ReadBool("Missing"), ERegistryException);
  // Either type read as the other is an error.
  try {
    reg_->ReadInteger("Text");
    FAIL() << "a text was read as an integer";
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Message, "Invalid data type for 'Text'");
  }
  EXPECT_THROW(reg_->ReadString("Number"), ERegistryException);

  EXPECT_TRUE(reg_->DeleteValue("Text"));
  EXPECT_FALSE(reg_->DeleteValue("Text"));
  EXPECT_FALSE(reg_->ValueExists("Text"));
}

TEST_F(RegistryTest, KeysOpenCreateEnumerateAndDelete) {
  EXPECT_FALSE(reg_->OpenKey(base_ + "\\A", false)) << "a missing key is not made without CanCreate";
  EXPECT_FALSE(reg_->KeyExists(base_ + "\\A"));
  EXPECT_TRUE(reg_->CreateKey(base_ + "\\A\\Deep"));
  EXPECT_TRUE(reg_->CreateKey(base_ + "\\B"));
  EXPECT_TRUE(reg_->KeyExists(base_ + "\\A\\Deep"));

  ASSERT_TRUE(reg_->OpenKey(base_, false));
  EXPECT_TRUE(reg_->HasSubKeys());
  TStringList keys;
  reg_->GetKeyNames(&keys);
  keys.Sort();
  EXPECT_EQ(keys.CommaText(), "A,B");
  // A relative path goes from the open key.
  ASSERT_TRUE(reg_->OpenKey("A", false));
  EXPECT_EQ(reg_->CurrentPath(), base_.substr(1) + "\\A");
  reg_->WriteInteger("X", 1);
  ASSERT_TRUE(reg_->OpenKey(base_, false));
  // Deleting removes the key with all below it.
  EXPECT_TRUE(reg_->DeleteKey("A"));
  EXPECT_FALSE(reg_->KeyExists(base_ + "\\A"));
  EXPECT_FALSE(reg_->DeleteKey("A"));
  EXPECT_FALSE(reg_->DeleteKey(""));

  // Another root: the local machine's serial port list is readable.
  reg_->SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_EQ(reg_->CurrentKey(), nullptr) << "changing the root closes the key";
  EXPECT_TRUE(reg_->OpenKeyReadOnly("HARDWARE"));
  reg_->SetRootKey(HKEY_CURRENT_USER);
}

}  // namespace

// A form made by formc at build time reads back into components.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>

#include "fixture.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {
std::string SampleFormBytes() {
#ifdef _WIN32
  HRSRC res = FindResourceW(nullptr, L"TTESTFORM", MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  if (!res) return {};
  HGLOBAL h = LoadResource(nullptr, res);
  auto* p = static_cast<const char*>(LockResource(h));
  return std::string(p, SizeofResource(nullptr, res));
#else
  std::ifstream f(DK_TEST_FORMS_DIR "/sample.bin", std::ios::binary);
  std::ostringstream ss;
  ss << f.rdbuf();
  return ss.str();
#endif
}
}  // namespace

TEST(FormResources, ConvertedFormLoads) {
  std::string bin = SampleFormBytes();
  ASSERT_FALSE(bin.empty());
  TMemoryStream ms;
  ms.WriteBuffer(bin.data(), static_cast<Integer>(bin.size()));
  ms.SetPosition(0);
  std::unique_ptr<TComponent> c(ms.ReadComponent(nullptr));
  auto* form = dynamic_cast<TTestForm*>(c.get());
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->Name(), "SampleForm");
  EXPECT_EQ(form->FCaption, "\xCE\xE1\xF0\xE0\xE7\xE5\xF6");  // UTF-8 source, code page 1251 here
  EXPECT_EQ(form->FData, std::string("SKIN\x00\x01\x02\xFF", 8));  // from the included file
  auto* button = dynamic_cast<TTestControl*>(form->FindComponent("Button1"));
  ASSERT_NE(button, nullptr);
  button->FOnClick(button);
  EXPECT_EQ(form->Clicks, 1);
}

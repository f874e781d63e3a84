#include "skin/graphics/Sgradient.h"

#include <vector>

#include "skin/core/acntUtils.h"
#include "skin/graphics/acSysColors.h"

void PrepareGradArray(const AnsiString& Text, TsGradArray& Array) {
  Array.clear();
  if (Text.empty()) return;
  // The words in one pass (the text may be long).
  std::vector<AnsiString> words;
  for (size_t i = 0; i < Text.size();) {
    size_t e = Text.find(';', i);
    if (e == AnsiString::npos) e = Text.size();
    if (e > i) words.push_back(Text.substr(i, e - i));
    i = e + 1;
  }
  const size_t n = words.size() / 5;
  TsGradArray result(n);
  for (size_t i = 0; i < n; ++i) {
    TsGradPie& pie = result[i];
    pie.Color1 = acColorToRGB(StrToInt(words[5 * i]));
    pie.Color2 = acColorToRGB(StrToInt(words[5 * i + 1]));
    pie.Percent = static_cast<Byte>(LimitIt(StrToInt(words[5 * i + 2]), 0, 100));
    pie.Mode = StrToInt(words[5 * i + 3]);
  }
  Array = std::move(result);
}

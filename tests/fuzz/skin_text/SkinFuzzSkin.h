// A packed skin in memory for the skin loader's fuzz targets: a master image
// entry (96 x 96, 24 bits, a key-coloured corner) and an own PNG entry.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "skin/core/acSkinLoad.h"

namespace skinfuzz {

inline std::string Master() {
  const int w = 96, h = 96, row = w * 3;
  std::string rows;
  for (int y = h - 1; y >= 0; --y)
    for (int x = 0; x < w; ++x) {
      const bool key = x < 6 && y < 6;
      rows += key ? std::string("\xFF\x00\xFF", 3) : std::string(3, static_cast<char>((x * 7 + y) & 0xFF));
    }
  auto u32 = [](std::uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
  auto u16 = [](std::uint32_t v) { return std::string{char(v), char(v >> 8)}; };
  std::string info = u32(40) + u32(w) + u32(h) + u16(1) + u16(24) + u32(0) + u32(row * h) + u32(0) + u32(0) + u32(0) + u32(0);
  return "BM" + u32(54 + row * h) + u32(0) + u32(54) + info + rows;
}

// The convertor of a container holding the master image.
inline std::unique_ptr<TacSkinConvertor> Pack() {
  auto c = std::make_unique<TacSkinConvertor>();
  TacImageItem item;
  item.FileName = "MASTER.BMP";
  item.IsBitmap = true;
  item.Data = std::make_unique<TMemoryStream>();
  const std::string bytes = Master();
  item.Data->WriteBuffer(bytes.data(), static_cast<Integer>(bytes.size()));
  c->ImageItems.push_back(std::move(item));
  return c;
}

// Loads a skin text against the container; every input loads or fails
// with the class library's exceptions.
inline void LoadText(const std::string& text) {
  static std::unique_ptr<TacSkinConvertor> pack = Pack();
  TacSkinText skinText;
  TacSkinReport report;
  skinText.LoadFromText(text, &report);
  TacSkinSource source;
  source.Convertor = pack.get();
  TacSkinTables tables;
  try {
    TacSkinLoader loader(skinText, source, TacSkinLoadOptions{}, TacSkinServices::Platform(), &report);
    loader.Load(tables);
    for (size_t i = 0; i < tables.Sections.size(); ++i)
      tables.GetMaskIndex(static_cast<Integer>(i), tables.Sections[i].SectionName, "GLYPHMASK");
  } catch (const Exception&) {
  }
}

}  // namespace skinfuzz

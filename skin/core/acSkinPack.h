// Packed skin files: all files of a skin folder in one container of zlib
// streams ("ASzf"), written from a folder, unpacked into a folder or into
// memory for the skin loader.
#pragma once

#include <memory>
#include <vector>

#include "classlib/core/Classes.h"

struct TacImageItem {
  AnsiString FileName;  // as stored
  bool IsBitmap = false;  // the extension is ".bmp"
  std::unique_ptr<TMemoryStream> Data;  // the uncompressed bytes
};
using TacImageItems = std::vector<TacImageItem>;

// The unpacked contents of one container; owns all its streams.
class TacSkinConvertor : public TPersistent {
  DK_CLASS(TacSkinConvertor, TPersistent)
 public:
  TacSkinConvertor() = default;
  ~TacSkinConvertor() override { Clear(); }
  void Clear();

  Integer ItemCount = -1;  // entries minus one
  TacImageItems ImageItems;  // every entry but Options.dat, in container order
  TMemoryStream* Options = nullptr;  // the uncompressed Options.dat
  TMemoryStream* PackStream = nullptr;  // the whole container as read
};

// Writes a container of the folder's "*.dat", "*.bmp", "*.png" and "*.jpg"
// files; the folder text is used as given, so it ends with a separator.
// Writes nothing when no file is found.
void PackDir(const AnsiString& srcPath, const AnsiString& fileName);
// Writes every entry of a container file into a folder. A damaged container
// raises before any file is written.
void UnpackSkinFile(const AnsiString& srcName, const AnsiString& destDir);
// Reads a container file into a convertor (created when nil); nothing happens
// when the file does not exist. With Release the container stream is freed.
void LoadSkinFromFile(const AnsiString& fileName, TacSkinConvertor*& convertor, bool release);
// Unpacks the convertor's PackStream. A stream that is not a container frees
// the convertor and sets it to nil before raising.
void ExtractPackedData(TacSkinConvertor*& convertor);

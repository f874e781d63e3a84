// JPEG skin textures through the system's OLE picture loader (Windows only).
#pragma once

#ifdef _WIN32

#include <windows.h>
#include <olectl.h>

#include "classlib/core/Classes.h"
#include "skin/graphics/acPixelBuffer.h"

class TacTinyJPGImage : public TObject {
  DK_CLASS(TacTinyJPGImage, TObject)
 public:
  TacTinyJPGImage() = default;
  ~TacTinyJPGImage() override;
  TacTinyJPGImage(const TacTinyJPGImage&) = delete;
  TacTinyJPGImage& operator=(const TacTinyJPGImage&) = delete;

  // Loads the whole stream from its start (not from its current position).
  void LoadFromStream(TStream* stream);
  void LoadFromFile(const AnsiString& fileName);
  bool Empty() const { return FPicture == nullptr; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  IPicture* Picture() const { return FPicture; }
  // The picture as 24-bit pixels.
  void Draw(TacPixelBuffer& target) const;

 private:
  void Release();
  IPicture* FPicture = nullptr;
  int FWidth = 0, FHeight = 0;
};

#endif

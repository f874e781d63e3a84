#include "skin/graphics/acTinyJPG.h"

#ifdef _WIN32

#include <cstring>

namespace {

int HimetricToPixels(OLE_XSIZE_HIMETRIC v, int pixelsPerInch) { return MulDiv(v, pixelsPerInch, 2540); }

}  // namespace

TacTinyJPGImage::~TacTinyJPGImage() { Release(); }

void TacTinyJPGImage::Release() {
  if (FPicture) FPicture->Release();
  FPicture = nullptr;
  FWidth = FHeight = 0;
}

void TacTinyJPGImage::LoadFromStream(TStream* stream) {
  Release();
  stream->SetPosition(0);
  Int64 size = stream->Size();
  if (size <= 0 || size > 0x7FFFFFFF) throw EInvalidGraphic("Cannot load image. Invalid or unexpected JPEG image format.");
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, SIZE_T(size));
  if (!block) throw EOutOfMemory("Out of memory");
  void* p = GlobalLock(block);
  try {
    stream->ReadBuffer(p, Integer(size));
  } catch (...) {
    GlobalUnlock(block);
    GlobalFree(block);
    throw;
  }
  GlobalUnlock(block);
  IStream* istream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(block, TRUE, &istream))) {
    GlobalFree(block);
    throw EInvalidGraphic("Cannot load image. Invalid or unexpected JPEG image format.");
  }
  IPicture* picture = nullptr;
  HRESULT hr = OleLoadPicture(istream, LONG(size), FALSE, IID_IPicture, reinterpret_cast<void**>(&picture));
  istream->Release();
  if (FAILED(hr) || !picture)
    throw EInvalidGraphic("Cannot load image. Invalid or unexpected JPEG image format.");
  FPicture = picture;
  OLE_XSIZE_HIMETRIC w = 0;
  OLE_YSIZE_HIMETRIC h = 0;
  FPicture->get_Width(&w);
  FPicture->get_Height(&h);
  HDC screen = GetDC(nullptr);
  FWidth = HimetricToPixels(w, GetDeviceCaps(screen, LOGPIXELSX));
  FHeight = HimetricToPixels(h, GetDeviceCaps(screen, LOGPIXELSY));
  ReleaseDC(nullptr, screen);
}

void TacTinyJPGImage::LoadFromFile(const AnsiString& fileName) {
  TFileStream stream(fileName, fmOpenRead | fmShareDenyNone);
  LoadFromStream(&stream);
}

void TacTinyJPGImage::Draw(TacPixelBuffer& target) const {
  target.Release();
  if (!FPicture || FWidth <= 0 || FHeight <= 0) return;
  target.Setup(pf24bit, FWidth, FHeight);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = FWidth;
  info.bmiHeader.biHeight = -FHeight;  // top-down, as the buffer
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib) {
    DeleteDC(dc);
    throw EOutOfResources("Out of system resources");
  }
  HGDIOBJ old = SelectObject(dc, dib);
  OLE_XSIZE_HIMETRIC w = 0;
  OLE_YSIZE_HIMETRIC h = 0;
  FPicture->get_Width(&w);
  FPicture->get_Height(&h);
  FPicture->Render(dc, 0, 0, FWidth, FHeight, 0, h, w, -h, nullptr);
  GdiFlush();
  std::memcpy(target.ScanLine(0), bits, size_t(target.RowBytes()) * FHeight);
  SelectObject(dc, old);
  DeleteObject(dib);
  DeleteDC(dc);
}

#endif

// The PNG picture as a bitmap of the class library (Windows): loading into
// the bitmap's own section, drawing with its alpha (and a fading reflection),
// and the "png" file format of the picture class.
#include "skin/graphics/acPNG.h"

#ifdef _WIN32

#include <algorithm>
#include <cstring>

namespace {

// The picture's bitmap as the decoder's target: a section of the format and
// size with the palette in its colour table; rows bottom-up in memory.
class TBitmapTarget : public TacImageTarget {
 public:
  explicit TBitmapTarget(TBitmap& bitmap) : FBitmap(bitmap) {}

  void ReleaseImage() override { FBitmap.SetHandle(nullptr); }

  void SetupImage(TPixelFormat pf, int width, int height, const TacPaletteEntry* palette, int colorCount) override {
    FBitmap.SetHandle(nullptr);
    FBitmap.SetPixelFormat(pf);
    FBitmap.SetSize(width, height);
    if (FBitmap.Empty()) throw EOutOfResources("Out of system resources");
    if (palette && colorCount > 0 && BitsPerPixel(pf) <= 8) {
      RGBQUAD colors[256];
      const int count = std::min(colorCount, 1 << BitsPerPixel(pf));
      for (int i = 0; i < count; ++i) colors[i] = RGBQUAD{palette[i].Blue, palette[i].Green, palette[i].Red, 0};
      SetDIBColorTable(FBitmap.Canvas()->Handle(), 0, static_cast<UINT>(count), colors);
    }
  }

  void InitLine(Byte*& first, std::ptrdiff_t& delta) override {
    first = static_cast<Byte*>(FBitmap.ScanLine(0));
    delta = -static_cast<std::ptrdiff_t>(FBitmap.RowBytes());
  }

 private:
  TBitmap& FBitmap;
};

const std::uint32_t kTransparentKey = 0x00FF00FF;

// Rows of a 32-bit section: the top row and the distance to the next one.
struct TRows {
  Byte* First;
  std::ptrdiff_t Delta;
  explicit TRows(TBitmap& b)
      : First(static_cast<Byte*>(b.ScanLine(0))), Delta(-static_cast<std::ptrdiff_t>(b.RowBytes())) {}
  std::uint32_t* Row(int y) const { return reinterpret_cast<std::uint32_t*>(First + Delta * y); }
};

inline Byte Mix(unsigned s, unsigned d, unsigned a) { return static_cast<Byte>((s * a + d * (256 - a)) >> 8); }

// Red, green and blue of s over d with weight a (255: s itself), and alpha.
inline std::uint32_t Blend(std::uint32_t s, std::uint32_t d, unsigned a, unsigned alpha) {
  if (a == 255) return (s & 0xFFFFFF) | (std::uint32_t(alpha) << 24);
  return Mix(s & 0xFF, d & 0xFF, a) | (Mix((s >> 8) & 0xFF, (d >> 8) & 0xFF, a) << 8) |
         (Mix((s >> 16) & 0xFF, (d >> 16) & 0xFF, a) << 16) | (std::uint32_t(alpha) << 24);
}

// A 32-bit picture of W x H laid over the top-left W x H of the destination
// with its own alpha (the transparent key leaves the destination); with the
// reflection, the picture's lower rows mirrored below it, one row lower,
// at most half-opaque and fading downward, as far as the destination goes.
void BlendPicture(TBitmap& dest, TBitmap& source, int w, int h, bool reflection) {
  TRows d(dest), s(source);
  for (int y = 0; y < h; ++y) {
    std::uint32_t* dr = d.Row(y);
    const std::uint32_t* sr = s.Row(y);
    for (int x = 0; x < w; ++x) {
      const std::uint32_t sp = sr[x];
      if (sp == kTransparentKey) continue;
      const unsigned a = sp >> 24;
      dr[x] = Blend(sp, dr[x], a, std::max<unsigned>(dr[x] >> 24, a));
    }
  }
  if (!reflection) return;
  const int n = std::min(dest.Height() - h - 1, source.Height() / 2 - 1);
  if (n < 1) return;
  int f = 255;
  const int step = 255 / source.Height();
  for (int k = 1; k <= n; ++k) {
    std::uint32_t* dr = d.Row(h + k);
    const std::uint32_t* sr = s.Row(h - k - 1);
    for (int x = 0; x < w; ++x) {
      const std::uint32_t sp = sr[x];
      if (sp == kTransparentKey) continue;
      const unsigned a = static_cast<unsigned>(((int(sp >> 24) * (n - k)) / n * f) >> 9);
      dr[x] = Blend(sp, dr[x], a, std::max<unsigned>(dr[x] >> 24, a));
    }
    f -= step;
  }
}

// An 8-bit bitmap whose colour table is the grey ramp, so that its bytes
// survive stretching unchanged.
void MakeGrey8(TBitmap& b, int w, int h) {
  b.SetPixelFormat(pf8bit);
  b.SetSize(w, h);
  RGBQUAD grey[256];
  for (int i = 0; i < 256; ++i) grey[i] = RGBQUAD{Byte(i), Byte(i), Byte(i), 0};
  SetDIBColorTable(b.Canvas()->Handle(), 0, 256, grey);
}

void StretchInto(TBitmap& dest, TBitmap& source) {
  HDC dc = dest.Canvas()->Handle();
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, 0, 0, dest.Width(), dest.Height(), source.Canvas()->Handle(), 0, 0, source.Width(),
             source.Height(), SRCCOPY);
  GdiFlush();
}

// The alpha bytes of a 32-bit bitmap into an 8-bit one of its size, or back.
void CopyAlpha(TBitmap& bmp32, TBitmap& bmp8, bool to8) {
  for (int y = 0; y < bmp32.Height(); ++y) {
    auto* p = static_cast<Byte*>(bmp32.ScanLine(y));
    auto* q = static_cast<Byte*>(bmp8.ScanLine(y));
    for (int x = 0; x < bmp32.Width(); ++x) {
      if (to8)
        q[x] = p[4 * x + 3];
      else
        p[4 * x + 3] = q[x];
    }
  }
}

// The "png" files of the picture class.
struct TPNGRegistration {
  TPNGRegistration() {
    TPicture::RegisterFileFormat("png", "Portable network graphics (skin library)", TPNGGraphic::StaticClass());
  }
  ~TPNGRegistration() { TPicture::UnregisterGraphicClass(TPNGGraphic::StaticClass()); }
} registration;

}  // namespace

void TPNGGraphic::LoadFromStream(TStream* stream) {
  FTransparent = false;
  SetTransparentColor(clDefault);
  TBitmapTarget target(*this);
  try {
    LoadInto(stream, target);
  } catch (...) {
    Changed(this);
    throw;
  }
  if (FPNGTransparentColor != 0x1FFFFFFF) {
    SetTransparentColor(FPNGTransparentColor);
    FTransparent = true;
  }
  Changed(this);
}

void TPNGGraphic::Draw(TCanvas* canvas, const TRect& rect) {
  if (PixelFormat() != pf32bit || Empty()) {
    inherited::Draw(canvas, rect);
    return;
  }
  const int w = rect.Width(), h = rect.Height();
  if (w <= 0 || h <= 0) return;
  // What lies under the picture (and under its reflection) now.
  // A rectangle too large for a bitmap draws nothing.
  TBitmap work;
  work.SetPixelFormat(pf32bit);
  try {
    work.SetSize(w, DrawReflection ? h + h / 2 : h);
  } catch (const EOutOfResources&) {
    return;
  }
  HDC target = canvas->Handle();
  BitBlt(work.Canvas()->Handle(), 0, 0, work.Width(), work.Height(), target, rect.Left, rect.Top, SRCCOPY);
  GdiFlush();
  if (Width() == w && Height() == h) {
    BlendPicture(work, *this, w, h, DrawReflection);
  } else {
    // Stretched: the colours and the alpha each by the same stretch.
    TBitmap colour;
    colour.SetPixelFormat(pf24bit);
    colour.SetSize(w, h);
    StretchInto(colour, *this);
    colour.SetPixelFormat(pf32bit);
    TBitmap alpha, stretchedAlpha;
    MakeGrey8(alpha, Width(), Height());
    CopyAlpha(*this, alpha, true);
    MakeGrey8(stretchedAlpha, w, h);
    StretchInto(stretchedAlpha, alpha);
    CopyAlpha(colour, stretchedAlpha, false);
    BlendPicture(work, colour, w, h, false);
  }
  BitBlt(target, rect.Left, rect.Top, work.Width(), work.Height(), work.Canvas()->Handle(), 0, 0, SRCCOPY);
}

#endif

// The loader's services on Windows: the outer-effect images drawn with GDI
// over the program's "BLUR5" picture, and JPEG pictures through the system's
// picture loader.
#include "classlib/ui/Controls.h"
#include "classlib/ui/Graphics.h"
#include "skin/core/acSkinLoad.h"
#include "skin/graphics/acTinyJPG.h"
#include "skin/graphics/sGraphUtils.h"

namespace {

// A solid brush and pen of one colour selected into a context for its lifetime.
class TSolidTools {
 public:
  TSolidTools(HDC dc, TColor color)
      : FDC(dc), FBrush(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(color)))),
        FPen(CreatePen(PS_SOLID, 1, static_cast<COLORREF>(ColorToRGB(color)))),
        FOldBrush(SelectObject(dc, FBrush)), FOldPen(SelectObject(dc, FPen)) {}
  ~TSolidTools() {
    SelectObject(FDC, FOldBrush);
    SelectObject(FDC, FOldPen);
    DeleteObject(FBrush);
    DeleteObject(FPen);
  }
  TSolidTools(const TSolidTools&) = delete;
  TSolidTools& operator=(const TSolidTools&) = delete;

 private:
  HDC FDC;
  HBRUSH FBrush;
  HPEN FPen;
  HGDIOBJ FOldBrush, FOldPen;
};

void FillBox(HDC dc, const RECT& r, TColor color) {
  TSolidTools tools(dc, color);
  ::FillRect(dc, &r, static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)));
}

void Triangle(HDC dc, POINT a, POINT b, POINT c, TColor color) {
  TSolidTools tools(dc, color);
  const POINT points[3] = {a, b, c};
  Polygon(dc, points, 3);
}

// The program's "BLUR5" picture, read once (each skin load draws two images
// over it); nullptr when the program has none.
TBitmap* BlurPicture() {
  static const std::unique_ptr<TBitmap> blur = [] {
    auto picture = std::make_unique<TBitmap>();
    try {
      picture->LoadFromResourceName(MainInstance(), "BLUR5");
    } catch (const Exception&) {
      picture.reset();
    }
    return picture;
  }();
  return blur.get();
}

// The image of an outer effect: its top and bottom colours above and below
// the middle, its left and right colours in triangles from the sides, and the
// "BLUR5" picture below as the mask row.
std::unique_ptr<TacBitmap> DrawOuterImage(const TacOutEffData& e) {
  TBitmap* blur = BlurPicture();
  if (!blur) return nullptr;
  const int w = blur->Width(), half = w / 2;
  if (w < 2) return nullptr;
  std::unique_ptr<TacBitmap> image = CreateBmp32(w, 2 * w);
  HDC dc = image->Canvas()->Handle();
  FillBox(dc, RECT{0, 0, w, half}, e.Colors[1]);
  FillBox(dc, RECT{0, half, w, w}, e.Colors[3]);
  Triangle(dc, POINT{0, 1}, POINT{half - 1, half}, POINT{0, w - 2}, e.Colors[0]);
  Triangle(dc, POINT{w - 1, 1}, POINT{half + 1, half}, POINT{w - 1, w - 2}, e.Colors[2]);
  BitBlt(dc, 0, w, w, w, blur->Canvas()->Handle(), 0, 0, SRCCOPY);
  GdiFlush();
  return image;
}

std::unique_ptr<TObject> ReadJpegPicture(TStream* stream, Integer& width, Integer& height) {
  auto picture = std::make_unique<TacTinyJPGImage>();
  picture->LoadFromStream(stream);
  if (picture->Empty()) return nullptr;
  width = picture->Width();
  height = picture->Height();
  return picture;
}

void DrawJpegPicture(TObject* picture, TacPixelBuffer& pixels) { static_cast<TacTinyJPGImage*>(picture)->Draw(pixels); }

}  // namespace

TacSkinServices TacSkinServices::Platform() {
  TacSkinServices s;
  s.MakeOuterImage = &DrawOuterImage;
  s.LoadJpeg = &ReadJpegPicture;
  s.DrawJpeg = &DrawJpegPicture;
  return s;
}

// The triangle mode of gradients through the system's gradient function,
// looked up in msimg32 when the program starts (without it the mode paints
// nothing); the library is freed when the program ends.
#include <windows.h>

#include "skin/graphics/Sgradient.h"
#include "skin/graphics/acBitmap.h"

namespace {

using TGradientFill = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

class TGradientLibrary {
 public:
  TGradientLibrary() : FModule(LoadLibraryA("msimg32.dll")) {
    if (FModule) FFill = reinterpret_cast<TGradientFill>(reinterpret_cast<void*>(GetProcAddress(FModule, "GradientFill")));
  }
  ~TGradientLibrary() {
    if (FModule) FreeLibrary(FModule);
  }
  TGradientLibrary(const TGradientLibrary&) = delete;
  TGradientLibrary& operator=(const TGradientLibrary&) = delete;
  TGradientFill Fill() const { return FFill; }

 private:
  HMODULE FModule;
  TGradientFill FFill = nullptr;
};

const TGradientLibrary GradientLibrary;

}  // namespace

void PaintGradTriangles(TacBitmap* Bmp, const TRect& R, const TsGradArray& Data) {
  const TGradientFill fill = GradientLibrary.Fill();
  if (!fill || !Bmp || Bmp->Empty() || Data.empty()) return;
  const TacGradMesh mesh = GradTriangleMesh(R, Data);
  TRIVERTEX vertices[5];
  for (size_t i = 0; i < mesh.size(); ++i)
    vertices[i] = TRIVERTEX{mesh[i].X, mesh[i].Y, mesh[i].Red, mesh[i].Green, mesh[i].Blue, mesh[i].Alpha};
  GRADIENT_TRIANGLE triangles[4];
  for (size_t i = 0; i < acGradTriangles.size(); ++i)
    triangles[i] = GRADIENT_TRIANGLE{ULONG(acGradTriangles[i][0]), ULONG(acGradTriangles[i][1]),
                                     ULONG(acGradTriangles[i][2])};
  fill(Bmp->Canvas()->Handle(), vertices, 5, triangles, 4, GRADIENT_FILL_TRIANGLE);
}

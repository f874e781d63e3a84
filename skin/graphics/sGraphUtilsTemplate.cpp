// Nine-part painting of a template bitmap (title and border parts of forms).
#include <algorithm>

#include "skin/graphics/sGraphUtils.h"

namespace {

enum TTemplateMode { tmTile = 0, tmStretch = 1 };

// Copies of pieces of the template onto the destination.
struct TTemplateCopy {
  TacBitmap* Dst;
  TacBitmap* Src;

  void Block(int x, int y, int w, int h, int sx, int sy) const {
    if (w > 0 && h > 0) BlockCopy(Dst, x, y, w, h, Src, sx, sy);
  }
  void Stretched(int x, int y, int w, int h, int sx, int sy, int sw, int sh) const {
    StretchCopy(Dst, x, y, w, h, Src, sx, sy, sw, sh);
  }
  // A strip Thick wide and Piece high from (SX, SY), repeated down from Y to
  // End with a shorter last piece.
  void TileDown(int x, int y, int end, int thick, int piece, int sx, int sy) const {
    for (; y < end; y += piece) Block(x, y, thick, std::min(piece, end - y), sx, sy);
  }
  // The same across, from X to End.
  void TileAcross(int x, int end, int y, int thick, int piece, int sx, int sy) const {
    for (; x < end; x += piece) Block(x, y, std::min(piece, end - x), thick, sx, sy);
  }
};

}  // namespace

void PaintControlByTemplate(TacBitmap* Dst, TacBitmap* Src, const TRect& D, const TRect& S, const TRect& M,
                            const TRect& B, const TRect& Modes, bool StretchCentre, bool DrawCentre) {
  if (!Dst || !Src) return;
  const TTemplateCopy copy{Dst, Src};
  const int tl = std::min(M.Left, B.Left), tt = std::min(M.Top, B.Top);
  const int tr = std::min(M.Right, B.Right), tb = std::min(M.Bottom, B.Bottom);
  const int mw = std::max(0, S.Width() - M.Left - M.Right), mh = std::max(0, S.Height() - M.Top - M.Bottom);
  // The whole middle of the template and of the destination (for stretching).
  const int smw = S.Width() - M.Left - M.Right, smh = S.Height() - M.Top - M.Bottom;
  const int dmw = D.Width() - M.Left - M.Right, dmh = D.Height() - M.Top - M.Bottom;

  // Corners: each an L of the margin along one side and the line thickness
  // along the other.
  copy.Block(D.Left, D.Top, M.Left, tt, S.Left, S.Top);
  if (tt != M.Top) copy.Block(D.Left, D.Top + tt, tl, M.Top - tt, S.Left, S.Top + tt);
  copy.Block(D.Left, D.Bottom - tb, M.Left, tb, S.Left, S.Bottom - tb);
  if (tb != M.Bottom) copy.Block(D.Left, D.Bottom - M.Bottom, tl, M.Bottom - tb, S.Left, S.Bottom - M.Bottom);
  copy.Block(D.Right - M.Right, D.Top, M.Right, tt, S.Right - M.Right, S.Top);
  if (tt != M.Top) copy.Block(D.Right - tr, D.Top + tt, tr, M.Top - tt, S.Right - tr, S.Top + tt);
  copy.Block(D.Right - M.Right, D.Bottom - tb, M.Right, tb, S.Right - M.Right, S.Bottom - tb);
  if (tb != M.Bottom) copy.Block(D.Right - tr, D.Bottom - M.Bottom, tr, M.Bottom - tb, S.Right - tr, S.Bottom - M.Bottom);

  // Sides: left, top, right, bottom.
  const int top = D.Top + M.Top, bottom = D.Bottom - M.Bottom, left = D.Left + M.Left, right = D.Right - M.Right;
  if (mh > 0) {
    if (Modes.Left == tmTile) copy.TileDown(D.Left, top, bottom, tl, mh, S.Left, S.Top + M.Top);
    if (Modes.Left == tmStretch) copy.Stretched(D.Left, top, tl, dmh, S.Left, S.Top + M.Top, tl, smh);
  }
  if (mw > 0) {
    if (Modes.Top == tmTile) copy.TileAcross(left, right, D.Top, tt, mw, S.Left + M.Left, S.Top);
    if (Modes.Top == tmStretch) copy.Stretched(left, D.Top, dmw, tt, S.Left + M.Left, S.Top, smw, tt);
  }
  if (mh > 0) {
    if (Modes.Right == tmTile) copy.TileDown(D.Right - tr, top, bottom, tr, mh, S.Right - tr, S.Top + M.Top);
    if (Modes.Right == tmStretch) copy.Stretched(D.Right - tr, top, tr, dmh, S.Right - tr, S.Top + M.Top, tr, smh);
  }
  if (mw > 0) {
    if (Modes.Bottom == tmTile) copy.TileAcross(left, right, D.Bottom - tb, tb, mw, S.Left + M.Left, S.Bottom - tb);
    if (Modes.Bottom == tmStretch)
      copy.Stretched(left, D.Bottom - tb, dmw, tb, S.Left + M.Left, S.Bottom - tb, smw, tb);
  }

  if (!DrawCentre) return;
  if (StretchCentre) {
    copy.Stretched(left, top, dmw, dmh, S.Left + M.Left, S.Top + M.Top, smw, smh);
    return;
  }
  if (mw <= 0 || mh <= 0) return;
  for (int x = left; x < right; x += mw)
    copy.TileDown(x, top, bottom, std::min(mw, right - x), mh, S.Left + M.Left, S.Top + M.Top);
}

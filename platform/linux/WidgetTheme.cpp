#include "detail/WidgetTheme.h"

#include "editor/IGraphics.h"
#include "lice/lice_text.h"

namespace theme {

LICE_IFont* Font(IGraphics* graphics, int px, bool bold) {
  if (!graphics) return nullptr;
  IText style(px, &COLOR_WHITE, "DejaVu Sans", bold ? IText::kStyleBold : IText::kStyleNormal,
              IText::kAlignNear, 0, IText::kQualityAntiAliased);
  return graphics->CacheFont(&style);
}

void Measure(LICE_IFont* font, const char* text, int* w, int* h) {
  *w = *h = 0;
  if (!font || !text) return;
  RECT r = {0, 0, 0, 0};
  font->DrawText(nullptr, text, -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  *w = r.right - r.left;
  *h = r.bottom - r.top;
}

void DrawLine(LICE_IBitmap* canvas, LICE_IFont* font, const char* text, int l, int t, int r, int b,
              LICE_Pixel32 color, unsigned flags) {
  if (!font || !text || !*text) return;
  font->SetTextColor(color);
  font->SetBkMode(TRANSPARENT);
  RECT rect = {l, t, r, b};
  font->DrawText(canvas, text, -1, &rect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | flags);
}

} // namespace theme

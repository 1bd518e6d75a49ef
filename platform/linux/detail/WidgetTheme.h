#pragma once
// The look of the windows this host draws itself (menus, the text field's
// frame, tooltips, message boxes): a charcoal panel, light grey text and one
// amber accent, so they sit with the editor's art.
#include "lice/lice.h"

class IGraphics;
class LICE_IFont;

namespace theme {

constexpr LICE_Pixel32 kPanel = LICE_RGBA(0x22, 0x20, 0x1e, 255);
constexpr LICE_Pixel32 kPanelEdge = LICE_RGBA(0x4a, 0x44, 0x3e, 255);
constexpr LICE_Pixel32 kPanelShade = LICE_RGBA(0x12, 0x11, 0x10, 255);
constexpr LICE_Pixel32 kText = LICE_RGBA(0xe4, 0xdf, 0xd8, 255);
constexpr LICE_Pixel32 kTextDisabled = LICE_RGBA(0x7a, 0x73, 0x6b, 255);
constexpr LICE_Pixel32 kTextTitle = LICE_RGBA(0xa8, 0xa0, 0x96, 255);
constexpr LICE_Pixel32 kAccent = LICE_RGBA(0xf0, 0x9a, 0x2c, 255);
constexpr LICE_Pixel32 kAccentText = LICE_RGBA(0x1a, 0x12, 0x08, 255);
constexpr LICE_Pixel32 kSeparator = LICE_RGBA(0x3c, 0x37, 0x32, 255);

constexpr int kFontPx = 13;

// The widgets' font at px pixels (scaled by the caller), from the editor's
// module-wide font cache; null when no font can be made.
LICE_IFont* Font(IGraphics* graphics, int px, bool bold = false);
// Width and height of a one-line text in the font.
void Measure(LICE_IFont* font, const char* text, int* w, int* h);
// Draws a one-line text vertically centred in the rectangle; flags add
// DT_CENTER or DT_RIGHT.
void DrawLine(LICE_IBitmap* canvas, LICE_IFont* font, const char* text, int l, int t, int r, int b,
              LICE_Pixel32 color, unsigned flags = 0);

} // namespace theme

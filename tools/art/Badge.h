#pragma once
// The badge over the editor's link area: a raised plate with a book and the
// word that says a click opens the manual.
#include "tools/art/Painter.h"

namespace art {

// The plate and icon, on the supersampled canvas.
void DrawBadgePlate(Painter& fine);
// The lettering, on the final canvas.
void DrawBadgeText(Painter& p);

} // namespace art

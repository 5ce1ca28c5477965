#include "engine/watermark.h"

#include "core/settings.h"

namespace vantor {
// Placeholders until the watermark work lands.
FiImage DrawWatermark(FiImage image, int, int) { return image; }
bool LoadWatermarkFont() { return !Settings().WmFont.empty() && Settings().WmFontSize > 0; }
void ReleaseWatermarkFont() {}
}  // namespace vantor

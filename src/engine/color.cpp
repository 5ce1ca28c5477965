#include "engine/color.h"

namespace vantor {

// Placeholder steps until the colour work lands: they pass the image on.
FiImage AdjustImageColors(FiImage image) { return image; }
FiImage MakeGreyscale(FiImage image) { return image; }
FiImage ApplyThreshold(FiImage image) { return image; }
int32_t AutomaticDepth(const std::string&, int32_t) { return 0; }
FiImage ConvertToOutputDepth(FiImage image) { return image; }

}  // namespace vantor

#pragma once
// Colour steps of the pipeline and the output depth step.
#include <cstdint>
#include <string>

#include "engine/image.h"

namespace vantor {

FiImage AdjustImageColors(FiImage image);
FiImage MakeGreyscale(FiImage image);
FiImage ApplyThreshold(FiImage image);
// First allowed depth of the format not below sourceBpp, else the last one;
// 0 when the format has no depth list.
int32_t AutomaticDepth(const std::string& extension, int32_t sourceBpp);
FiImage ConvertToOutputDepth(FiImage image);

}  // namespace vantor

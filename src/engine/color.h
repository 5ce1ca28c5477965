#pragma once
// Colour steps of the pipeline and the output depth step. Each takes the
// current image and returns the image to go on with; a step that makes a
// replacement has released the image it was given. No image in, no image out;
// no image out of a switched-on step means FreeImage could not do the work.
#include <cstdint>
#include <string>

#include "engine/image.h"

namespace vantor {

FiImage AdjustImageColors(FiImage image);
FiImage MakeGreyscale(FiImage image);   // 8-bit result
FiImage ApplyThreshold(FiImage image);  // 1-bit result
// First allowed depth of the format not below sourceBpp, else the last one;
// 0 when the format has no depth list.
int32_t AutomaticDepth(const std::string& extension, int32_t sourceBpp);
// Converts to State().OutputBpp (computed first when AutoOutputBpp is set).
// Empty for a depth no row of the table produces.
FiImage ConvertToOutputDepth(FiImage image);

}  // namespace vantor

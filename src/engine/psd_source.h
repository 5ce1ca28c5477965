#pragma once
// Loading a PSD for the pipeline. The decoder is handed a trimmed view of the
// file: header, colour mode data, only the image resources that change the
// pixels, an empty layer section and the merged image data. Its parsers of
// metadata (EXIF, thumbnails, profiles) and layers crash on damaged input and
// add nothing to a texture, so they never see those bytes. Files that fail
// the header check count as failed loads.
#include <string>

#include "engine/image.h"

namespace vantor {

FiImage LoadPsd(const std::string& path);

}  // namespace vantor

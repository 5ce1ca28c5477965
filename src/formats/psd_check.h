#pragma once
// A look at a PSD file's header and sections before it reaches the decoder.
// FreeImage's PSD reader trusts these fields and crashes, overflows or
// allocates without bound on crafted or truncated files, so anything that is
// not a plausible PSD is refused here, exactly like a file it cannot read.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vantor {

struct PsdHeader {
    int version = 0;  // 1 PSD, 2 PSB
    int channels = 0;
    int64_t width = 0;
    int64_t height = 0;
    int depth = 0;
    int colorMode = 0;
    int compression = -1;
    // Where the parts the decoder needs lie in the file: the header and the
    // colour mode data end at colorModeEnd; keptResources are the image
    // resource blocks that change decoded pixels (resolution, indexed colour
    // count, transparency index); the merged image data starts at imageData.
    uint64_t colorModeEnd = 0;
    std::vector<std::pair<uint64_t, uint64_t>> keptResources;  // offset, length
    uint64_t imageData = 0;
};

// True when the file is a plausible PSD or PSB whose merged image data is
// all there and whose decoded size fits in memoryLimit bytes (0: half of the
// machine's physical memory). On false, *reason says why.
[[nodiscard]] bool CheckPsdFile(const std::string& path, PsdHeader* header = nullptr,
                                std::string* reason = nullptr, uint64_t memoryLimit = 0);

}  // namespace vantor

#pragma once
// A look at a PSD file's header and sections before it reaches the decoder.
// FreeImage's PSD reader trusts these fields and crashes, overflows or
// allocates without bound on crafted or truncated files, so anything that is
// not a plausible PSD is refused here, exactly like a file it cannot read.
#include <cstdint>
#include <string>

namespace vantor {

struct PsdHeader {
    int version = 0;  // 1 PSD, 2 PSB
    int channels = 0;
    int64_t width = 0;
    int64_t height = 0;
    int depth = 0;
    int colorMode = 0;
    int compression = -1;
};

// True when the file is a plausible PSD or PSB whose merged image data is
// all there and whose decoded size fits in memoryLimit bytes (0: half of the
// machine's physical memory). On false, *reason says why.
[[nodiscard]] bool CheckPsdFile(const std::string& path, PsdHeader* header = nullptr,
                                std::string* reason = nullptr, uint64_t memoryLimit = 0);

}  // namespace vantor

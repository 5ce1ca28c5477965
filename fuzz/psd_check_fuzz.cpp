// libFuzzer target: any bytes through the PSD check, and what passes it
// through the decoder, as the pipeline does. Build with
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -DVANTOR_FUZZ=ON
//   build-fuzz/fuzz/psd_check_fuzz ../shared/fixtures/psd -max_len=65536
#include <FreeImage.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "formats/psd_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/vantor-fuzz-" + std::to_string(getpid()) + ".psd";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    // A small limit keeps the decoder's allocations within the fuzzer's budget.
    if (vantor::CheckPsdFile(path, nullptr, nullptr, 64u << 20)) {
        if (FIBITMAP* image = FreeImage_Load(FIF_PSD, path.c_str(), 0)) FreeImage_Unload(image);
    }
    return 0;
}

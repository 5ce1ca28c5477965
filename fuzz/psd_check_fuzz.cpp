// libFuzzer target: any bytes through the loader the pipeline uses (the PSD
// check, then the decoder on the trimmed view). Build with
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -DVANTOR_FUZZ=ON
//   build-fuzz/fuzz/psd_check_fuzz CORPUS_DIR -max_len=65536
#include <unistd.h>

#include <cstdio>
#include <string>

#include "engine/psd_source.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = "/tmp/vantor-fuzz-" + std::to_string(getpid()) + ".psd";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    vantor::FiImage image = vantor::LoadPsd(path);
    return 0;
}

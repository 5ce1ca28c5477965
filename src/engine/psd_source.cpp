#include "engine/psd_source.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "formats/psd_check.h"

namespace vantor {
namespace {

struct FileCloser {
    void operator()(FILE* f) const {
        if (f) std::fclose(f);
    }
};

// A read-only stream of a prefix held in memory followed by the tail of the
// real file from `tailOffset` on; the decoder reads it through FreeImageIO.
struct SplicedStream {
    std::string prefix;
    FILE* file = nullptr;
    uint64_t tailOffset = 0;
    uint64_t tailLength = 0;
    uint64_t position = 0;
    uint64_t filePosition = UINT64_MAX;  // where the FILE stands; seeks only when it differs

    uint64_t Size() const { return prefix.size() + tailLength; }
};

unsigned DLL_CALLCONV ReadProc(void* buffer, unsigned size, unsigned count, fi_handle handle) {
    auto* s = static_cast<SplicedStream*>(handle);
    if (size == 0) return 0;
    uint64_t wanted = static_cast<uint64_t>(size) * count;
    uint64_t available = s->position < s->Size() ? s->Size() - s->position : 0;
    if (wanted > available) wanted = available;
    auto* out = static_cast<unsigned char*>(buffer);
    uint64_t done = 0;
    if (s->position < s->prefix.size()) {
        uint64_t n = std::min<uint64_t>(wanted, s->prefix.size() - s->position);
        std::memcpy(out, s->prefix.data() + s->position, n);
        done = n;
    }
    if (done < wanted) {
        const uint64_t at = s->tailOffset + (s->position + done - s->prefix.size());
        // A seek drops stdio's buffer, so the decoder's many small sequential
        // reads would each become a system call.
        if (at != s->filePosition &&
            std::fseek(s->file, static_cast<long>(at), SEEK_SET) != 0) {
            s->filePosition = UINT64_MAX;
            return 0;
        }
        const size_t n = std::fread(out + done, 1, wanted - done, s->file);
        s->filePosition = at + n;
        done += n;
    }
    s->position += done;
    return static_cast<unsigned>(done / size);
}

unsigned DLL_CALLCONV WriteProc(void*, unsigned, unsigned, fi_handle) { return 0; }

int DLL_CALLCONV SeekProc(fi_handle handle, long offset, int origin) {
    auto* s = static_cast<SplicedStream*>(handle);
    long long base = origin == SEEK_SET ? 0
                     : origin == SEEK_CUR ? static_cast<long long>(s->position)
                                          : static_cast<long long>(s->Size());
    long long target = base + offset;
    if (target < 0) return -1;
    s->position = static_cast<uint64_t>(target);
    return 0;
}

long DLL_CALLCONV TellProc(fi_handle handle) {
    return static_cast<long>(static_cast<SplicedStream*>(handle)->position);
}

bool ReadRange(FILE* file, uint64_t offset, uint64_t length, std::string& out) {
    std::string bytes(length, '\0');
    if (std::fseek(file, static_cast<long>(offset), SEEK_SET) != 0) return false;
    if (std::fread(bytes.data(), 1, length, file) != length) return false;
    out += bytes;
    return true;
}

void AppendBigEndian(std::string& out, uint64_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

FiImage LoadPsd(const std::string& path) {
    PsdHeader header;
    if (!CheckPsdFile(path, &header)) return nullptr;
    std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file || std::fseek(file.get(), 0, SEEK_END) != 0) return nullptr;
    const long fileSize = std::ftell(file.get());
    if (fileSize < 0 || static_cast<uint64_t>(fileSize) < header.imageData) return nullptr;

    SplicedStream stream;
    stream.file = file.get();
    if (!ReadRange(file.get(), 0, header.colorModeEnd, stream.prefix)) return nullptr;
    std::string resources;
    for (const auto& [offset, length] : header.keptResources)
        if (!ReadRange(file.get(), offset, length, resources)) return nullptr;
    AppendBigEndian(stream.prefix, resources.size(), 4);
    stream.prefix += resources;
    AppendBigEndian(stream.prefix, 0, header.version == 1 ? 4 : 8);  // no layers
    stream.tailOffset = header.imageData;
    stream.tailLength = static_cast<uint64_t>(fileSize) - header.imageData;

    FreeImageIO io{ReadProc, WriteProc, SeekProc, TellProc};
    return FiImage(FreeImage_LoadFromHandle(FIF_PSD, &io, &stream, 0));
}

}  // namespace vantor

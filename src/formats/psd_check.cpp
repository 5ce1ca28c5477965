#include "formats/psd_check.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "platform/files.h"

namespace vantor {
namespace {

struct FileCloser {
    void operator()(FILE* f) const {
        if (f) std::fclose(f);
    }
};

// Big-endian reader over a file that knows its size and never reads past it.
class Reader {
public:
    Reader(FILE* file, uint64_t size) : mFile(file), mSize(size) {}
    uint64_t Position() const { return mPos; }
    uint64_t Remaining() const { return mSize - mPos; }
    bool Read(void* out, uint64_t n) {
        if (n > Remaining() || std::fread(out, 1, n, mFile) != n) return false;
        mPos += n;
        return true;
    }
    bool Skip(uint64_t n) {
        if (n > Remaining()) return false;
        mPos += n;
        return std::fseek(mFile, static_cast<long>(mPos), SEEK_SET) == 0;
    }
    bool Uint(int bytes, uint64_t& value) {
        unsigned char buf[8];
        if (!Read(buf, static_cast<uint64_t>(bytes))) return false;
        value = 0;
        for (int i = 0; i < bytes; ++i) value = (value << 8) | buf[i];
        return true;
    }

private:
    FILE* mFile;
    uint64_t mSize;
    uint64_t mPos = 0;
};

bool Fail(std::string* reason, const char* text) {
    if (reason) *reason = text;
    return false;
}

bool KnownColorMode(uint64_t mode) {
    switch (mode) {
        case 0: case 1: case 2: case 3: case 4: case 7: case 8: case 9:
            return true;
        default:
            return false;
    }
}

// True when a PackBits row stays inside its own bytes and decodes to no more
// than rowBytes.
bool PackBitsRowFits(const std::vector<unsigned char>& row, uint64_t rowBytes) {
    uint64_t decoded = 0;
    size_t i = 0;
    while (i < row.size()) {
        const int n = static_cast<signed char>(row[i++]);
        if (n >= 0) {
            if (row.size() - i < static_cast<size_t>(n) + 1) return false;
            i += static_cast<size_t>(n) + 1;
            decoded += static_cast<uint64_t>(n) + 1;
        } else if (n != -128) {
            if (i >= row.size()) return false;
            ++i;
            decoded += static_cast<uint64_t>(1 - n);
        }
        if (decoded > rowBytes) return false;
    }
    return true;
}

// The resources that change decoded pixels, with the only size each may have.
bool KeepResource(uint64_t id, uint64_t size) {
    return (id == 0x03ED && size == 16) || ((id == 0x0416 || id == 0x0417) && size == 2);
}

// Image resources are blocks of signature, id, padded Pascal name and padded
// size; every block must end inside the section. The blocks worth keeping
// are noted in *kept.
bool ResourcesFit(Reader& in, uint64_t length, std::vector<std::pair<uint64_t, uint64_t>>* kept) {
    const uint64_t end = in.Position() + length;
    while (in.Position() < end) {
        const uint64_t start = in.Position();
        char signature[4];
        uint64_t id, nameLength, size;
        if (end - in.Position() < 6 || !in.Read(signature, 4) || !in.Uint(2, id)) return false;
        if (in.Position() >= end || !in.Uint(1, nameLength)) return false;
        const uint64_t namePadded = (nameLength + 2) / 2 * 2 - 1;  // with the length byte: even
        if (end - in.Position() < namePadded || !in.Skip(namePadded)) return false;
        if (end - in.Position() < 4 || !in.Uint(4, size)) return false;
        const uint64_t sizePadded = size + (size & 1);
        if (end - in.Position() < sizePadded || !in.Skip(sizePadded)) return false;
        if (KeepResource(id, size)) kept->emplace_back(start, in.Position() - start);
    }
    return in.Position() == end;
}

}  // namespace

bool CheckPsdFile(const std::string& path, PsdHeader* header, std::string* reason,
                  uint64_t memoryLimit) {
    PathInfo info = QueryPath(path);
    if (info.kind != PathInfo::File) return Fail(reason, "not a file");
    std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return Fail(reason, "cannot be opened");
    Reader in(file.get(), static_cast<uint64_t>(info.size));

    char signature[4];
    if (!in.Read(signature, 4) || std::string(signature, 4) != "8BPS")
        return Fail(reason, "no PSD signature");
    uint64_t version, channels, height, width, depth, mode;
    if (!in.Uint(2, version) || !in.Skip(6) || !in.Uint(2, channels) || !in.Uint(4, height) ||
        !in.Uint(4, width) || !in.Uint(2, depth) || !in.Uint(2, mode))
        return Fail(reason, "short header");
    if (version != 1 && version != 2) return Fail(reason, "unknown version");
    const uint64_t maxSide = version == 1 ? 30000 : 300000;
    if (width < 1 || height < 1 || width > maxSide || height > maxSide)
        return Fail(reason, "implausible size");
    if (channels < 1 || channels > 56) return Fail(reason, "implausible channel count");
    if (depth != 1 && depth != 8 && depth != 16 && depth != 32)
        return Fail(reason, "implausible depth");
    if (!KnownColorMode(mode)) return Fail(reason, "unknown colour mode");

    // Colour mode data, image resources, layer and mask information.
    uint64_t length;
    if (!in.Uint(4, length) || !in.Skip(length)) return Fail(reason, "colour mode data cut off");
    if (mode == 2 && length != 768) return Fail(reason, "indexed image without its palette");
    const uint64_t colorModeEnd = in.Position();
    std::vector<std::pair<uint64_t, uint64_t>> kept;
    if (!in.Uint(4, length) || length > in.Remaining()) return Fail(reason, "image resources cut off");
    if (!ResourcesFit(in, length, &kept)) return Fail(reason, "damaged image resources");
    if (!in.Uint(version == 1 ? 4 : 8, length) || !in.Skip(length))
        return Fail(reason, "layer section cut off");

    const uint64_t imageData = in.Position();
    uint64_t compression;
    if (!in.Uint(2, compression)) return Fail(reason, "no merged image data");
    const uint64_t rowBytes = depth == 1 ? (width + 7) / 8 : width * (depth / 8);
    const uint64_t rows = height * channels;
    if (compression == 0) {
        if (in.Remaining() < rowBytes * rows) return Fail(reason, "merged image data cut off");
    } else if (compression == 1) {
        const int countBytes = version == 1 ? 2 : 4;
        if (in.Remaining() < rows * static_cast<uint64_t>(countBytes))
            return Fail(reason, "row byte counts cut off");
        uint64_t total = 0;
        std::vector<unsigned char> counts(rows * static_cast<uint64_t>(countBytes));
        if (!in.Read(counts.data(), counts.size())) return Fail(reason, "row byte counts cut off");
        for (uint64_t r = 0; r < rows; ++r) {
            uint64_t c = 0;
            for (int b = 0; b < countBytes; ++b) c = (c << 8) | counts[r * countBytes + b];
            total += c;
        }
        if (in.Remaining() < total) return Fail(reason, "merged image data cut off");
        // The decoder trusts the packets; a run past the end of its row
        // overwrites memory, so every row is walked here first.
        std::vector<unsigned char> row;
        for (uint64_t r = 0; r < rows; ++r) {
            uint64_t c = 0;
            for (int b = 0; b < countBytes; ++b) c = (c << 8) | counts[r * countBytes + b];
            row.resize(c);
            if (!in.Read(row.data(), c)) return Fail(reason, "merged image data cut off");
            if (!PackBitsRowFits(row, rowBytes)) return Fail(reason, "damaged compressed row");
        }
    } else if (compression == 2 || compression == 3) {
        if (in.Remaining() == 0) return Fail(reason, "merged image data cut off");
    } else {
        return Fail(reason, "unknown compression");
    }

    const uint64_t limit = memoryLimit ? memoryLimit : PhysicalMemoryBytes() / 2;
    const uint64_t bytesPerChannel = depth == 1 ? 1 : depth / 8;
    if (limit && width * height * channels * bytesPerChannel >= limit)
        return Fail(reason, "too large for this machine");

    if (header) {
        header->version = static_cast<int>(version);
        header->channels = static_cast<int>(channels);
        header->width = static_cast<int64_t>(width);
        header->height = static_cast<int64_t>(height);
        header->depth = static_cast<int>(depth);
        header->colorMode = static_cast<int>(mode);
        header->compression = static_cast<int>(compression);
        header->colorModeEnd = colorModeEnd;
        header->keptResources = std::move(kept);
        header->imageData = imageData;
    }
    return true;
}

}  // namespace vantor

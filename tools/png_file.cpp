// PNG output: one IHDR, one deflated IDAT, one IEND, no row filters.
#include "png_file.h"

#include <zlib.h>

#include <cstdint>
#include <cstdio>

namespace {

void PutBig32(std::vector<unsigned char>& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<unsigned char>(value >> shift));
    }
}

void PutChunk(std::vector<unsigned char>& out, const char* type, const std::vector<unsigned char>& data)
{
    PutBig32(out, static_cast<uint32_t>(data.size()));
    const size_t typeStart = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    // The checksum covers the type and the data, not the length.
    const uLong crc = crc32(0L, out.data() + typeStart, static_cast<uInt>(out.size() - typeStart));
    PutBig32(out, static_cast<uint32_t>(crc));
}

}  // namespace

bool WritePngFile(const std::string& path, int width, int height, int channels,
                  const std::vector<unsigned char>& pixels, const char* tool)
{
    const size_t rowBytes = static_cast<size_t>(width) * static_cast<size_t>(channels);
    if ((channels != 3 && channels != 4) || pixels.size() != rowBytes * static_cast<size_t>(height)) {
        std::fprintf(stderr, "%s: bad picture size for %s\n", tool, path.c_str());
        return false;
    }
    std::vector<unsigned char> raw;
    raw.reserve(static_cast<size_t>(height) * (1 + rowBytes));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // no row filter
        const auto row = pixels.begin() + static_cast<std::ptrdiff_t>(rowBytes * static_cast<size_t>(y));
        raw.insert(raw.end(), row, row + static_cast<std::ptrdiff_t>(rowBytes));
    }

    std::vector<unsigned char> packed(compressBound(static_cast<uLong>(raw.size())));
    uLongf packedSize = static_cast<uLongf>(packed.size());
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK) {
        std::fprintf(stderr, "%s: compression failed for %s\n", tool, path.c_str());
        return false;
    }
    packed.resize(packedSize);

    std::vector<unsigned char> header;
    PutBig32(header, static_cast<uint32_t>(width));
    PutBig32(header, static_cast<uint32_t>(height));
    header.push_back(8);                      // bits per channel
    header.push_back(channels == 4 ? 6 : 2);  // RGBA or RGB
    header.push_back(0);                      // deflate
    header.push_back(0);                      // adaptive filtering
    header.push_back(0);                      // not interlaced

    std::vector<unsigned char> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    PutChunk(file, "IHDR", header);
    PutChunk(file, "IDAT", packed);
    PutChunk(file, "IEND", {});

    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        std::perror((std::string(tool) + ": " + path).c_str());
        return false;
    }
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    const bool closed = std::fclose(out) == 0;
    if (!written || !closed) {
        std::fprintf(stderr, "%s: cannot write %s\n", tool, path.c_str());
        return false;
    }
    return true;
}

// Bitmap loading and blitting on SDL surfaces.
#include "assets/cimage.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

constexpr int64_t kMaxSide = 16384;  // pixels, for a picture whose size nobody expects
// Run-length data does not tell how much picture it makes, so its area is bounded instead:
// 16 megapixels, 64 MiB once converted to the display's 32 bits.
constexpr int64_t kMaxRunLengthPixels = int64_t{4096} * 4096;
// The headers, the largest colour table and room to spare: pixel data further into the file
// would have the game read and hold bytes it never draws.
constexpr int64_t kMaxPixelOffset = int64_t{64} * 1024;
constexpr size_t kFileHeaderBytes = 14;
constexpr size_t kHeadersBytes = kFileHeaderBytes + 40;  // with the smallest full info header
constexpr size_t kCoreHeaderBytes = 12;                  // the old OS/2 info header

// Compression codes of the info header.
constexpr uint32_t kUncompressed = 0;
constexpr uint32_t kRunLength8 = 1;
constexpr uint32_t kRunLength4 = 2;
constexpr uint32_t kBitFields = 3;

const char* lastRefusal = "";

uint32_t Read16(const std::vector<unsigned char>& bytes, size_t at)
{
    return static_cast<uint32_t>(bytes[at]) | static_cast<uint32_t>(bytes[at + 1]) << 8;
}

uint32_t Read32(const std::vector<unsigned char>& bytes, size_t at)
{
    return Read16(bytes, at) | Read16(bytes, at + 2) << 16;
}

// Reads up to count bytes at offset into bytes; false on a read error.
bool ReadAt(int fd, int64_t offset, size_t count, std::vector<unsigned char>& bytes)
{
    bytes.resize(count);
    size_t done = 0;
    while (done < count) {
        const ssize_t got = pread(fd, bytes.data() + done, count - done,
                                  static_cast<off_t>(offset + static_cast<int64_t>(done)));
        if (got < 0) {
            return false;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<size_t>(got);
    }
    bytes.resize(done);
    return true;
}

// The most run-length data a picture of width x height can need: every pixel a run of its
// own (two bytes), a jump or an end of line after every row, and the end of the picture.
// Anything longer only repeats itself, and decoding it could take the game for minutes.
int64_t RunLengthBytesNeeded(int64_t width, int64_t height)
{
    return height * (2 * width + 4) + 2;
}

// What the file and info headers say of the picture.
struct BmpHeader {
    int64_t pixelOffset = 0;
    int64_t width = 0;
    int64_t height = 0;  // rows, whichever way they run
    uint32_t depth = 0;
    uint32_t compression = kUncompressed;
};

// The headers at the start of head, the old OS/2 kind or a full one; false when they are no BMP's.
bool ReadHeader(const std::vector<unsigned char>& head, BmpHeader& header)
{
    if (head.size() < kFileHeaderBytes + kCoreHeaderBytes || head[0] != 'B' || head[1] != 'M') {
        return false;
    }
    header.pixelOffset = Read32(head, 10);
    const uint32_t infoSize = Read32(head, kFileHeaderBytes);
    if (infoSize == kCoreHeaderBytes) {
        header.width = Read16(head, 18);
        header.height = Read16(head, 20);
        header.depth = Read16(head, 24);
    } else if (infoSize >= 40 && head.size() >= kHeadersBytes) {
        header.width = static_cast<int32_t>(Read32(head, 18));
        header.height = std::llabs(static_cast<int32_t>(Read32(head, 22)));  // negative: rows run top-down
        header.depth = Read16(head, 28);
        header.compression = Read32(head, 30);
    } else {
        return false;
    }
    return true;
}

// A size within the bounds, a bit depth BMP has, pixel data that starts inside the file.
bool DescribesAPicture(const BmpHeader& header, int64_t fileSize)
{
    const uint32_t depth = header.depth;
    return header.width > 0 && header.height != 0 && header.width <= kMaxSide && header.height <= kMaxSide &&
           (depth == 1 || depth == 4 || depth == 8 || depth == 16 || depth == 24 || depth == 32) &&
           header.pixelOffset < fileSize && header.pixelOffset <= kMaxPixelOffset;
}

// How many bytes of a BMP of fileSize bytes whose first bytes are head SDL may decode, or 0
// with the reason in lastRefusal when the header describes no picture SDL should be handed: a
// size other than the one expected (or past the bound when none is), a bit depth BMP does not
// have, pixel data that cannot fit in the file, run-length data longer than the picture can
// need. Nothing is allocated for the picture before this has said yes.
int64_t DecodableBytes(const std::vector<unsigned char>& head, int64_t fileSize, const CImage::Size& expected)
{
    lastRefusal = "damaged (not a BMP picture the game can read)";
    BmpHeader header;
    if (!ReadHeader(head, header) || !DescribesAPicture(header, fileSize)) {
        return 0;
    }
    const int64_t width = header.width;
    const int64_t height = header.height;
    if (expected.width > 0 && (width != expected.width || height != expected.height)) {
        lastRefusal = "the wrong size";
        return 0;
    }
    if (header.compression == kRunLength8 || header.compression == kRunLength4) {
        const bool fits = width * height <= kMaxRunLengthPixels &&
                          fileSize - header.pixelOffset <= RunLengthBytesNeeded(width, height);
        return fits ? fileSize : 0;
    }
    if (header.compression != kUncompressed && header.compression != kBitFields) {
        return 0;
    }
    const int64_t rowBytes = (width * header.depth + 31) / 32 * 4;  // rows are padded to 4 bytes
    const int64_t end = header.pixelOffset + rowBytes * height;
    return end <= fileSize ? end : 0;
}

// The bytes of a BMP file that passes DecodableBytes; empty for anything else, and for
// anything that is not a regular file (a directory, a pipe that would block the game), with
// the reason in lastRefusal.
std::vector<unsigned char> ReadBitmapFile(const char* path, const CImage::Size& expected)
{
    std::vector<unsigned char> bytes;
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        lastRefusal = errno == ENOENT || errno == ENOTDIR ? "missing" : "unreadable";
        return bytes;
    }
    struct stat status {};
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        lastRefusal = "not a regular file";
    } else if (!ReadAt(fd, 0, kHeadersBytes, bytes)) {
        lastRefusal = "unreadable";
        bytes.clear();
    } else {
        const int64_t wanted = DecodableBytes(bytes, status.st_size, expected);
        if (wanted <= 0 || wanted > INT32_MAX || !ReadAt(fd, 0, static_cast<size_t>(wanted), bytes) ||
            static_cast<int64_t>(bytes.size()) != wanted) {
            bytes.clear();
        }
    }
    close(fd);
    return bytes;
}

}  // namespace

OwnedSurface CImage::LoadOwned(const Asset::Bitmap& bitmap)
{
    return OwnedSurface(Load(bitmap));
}

SDL_Surface* CImage::LoadUnconverted(const char* path, const Size& expected)
{
    if (path == nullptr) {
        lastRefusal = "missing";
        return nullptr;
    }
    // SDL decodes the checked bytes from memory, never the file itself.
    const std::vector<unsigned char> bytes = ReadBitmapFile(path, expected);
    if (bytes.empty()) {
        return nullptr;
    }
    SDL_RWops* stream = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    SDL_Surface* loaded = stream != nullptr ? SDL_LoadBMP_RW(stream, 1) : nullptr;  // closes the stream
    if (loaded == nullptr) {
        lastRefusal = "damaged (not a BMP picture the game can read)";
    }
    return loaded;
}

SDL_Surface* CImage::LoadUnconverted(const Asset::Bitmap& bitmap)
{
    return LoadUnconverted(bitmap.path, Size{bitmap.width, bitmap.height});
}

SDL_Surface* CImage::Load(const char* path, const Size& expected)
{
    SDL_Surface* loaded = LoadUnconverted(path, expected);
    if (loaded == nullptr) {
        return nullptr;
    }
    SDL_Surface* converted = SDL_DisplayFormat(loaded);
    SDL_FreeSurface(loaded);
    if (converted == nullptr) {
        lastRefusal = "not convertible to the display's pixels";
    }
    return converted;
}

SDL_Surface* CImage::Load(const Asset::Bitmap& bitmap)
{
    return Load(bitmap.path, Size{bitmap.width, bitmap.height});
}

bool CImage::Check(const Asset::Bitmap& bitmap)
{
    return !ReadBitmapFile(bitmap.path, Size{bitmap.width, bitmap.height}).empty();
}

const char* CImage::LastRefusal()
{
    return lastRefusal;
}

bool CImage::Draw(SDL_Surface* dest, SDL_Surface* src, int32_t x, int32_t y)
{
    if (dest == nullptr || src == nullptr) {
        return false;
    }
    // Only the position is read; SDL writes the clipped size back into this local copy.
    SDL_Rect destRect = Rect(x, y, 0, 0);
    SDL_BlitSurface(src, nullptr, dest, &destRect);
    return true;
}

bool CImage::DrawPart(SDL_Surface* dest, SDL_Surface* src, int32_t x, int32_t y, int32_t srcX, int32_t srcY,
                      int32_t w, int32_t h)
{
    if (dest == nullptr || src == nullptr) {
        return false;
    }
    SDL_Rect destRect = Rect(x, y, 0, 0);
    SDL_Rect srcRect = Rect(srcX, srcY, w, h);
    SDL_BlitSurface(src, &srcRect, dest, &destRect);
    return true;
}

bool CImage::SetTransparent(SDL_Surface* surface, Uint8 r, Uint8 g, Uint8 b)
{
    if (surface == nullptr) {
        return false;
    }
    SDL_SetColorKey(surface, SDL_SRCCOLORKEY | SDL_RLEACCEL, SDL_MapRGB(surface->format, r, g, b));
    return true;
}

#include "tests/win32/support/Screenshot.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

// PNG with stored (uncompressed) deflate blocks: no library needed.
uint32_t Crc32(const std::vector<uint8_t>& data, size_t from) {
    uint32_t crc = 0xffffffffu;
    for (size_t i = from; i < data.size(); ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutBig32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void PutChunk(std::vector<uint8_t>& file, const char* type, const std::vector<uint8_t>& data) {
    PutBig32(file, static_cast<uint32_t>(data.size()));
    const size_t start = file.size();
    file.insert(file.end(), type, type + 4);
    file.insert(file.end(), data.begin(), data.end());
    PutBig32(file, Crc32(file, start));
}

std::vector<uint8_t> EncodePng(const Pixels& pixels) {
    std::vector<uint8_t> raw;
    for (int y = 0; y < pixels.height; ++y) {
        raw.push_back(0);  // no filter
        for (int x = 0; x < pixels.width; ++x) {
            const Colour c = pixels.At(x, y);
            raw.push_back(static_cast<uint8_t>(c >> 16));
            raw.push_back(static_cast<uint8_t>(c >> 8));
            raw.push_back(static_cast<uint8_t>(c));
        }
    }
    std::vector<uint8_t> zlib = {0x78, 0x01};
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    for (size_t at = 0; at < raw.size(); at += 65535) {
        const size_t length = std::min<size_t>(65535, raw.size() - at);
        zlib.push_back(at + length >= raw.size() ? 1 : 0);
        zlib.push_back(static_cast<uint8_t>(length));
        zlib.push_back(static_cast<uint8_t>(length >> 8));
        zlib.push_back(static_cast<uint8_t>(~length));
        zlib.push_back(static_cast<uint8_t>(~length >> 8));
        zlib.insert(zlib.end(), raw.begin() + static_cast<long>(at), raw.begin() + static_cast<long>(at + length));
    }
    PutBig32(zlib, (b << 16) | a);

    std::vector<uint8_t> header;
    PutBig32(header, static_cast<uint32_t>(pixels.width));
    PutBig32(header, static_cast<uint32_t>(pixels.height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB
    std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    PutChunk(file, "IHDR", header);
    PutChunk(file, "IDAT", zlib);
    PutChunk(file, "IEND", {});
    return file;
}

}  // namespace

bool SaveScreenshot(const Pixels& pixels, const std::string& name) {
    ::CreateDirectoryA(WAVE_SCREENSHOT_DIR, nullptr);
    const std::string path = std::string(WAVE_SCREENSHOT_DIR) + "/" + name + ".png";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const std::vector<uint8_t> png = EncodePng(pixels);
    const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
    return std::fclose(file) == 0 && written;
}

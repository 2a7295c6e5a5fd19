#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <unistd.h>
#include <utility>
#include <vector>

namespace zel::test {

// Bytes of an uncompressed TGA file stored top row first (descriptor 0x20). True-colour
// `pixels` are given R, G, B (, A) and stored B, G, R (, A) as the format wants; for a
// colour-mapped file they are the index bytes and `palette` the 256 R, G, B entries.
inline std::vector<unsigned char> tgaBytes(int width, int height, int depth,
                                           const std::vector<unsigned char>& pixels,
                                           const std::vector<unsigned char>& palette = {}) {
    const bool mapped = !palette.empty();
    std::vector<unsigned char> bytes(18, 0);
    bytes[1] = mapped ? 1 : 0;
    bytes[2] = mapped ? 1 : 2;
    if (mapped) {
        bytes[5] = 0; // 256 entries
        bytes[6] = 1;
        bytes[7] = 24;
    }
    bytes[12] = static_cast<unsigned char>(width & 0xFF);
    bytes[13] = static_cast<unsigned char>(width >> 8);
    bytes[14] = static_cast<unsigned char>(height & 0xFF);
    bytes[15] = static_cast<unsigned char>(height >> 8);
    bytes[16] = static_cast<unsigned char>(depth);
    bytes[17] = 0x20;
    for (std::size_t k = 0; k + 2 < palette.size(); k += 3) {
        bytes.insert(bytes.end(), {palette[k + 2], palette[k + 1], palette[k]});
    }
    const std::size_t step = static_cast<std::size_t>(depth / 8);
    for (std::size_t k = 0; k + step <= pixels.size(); k += step) {
        std::vector<unsigned char> pixel(pixels.begin() + static_cast<std::ptrdiff_t>(k),
                                         pixels.begin() + static_cast<std::ptrdiff_t>(k + step));
        if (!mapped && step >= 3) {
            std::swap(pixel[0], pixel[2]);
        }
        bytes.insert(bytes.end(), pixel.begin(), pixel.end());
    }
    return bytes;
}

// A file in the temporary directory holding given bytes, removed again on destruction.
// The process id in its name keeps parallel test processes apart.
struct TempFile {
    TempFile(const std::string& name, const std::vector<unsigned char>& bytes)
        : path((std::filesystem::temp_directory_path() /
                ("zel-texture-" + std::to_string(::getpid()) + "-" + name))
                   .string()) {
        std::ofstream file(path, std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    ~TempFile() {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    std::string path;
};

} // namespace zel::test

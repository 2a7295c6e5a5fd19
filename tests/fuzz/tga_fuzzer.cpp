// Feeds arbitrary bytes to the TGA loader as a file. A loaded picture is read through
// end to end so that the sanitizers see every byte the loader claims to hold.
#include "image/tga_image.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

const std::string& scratchFileName() {
    static const std::string name = [] {
        const char* directory = std::getenv("TMPDIR");
        return std::string(directory != nullptr ? directory : "/tmp") + "/tga_fuzzer_" +
               std::to_string(getpid()) + ".tga";
    }();
    // Registered after `name` exists, so it runs before `name` is destroyed.
    static const int removalAtExit = std::atexit([] { std::remove(name.c_str()); });
    (void)removalAtExit;
    return name;
}

bool writeScratchFile(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(scratchFileName().c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!writeScratchFile(data, size))
        std::abort();
    zel::TgaImage image;
    if (image.loadFile(scratchFileName().c_str()) != zel::TgaStatus::Success)
        return 0;

    const std::size_t pixelBytes =
        static_cast<std::size_t>(image.width()) * image.height() * image.bytesPerPixel();
    unsigned checksum = 0;
    for (std::size_t i = 0; i < pixelBytes; ++i)
        checksum += image.pixels()[i];
    if (image.palette() != nullptr)
        for (std::size_t i = 0; i < 768; ++i)
            checksum += image.palette()[i];
    // Keeps the reads from being optimised away.
    volatile unsigned sink = checksum;
    (void)sink;
    return 0;
}

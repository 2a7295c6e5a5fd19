// Allocation failures come back as MemoryAllocationFailed, and a file that claims a huge
// picture is refused before anything is allocated for it. Each load runs in a child
// process whose allocations are capped at 64 MiB.
#include "image/tga_image.h"
#include "tests/support/tga_file_builder.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define ZEL_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZEL_ADDRESS_SANITIZER 1
#endif
#endif

#ifdef ZEL_ADDRESS_SANITIZER
// The sanitizer's allocator reserves address space freely, so the cap is its own option.
extern "C" const char* __asan_default_options() {
    return "allocator_may_return_null=1:max_allocation_size_mb=64";
}
#endif

namespace zel::test {

using enum TgaStatus;
namespace {

constexpr std::uint64_t allocationCap = 64u << 20;

void capAllocations() {
#ifndef ZEL_ADDRESS_SANITIZER
    std::ifstream statm("/proc/self/statm");
    std::uint64_t pages = 0;
    statm >> pages;
    const auto inUse = pages * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
    const rlimit limit{inUse + allocationCap, inUse + allocationCap};
    if (setrlimit(RLIMIT_AS, &limit) != 0)
        std::_Exit(100);
#endif
}

[[noreturn]] void loadWithCappedMemory(const std::filesystem::path& path) {
    capAllocations();
    TgaImage image;
    std::_Exit(static_cast<int>(image.loadFile(path.c_str())));
}

// A file of `length` bytes that starts with `head` and is zero after it, without
// writing the zeros out.
void writeSparseFile(const std::filesystem::path& path, const Bytes& head, std::uint64_t length) {
    writeFile(path, head);
    std::filesystem::resize_file(path, length);
}

TEST(TgaImageAllocationDeathTest, FileLargerThanMemoryIsMemoryAllocationFailed) {
    const ScratchDirectory scratch;
    const auto path = (scratch.path() / "huge.tga");
    writeSparseFile(path, headerBytes(trueColourHeader(2, 2)), 4 * allocationCap);
    EXPECT_EXIT(loadWithCappedMemory(path),
                testing::ExitedWithCode(static_cast<int>(MemoryAllocationFailed)), "");
}

TEST(TgaImageAllocationDeathTest, PixelArrayLargerThanMemoryIsMemoryAllocationFailed) {
    // 16384 x 16384 indices, 256 MiB; 8 MiB of zero bytes are raw packets of one pixel,
    // so the packets could in principle hold the picture.
    const ScratchDirectory scratch;
    const auto path = (scratch.path() / "wide.tga");
    writeSparseFile(path, tgaFile(colourMappedHeader(16384, 16384, 0, true), testColourMap(), {}),
                    8u << 20);
    EXPECT_EXIT(loadWithCappedMemory(path),
                testing::ExitedWithCode(static_cast<int>(MemoryAllocationFailed)), "");
}

TEST(TgaImageAllocationDeathTest, HugeClaimOfASmallFileIsRefusedBeforeAllocating) {
    const ScratchDirectory scratch;
    const auto path = (scratch.path() / "claim.tga");
    writeFile(path, tgaFile(trueColourHeader(32767, 32767, 32, 0, true), {}, Bytes(42, 0xff)));
    EXPECT_EXIT(loadWithCappedMemory(path),
                testing::ExitedWithCode(static_cast<int>(BadImageFormat)), "");
}

TEST(TgaImageAllocationDeathTest, PictureWithinTheCapLoads) {
    const ScratchDirectory scratch;
    const auto path = (scratch.path() / "fits.tga");
    Bytes packets;
    for (int i = 0; i < 1024 * 1024 / 128; ++i)
        packets.insert(packets.end(), {0xff, 1, 2, 3});
    writeFile(path, tgaFile(trueColourHeader(1024, 1024, 24, 0, true), {}, packets));
    EXPECT_EXIT(loadWithCappedMemory(path), testing::ExitedWithCode(static_cast<int>(Success)), "");
}

} // namespace
} // namespace zel::test

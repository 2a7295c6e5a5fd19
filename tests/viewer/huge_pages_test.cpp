#include "viewer/huge_pages.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/stat.h>

namespace zel {
namespace {

// The flags the kernel lists for the mapping that holds `address` in /proc/self/smaps.
std::string mappingFlags(const void* address) {
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    std::ifstream smaps("/proc/self/smaps");
    bool inside = false;
    for (std::string line; std::getline(smaps, line);) {
        std::uintptr_t low = 0;
        std::uintptr_t high = 0;
        if (std::sscanf(line.c_str(), "%lx-%lx ", &low, &high) == 2 && line.find(' ') != 0 &&
            line.find(':') > line.find('-')) {
            inside = low <= at && at < high;
        } else if (inside && line.rfind("VmFlags:", 0) == 0) {
            return line;
        }
    }
    return {};
}

// The kernel marks advised memory "hg" whether or not it has huge pages free at the moment,
// so the advice itself is what this checks, for a vector as the terrain's are made.
TEST(HugePagesTest, AVectorsMemoryIsAdvisedAndHoldsItsValues) {
    struct stat info {};
    if (stat("/sys/kernel/mm/transparent_hugepage", &info) != 0) {
        GTEST_SKIP() << "this kernel has no transparent huge pages";
    }
    const std::size_t bytes = std::size_t{16} << 20;
    const std::vector<char> vector = hugePageVector<char>(bytes, 'z');
    ASSERT_EQ(vector.size(), bytes);
    EXPECT_EQ(vector.front(), 'z');
    EXPECT_EQ(vector.back(), 'z');
    EXPECT_NE(mappingFlags(vector.data() + bytes / 2).find(" hg"), std::string::npos)
        << mappingFlags(vector.data() + bytes / 2);
}

} // namespace
} // namespace zel

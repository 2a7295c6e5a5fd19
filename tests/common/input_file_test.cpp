#include "common/input_file.h"
#include "tests/support/scratch_directory.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace zel::test {
namespace {

// Every program learns here that a file is missing: a name that leads nowhere, and a
// directory, which opens like a file, are refused with the system's reason; a file is handed
// over whole, its first byte not lost to the probe for a directory.
TEST(InputFile, RefusesWhatCannotBeReadAndHandsOverTheRestWhole) {
    ScratchDirectory scratch;
    const InputFile missing = openInputFile(scratch.file("missing.txt"));
    EXPECT_EQ(missing.stream, nullptr);
    EXPECT_EQ(missing.error, ENOENT);

    const InputFile directory = openInputFile(scratch.path().string());
    EXPECT_EQ(directory.stream, nullptr);
    EXPECT_EQ(directory.error, EISDIR);

    const InputFile file = openInputFile(scratch.write("points.txt", "3\n1 2 3\n"));
    ASSERT_NE(file.stream, nullptr);
    EXPECT_EQ(file.error, 0);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(*file.stream), {}), "3\n1 2 3\n");
}

} // namespace
} // namespace zel::test

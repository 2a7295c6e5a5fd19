#include "extract/output_file.h"
#include "tests/support/scratch_directory.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zel {
namespace {

namespace fs = std::filesystem;
using test::readFile;

TEST(OutputFileTest, AppearsOnlyOnCommit) {
    test::ScratchDirectory scratch;
    const std::string name = scratch.file("out.txt");
    OutputFile file(name);
    EXPECT_FALSE(file.writesInPlace());
    file.stream() << "line" << std::endl;
    EXPECT_FALSE(fs::exists(name));
    file.commit();
    EXPECT_EQ(readFile(name), "line\n");
    EXPECT_EQ(scratch.entries(), std::vector<std::string>{"out.txt"});
}

TEST(OutputFileTest, UncommittedFileLeavesNothingAndKeepsTheOldFile) {
    test::ScratchDirectory scratch;
    const std::string kept = scratch.write("kept.txt", "old\n");
    {
        OutputFile replacement(kept);
        OutputFile fresh(scratch.file("fresh.txt"));
        replacement.stream() << std::string(200000, 'x') << std::endl;
        fresh.stream() << "partial" << std::endl;
    }
    EXPECT_EQ(readFile(kept), "old\n");
    EXPECT_EQ(scratch.entries(), std::vector<std::string>{"kept.txt"});
}

TEST(OutputFileTest, DevicesAreWrittenInPlace) {
    OutputFile device("/dev/null");
    EXPECT_TRUE(device.writesInPlace());
    device.stream() << "gone" << std::endl;
    device.commit();
}

TEST(OutputFileTest, NamesThatCannotBeCreatedAreRefused) {
    test::ScratchDirectory scratch;
    for (const std::string& name :
         {std::string(), scratch.file("missing/out.txt"), scratch.path().string()}) {
        try {
            OutputFile file(name);
            ADD_FAILURE() << "created " << name;
        } catch (const OutputFileException& failure) {
            EXPECT_EQ(failure.what(), "Cannot create file: " + name);
        }
    }
}

} // namespace
} // namespace zel

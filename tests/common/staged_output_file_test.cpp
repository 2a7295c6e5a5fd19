#include "common/staged_output_file.h"
#include "tests/support/scratch_directory.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zel {
namespace {

namespace fs = std::filesystem;
using test::readFile;

constexpr const char* prefix = ".staged-";

TEST(StagedOutputFileTest, AppearsOnlyOnCommit) {
    test::ScratchDirectory scratch;
    const std::string name = scratch.file("out.txt");
    StagedOutputFile file(name, prefix);
    EXPECT_FALSE(file.writesInPlace());
    file.stream() << "line" << std::endl;
    EXPECT_FALSE(fs::exists(name));
    file.commit();
    EXPECT_EQ(readFile(name), "line\n");
    EXPECT_EQ(scratch.entries(), std::vector<std::string>{"out.txt"});
}

TEST(StagedOutputFileTest, UncommittedFileLeavesNothingAndKeepsTheOldFile) {
    test::ScratchDirectory scratch;
    const std::string kept = scratch.write("kept.txt", "old\n");
    {
        StagedOutputFile replacement(kept, prefix);
        StagedOutputFile fresh(scratch.file("fresh.txt"), prefix);
        replacement.stream() << std::string(200000, 'x') << std::endl;
        fresh.stream() << "partial" << std::endl;
    }
    EXPECT_EQ(readFile(kept), "old\n");
    EXPECT_EQ(scratch.entries(), std::vector<std::string>{"kept.txt"});
}

TEST(StagedOutputFileTest, DevicesAreWrittenInPlace) {
    StagedOutputFile device("/dev/null", prefix);
    EXPECT_TRUE(device.writesInPlace());
    device.stream() << "gone" << std::endl;
    device.commit();
}

TEST(StagedOutputFileTest, NamesThatCannotBeCreatedAreRefused) {
    test::ScratchDirectory scratch;
    for (const std::string& name :
         {std::string(), scratch.file("missing/out.txt"), scratch.path().string()}) {
        try {
            StagedOutputFile file(name, prefix);
            ADD_FAILURE() << "created " << name;
        } catch (const OutputFileException& failure) {
            EXPECT_EQ(failure.what(), "Cannot create file: " + name);
        }
    }
}

} // namespace
} // namespace zel

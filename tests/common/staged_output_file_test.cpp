#include "common/staged_output_file.h"
#include "tests/support/scratch_directory.h"

#include <filesystem>
#include <grp.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
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

// Replaced as root, a file keeps its owner, group and rights (a file only nobody may read stays
// readable to nobody); replaced by a user who cannot keep its owner, it keeps no set-user-ID or
// set-group-ID bit. The second writer is a child that has become nobody.
TEST(StagedOutputFileTest, AReplacementKeepsTheOwnerOrLosesTheSetIdBits) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "needs root to hand files to other users";
    }
    constexpr uid_t nobody = 65534;
    struct Case {
        uid_t writer;
        uid_t oldOwner;
        mode_t oldMode;
        uid_t newOwner;
        mode_t newMode;
    };
    const std::vector<Case> cases{
        {0, nobody, 04755, nobody, 04755},
        {0, nobody, 0640, nobody, 0640},
        {nobody, 0, 06777, nobody, 0777},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.writer << " over " << c.oldOwner << " " << std::oct << c.oldMode);
        test::ScratchDirectory scratch;
        ::chmod(scratch.path().c_str(), 0777);
        const std::string name = scratch.write("out.tri", "old\n");
        ASSERT_EQ(::chown(name.c_str(), c.oldOwner, c.oldOwner), 0);
        ASSERT_EQ(::chmod(name.c_str(), c.oldMode), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            if (::setgroups(0, nullptr) != 0 || ::setgid(c.writer) != 0 ||
                ::setuid(c.writer) != 0) {
                ::_exit(2);
            }
            StagedOutputFile file(name, prefix);
            file.write("new\n");
            file.commit();
            ::_exit(0);
        }
        int status = -1;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        struct stat now {};
        ASSERT_EQ(::stat(name.c_str(), &now), 0);
        EXPECT_EQ(readFile(name), "new\n");
        EXPECT_EQ(now.st_uid, c.newOwner);
        EXPECT_EQ(now.st_mode & 07777, c.newMode);
    }
}

} // namespace
} // namespace zel

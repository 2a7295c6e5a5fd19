#include "viewer/viewer_options.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zel {
namespace {

struct Case {
    std::vector<std::string> arguments;
    std::vector<std::string> left; // what stays for the file, the images and freeglut
    bool elevation;
    double exaggeration;
    std::string failure;
};

TEST(ViewerOptionsTest, TakesItsOptionsFromAnywhereAndRefusesABadFactor) {
    const std::string positive = "--exaggeration needs a positive number, not ";
    const std::vector<Case> cases{
        {{"T", "a.tri", "x.tga"}, {"T", "a.tri", "x.tga"}, false, 1.0, ""},
        {{"T", "--elevation", "a.ter", "x.tga"}, {"T", "a.ter", "x.tga"}, true, 1.0, ""},
        {{"T", "a.ter", "-geometry", "9x9", "--exaggeration", "2.5", "x.tga", "--elevation"},
         {"T", "a.ter", "-geometry", "9x9", "x.tga"},
         true,
         2.5,
         ""},
        {{"T", "./--elevation"}, {"T", "./--elevation"}, false, 1.0, ""},
        {{"T", "a.tri", "--exaggeration"}, {}, false, 0, "--exaggeration needs a factor after it"},
        {{"T", "--exaggeration", "0", "a.tri"}, {}, false, 0, positive + "\"0\""},
        {{"T", "--exaggeration", "-2", "a.tri"}, {}, false, 0, positive + "\"-2\""},
        {{"T", "--exaggeration", "inf", "a.tri"}, {}, false, 0, positive + "\"inf\""},
        {{"T", "--exaggeration", "2x", "a.tri"}, {}, false, 0, positive + "\"2x\""},
        {{"T", "--exaggeration", "1e999", "a.tri"}, {}, false, 0, positive + "\"1e999\""},
    };
    for (const Case& c : cases) {
        std::vector<std::string> storage = c.arguments;
        std::vector<char*> argv;
        for (std::string& argument : storage) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        int argc = static_cast<int>(storage.size());
        SCOPED_TRACE(::testing::PrintToString(c.arguments));
        try {
            const ViewerOptions options = takeViewerOptions(argc, argv.data());
            EXPECT_EQ(c.failure, "");
            EXPECT_EQ(options.elevation, c.elevation);
            EXPECT_EQ(options.exaggeration, c.exaggeration);
            EXPECT_EQ(std::vector<std::string>(argv.data(), argv.data() + argc), c.left);
            EXPECT_EQ(argv[static_cast<std::size_t>(argc)], nullptr);
        } catch (const ViewerOptionException& bad) {
            EXPECT_EQ(bad.what(), c.failure);
        }
    }
}

} // namespace
} // namespace zel

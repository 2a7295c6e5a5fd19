// The sample files seed the loader's fuzz corpus; each must give the status it was built for.
#include "image/tga_image.h"
#include "tests/support/tga_file_builder.h"

#include <gtest/gtest.h>
#include <set>

namespace zel::test {
namespace {

TEST(TgaSampleFiles, EachGivesItsStatus) {
    std::set<std::string> names;
    for (const SampleFile& sample : sampleFiles()) {
        EXPECT_TRUE(names.insert(sample.name).second) << sample.name << " twice";
        TgaImage image;
        EXPECT_EQ(loadBytes(image, sample.bytes), sample.expected) << sample.name;
    }
}

} // namespace
} // namespace zel::test

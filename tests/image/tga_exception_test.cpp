#include "image/tga_exception.h"
#include "image/tga_image.h"
#include "tests/support/tga_file_builder.h"

#include <gtest/gtest.h>
#include <string>

namespace zel::test {
namespace {

TEST(TGAException, TextNamesTheFileAndTheKind) {
    EXPECT_STREQ(TGAException("rock.tga", NotFound).what(), "Loading: rock.tga - not found");
    EXPECT_STREQ(TGAException("a b.tga", MemoryAllocationFailed).what(),
                 "Loading: a b.tga - memory allocation failed");
    EXPECT_STREQ(TGAException("dir/grass.tga", BadImageFormat).what(),
                 "Loading: dir/grass.tga - bad image format");
    EXPECT_STREQ(TGAException("snow.tga", UnsupportedImageFormat).what(),
                 "Loading: snow.tga - unsupported image format");
    EXPECT_STREQ(TGAException("x.tga", Success).what(), "Loading: x.tga");
    EXPECT_STREQ(TGAException("x.tga", 16).what(), "Loading: x.tga");
    EXPECT_STREQ(TGAException("", NotFound).what(), "Loading:  - not found");
}

TEST(TGAException, CopyKeepsNameKindAndText) {
    const TGAException original("sand.tga", BadImageFormat);
    const TGAException copy = original;
    EXPECT_EQ(copy.fileName, "sand.tga");
    EXPECT_EQ(copy.kind, BadImageFormat);
    EXPECT_STREQ(copy.what(), "Loading: sand.tga - bad image format");
    EXPECT_NE(copy.what(), original.what());
}

TEST(TGAImageLoad, MissingFileThrowsNotFound) {
    const ScratchDirectory scratch;
    const std::string name = (scratch.path() / "rock.tga").string();
    TGAImage image;
    try {
        image.load(name);
        FAIL() << "no exception";
    } catch (const std::exception& caught) {
        const auto* exception = dynamic_cast<const TGAException*>(&caught);
        ASSERT_NE(exception, nullptr);
        EXPECT_EQ(exception->fileName, name);
        EXPECT_EQ(exception->kind, NotFound);
        EXPECT_EQ(std::string(caught.what()), "Loading: " + name + " - not found");
    }
}

TEST(TGAImageLoad, RefusedFileThrowsItsStatus) {
    const ScratchDirectory scratch;
    const std::string name = (scratch.path() / "grey.tga").string();
    TgaHeader header = trueColourHeader(2, 2, 8);
    header.imageType = 3;
    writeFile(name, tgaFile(header, {}, patternPixels(4, 1)));
    TGAImage image;
    try {
        image.load(name);
        FAIL() << "no exception";
    } catch (const TGAException& caught) {
        EXPECT_EQ(caught.kind, UnsupportedImageFormat);
        EXPECT_EQ(std::string(caught.what()), "Loading: " + name + " - unsupported image format");
    }
}

TEST(TGAImageLoad, ValidFileLoadsWithoutThrowing) {
    const ScratchDirectory scratch;
    const std::string name = (scratch.path() / "grass.tga").string();
    writeFile(name, tgaFile(trueColourHeader(1, 1), {}, {1, 2, 3}));
    TGAImage image;
    EXPECT_NO_THROW(image.load(name));
    EXPECT_EQ(image.pixels()[0], 3);
}

} // namespace
} // namespace zel::test

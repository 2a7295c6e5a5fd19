#include "image/tga_exception.h"
#include "image/tga_image.h"
#include "tests/support/tga_file_builder.h"

#include <gtest/gtest.h>
#include <string>

namespace zel::test {

using enum TgaStatus;
namespace {

TEST(TgaException, TextNamesTheFileAndTheKind) {
    EXPECT_STREQ(TgaException("rock.tga", NotFound).what(), "Loading: rock.tga - not found");
    EXPECT_STREQ(TgaException("a b.tga", MemoryAllocationFailed).what(),
                 "Loading: a b.tga - memory allocation failed");
    EXPECT_STREQ(TgaException("dir/grass.tga", BadImageFormat).what(),
                 "Loading: dir/grass.tga - bad image format");
    EXPECT_STREQ(TgaException("snow.tga", UnsupportedImageFormat).what(),
                 "Loading: snow.tga - unsupported image format");
    EXPECT_STREQ(TgaException("x.tga", Success).what(), "Loading: x.tga");
    EXPECT_STREQ(TgaException("x.tga", static_cast<TgaStatus>(16)).what(), "Loading: x.tga");
    EXPECT_STREQ(TgaException("", NotFound).what(), "Loading:  - not found");
}

TEST(TgaException, CopyKeepsNameKindAndText) {
    const TgaException original("sand.tga", BadImageFormat);
    const TgaException copy = original;
    EXPECT_EQ(copy.fileName, "sand.tga");
    EXPECT_EQ(copy.kind, BadImageFormat);
    EXPECT_STREQ(copy.what(), "Loading: sand.tga - bad image format");
    EXPECT_NE(copy.what(), original.what());
}

TEST(TgaImageLoad, MissingFileThrowsNotFound) {
    const ScratchDirectory scratch;
    const std::string name = (scratch.path() / "rock.tga").string();
    TgaImage image;
    try {
        image.load(name);
        FAIL() << "no exception";
    } catch (const std::exception& caught) {
        const auto* exception = dynamic_cast<const TgaException*>(&caught);
        ASSERT_NE(exception, nullptr);
        EXPECT_EQ(exception->fileName, name);
        EXPECT_EQ(exception->kind, NotFound);
        EXPECT_EQ(std::string(caught.what()), "Loading: " + name + " - not found");
    }
}

TEST(TgaImageLoad, RefusedFileThrowsItsStatus) {
    const ScratchDirectory scratch;
    const std::string name = (scratch.path() / "grey.tga").string();
    TgaHeader header = trueColourHeader(2, 2, 8);
    header.imageType = 3;
    writeFile(name, tgaFile(header, {}, patternPixels(4, 1)));
    TgaImage image;
    try {
        image.load(name);
        FAIL() << "no exception";
    } catch (const TgaException& caught) {
        EXPECT_EQ(caught.kind, UnsupportedImageFormat);
        EXPECT_EQ(std::string(caught.what()), "Loading: " + name + " - unsupported image format");
    }
}

TEST(TgaImageLoad, ValidFileLoadsWithoutThrowing) {
    const ScratchDirectory scratch;
    const std::string name = (scratch.path() / "grass.tga").string();
    writeFile(name, tgaFile(trueColourHeader(1, 1), {}, {1, 2, 3}));
    TgaImage image;
    EXPECT_NO_THROW(image.load(name));
    EXPECT_EQ(image.pixels()[0], 3);
}

} // namespace
} // namespace zel::test

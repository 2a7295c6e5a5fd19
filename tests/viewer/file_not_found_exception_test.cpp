#include "viewer/file_not_found_exception.h"

#include <exception>
#include <gtest/gtest.h>
#include <string>
#include <type_traits>

namespace zel {
namespace {

TEST(FileNotFoundException, IsAStandardExceptionWithAFixedText) {
    static_assert(std::is_base_of_v<std::exception, FileNotFoundException>);
    static_assert(std::is_nothrow_copy_constructible_v<FileNotFoundException>);
    const FileNotFoundException thrown;
    const std::exception& caught = thrown;
    EXPECT_EQ(std::string(caught.what()), "File not found");
}

} // namespace
} // namespace zel

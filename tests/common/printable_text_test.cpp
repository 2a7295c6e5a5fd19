// Bytes shown in messages: printable ASCII as it is, every other byte as \xNN.
#include "common/printable_text.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace zel {
namespace {

TEST(PrintableText, EscapesEveryByteOutsidePrintableAscii) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"plain ~!\"\\ text 123", "plain ~!\"\\ text 123"},
        {std::string("a\0b", 3), "a\\x00b"},
        {"\x1B[31m\t\n\x7F", "\\x1B[31m\\x09\\x0A\\x7F"},
        {"H\xC3\xB6he \xFF\xFE", "H\\xC3\\xB6he \\xFF\\xFE"},
    };
    for (const auto& [text, shown] : cases) {
        EXPECT_EQ(printableText(text), shown);
        EXPECT_EQ(printableText(shown), shown);
    }
}

} // namespace
} // namespace zel

#include "triangulate/message_number.h"

#include <charconv>

namespace zel {

std::string messageNumber(long double value) {
    constexpr int shownDigits = 10;
    char text[64];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::general, shownDigits);
    return std::string(text, result.ptr);
}

} // namespace zel

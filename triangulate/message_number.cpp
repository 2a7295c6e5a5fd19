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

double roundedToDigits(double value, int digits) {
    // Through decimal text, which rounds once and exactly, unlike scaling by a power of ten.
    char text[64];
    const auto written =
        std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, digits - 1);
    double rounded = value;
    std::from_chars(text, written.ptr, rounded);
    return rounded;
}

} // namespace zel

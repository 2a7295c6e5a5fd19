#include "common/printable_text.h"

namespace zel {

std::string printableText(std::string_view text) {
    constexpr char hexDigits[] = "0123456789ABCDEF";
    std::string shown;
    shown.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F) {
            shown += c;
        } else {
            shown += "\\x";
            shown += hexDigits[byte >> 4];
            shown += hexDigits[byte & 0xF];
        }
    }
    return shown;
}

} // namespace zel

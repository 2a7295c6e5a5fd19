#include "triangulate/option_value.h"

#include "common/number_token.h"
#include "common/printable_text.h"

namespace zel {

namespace {

std::string quoted(const std::string& text) {
    // Appended rather than summed: GCC 12 warns of a false overlap in '"' + text + '"'.
    std::string result(1, '"');
    result.append(printableText(text)).push_back('"');
    return result;
}

} // namespace

std::optional<double> positiveNumberAfter(const std::string& option, const std::string& what,
                                          const std::string* text, std::string& problem) {
    if (text == nullptr) {
        problem = option + " needs " + what + " after it";
        return std::nullopt;
    }
    double value = 0.0;
    if (parseNumber(*text, value) != NumberProblem::None || !(value > 0.0)) {
        problem = option + " needs a positive number, not " + quoted(*text);
        return std::nullopt;
    }
    return value;
}

std::optional<std::uint32_t> wholeNumberAfter(const std::string& option, const std::string& what,
                                              std::uint32_t least, std::uint32_t most,
                                              const std::string* text, std::string& problem) {
    if (text == nullptr) {
        problem = option + " needs " + what + " after it";
        return std::nullopt;
    }
    std::uint32_t value = 0;
    if (parseNumber(*text, value) != NumberProblem::None || value < least || value > most) {
        problem = option + " needs a whole number from " + std::to_string(least) + " to " +
                  std::to_string(most) + ", not " + quoted(*text);
        return std::nullopt;
    }
    return value;
}

} // namespace zel

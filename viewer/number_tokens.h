#pragma once

#include <cstdint>
#include <string_view>

namespace zel {

// The numbers of a text held in memory, one whitespace-separated token at a time (space, tab,
// line feed, carriage return, vertical tab and form feed separate tokens). A number must be
// the whole token: "1.2.3", "3.0" read as a count, or "12abc" are refused, not read in part.
// Values are those stream extraction gives in the classic locale: decimal notation, correctly
// rounded, a leading '+' allowed on coordinates and indices; a count is digits only.
class NumberTokens {
public:
    enum class Token {
        Read,      // a number was read into the target
        Missing,   // only whitespace was left before the end of the text
        Malformed, // the token is not a number of the target's kind, or lies outside its range
    };

    explicit NumberTokens(std::string_view text) : next(text.data()), end(text.data() + text.size()) {}

    // The target is left unchanged unless the result is Read. A malformed token is passed
    // over, so the next read starts after it.
    Token read(float& value);
    Token read(std::int32_t& value);
    Token read(std::uint32_t& value);

private:
    template <typename Integer>
    Token readInteger(Integer& value, bool signAllowed);
    bool skipWhitespace();
    // Moves past the token that starts at `next`; true when the parse reached its end.
    bool passToken(const char* parsedUpTo);
    const char* afterPlusSign() const;

    const char* next;
    const char* end;
};

} // namespace zel

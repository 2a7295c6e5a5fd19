#pragma once

#include <cstdint>
#include <istream>
#include <string>

namespace zel {

// Reads whitespace-separated numbers from a stream, one at a time. It accepts exactly the
// tokens that stream extraction (`in >> value`) accepts in the classic locale, gives the
// same value, stops at the same character and leaves the same end-of-file and failure
// state, whatever locale the stream has. A token that lies wholly inside the characters the
// stream's buffer already holds in memory is parsed there in place; only a token that runs
// up to the end of those characters is read character by character, which lets the buffer
// fetch more. Either way the stream ends exactly after the token, so the scanner keeps no
// characters of its own and may be dropped or mixed with other reads at any time.
class NumberScanner {
public:
    enum class Token {
        Read,      // a number was read into the target
        Missing,   // only whitespace was left before the end of the text
        Malformed, // the token is not a number, or lies outside the target's range
    };

    explicit NumberScanner(std::istream& in) : stream(in) {}

    // The target is left unchanged unless the result is Read.
    Token read(float& value);
    Token read(std::int32_t& value);
    Token read(std::uint32_t& value);

private:
    template <typename Number>
    Token readNumber(Number& value);
    template <typename Number>
    bool readInPlace(Number& value, Token& result);
    template <typename Number>
    Token readCharacterByCharacter(Number& value);

    Token startToken();
    void collectFloatToken();
    void collectIntegerToken();
    Token finish(bool readable);

    int current();
    int advance();

    std::ios& stream; // all the scanner needs of the stream: its state and its buffer
    std::string token;
    bool reachedEnd = false;
};

} // namespace zel

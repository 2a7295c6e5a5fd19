#pragma once

#include <cstdint>
#include <istream>
#include <string>

namespace zel {

// Reads whitespace-separated numbers from a stream, one at a time. It accepts exactly the
// tokens that stream extraction (`in >> value`) accepts in the classic locale, gives the
// same value and stops at the same character, whatever locale the stream has. It takes the
// characters straight from the stream's buffer, which is several times faster than
// formatted extraction.
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
    Token startToken();
    void collectFloatToken();
    bool scanInteger(bool& negative, std::uint64_t& magnitude);
    Token finish(bool readable);

    int current();
    int advance();

    std::istream& stream;
    std::string token;
    bool reachedEnd = false;
};

} // namespace zel

#pragma once

#include "common/number_token.h"

#include <cstddef>
#include <cstdint>
#include <istream>
#include <memory>
#include <optional>
#include <string_view>

namespace zel {

// The numbers of a stream, one whitespace-separated token at a time (space, tab, line feed,
// carriage return, vertical tab and form feed separate tokens). A number must be the whole
// token: "1.2.3", "3.0" read as a count, or "12abc" are refused, not read in part. Values
// follow the programs' one number rule (see scanNumber), whatever the stream's own settings.
//
// The text is taken from the stream's buffer in large blocks (see the destructor for where
// that leaves the stream). A token as long as a block or longer is refused and ends the
// text (the reads after it find nothing), which bounds the memory and the time an endless
// token from a pipe or a device can take.
class NumberTokens {
public:
    enum class Token {
        Read,      // a number was read into the target
        Missing,   // only whitespace was left before the end of the text
        Malformed, // the token is not a number of the target's kind, or lies outside its range
    };

    static constexpr std::size_t defaultBlockSize = std::size_t{1} << 20;

    explicit NumberTokens(std::istream& in, std::size_t blockSize = defaultBlockSize);
    // Leaves a stream that can seek (a file, a string) just after the last token read, as
    // formatted reading would, so that what follows stays for whoever reads on; a pipe keeps
    // none of the text taken from it.
    ~NumberTokens();
    NumberTokens(const NumberTokens&) = delete;
    NumberTokens& operator=(const NumberTokens&) = delete;

    // The target is left unchanged unless the result is Read. A malformed token is passed
    // over, so the next read starts after it.
    Token read(float& value);
    Token read(double& value);
    Token read(std::int32_t& value);
    Token read(std::uint32_t& value);

    // Why the token last read was Malformed: the number rule's verdict (NotANumber for a token
    // too long to be read), whether it was too long, and whether it starts with '-' (which a
    // count may call negative, whatever follows).
    struct Fault {
        NumberProblem problem = NumberProblem::None;
        bool tooLong = false;
        bool startsWithMinus = false;
    };
    Fault lastFault() const { return fault_; }

    // At the start of the text: passes over a UTF-8 byte-order mark, which some editors put
    // before the first number.
    void skipByteOrderMark();

    // Reads the next token when it is exactly `word` (shorter than a block) and returns true;
    // otherwise leaves that token for the next read and returns false.
    bool readWord(std::string_view word);

    // True when a line end (a line feed or a carriage return) stands between the token last
    // read or looked at and the one read before it, for formats with one item per line.
    bool lineEndBefore() const { return lineEnded_; }

    // True once a read of the stream has failed with an error rather than at its end. The
    // tokens wholly read before the error are handed out; the reads then find the text ended.
    bool readFailed() const { return failed_; }

private:
    template <typename Number> Token readNumber(Number& value);

    // Moves `next_` to the start of the next token; false at the end of the text.
    bool startToken();
    // Sets `tokenEnd_` to the end of the token at `next_`, taking further blocks as needed;
    // false when a read error cut the token short.
    bool completeToken();
    bool refill();
    // Reads the token at `next_` as a number (see scanNumber) and moves past it. True when the
    // whole token is a number, nothing when no token is left.
    template <typename Number> std::optional<bool> scanToken(Number& value);

    // The first block's size: a short text (most of the fuzzer's, say) needs no more.
    static constexpr std::size_t firstBlockSize = std::size_t{1} << 16;

    std::istream& in_;
    std::size_t blockSize_;
    std::size_t capacity_; // of the block at hand: firstBlockSize until a text fills it
    std::unique_ptr<char[]> block_;
    const char* next_;
    const char* end_;
    const char* tokenEnd_ = nullptr;
    bool tooLong_ = false;
    bool streamEnded_ = false;
    bool failed_ = false;
    Fault fault_;
    bool lineEnded_ = false;      // before the token last read or looked at
    bool pendingLineEnd_ = false; // in the whitespace skipped since the last token read
};

} // namespace zel

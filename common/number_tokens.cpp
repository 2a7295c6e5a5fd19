#include "common/number_tokens.h"

#include <algorithm>
#include <cstring>

namespace zel {
namespace {

bool isSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Up to `room` characters, waiting for the first only: what a pipe or a terminal holds so far
// is handed on at once, so that a program can act on each line as it arrives. A regular file
// says how much of it is left, and that is read in one piece. None at the end of the text or
// after an error.
std::streamsize readAvailable(std::istream& in, char* into, std::streamsize room) {
    if (in.rdbuf() == nullptr) {
        in.setstate(std::ios::badbit);
        return 0;
    }
    std::streamsize ready = in.rdbuf()->in_avail();
    if (ready <= 0) {
        if (in.peek() == std::istream::traits_type::eof()) {
            return 0;
        }
        ready = std::max<std::streamsize>(in.rdbuf()->in_avail(), 1);
    }
    in.read(into, std::min(ready, room));
    return in.gcount();
}

} // namespace

NumberTokens::NumberTokens(std::istream& stream, std::size_t size)
    : in(stream), blockSize(size), capacity(std::min(size, firstBlockSize)),
      block(new char[capacity]), next(block.get()), end(block.get()) {}

NumberTokens::~NumberTokens() {
    const std::streamoff unread = end - next;
    if (unread == 0 || in.bad()) {
        return;
    }
    const std::ios::iostate state = in.rdstate();
    in.clear();
    in.seekg(-unread, std::ios::cur);
    if (in.fail()) {
        in.clear(state);
    }
}

// Keeps the unfinished token at `next` and fills the rest of the block after it. A short text
// never fills the first, small block; one that does gets a block of the full size, so that a
// long text is read in large blocks and a short one takes no large allocation.
bool NumberTokens::refill() {
    if (streamEnded) {
        return false;
    }
    const std::size_t kept = static_cast<std::size_t>(end - next);
    if (capacity < blockSize && end == block.get() + capacity) {
        std::unique_ptr<char[]> larger(new char[blockSize]);
        std::memcpy(larger.get(), next, kept);
        block = std::move(larger);
        capacity = blockSize;
    } else {
        std::memmove(block.get(), next, kept);
    }
    next = block.get();
    const std::streamsize got =
        readAvailable(in, block.get() + kept, static_cast<std::streamsize>(capacity - kept));
    end = next + kept + got;
    if (got == 0) {
        streamEnded = true;
        failed = in.bad();
        if (!failed) {
            // Running into the end is how a text ends, not a failure of the stream.
            in.clear(std::ios::eofbit);
        }
    }
    return got != 0;
}

bool NumberTokens::startToken() {
    do {
        while (next != end && isSpace(*next)) {
            pendingLineEnd = pendingLineEnd || *next == '\n' || *next == '\r';
            ++next;
        }
    } while (next == end && refill());
    return next != end;
}

bool NumberTokens::completeToken() {
    tokenEnd = next;
    while (true) {
        while (tokenEnd != end && !isSpace(*tokenEnd)) {
            ++tokenEnd;
        }
        if (tokenEnd != end) {
            return true;
        }
        if (streamEnded) {
            // A read error may have cut the last token short.
            return !failed;
        }
        if (end - next == static_cast<std::ptrdiff_t>(blockSize)) {
            // Too long for any number. Its end may never come (/dev/zero), so the text ends
            // here: the token is refused and nothing after it is read.
            tooLong = true;
            streamEnded = true;
            tokenEnd = end;
            return true;
        }
        const std::ptrdiff_t scanned = tokenEnd - next;
        refill();
        tokenEnd = next + scanned;
    }
}

// Most numbers end at whitespace inside the block and are scanned right there, with no
// separate search for the token's end; any other token is scanned again once its whole text is
// in the block.
template <typename Number> std::optional<bool> NumberTokens::scanToken(Number& value) {
    if (!startToken()) {
        return std::nullopt;
    }
    NumberScan scan = scanNumber(next, end, value);
    const bool endsInBlock = scan.end == end ? streamEnded : isSpace(*scan.end);
    if (endsInBlock) {
        tokenEnd = scan.end;
    } else {
        if (!completeToken()) {
            return std::nullopt;
        }
        scan = scanNumber(next, tokenEnd, value);
    }
    const bool number = scan.problem == NumberProblem::None && scan.end == tokenEnd && !tooLong;
    if (!number) {
        const bool whole = scan.end == tokenEnd && !tooLong;
        fault = {whole ? scan.problem : NumberProblem::NotANumber, tooLong, *next == '-'};
    }
    next = tokenEnd;
    tooLong = false;
    lineEnded = pendingLineEnd;
    pendingLineEnd = false;
    return number;
}

void NumberTokens::skipByteOrderMark() {
    constexpr std::string_view mark = "\xEF\xBB\xBF";
    while (static_cast<std::size_t>(end - next) < mark.size() && refill()) {
    }
    if (static_cast<std::size_t>(end - next) >= mark.size() &&
        mark.compare(0, mark.size(), next, mark.size()) == 0) {
        next += mark.size();
    }
}

bool NumberTokens::readWord(std::string_view word) {
    if (!startToken()) {
        return false;
    }
    // The word and the character after it, which must end the token.
    while (static_cast<std::size_t>(end - next) <= word.size() && refill()) {
    }
    lineEnded = pendingLineEnd;
    const auto available = static_cast<std::size_t>(end - next);
    if (available < word.size() || word.compare(0, word.size(), next, word.size()) != 0 ||
        (available > word.size() && !isSpace(next[word.size()]))) {
        return false;
    }
    next += word.size();
    pendingLineEnd = false;
    return true;
}

template <typename Number> NumberTokens::Token NumberTokens::readNumber(Number& value) {
    Number parsed{};
    const std::optional<bool> number = scanToken(parsed);
    if (!number) {
        return Token::Missing;
    }
    if (!*number) {
        return Token::Malformed;
    }
    value = parsed;
    return Token::Read;
}

NumberTokens::Token NumberTokens::read(float& value) {
    return readNumber(value);
}

NumberTokens::Token NumberTokens::read(double& value) {
    return readNumber(value);
}

NumberTokens::Token NumberTokens::read(std::int32_t& value) {
    return readNumber(value);
}

NumberTokens::Token NumberTokens::read(std::uint32_t& value) {
    return readNumber(value);
}

} // namespace zel

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
        ready = in.rdbuf()->in_avail();
    }
    // A stream that cannot say what it holds is read in whole blocks.
    in.read(into, ready > 0 ? std::min(ready, room) : room);
    return in.gcount();
}

} // namespace

NumberTokens::NumberTokens(std::istream& stream, std::size_t size)
    : in_(stream), blockSize_(size), capacity_(std::min(size, firstBlockSize)),
      block_(new char[capacity_]), next_(block_.get()), end_(block_.get()) {}

NumberTokens::~NumberTokens() {
    const std::streamoff unread = end_ - next_;
    if (unread == 0 || in_.bad()) {
        return;
    }
    const std::ios::iostate state = in_.rdstate();
    in_.clear();
    in_.seekg(-unread, std::ios::cur);
    if (in_.fail()) {
        in_.clear(state);
    }
}

// Keeps the unfinished token at `next_` and fills the rest of the block after it. A short text
// never fills the first, small block; one that does gets a block of the full size, so that a
// long text is read in large blocks and a short one takes no large allocation.
bool NumberTokens::refill() {
    if (streamEnded_) {
        return false;
    }
    const std::size_t kept = static_cast<std::size_t>(end_ - next_);
    if (capacity_ < blockSize_ && end_ == block_.get() + capacity_) {
        std::unique_ptr<char[]> larger(new char[blockSize_]);
        std::memcpy(larger.get(), next_, kept);
        block_ = std::move(larger);
        capacity_ = blockSize_;
    } else {
        std::memmove(block_.get(), next_, kept);
    }
    next_ = block_.get();
    const std::streamsize got =
        readAvailable(in_, block_.get() + kept, static_cast<std::streamsize>(capacity_ - kept));
    end_ = next_ + kept + got;
    if (got == 0) {
        streamEnded_ = true;
        failed_ = in_.bad();
        if (!failed_) {
            // Running into the end is how a text ends, not a failure of the stream.
            in_.clear(std::ios::eofbit);
        }
    }
    return got != 0;
}

bool NumberTokens::startToken() {
    do {
        while (next_ != end_ && isSpace(*next_)) {
            pendingLineEnd_ = pendingLineEnd_ || *next_ == '\n' || *next_ == '\r';
            ++next_;
        }
    } while (next_ == end_ && refill());
    return next_ != end_;
}

bool NumberTokens::completeToken() {
    tokenEnd_ = next_;
    while (true) {
        while (tokenEnd_ != end_ && !isSpace(*tokenEnd_)) {
            ++tokenEnd_;
        }
        if (tokenEnd_ != end_) {
            return true;
        }
        if (streamEnded_) {
            // A read error may have cut the last token short.
            return !failed_;
        }
        if (end_ - next_ == static_cast<std::ptrdiff_t>(blockSize_)) {
            // Too long for any number. Its end may never come (/dev/zero), so the text ends
            // here: the token is refused and nothing after it is read.
            tooLong_ = true;
            streamEnded_ = true;
            tokenEnd_ = end_;
            return true;
        }
        const std::ptrdiff_t scanned = tokenEnd_ - next_;
        refill();
        tokenEnd_ = next_ + scanned;
    }
}

// Most numbers end at whitespace inside the block and are scanned right there, with no
// separate search for the token's end; any other token is scanned again once its whole text is
// in the block.
template <typename Number> std::optional<bool> NumberTokens::scanToken(Number& value) {
    if (!startToken()) {
        return std::nullopt;
    }
    NumberScan scan = scanNumber(next_, end_, value);
    const bool endsInBlock = scan.end == end_ ? streamEnded_ : isSpace(*scan.end);
    if (endsInBlock) {
        tokenEnd_ = scan.end;
    } else {
        if (!completeToken()) {
            return std::nullopt;
        }
        scan = scanNumber(next_, tokenEnd_, value);
    }
    const bool number = scan.problem == NumberProblem::None && scan.end == tokenEnd_ && !tooLong_;
    if (!number) {
        const bool whole = scan.end == tokenEnd_ && !tooLong_;
        fault_ = {whole ? scan.problem : NumberProblem::NotANumber, tooLong_, *next_ == '-'};
    }
    next_ = tokenEnd_;
    tooLong_ = false;
    lineEnded_ = pendingLineEnd_;
    pendingLineEnd_ = false;
    return number;
}

void NumberTokens::skipByteOrderMark() {
    constexpr std::string_view mark = "\xEF\xBB\xBF";
    while (static_cast<std::size_t>(end_ - next_) < mark.size() && refill()) {
    }
    if (static_cast<std::size_t>(end_ - next_) >= mark.size() &&
        mark.compare(0, mark.size(), next_, mark.size()) == 0) {
        next_ += mark.size();
    }
}

bool NumberTokens::readWord(std::string_view word) {
    if (!startToken()) {
        return false;
    }
    // The word and the character after it, which must end the token.
    while (static_cast<std::size_t>(end_ - next_) <= word.size() && refill()) {
    }
    lineEnded_ = pendingLineEnd_;
    const auto available = static_cast<std::size_t>(end_ - next_);
    if (available < word.size() || word.compare(0, word.size(), next_, word.size()) != 0 ||
        (available > word.size() && !isSpace(next_[word.size()]))) {
        return false;
    }
    next_ += word.size();
    pendingLineEnd_ = false;
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

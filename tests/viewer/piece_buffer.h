#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <ios>
#include <memory>
#include <streambuf>
#include <string>
#include <utility>
#include <vector>

namespace zel::test {

// Hands out a text in pieces of the given sizes, each copied into a buffer of exactly that
// size, so that tokens are split at every possible place and reading beyond a piece is
// caught by the address sanitizer.
class PieceBuffer : public std::streambuf {
public:
    PieceBuffer(std::string wholeText, std::vector<std::size_t> pieceSizes)
        : text(std::move(wholeText)), sizes(std::move(pieceSizes)) {}

private:
    int_type underflow() override {
        if (gptr() != egptr()) {
            return traits_type::to_int_type(*gptr());
        }
        const std::size_t start = consumed();
        if (start == text.size()) {
            return traits_type::eof();
        }
        const std::size_t size = std::min(sizes[nextSize++ % sizes.size()], text.size() - start);
        piece.reset(new char[size]);
        std::memcpy(piece.get(), text.data() + start, size);
        pieceStart = start;
        setg(piece.get(), piece.get(), piece.get() + size);
        return traits_type::to_int_type(*gptr());
    }

    pos_type seekoff(off_type offset, std::ios_base::seekdir direction,
                     std::ios_base::openmode) override {
        if (offset != 0 || direction != std::ios_base::cur) {
            return pos_type(off_type(-1));
        }
        return pos_type(static_cast<off_type>(consumed()));
    }

    std::size_t consumed() const {
        return piece ? pieceStart + static_cast<std::size_t>(gptr() - eback()) : 0;
    }

    std::string text;
    std::vector<std::size_t> sizes;
    std::size_t nextSize = 0;
    std::unique_ptr<char[]> piece;
    std::size_t pieceStart = 0;
};

} // namespace zel::test

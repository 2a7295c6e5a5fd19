#include "triangulate/triangulation_writer.h"

#include <charconv>
#include <string_view>

namespace zel {

namespace {

// Room for a line of two floats or three indices, and its line end.
constexpr std::size_t lineCapacity = 64;

class Line {
public:
    template <typename Number> Line& operator<<(Number value) {
        if (end_ != text_) {
            *end_++ = ' ';
        }
        end_ = std::to_chars(end_, text_ + lineCapacity, value).ptr;
        return *this;
    }

    template <typename Write> void writeTo(const Write& write) {
        *end_++ = '\n';
        write(std::string_view(text_, static_cast<std::size_t>(end_ - text_)));
        end_ = text_;
    }

private:
    char text_[lineCapacity];
    char* end_ = text_;
};

// `write` takes each line; a lambda, so that the file's own buffer is written without a
// stream's checks per line.
template <typename Write>
void writeLines(const Write& write, const std::vector<ViewerPoint>& points,
                const std::vector<std::array<std::uint32_t, 3>>& triangles) {
    Line line;
    (line << points.size()).writeTo(write);
    for (const ViewerPoint& p : points) {
        (line << p.x << p.y).writeTo(write);
    }
    (line << triangles.size()).writeTo(write);
    for (const auto& t : triangles) {
        (line << t[0] << t[1] << t[2]).writeTo(write);
    }
}

} // namespace

void writeTriangulation(StagedOutputFile& out, const std::vector<ViewerPoint>& points,
                        const std::vector<std::array<std::uint32_t, 3>>& triangles) {
    writeLines([&out](std::string_view text) { out.write(text); }, points, triangles);
}

void writeTriangulation(std::ostream& out, const std::vector<ViewerPoint>& points,
                        const std::vector<std::array<std::uint32_t, 3>>& triangles) {
    writeLines(
        [&out](std::string_view text) {
            out.write(text.data(), static_cast<std::streamsize>(text.size()));
        },
        points, triangles);
}

} // namespace zel

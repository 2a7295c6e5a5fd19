#include "triangulate/triangulation_writer.h"

#include <charconv>

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

    void writeTo(StagedOutputFile& out) {
        *end_++ = '\n';
        out.write({text_, static_cast<std::size_t>(end_ - text_)});
        end_ = text_;
    }

private:
    char text_[lineCapacity];
    char* end_ = text_;
};

} // namespace

void writeTriangulation(StagedOutputFile& out, const std::vector<ViewerPoint>& points,
                        const std::vector<std::array<std::uint32_t, 3>>& triangles) {
    Line line;
    (line << points.size()).writeTo(out);
    for (const ViewerPoint& p : points) {
        (line << p.x << p.y).writeTo(out);
    }
    (line << triangles.size()).writeTo(out);
    for (const auto& t : triangles) {
        (line << t[0] << t[1] << t[2]).writeTo(out);
    }
}

} // namespace zel

#include "triangulate/triangulation_writer.h"

#include "common/terrain_marker.h"

#include <algorithm>
#include <charconv>
#include <string_view>

namespace zel {

namespace {

// Room for a line of three floats or three indices, and its line end.
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

    Line& operator<<(std::string_view word) {
        *end_++ = ' ';
        end_ = std::copy(word.begin(), word.end(), end_);
        return *this;
    }

    template <typename Write> void writeTo(const Write& write) {
        *end_++ = '\n';
        writeWithout(write);
    }

    // The line so far, without its line end, for a line that goes on.
    template <typename Write> void writeWithout(const Write& write) {
        write(std::string_view(text_, static_cast<std::size_t>(end_ - text_)));
        end_ = text_;
    }

private:
    char text_[lineCapacity];
    char* end_ = text_;
};

// `write` takes each line; a lambda, so that the file's own buffer is written without a
// stream's checks per line. With heights, a terrain file.
template <typename Write>
void writeLines(const Write& write, const std::vector<Point2>& points,
                const std::vector<float>* heights,
                const std::vector<std::array<std::uint32_t, 3>>& triangles,
                std::string_view frameRecord) {
    Line line;
    if (heights == nullptr) {
        (line << points.size()).writeTo(write);
        for (const Point2& p : points) {
            (line << p.x << p.y).writeTo(write);
        }
    } else {
        // The record may be longer than a line of numbers, so it goes out on its own.
        if (frameRecord.empty()) {
            (line << points.size() << terrainMarker).writeTo(write);
        } else {
            (line << points.size() << terrainMarker).writeWithout(write);
            write(" ");
            write(frameRecord);
            write("\n");
        }
        for (std::size_t i = 0; i < points.size(); ++i) {
            (line << points[i].x << points[i].y << (*heights)[i]).writeTo(write);
        }
    }
    (line << triangles.size()).writeTo(write);
    for (const auto& t : triangles) {
        (line << t[0] << t[1] << t[2]).writeTo(write);
    }
    if (heights == nullptr && !frameRecord.empty()) {
        write(frameRecord);
        write("\n");
    }
}

} // namespace

void writeTriangulation(StagedOutputFile& out, const std::vector<Point2>& points,
                        const std::vector<float>* heights,
                        const std::vector<std::array<std::uint32_t, 3>>& triangles,
                        std::string_view frameRecord) {
    writeLines([&out](std::string_view text) { out.write(text); }, points, heights, triangles,
               frameRecord);
}

void writeTriangulation(std::ostream& out, const std::vector<Point2>& points,
                        const std::vector<float>* heights,
                        const std::vector<std::array<std::uint32_t, 3>>& triangles,
                        std::string_view frameRecord) {
    writeLines(
        [&out](std::string_view text) {
            out.write(text.data(), static_cast<std::streamsize>(text.size()));
        },
        points, heights, triangles, frameRecord);
}

} // namespace zel

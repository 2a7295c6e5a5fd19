#include "viewer/triangulation_reader.h"

#include "common/number_tokens.h"
#include "common/terrain_marker.h"
#include "viewer/huge_pages.h"
#include "viewer/map_frame_record.h"
#include "viewer/triangulation_format_exception.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zel {
namespace {

using Token = NumberTokens::Token;

constexpr const char* terrainMarkerExpected =
    "the first line must be the point count followed by \"xyz\" (a terrain file)";
constexpr const char* recordEndsLine =
    "the first line must end after the frame record; the points follow, one to a line";

[[noreturn]] void reject(std::string problem) {
    throw TriangulationFormatException(std::move(problem));
}

// `describeItem` names the item being read ("point 3 of 10"); it only runs on failure, so
// a good file builds no message texts.
// A token the stream could not deliver is a read error, whatever the read made of it.
template <typename Number> Token readNumber(NumberTokens& in, Number& value) {
    const Token token = in.read(value);
    if (token != Token::Read && in.readFailed()) {
        reject("the file cannot be read to its end (a read error)");
    }
    return token;
}

template <typename Number, typename Describe>
Number readItemNumber(NumberTokens& in, const Describe& describeItem) {
    Number value{};
    const Token token = readNumber(in, value);
    if (token == Token::Missing) {
        reject("the file ends before " + describeItem() + " is complete");
    }
    if (token == Token::Malformed) {
        reject(describeItem() + " cannot be read");
    }
    return value;
}

// `checkShape` runs once a token is there, before its value is judged.
template <typename CheckShape>
std::uint32_t readCount(NumberTokens& in, const std::string& countName,
                        const CheckShape& checkShape) {
    std::uint32_t count = 0;
    const Token token = readNumber(in, count);
    if (token == Token::Missing) {
        reject("the file ends before the " + countName);
    }
    checkShape();
    if (token == Token::Malformed) {
        reject("the " + countName + " cannot be read");
    }
    return count;
}

std::string ordinalOf(const char* kind, std::uint32_t position, std::uint32_t count) {
    return std::string(kind) + ' ' + std::to_string(std::uint64_t{position} + 1) + " of " +
           std::to_string(count);
}

std::string describeValidIndices(std::size_t pointCount) {
    if (pointCount == 0) {
        return "there are no points";
    }
    if (pointCount == 1) {
        return "there is 1 point (index 0)";
    }
    return "there are " + std::to_string(pointCount) + " points (indices 0 to " +
           std::to_string(pointCount - 1) + ")";
}

// Every later stage indexes the per-point arrays with the indices directly, so an index is
// checked as soon as it has been read.
template <typename Describe>
void checkIndex(std::int32_t index, std::size_t pointCount, const Describe& describeItem) {
    if (index < 0 || static_cast<std::size_t>(index) >= pointCount) {
        reject(describeItem() + " names vertex index " + std::to_string(index) + ", but " +
               describeValidIndices(pointCount));
    }
}

template <typename Describe>
void readTriangle(NumberTokens& in, TerrainModel& model, const Describe& describeItem) {
    std::int32_t indices[3];
    for (std::int32_t& index : indices) {
        index = readItemNumber<std::int32_t>(in, describeItem);
        checkIndex(index, model.points.size(), describeItem);
    }
    model.addTriangle(indices[0], indices[1], indices[2]);
}

// The bytes from here to the end of a stream that can say so (a file, not a pipe).
std::optional<std::uint64_t> bytesLeft(std::istream& in) {
    if (in.rdbuf() == nullptr) {
        return std::nullopt;
    }
    std::streambuf& buffer = *in.rdbuf();
    const std::streampos here = buffer.pubseekoff(0, std::ios::cur, std::ios::in);
    if (here == std::streampos(-1)) {
        return std::nullopt;
    }
    const std::streampos end = buffer.pubseekoff(0, std::ios::end, std::ios::in);
    buffer.pubseekpos(here, std::ios::in);
    if (end == std::streampos(-1) || end < here) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(end - here);
}

// A count is not trusted for reserving memory: room is made only for as many points as the
// rest of the text can hold (one in every 4 bytes, "0 0\n"), so a huge count in a short file
// takes no more memory than the file could fill, and never for more than mostPointsReserved,
// so a huge sparse file (16 GiB of nothing but its count) asks for no memory it never fills.
// Beyond that, and where the text's length is not known, the lists grow as the points arrive.
std::size_t roomForPoints(std::uint32_t count, std::optional<std::uint64_t> textBytes) {
    constexpr std::uint64_t shortestPointLine = 4;
    constexpr std::uint64_t mostPointsReserved = std::uint64_t{1} << 24;
    return textBytes ? static_cast<std::size_t>(std::min<std::uint64_t>(
                           {count, *textBytes / shortestPointLine, mostPointsReserved}))
                     : 0;
}

void readPoints(NumberTokens& in, std::uint32_t count, std::vector<Point2>& points) {
    for (std::uint32_t k = 0; k < count; ++k) {
        const auto describePoint = [k, count] { return ordinalOf("point", k, count); };
        Point2 point{0.0f, 0.0f};
        point.x = readItemNumber<float>(in, describePoint);
        point.y = readItemNumber<float>(in, describePoint);
        points.push_back(point);
    }
}

std::string describeNumbersOnLine(std::uint32_t position, std::uint32_t count,
                                  const char* numbers) {
    return ordinalOf("point", position, count) + " has " + numbers +
           "; a terrain file has x y z on each point line";
}

// One number of point `k`'s line in a terrain file, the `place`th (0: x, 1: y, 2: z). The
// line's shape is checked before the number itself, so that a short line is named as such
// even when the next line's first token is not a number.
float readTerrainNumber(NumberTokens& in, std::uint32_t k, std::uint32_t count, int place,
                        bool framed) {
    const auto describePoint = [k, count] { return ordinalOf("point", k, count); };
    float value = 0.0f;
    const Token token = readNumber(in, value);
    if (token == Token::Missing) {
        reject("the file ends before " + describePoint() + " is complete");
    }
    const bool startsLine = in.lineEndBefore();
    if (place == 0 && !startsLine) {
        if (k == 0) {
            reject(framed ? recordEndsLine : terrainMarkerExpected);
        }
        reject(describeNumbersOnLine(k - 1, count, "more than 3 numbers"));
    }
    if (place > 0 && startsLine) {
        reject(describeNumbersOnLine(k, count, place == 1 ? "1 number" : "2 numbers"));
    }
    if (token == Token::Malformed) {
        reject(describePoint() + " cannot be read");
    }
    return value;
}

void readTerrainPoints(NumberTokens& in, std::uint32_t count, TerrainModel& model, bool framed) {
    for (std::uint32_t k = 0; k < count; ++k) {
        const float x = readTerrainNumber(in, k, count, 0, framed);
        const float y = readTerrainNumber(in, k, count, 1, framed);
        const float z = readTerrainNumber(in, k, count, 2, framed);
        model.points.push_back(Point2{x, y});
        model.elevations.push_back(z);
    }
}

void readTriangles(NumberTokens& in, std::uint32_t count, TerrainModel& model) {
    for (std::uint32_t k = 0; k < count; ++k) {
        const auto describeTriangle = [k, count] { return ordinalOf("triangle", k, count); };
        readTriangle(in, model, describeTriangle);
    }
}

enum class PointLines { Plane, WithElevation };

TerrainModel readModel(std::istream& in, PointLines lines) {
    const std::optional<std::uint64_t> textBytes = bytesLeft(in);
    NumberTokens numbers(in);
    numbers.skipByteOrderMark();
    TerrainModel model;
    std::optional<MapFrame> frame;
    const std::uint32_t pointCount = readCount(numbers, "point count", [] {});
    const bool marked = numbers.readWord(terrainMarker);
    const std::size_t room = roomForPoints(pointCount, textBytes);
    reserveHugePages(model.points, room);
    if (lines == PointLines::Plane) {
        if (marked) {
            reject("this is a terrain file (its point count is followed by \"xyz\"), which "
                   "Tessaro shows with --elevation");
        }
        readPoints(numbers, pointCount, model.points);
    } else {
        if (!marked || numbers.lineEndBefore()) {
            reject(terrainMarkerExpected);
        }
        frame = readFrameRecord(numbers);
        reserveHugePages(model.elevations, room);
        readTerrainPoints(numbers, pointCount, model, frame.has_value());
    }
    const auto lastPointLineEnded = [&] {
        if (lines == PointLines::WithElevation && pointCount > 0 && !numbers.lineEndBefore()) {
            reject(describeNumbersOnLine(pointCount - 1, pointCount, "more than 3 numbers"));
        }
    };
    const std::uint32_t triangleCount = readCount(numbers, "triangle count", lastPointLineEnded);
    // A triangle's line is longer than the shortest point line, so the points' rule bounds
    // the room for triangles too; the stream has been read ahead of the count, which only
    // makes the room smaller.
    reserveHugePages(model.triangles, roomForPoints(triangleCount, bytesLeft(in)));
    readTriangles(numbers, triangleCount, model);
    if (lines == PointLines::Plane) {
        frame = readFrameRecord(numbers);
    }
    model.frame = frame.value_or(MapFrame{});
    return model;
}

} // namespace

TerrainModel readTriangulation(std::istream& in) {
    return readModel(in, PointLines::Plane);
}

TerrainModel readTerrain(std::istream& in) {
    return readModel(in, PointLines::WithElevation);
}

} // namespace zel

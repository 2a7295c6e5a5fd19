#include "viewer/triangulation_reader.h"

#include "viewer/number_tokens.h"
#include "viewer/point_list.h"
#include "viewer/triangulation_format_exception.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <list>
#include <memory>
#include <string>
#include <utility>

namespace zel {
namespace {

using Token = NumberTokens::Token;

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

std::uint32_t readCount(NumberTokens& in, const std::string& countName) {
    std::uint32_t count = 0;
    const Token token = readNumber(in, count);
    if (token == Token::Missing) {
        reject("the file ends before the " + countName);
    }
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
template <typename Describe> void checkIndex(std::int32_t index, const Describe& describeItem) {
    const std::size_t pointCount = points.size();
    if (index < 0 || static_cast<std::size_t>(index) >= pointCount) {
        reject(describeItem() + " names vertex index " + std::to_string(index) + ", but " +
               describeValidIndices(pointCount));
    }
}

template <typename Describe>
Triangle* readTriangle(NumberTokens& in, const Describe& describeItem) {
    std::int32_t indices[3];
    for (std::int32_t& index : indices) {
        index = readItemNumber<std::int32_t>(in, describeItem);
        checkIndex(index, describeItem);
    }
    return new Triangle(indices[0], indices[1], indices[2]);
}

// The counts are not trusted for reserving memory: the lists grow only as far as the file
// actually holds points and triangles, so a huge count in a short file fails fast.
void readPoints(NumberTokens& in, std::uint32_t count) {
    for (std::uint32_t k = 0; k < count; ++k) {
        const auto describePoint = [k, count] { return ordinalOf("point", k, count); };
        Point2 point{0.0f, 0.0f};
        point.x = readItemNumber<float>(in, describePoint);
        point.y = readItemNumber<float>(in, describePoint);
        points.push_back(point);
    }
}

void readTriangles(NumberTokens& in, std::uint32_t count, std::list<Triangle*>& triangles) {
    for (std::uint32_t k = 0; k < count; ++k) {
        const auto describeTriangle = [k, count] { return ordinalOf("triangle", k, count); };
        std::unique_ptr<Triangle> triangle(readTriangle(in, describeTriangle));
        triangles.push_back(triangle.get());
        triangle.release();
    }
}

// Leaves the model and the point list as they were before a failed reading.
void discardReadingSince(std::size_t pointCount, std::size_t triangleCount,
                         std::list<Triangle*>& triangles) {
    const auto firstNew = std::next(triangles.begin(), static_cast<std::ptrdiff_t>(triangleCount));
    for (auto it = firstNew; it != triangles.end(); ++it) {
        delete *it;
    }
    triangles.erase(firstNew, triangles.end());
    points.resize(pointCount);
}

} // namespace

std::istream& operator>>(std::istream& in, TerrainModel& model) {
    NumberTokens numbers(in);
    const std::size_t pointsBefore = points.size();
    const std::size_t trianglesBefore = model.triangles.size();
    try {
        readPoints(numbers, readCount(numbers, "point count"));
        readTriangles(numbers, readCount(numbers, "triangle count"), model.triangles);
    } catch (...) {
        discardReadingSince(pointsBefore, trianglesBefore, model.triangles);
        throw;
    }
    return in;
}

} // namespace zel

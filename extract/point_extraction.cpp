#include "extract/point_extraction.h"

#include "extract/output_file.h"
#include "extract/point_file_exception.h"

#include <array>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <type_traits>
#include <utility>
#include <vector>

namespace zel {

namespace {

enum class ReadProblem { None, EndOfFile, NotANumber, OutOfRange, Negative, ReadError };

const char* describe(ReadProblem problem) {
    switch (problem) {
    case ReadProblem::EndOfFile:
        return "end of file";
    case ReadProblem::NotANumber:
        return "not a number";
    case ReadProblem::OutOfRange:
        return "out of range";
    case ReadProblem::Negative:
        return "negative";
    case ReadProblem::ReadError:
        return "read error";
    case ReadProblem::None:
        break;
    }
    return "";
}

// Formatted extraction of one number, with the reason when it fails. A failed extraction
// leaves 0 for text that is no number and the type's limit for a number out of its range.
template <typename Number> ReadProblem readNumber(std::istream& in, Number& value) {
    in >> std::ws;
    if (in.bad()) {
        return ReadProblem::ReadError;
    }
    if (in.eof()) {
        return ReadProblem::EndOfFile;
    }
    if constexpr (std::is_unsigned_v<Number>) {
        // Extraction would wrap "-1" round to the largest count.
        if (in.peek() == '-') {
            return ReadProblem::Negative;
        }
    }
    value = Number{};
    in >> value;
    if (in.bad()) {
        return ReadProblem::ReadError;
    }
    if (in.fail()) {
        return value == Number{} ? ReadProblem::NotANumber : ReadProblem::OutOfRange;
    }
    return ReadProblem::None;
}

[[noreturn]] void throwUnreadable(const std::string& item, const std::string& pointsName,
                                  ReadProblem problem) {
    throw PointFileException("Cannot read " + item + " in file: " + pointsName + " (" +
                             describe(problem) + ")");
}

std::string coordinateItem(char axis, std::uint32_t index, std::uint32_t count) {
    // Points are numbered from 1 for the reader of the message.
    return std::string("the ") + axis + " coordinate of point " +
           std::to_string(std::uint64_t{index} + 1) + " of " + std::to_string(count);
}

// Writes "x y" and ends the line, each coordinate as the stream's default formatting writes
// a float (general notation, 6 significant digits). Formatting by hand skips the stream's
// locale machinery, which costs more than the rest of a point.
void writePointLine(std::ostream& out, float x, float y) {
    constexpr int kDefaultPrecision = 6;
    constexpr std::size_t kCoordinateRoom = 16; // "-1.23457e-38" is the longest
    std::array<char, 2 * kCoordinateRoom + 1> line{};
    char* const last = line.data() + line.size();
    char* end =
        std::to_chars(line.data(), last, x, std::chars_format::general, kDefaultPrecision).ptr;
    *end++ = ' ';
    end = std::to_chars(end, last, y, std::chars_format::general, kDefaultPrecision).ptr;
    out.write(line.data(), end - line.data());
    out << std::endl;
}

void checkWritten(const std::ostream& out, const std::string& outName) {
    if (!out) {
        throw OutputFileException("Cannot write file: " + outName);
    }
}

} // namespace

std::uint32_t extractPoints(std::istream& points, const std::string& pointsName, std::ostream& out,
                            const std::string& outName) {
    std::uint32_t count = 0;
    if (const ReadProblem problem = readNumber(points, count); problem != ReadProblem::None) {
        throwUnreadable("the point count", pointsName, problem);
    }
    out << count << std::endl;
    checkWritten(out, outName);

    float x = 0;
    float y = 0;
    float z = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        for (auto [axis, value] : {std::pair<char, float*>{'x', &x}, {'y', &y}, {'z', &z}}) {
            if (const ReadProblem problem = readNumber(points, *value);
                problem != ReadProblem::None) {
                throwUnreadable(coordinateItem(axis, i, count), pointsName, problem);
            }
        }
        writePointLine(out, x, y);
        checkWritten(out, outName);
    }
    return count;
}

std::uint32_t extractPointFile(const std::string& inputName, const std::string& outputName) {
    std::error_code error;
    // A directory opens as a stream on some systems but holds no points.
    if (std::filesystem::is_directory(inputName, error)) {
        throw PointFileException("Cannot open file: " + inputName);
    }
    std::vector<char> blocks(1 << 16);
    std::ifstream points;
    points.rdbuf()->pubsetbuf(blocks.data(), static_cast<std::streamsize>(blocks.size()));
    points.open(inputName);
    if (!points.good()) {
        throw PointFileException("Cannot open file: " + inputName);
    }

    OutputFile output(outputName);
    const std::uint32_t count = extractPoints(points, inputName, output.stream(), outputName);
    points.close();
    output.commit();
    return count;
}

} // namespace zel

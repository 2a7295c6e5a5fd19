#include "extract/point_extraction.h"

#include "common/file_identity.h"
#include "common/input_file.h"
#include "common/number_tokens.h"
#include "common/staged_output_file.h"
#include "extract/point_file_exception.h"

#include <array>
#include <charconv>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

namespace zel {

namespace {

enum class ReadProblem { None, EndOfFile, NotANumber, OutOfRange, Negative, TooLong, ReadError };

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
    case ReadProblem::TooLong:
        return "too long";
    case ReadProblem::ReadError:
        return "read error";
    case ReadProblem::None:
        break;
    }
    return "";
}

// No number is this long; the bound keeps an endless token from a pipe from filling memory.
constexpr std::size_t longestToken = std::size_t{1} << 16;

ReadProblem problemOf(NumberTokens::Token token, const NumberTokens& in, bool count) {
    if (token == NumberTokens::Token::Read) {
        return ReadProblem::None;
    }
    if (in.readFailed()) {
        return ReadProblem::ReadError;
    }
    if (token == NumberTokens::Token::Missing) {
        return ReadProblem::EndOfFile;
    }
    const NumberTokens::Fault fault = in.lastFault();
    if (fault.tooLong) {
        return ReadProblem::TooLong;
    }
    if (count && fault.startsWithMinus) {
        return ReadProblem::Negative;
    }
    return fault.problem == NumberProblem::OutOfRange ? ReadProblem::OutOfRange
                                                      : ReadProblem::NotANumber;
}

template <typename Number> ReadProblem readNumber(NumberTokens& in, Number& value) {
    return problemOf(in.read(value), in, std::is_unsigned_v<Number>);
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
    constexpr int defaultPrecision = 6;
    constexpr std::size_t coordinateRoom = 16; // "-1.23457e-38" is the longest
    std::array<char, 2 * coordinateRoom + 1> line{};
    char* const last = line.data() + line.size();
    char* end =
        std::to_chars(line.data(), last, x, std::chars_format::general, defaultPrecision).ptr;
    *end++ = ' ';
    end = std::to_chars(end, last, y, std::chars_format::general, defaultPrecision).ptr;
    out.write(line.data(), end - line.data());
    out << std::endl;
}

void checkWritten(const std::ostream& out, const std::string& outName) {
    if (!out) {
        throw OutputFileException(OutputFileException::Failure::Write, outName);
    }
}

} // namespace

std::uint32_t extractPoints(std::istream& pointText, const std::string& pointsName,
                            std::ostream& out, const std::string& outName) {
    // A block one longer than the longest token holds it with the whitespace that ends it.
    NumberTokens points(pointText, longestToken + 1);
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

namespace {

std::unique_ptr<std::ifstream> openPointFile(const std::string& name) {
    InputFile opened = openInputFile(name);
    if (!opened.stream) {
        throw PointFileException("Cannot open file: " + name);
    }
    return std::move(opened.stream);
}

// Writing the output over the input would lose the points (a file without a count line reads as
// none): refused before either is touched.
void refuseOutputOverInput(const std::string& inputName, const std::string& outputName) {
    const std::optional<FileIdentity> input = regularFileNamed(inputName);
    if (input && input == regularFileNamed(outputName)) {
        throw PointFileException("Cannot create file: " + outputName + " (it is the input file)");
    }
}

} // namespace

std::uint32_t extractPointFile(const std::string& inputName, const std::string& outputName) {
    refuseOutputOverInput(inputName, outputName);
    const std::unique_ptr<std::ifstream> points = openPointFile(inputName);
    StagedOutputFile output(outputName, ".planor-");
    const std::uint32_t count = extractPoints(*points, inputName, output.stream(), outputName);
    points->close();
    output.commit();
    return count;
}

std::uint32_t extractPointFile(const std::string& inputName, std::ostream& out,
                               const std::string& outName) {
    refuseOutputOverInput(inputName, outName);
    const std::unique_ptr<std::ifstream> points = openPointFile(inputName);
    return extractPoints(*points, inputName, out, outName);
}

} // namespace zel

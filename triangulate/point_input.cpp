#include "triangulate/point_input.h"

#include "common/number_token.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string_view>

namespace zel {

namespace {

// The viewer holds vertex indices as signed 32-bit integers.
constexpr std::uint64_t maxPoints = 2147483647;
constexpr std::size_t shownTokenLength = 40;
constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

bool isBlank(std::string_view line) {
    return std::all_of(line.begin(), line.end(), isSpace);
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// The lines of a text that hold more than whitespace, with their line numbers.
class Lines {
public:
    explicit Lines(std::string_view text) : rest_(text) {}

    bool next(std::string_view& line) {
        while (!rest_.empty()) {
            const std::size_t end = rest_.find('\n');
            line = rest_.substr(0, end);
            rest_ = end == std::string_view::npos ? std::string_view{} : rest_.substr(end + 1);
            ++number_;
            if (!isBlank(line)) {
                return true;
            }
        }
        return false;
    }

    std::size_t number() const { return number_; }

private:
    std::string_view rest_;
    std::size_t number_ = 0;
};

// The whitespace-separated tokens of one line.
class Tokens {
public:
    explicit Tokens(std::string_view line) : rest_(line) {}

    bool next(std::string_view& token) {
        std::size_t start = 0;
        while (start < rest_.size() && isSpace(rest_[start])) {
            ++start;
        }
        if (start == rest_.size()) {
            return false;
        }
        std::size_t end = start;
        while (end < rest_.size() && !isSpace(rest_[end])) {
            ++end;
        }
        token = rest_.substr(start, end - start);
        rest_.remove_prefix(end);
        return true;
    }

private:
    std::string_view rest_;
};

std::string quoted(std::string_view token) {
    const bool cut = token.size() > shownTokenLength;
    std::string text = "\"";
    text += token.substr(0, shownTokenLength);
    text += cut ? "...\"" : "\"";
    return text;
}

std::string numberProblem(NumberProblem problem, std::string_view token) {
    switch (problem) {
    case NumberProblem::NotANumber:
        return quoted(token) + " is not a number";
    case NumberProblem::OutOfRange:
        return quoted(token) + " is out of the range of a double";
    case NumberProblem::NotFinite:
        return quoted(token) + " is not a finite coordinate";
    case NumberProblem::None:
        break;
    }
    return {};
}

std::string lowerCase(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return lower;
}

std::string_view unquoted(std::string_view field) {
    field = trimmed(field);
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"') {
        field = trimmed(field.substr(1, field.size() - 2));
    }
    return field;
}

void splitFields(std::string_view line, char delimiter, std::vector<std::string_view>& fields) {
    fields.clear();
    for (;;) {
        const std::size_t end = line.find(delimiter);
        fields.push_back(unquoted(line.substr(0, end)));
        if (end == std::string_view::npos) {
            return;
        }
        line.remove_prefix(end + 1);
    }
}

struct Columns {
    std::size_t x = 0;
    std::size_t y = 1;
};

// The first pair of column names that the header holds both of; else the first two fields.
Columns namedColumns(const std::vector<std::string_view>& header) {
    static constexpr std::array<std::array<std::string_view, 2>, 4> columnNames = {
        {{"x", "y"}, {"easting", "northing"}, {"lon", "lat"}, {"longitude", "latitude"}}};
    std::vector<std::string> names;
    std::transform(header.begin(), header.end(), std::back_inserter(names), lowerCase);
    for (const auto& [xName, yName] : columnNames) {
        const auto x = std::find(names.begin(), names.end(), xName);
        const auto y = std::find(names.begin(), names.end(), yName);
        if (x != names.end() && y != names.end()) {
            return {static_cast<std::size_t>(x - names.begin()),
                    static_cast<std::size_t>(y - names.begin())};
        }
    }
    return {};
}

class PointParser {
public:
    PointParser(std::string_view text, const std::string& name) : lines_(text), name_(name) {}

    std::vector<PlanePoint> parse() {
        std::string_view first;
        if (!lines_.next(first)) {
            throw PointInputException(name_ + ":1: the file holds no points");
        }
        if (first.find_first_of(",;") != std::string_view::npos) {
            return parseCsv(first);
        }
        Tokens tokens(first);
        std::string_view count;
        std::string_view second;
        tokens.next(count);
        return tokens.next(second) ? parseNumberLines(first) : parseCounted(count);
    }

private:
    [[noreturn]] void fail(std::size_t line, const std::string& what) const {
        throw PointInputException(name_ + ":" + std::to_string(line) + ": " + what);
    }
    [[noreturn]] void fail(const std::string& what) const { fail(lines_.number(), what); }

    double number(std::string_view token, const std::string& where = {}) const {
        double value = 0.0;
        const NumberProblem problem = parseNumber(token, value);
        if (problem != NumberProblem::None) {
            fail(where + numberProblem(problem, token));
        }
        return value;
    }

    std::vector<PlanePoint> parseCounted(std::string_view countToken) {
        const std::size_t countLine = lines_.number();
        std::uint64_t count = 0;
        const NumberProblem problem = parseNumber(countToken, count);
        if (problem == NumberProblem::NotANumber) {
            fail("the point count " + quoted(countToken) + " is not a whole number");
        }
        if (problem == NumberProblem::OutOfRange || count > maxPoints) {
            fail("the point count " + std::string(countToken) + " is more than " +
                 std::to_string(maxPoints));
        }
        // Line ends carry no meaning after the count: the numbers that follow decide
        // between pairs and triples.
        std::vector<double> values;
        std::string_view line;
        while (lines_.next(line)) {
            Tokens tokens(line);
            for (std::string_view token; tokens.next(token);) {
                values.push_back(number(token));
            }
        }
        if (values.size() != 2 * count && values.size() != 3 * count) {
            fail(countLine, "the point count " + std::to_string(count) + " does not match the " +
                                std::to_string(values.size()) + " numbers that follow (" +
                                std::to_string(count) + " points take " +
                                std::to_string(2 * count) + " or " + std::to_string(3 * count) +
                                ")");
        }
        const std::size_t stride = values.size() == 2 * count ? 2 : 3;
        std::vector<PlanePoint> points(count);
        for (std::size_t i = 0; i < count; ++i) {
            points[i] = {values[i * stride], values[i * stride + 1]};
        }
        return points;
    }

    std::vector<PlanePoint> parseNumberLines(std::string_view line) {
        std::vector<PlanePoint> points;
        do {
            Tokens tokens(line);
            std::string_view x;
            std::string_view y;
            tokens.next(x);
            if (!tokens.next(y)) {
                fail("a point needs two numbers, x and y, but the line holds one");
            }
            points.push_back({number(x), number(y)});
            for (std::string_view more; tokens.next(more);) {
                number(more);
            }
        } while (lines_.next(line));
        return points;
    }

    std::vector<PlanePoint> parseCsv(std::string_view line) {
        const char delimiter = line.find(';') != std::string_view::npos ? ';' : ',';
        std::vector<std::string_view> fields;
        splitFields(line, delimiter, fields);
        double ignored = 0.0;
        const bool header = std::any_of(fields.begin(), fields.end(), [&](std::string_view f) {
            return !f.empty() && parseNumber(f, ignored) == NumberProblem::NotANumber;
        });
        const Columns columns = header ? namedColumns(fields) : Columns{};
        std::vector<PlanePoint> points;
        if (!header) {
            points.push_back(csvPoint(fields, columns));
        }
        while (lines_.next(line)) {
            splitFields(line, delimiter, fields);
            points.push_back(csvPoint(fields, columns));
        }
        return points;
    }

    PlanePoint csvPoint(const std::vector<std::string_view>& fields, const Columns& columns) {
        const std::size_t last = std::max(columns.x, columns.y);
        if (fields.size() <= last) {
            fail("the line has " + std::to_string(fields.size()) +
                 (fields.size() == 1 ? " field, but " : " fields, but ") +
                 (columns.x > columns.y ? "x" : "y") + " is field " + std::to_string(last + 1));
        }
        return {csvNumber(fields, columns.x), csvNumber(fields, columns.y)};
    }

    double csvNumber(const std::vector<std::string_view>& fields, std::size_t column) {
        const std::string where = "field " + std::to_string(column + 1);
        if (fields[column].empty()) {
            fail(where + " is empty");
        }
        return number(fields[column], where + ": ");
    }

    Lines lines_;
    const std::string& name_;
};

std::string systemError() {
    return std::strerror(errno);
}

} // namespace

std::vector<PlanePoint> parsePoints(std::string_view text, const std::string& name) {
    if (text.substr(0, byteOrderMark.size()) == byteOrderMark) {
        text.remove_prefix(byteOrderMark.size());
    }
    return PointParser(text, name).parse();
}

std::vector<PlanePoint> readPointFile(const std::string& name) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(name.c_str(), "rb"),
                                                               std::fclose);
    if (!file) {
        throw PointInputException(name + ": cannot be opened: " + systemError());
    }
    std::string text;
    // Only a regular file's size is its length; a directory's or a device's says nothing.
    std::error_code error;
    if (std::filesystem::is_regular_file(name, error)) {
        const std::uintmax_t size = std::filesystem::file_size(name, error);
        if (!error) {
            text.reserve(static_cast<std::size_t>(size));
        }
    }
    std::array<char, 1 << 16> block;
    for (std::size_t got; (got = std::fread(block.data(), 1, block.size(), file.get())) > 0;) {
        text.append(block.data(), got);
    }
    if (std::ferror(file.get())) {
        throw PointInputException(name + ": cannot be read: " + systemError());
    }
    return parsePoints(text, name);
}

} // namespace zel

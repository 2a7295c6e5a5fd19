#include "triangulate/point_input.h"

#include "common/number_token.h"
#include "common/printable_text.h"
#include "triangulate/csv_records.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string_view>

namespace zel {

namespace {

// The viewer holds vertex indices as signed 32-bit integers.
constexpr std::uint64_t maxPoints = 2147483647;
constexpr std::size_t shownTokenLength = 40;
constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view spaces = " \t\r\v\f";
// What ends a token in every form: whitespace and line ends.
constexpr std::string_view tokenSeparators = " \t\r\v\f\n";

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

bool isBlank(std::string_view line) {
    return std::all_of(line.begin(), line.end(), isSpace);
}

bool isComment(std::string_view line) {
    const std::size_t first = line.find_first_not_of(spaces);
    return first != std::string_view::npos && line[first] == '#';
}

// The lines of a text that hold more than whitespace and are no comments, with their line
// numbers.
class Lines {
public:
    explicit Lines(std::string_view text) : text_(text), rest_(text) {}

    bool next(std::string_view& line) {
        while (!rest_.empty()) {
            const std::size_t end = rest_.find('\n');
            line = rest_.substr(0, end);
            lineStart_ = static_cast<std::size_t>(line.data() - text_.data());
            rest_ = end == std::string_view::npos ? std::string_view{} : rest_.substr(end + 1);
            ++number_;
            if (!isBlank(line) && !isComment(line)) {
                return true;
            }
        }
        return false;
    }

    std::size_t number() const { return number_; }
    // The text from the start of the line last read.
    std::string_view fromLine() const { return text_.substr(lineStart_); }

private:
    std::string_view text_;
    std::string_view rest_;
    std::size_t lineStart_ = 0;
    std::size_t number_ = 0;
};

// The whitespace-separated tokens of one line.
void splitTokens(std::string_view line, std::vector<std::string_view>& tokens) {
    tokens.clear();
    std::size_t end = 0;
    for (;;) {
        std::size_t start = end;
        while (start < line.size() && isSpace(line[start])) {
            ++start;
        }
        if (start == line.size()) {
            return;
        }
        end = start;
        while (end < line.size() && !isSpace(line[end])) {
            ++end;
        }
        tokens.push_back(line.substr(start, end - start));
    }
}

std::string quoted(std::string_view token) {
    const bool cut = token.size() > shownTokenLength;
    return '"' + printableText(token.substr(0, shownTokenLength)) + (cut ? "...\"" : "\"");
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

struct Columns {
    std::size_t x = 0;
    std::size_t y = 1;
    bool geographic = false;

    std::size_t last() const { return std::max(x, y); }
};

// A field that would be read as a number, right or wrong ("1e999" and "inf" are such).
bool isNumberLike(std::string_view field) {
    double ignored = 0.0;
    return !field.empty() && parseNumber(field, ignored) != NumberProblem::NotANumber;
}

// The first line is a header when no field read from it is a number.
bool isHeader(const std::vector<std::string_view>& fields, std::size_t fieldsRead) {
    const auto read =
        fields.begin() + static_cast<std::ptrdiff_t>(std::min(fieldsRead, fields.size()));
    return std::none_of(fields.begin(), read, isNumberLike);
}

// The columns of the first pair of names that the header holds both of; else the first two.
Columns namedColumns(const std::vector<std::string_view>& header) {
    struct NamePair {
        std::initializer_list<std::string_view> x;
        std::initializer_list<std::string_view> y;
        bool geographic;
    };
    static const std::array<NamePair, 3> pairs = {
        {{{"x"}, {"y"}, false},
         {{"easting"}, {"northing"}, false},
         {{"lon", "lng", "long", "longitude"}, {"lat", "latitude"}, true}}};
    std::vector<std::string> names;
    std::transform(header.begin(), header.end(), std::back_inserter(names), lowerCase);
    const auto find = [&names](std::initializer_list<std::string_view> wanted) {
        return std::find_if(names.begin(), names.end(), [&wanted](const std::string& name) {
            return std::find(wanted.begin(), wanted.end(), name) != wanted.end();
        });
    };
    for (const NamePair& pair : pairs) {
        const auto x = find(pair.x);
        const auto y = find(pair.y);
        if (x != names.end() && y != names.end()) {
            return {static_cast<std::size_t>(x - names.begin()),
                    static_cast<std::size_t>(y - names.begin()), pair.geographic};
        }
    }
    return {};
}

class PointParser {
public:
    PointParser(std::string_view text, const std::string& name) : lines_(text), name_(name) {}

    PointSet parse() {
        std::string_view first;
        if (!lines_.next(first)) {
            throw PointInputException(name_ + ":1: the file holds no points");
        }
        if (first.find_first_of(",;") != std::string_view::npos) {
            return parseCsv(first);
        }
        splitTokens(first, tokens_);
        return tokens_.size() > 1 ? parseNumberLines(first) : PointSet{parseCounted(tokens_[0])};
    }

private:
    [[noreturn]] void fail(std::size_t line, const std::string& what) const {
        throw PointInputException(name_ + ":" + std::to_string(line) + ": " + what);
    }
    [[noreturn]] void fail(const std::string& what) const { fail(lines_.number(), what); }

    double number(std::string_view token, std::size_t line, const std::string& where = {}) const {
        double value = 0.0;
        const NumberProblem problem = parseNumber(token, value);
        if (problem != NumberProblem::None) {
            fail(line, where + numberProblem(problem, token));
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
            splitTokens(line, tokens_);
            for (const std::string_view token : tokens_) {
                values.push_back(number(token, lines_.number()));
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

    PointSet parseNumberLines(std::string_view line) {
        PointSet set;
        Columns columns;
        if (isHeader(tokens_, tokens_.size())) {
            columns = namedColumns(tokens_);
            set.geographic = columns.geographic;
        } else {
            set.points.push_back(numberLinePoint(columns));
        }
        while (lines_.next(line)) {
            splitTokens(line, tokens_);
            set.points.push_back(numberLinePoint(columns));
        }
        return set;
    }

    PlanePoint numberLinePoint(const Columns& columns) {
        if (tokens_.size() == 1 && columns.last() == 1) {
            fail("a point needs two numbers, x and y, but the line holds one");
        }
        checkFieldCount(tokens_.size(), columns, lines_.number());
        PlanePoint point{};
        for (std::size_t i = 0; i < tokens_.size(); ++i) {
            const double value = number(tokens_[i], lines_.number());
            point.x = i == columns.x ? value : point.x;
            point.y = i == columns.y ? value : point.y;
        }
        return point;
    }

    void checkFieldCount(std::size_t count, const Columns& columns, std::size_t line) const {
        if (count <= columns.last()) {
            fail(line, "the line has " + std::to_string(count) +
                           (count == 1 ? " field, but " : " fields, but ") +
                           (columns.x > columns.y ? "x" : "y") + " is field " +
                           std::to_string(columns.last() + 1));
        }
    }

    PointSet parseCsv(std::string_view firstLine) {
        const char delimiter = firstLine.find(';') != std::string_view::npos ? ';' : ',';
        CsvRecords records(lines_.fromLine(), delimiter, lines_.number());
        PointSet set;
        Columns columns;
        std::vector<std::string_view> fields;
        if (nextCsvRecord(records, fields) && isHeader(fields, columns.last() + 1)) {
            columns = namedColumns(fields);
            set.geographic = columns.geographic;
        } else if (!fields.empty()) {
            set.points.push_back(csvPoint(fields, columns, records.line()));
        }
        while (nextCsvRecord(records, fields)) {
            set.points.push_back(csvPoint(fields, columns, records.line()));
        }
        return set;
    }

    bool nextCsvRecord(CsvRecords& records, std::vector<std::string_view>& fields) const {
        switch (records.next(fields)) {
        case CsvRecords::Status::Record:
            return true;
        case CsvRecords::Status::End:
            fields.clear();
            return false;
        case CsvRecords::Status::UnclosedQuote:
            fail(records.line(), "field " + std::to_string(fields.size()) +
                                     ": the quote that opens it is never closed");
        case CsvRecords::Status::TextAfterQuote:
            fail(records.line(), "field " + std::to_string(fields.size()) +
                                     ": more than whitespace follows its closing quote");
        }
        return false;
    }

    PlanePoint csvPoint(const std::vector<std::string_view>& fields, const Columns& columns,
                        std::size_t line) const {
        checkFieldCount(fields.size(), columns, line);
        return {csvNumber(fields, columns.x, line), csvNumber(fields, columns.y, line)};
    }

    double csvNumber(const std::vector<std::string_view>& fields, std::size_t column,
                     std::size_t line) const {
        const std::string where = "field " + std::to_string(column + 1);
        if (fields[column].empty()) {
            fail(line, where + " is empty");
        }
        return number(fields[column], line, where + ": ");
    }

    Lines lines_;
    const std::string& name_;
    std::vector<std::string_view> tokens_;
};

std::string systemError() {
    return std::strerror(errno);
}

// Follows the length of the token that runs on at the end of the text read so far.
class TokenBound {
public:
    // False once that token is longer than longestToken.
    bool admits(std::string_view block) {
        const std::size_t first = block.find_first_of(tokenSeparators);
        if (first == std::string_view::npos) {
            running_ += block.size();
        } else {
            running_ += first;
            if (running_ > longestToken) {
                return false;
            }
            running_ = block.size() - block.find_last_of(tokenSeparators) - 1;
        }
        return running_ <= longestToken;
    }

private:
    std::size_t running_ = 0;
};

std::size_t lineOfEnd(std::string_view text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
}

} // namespace

PointSet parsePointSet(std::string_view text, const std::string& name) {
    if (text.substr(0, byteOrderMark.size()) == byteOrderMark) {
        text.remove_prefix(byteOrderMark.size());
    }
    return PointParser(text, name).parse();
}

std::vector<PlanePoint> parsePoints(std::string_view text, const std::string& name) {
    return parsePointSet(text, name).points;
}

std::string pointFileLabel(const std::string& name) {
    return name == standardStreamName ? "standard input" : name;
}

PointSet readPointSet(const std::string& name) {
    const std::string label = pointFileLabel(name);
    const bool standardInput = name == standardStreamName;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
        standardInput ? stdin : std::fopen(name.c_str(), "rb"),
        standardInput ? +[](std::FILE*) { return 0; } : std::fclose);
    if (!file) {
        throw PointInputException(label + ": cannot be opened: " + systemError());
    }
    std::string text;
    // Only a regular file's size is its length; a directory's or a device's says nothing.
    std::error_code error;
    if (!standardInput && std::filesystem::is_regular_file(name, error)) {
        const std::uintmax_t size = std::filesystem::file_size(name, error);
        if (!error) {
            text.reserve(static_cast<std::size_t>(size));
        }
    }
    TokenBound bound;
    std::array<char, 1 << 16> block;
    for (std::size_t got; (got = std::fread(block.data(), 1, block.size(), file.get())) > 0;) {
        text.append(block.data(), got);
        if (!bound.admits({block.data(), got})) {
            throw PointInputException(label + ":" + std::to_string(lineOfEnd(text)) +
                                      ": a token longer than 1 MiB cannot be read");
        }
    }
    if (std::ferror(file.get())) {
        throw PointInputException(label + ": cannot be read: " + systemError());
    }
    return parsePointSet(text, label);
}

} // namespace zel

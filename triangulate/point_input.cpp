#include "triangulate/point_input.h"

#include "common/input_file.h"
#include "common/number_token.h"
#include "common/printable_text.h"
#include "triangulate/csv_records.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <iostream>
#include <iterator>
#include <optional>
#include <string_view>

namespace zel {

namespace {

// The viewer holds vertex indices as signed 32-bit integers.
constexpr std::uint64_t maxPoints = 2147483647;
constexpr std::size_t shownTokenLength = 40;
constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view spaces = " \t\v\f";
// What ends a token in every form: whitespace and line ends.
constexpr std::string_view tokenSeparators = " \t\r\v\f\n";

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

bool isBlank(std::string_view line) {
    return std::all_of(line.begin(), line.end(), isSpace);
}

bool isComment(std::string_view line) {
    const std::size_t first = line.find_first_not_of(spaces);
    return first != std::string_view::npos && line[first] == '#';
}

// The lines of a text that hold more than whitespace and are no comments, with their line
// numbers. Lines end in LF, CR LF or a lone CR.
class Lines {
public:
    explicit Lines(std::string_view text) : text_(text), rest_(text) {}

    bool next(std::string_view& line) {
        while (!rest_.empty()) {
            const std::size_t end = rest_.find_first_of("\r\n");
            line = rest_.substr(0, end);
            lineStart_ = static_cast<std::size_t>(line.data() - text_.data());
            rest_ = end == std::string_view::npos ? std::string_view{}
                                                  : rest_.substr(end + lineEndLength(rest_, end));
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
    std::optional<std::size_t> z; // only when heights are kept
    bool geographic = false;

    std::size_t last() const { return std::max({x, y, z.value_or(0)}); }
    // The coordinate that the last column read holds.
    char lastName() const {
        if (z && *z == last()) {
            return 'z';
        }
        return x > y ? 'x' : 'y';
    }
};

// Without a header: x, y and, when kept, z in the first columns.
Columns unnamedColumns(Heights heights) {
    Columns columns;
    if (heights == Heights::Kept) {
        columns.z = 2;
    }
    return columns;
}

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
// A kept z is the column named as a height, else the one after x and y.
Columns namedColumns(const std::vector<std::string_view>& header, Heights heights) {
    struct NamePair {
        std::initializer_list<std::string_view> x;
        std::initializer_list<std::string_view> y;
        bool geographic;
    };
    static const std::array<NamePair, 3> pairs = {
        {{{"x"}, {"y"}, false},
         {{"easting"}, {"northing"}, false},
         {{"lon", "lng", "long", "longitude"}, {"lat", "latitude"}, true}}};
    static const std::initializer_list<std::string_view> heightNames = {
        "z", "elevation", "height", "elev", "alt", "altitude"};
    std::vector<std::string> names;
    std::transform(header.begin(), header.end(), std::back_inserter(names), lowerCase);
    const auto find = [&names](std::initializer_list<std::string_view> wanted) {
        const auto found =
            std::find_if(names.begin(), names.end(), [&wanted](const std::string& name) {
                return std::find(wanted.begin(), wanted.end(), name) != wanted.end();
            });
        return static_cast<std::size_t>(found - names.begin());
    };
    Columns columns;
    for (const NamePair& pair : pairs) {
        const std::size_t x = find(pair.x);
        const std::size_t y = find(pair.y);
        if (x != names.size() && y != names.size()) {
            columns = {x, y, std::nullopt, pair.geographic};
            break;
        }
    }
    if (heights == Heights::Kept) {
        const std::size_t z = find(heightNames);
        columns.z = z != names.size() ? z : std::max(columns.x, columns.y) + 1;
    }
    return columns;
}

// Whether the text is the whole file, or the lines read so far of a file still being read:
// those are checked as far as they go, and what needs the whole file (the count matching the
// numbers, a quote closed further on, a count on the line of the points) is left to the end.
enum class TextRead { Whole, Begun };

class PointParser {
public:
    PointParser(std::string_view text, const std::string& name, Heights heights,
                TextRead read = TextRead::Whole)
        : lines_(text), name_(name), heights_(heights), whole_(read == TextRead::Whole) {}

    PointSet parse() {
        std::string_view first;
        if (!lines_.next(first)) {
            if (!whole_) {
                return {};
            }
            throw PointInputException(name_ + ":1: the file holds no points");
        }
        if (first.find_first_of(",;") != std::string_view::npos) {
            parseCsv(first);
        } else {
            splitTokens(first, tokens_);
            if (tokens_.size() > 1) {
                parseNumberLines(first);
            } else {
                parseCounted(tokens_[0]);
            }
        }
        return std::move(set_);
    }

private:
    [[noreturn]] void fail(std::size_t line, const std::string& what) const {
        throw PointInputException(name_ + ":" + std::to_string(line) + ": " + what);
    }
    [[noreturn]] void fail(const std::string& what) const { fail(lines_.number(), what); }
    [[noreturn]] void failWithoutHeights() const {
        throw PointInputException(name_ + ": --elevation needs a third coordinate (x y z)");
    }

    // A first line (a header or the first point) of `fieldCount` fields shows whether the
    // file holds the kept z at all.
    void checkHeightsPresent(const Columns& columns, std::size_t fieldCount) const {
        if (columns.z && *columns.z >= fieldCount) {
            failWithoutHeights();
        }
    }

    void add(double x, double y, double z) {
        set_.points.push_back({x, y});
        if (heights_ == Heights::Kept) {
            set_.heights.push_back(z);
        }
    }

    double number(std::string_view token, std::size_t line, const std::string& where = {}) const {
        double value = 0.0;
        const NumberProblem problem = parseNumber(token, value);
        if (problem != NumberProblem::None) {
            fail(line, where + numberProblem(problem, token));
        }
        return value;
    }

    void parseCounted(std::string_view countToken) {
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
        if (!whole_) {
            return;
        }
        if (values.size() != 2 * count && values.size() != 3 * count) {
            fail(countLine, "the point count " + std::to_string(count) + " does not match the " +
                                std::to_string(values.size()) + " numbers that follow (" +
                                std::to_string(count) + " points take " +
                                std::to_string(2 * count) + " or " + std::to_string(3 * count) +
                                ")");
        }
        const std::size_t stride = values.size() == 2 * count ? 2 : 3;
        if (heights_ == Heights::Kept && count > 0 && stride == 2) {
            failWithoutHeights();
        }
        set_.points.resize(count);
        set_.heights.resize(heights_ == Heights::Kept ? count : 0);
        for (std::size_t i = 0; i < count; ++i) {
            set_.points[i] = {values[i * stride], values[i * stride + 1]};
        }
        for (std::size_t i = 0; i < set_.heights.size(); ++i) {
            set_.heights[i] = values[i * stride + 2];
        }
    }

    void parseNumberLines(std::string_view line) {
        Columns columns = unnamedColumns(heights_);
        const bool header = isHeader(tokens_, tokens_.size());
        if (header) {
            columns = namedColumns(tokens_, heights_);
            set_.geographic = columns.geographic;
        }
        checkHeightsPresent(columns, tokens_.size());
        const CountLine countLine = countLineOf(header);
        if (!header) {
            addNumberLine(columns);
        }
        std::size_t secondLineFields = 0;
        std::size_t numbers = tokens_.size();
        while (lines_.next(line)) {
            splitTokens(line, tokens_);
            addNumberLine(columns);
            secondLineFields = secondLineFields == 0 ? tokens_.size() : secondLineFields;
            numbers += tokens_.size();
        }
        if (whole_ && countLine.count > 0) {
            refuseCountBesidePoints(countLine, secondLineFields, numbers);
        }
    }

    // A first line that may be a point count with the points, or some of them, beside it.
    struct CountLine {
        std::uint64_t count = 0; // 0 when the first token is no count
        std::size_t fields = 0;
        std::size_t line = 0;
    };

    CountLine countLineOf(bool header) const {
        CountLine countLine{0, tokens_.size(), lines_.number()};
        if (!header) {
            (void)parseNumber(tokens_.front(), countLine.count);
        }
        return countLine;
    }

    // A count with exactly the numbers of its points after it, on its own line or laid out
    // differently from the lines below it, is a count-first file written without the count's
    // line end, not a table whose first x is that count: refused rather than read wrongly.
    void refuseCountBesidePoints(const CountLine& countLine, std::size_t secondLineFields,
                                 std::size_t numbers) const {
        const std::uint64_t after = numbers - 1;
        const bool countsThem = after == 2 * countLine.count || after == 3 * countLine.count;
        if (countsThem && (secondLineFields == 0 || secondLineFields != countLine.fields)) {
            fail(countLine.line, "the point count " + std::to_string(countLine.count) +
                                     " shares its line with the numbers that follow; the "
                                     "count stands on a line of its own");
        }
    }

    void addNumberLine(const Columns& columns) {
        if (tokens_.size() == 1 && columns.last() == 1) {
            fail("a point needs two numbers, x and y, but the line holds one");
        }
        checkFieldCount(tokens_.size(), columns, lines_.number());
        double x = 0.0;
        double y = 0.0;
        double z = 0.0;
        for (std::size_t i = 0; i < tokens_.size(); ++i) {
            const double value = number(tokens_[i], lines_.number());
            x = i == columns.x ? value : x;
            y = i == columns.y ? value : y;
            z = i == columns.z ? value : z;
        }
        add(x, y, z);
    }

    void checkFieldCount(std::size_t count, const Columns& columns, std::size_t line) const {
        if (count <= columns.last()) {
            fail(line, "the line has " + std::to_string(count) +
                           (count == 1 ? " field, but " : " fields, but ") + columns.lastName() +
                           " is field " + std::to_string(columns.last() + 1));
        }
    }

    void parseCsv(std::string_view firstLine) {
        const char delimiter = firstLine.find(';') != std::string_view::npos ? ';' : ',';
        CsvRecords records(lines_.fromLine(), delimiter, lines_.number());
        Columns columns = unnamedColumns(heights_);
        std::vector<std::string_view> fields;
        if (!nextCsvRecord(records, fields)) {
            return;
        }
        // Only the fields of x and y tell a header.
        const bool header = isHeader(fields, Columns{}.last() + 1);
        if (header) {
            columns = namedColumns(fields, heights_);
            set_.geographic = columns.geographic;
        }
        checkHeightsPresent(columns, fields.size());
        if (!header) {
            addCsvPoint(fields, columns, records.line());
        }
        while (nextCsvRecord(records, fields)) {
            addCsvPoint(fields, columns, records.line());
        }
    }

    bool nextCsvRecord(CsvRecords& records, std::vector<std::string_view>& fields) const {
        switch (records.next(fields)) {
        case CsvRecords::Status::Record:
            return true;
        case CsvRecords::Status::End:
            fields.clear();
            return false;
        case CsvRecords::Status::UnclosedQuote:
            if (!whole_) {
                // The quote may close in the part of the file not yet read.
                fields.clear();
                return false;
            }
            fail(records.line(), "field " + std::to_string(fields.size()) +
                                     ": the quote that opens it is never closed");
        case CsvRecords::Status::TextAfterQuote:
            fail(records.line(), "field " + std::to_string(fields.size()) +
                                     ": more than whitespace follows its closing quote");
        }
        return false;
    }

    void addCsvPoint(const std::vector<std::string_view>& fields, const Columns& columns,
                     std::size_t line) {
        checkFieldCount(fields.size(), columns, line);
        const double x = csvNumber(fields, columns.x, line);
        const double y = csvNumber(fields, columns.y, line);
        add(x, y, columns.z ? csvNumber(fields, *columns.z, line) : 0.0);
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
    Heights heights_;
    bool whole_;
    PointSet set_;
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
    return lineEndCount(text) + 1;
}

// The text read so far, checked at sizes growing sixteenfold from this: a file that is not
// points (/dev/urandom, say) is refused once this much of it is read, and a good one is parsed
// again in part at most a fifteenth of its length.
constexpr std::size_t firstCheckedLength = std::size_t{1} << 16;
constexpr std::size_t checkedLengthGrowth = 16;

std::string_view withoutByteOrderMark(std::string_view text) {
    if (text.substr(0, byteOrderMark.size()) == byteOrderMark) {
        text.remove_prefix(byteOrderMark.size());
    }
    return text;
}

// Parses the complete lines read so far, so that a file that cannot be points fails before
// it is all in memory (an endless device never is).
void checkLinesRead(std::string_view text, const std::string& label, Heights heights) {
    const std::size_t lastLineEnd = text.find_last_of("\r\n");
    if (lastLineEnd != std::string_view::npos) {
        PointParser(withoutByteOrderMark(text.substr(0, lastLineEnd + 1)), label, heights,
                    TextRead::Begun)
            .parse();
    }
}

} // namespace

PointSet parsePointSet(std::string_view text, const std::string& name, Heights heights) {
    return PointParser(withoutByteOrderMark(text), name, heights).parse();
}

std::vector<PlanePoint> parsePoints(std::string_view text, const std::string& name) {
    return parsePointSet(text, name).points;
}

std::string pointFileLabel(const std::string& name) {
    return name == standardStreamName ? "standard input" : name;
}

PointSet readPointSet(const std::string& name, Heights heights) {
    const std::string label = pointFileLabel(name);
    const bool standardInput = name == standardStreamName;
    const InputFile opened = standardInput ? InputFile{} : openInputFile(name);
    if (!standardInput && !opened.stream) {
        throw PointInputException(label + ": cannot be opened: " + std::strerror(opened.error));
    }
    std::istream& in = standardInput ? std::cin : *opened.stream;
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
    std::size_t nextCheck = firstCheckedLength;
    for (std::size_t got;
         (got = static_cast<std::size_t>(
              in.read(block.data(), static_cast<std::streamsize>(block.size())).gcount())) > 0;) {
        text.append(block.data(), got);
        if (!bound.admits({block.data(), got})) {
            throw PointInputException(label + ":" + std::to_string(lineOfEnd(text)) +
                                      ": a token longer than 1 MiB cannot be read");
        }
        if (text.size() >= nextCheck) {
            checkLinesRead(text, label, heights);
            nextCheck = text.size() * checkedLengthGrowth;
        }
    }
    if (in.bad()) {
        throw PointInputException(label + ": cannot be read: " + systemError());
    }
    return parsePointSet(text, label, heights);
}

} // namespace zel

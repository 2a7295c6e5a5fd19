#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

// The records of CSV text as RFC 4180 has them: fields separated by the delimiter, records
// by line ends (LF, CR LF or CR); a field in double quotes may hold the delimiter, line ends, and
// quotes written twice (""), which stand for one. Spaces and tabs around a field, inside its quotes
// too, are not part of it, and a line that holds only whitespace is no record.
class CsvRecords {
public:
    enum class Status {
        Record,         // `fields` holds the next record
        End,            // no record is left
        UnclosedQuote,  // a quoted field runs to the end of the text
        TextAfterQuote, // a closing quote is followed by more than whitespace before the delimiter
    };

    // `firstLine` is the line number of the text's first line. The text must outlive this.
    CsvRecords(std::string_view text, char delimiter, std::size_t firstLine);

    // The fields stay valid until the next call. On a malformed record, `fields` ends with
    // the field found malformed.
    Status next(std::vector<std::string_view>& fields);
    // The line on which the record last read (or found malformed) starts.
    std::size_t line() const { return line_; }

private:
    Status readRecord(std::vector<std::string_view>& fields);
    Status readQuoted(std::string_view& field);
    std::string_view readPlain();

    std::string_view rest_;
    char delimiter_;
    std::size_t line_;
    std::size_t nextLine_;
    // The fields of the current record that held doubled quotes, with each pair made one.
    std::deque<std::string> unquoted_;
};

// The length of the line end that starts at `position` of `text`: 2 for CR LF, 1 for a lone
// LF or a lone CR (old Mac tools end lines so), 0 for none.
std::size_t lineEndLength(std::string_view text, std::size_t position);

// The number of line ends in `text`, each CR LF counted once.
std::size_t lineEndCount(std::string_view text);

} // namespace zel

#include "triangulate/csv_records.h"

namespace zel {

namespace {

bool isFieldSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

void trim(std::string& field) {
    std::size_t first = 0;
    while (first < field.size() && isFieldSpace(field[first])) {
        ++first;
    }
    std::size_t last = field.size();
    while (last > first && isFieldSpace(field[last - 1])) {
        --last;
    }
    field.assign(field, first, last - first);
}

void skipSpaces(std::string_view& text) {
    while (!text.empty() && isFieldSpace(text.front())) {
        text.remove_prefix(1);
    }
}

} // namespace

CsvRecords::CsvRecords(std::string_view text, char delimiter, std::size_t firstLine)
    : rest_(text), delimiter_(delimiter), line_(firstLine), nextLine_(firstLine) {}

CsvRecords::Status CsvRecords::next(std::vector<std::string>& fields) {
    while (!rest_.empty()) {
        line_ = nextLine_;
        const Status status = readRecord(fields);
        const bool blank = fields.size() == 1 && fields.front().empty();
        if (status != Status::Record || !blank) {
            return status;
        }
    }
    return Status::End;
}

CsvRecords::Status CsvRecords::readRecord(std::vector<std::string>& fields) {
    fields.clear();
    for (;;) {
        std::string& field = fields.emplace_back();
        skipSpaces(rest_);
        if (!rest_.empty() && rest_.front() == '"') {
            if (const Status status = readQuoted(field); status != Status::Record) {
                return status;
            }
            skipSpaces(rest_);
        } else {
            readPlain(field);
        }
        trim(field);
        if (rest_.empty()) {
            return Status::Record;
        }
        const char end = rest_.front();
        rest_.remove_prefix(1);
        if (end == '\n') {
            ++nextLine_;
            return Status::Record;
        }
        if (end != delimiter_) {
            return Status::TextAfterQuote;
        }
    }
}

CsvRecords::Status CsvRecords::readQuoted(std::string& field) {
    rest_.remove_prefix(1);
    for (;;) {
        const std::size_t quote = rest_.find('"');
        if (quote == std::string_view::npos) {
            return Status::UnclosedQuote;
        }
        const std::string_view part = rest_.substr(0, quote);
        for (const char c : part) {
            nextLine_ += c == '\n' ? 1 : 0;
        }
        field.append(part);
        rest_.remove_prefix(quote + 1);
        if (rest_.empty() || rest_.front() != '"') {
            return Status::Record;
        }
        field += '"';
        rest_.remove_prefix(1);
    }
}

void CsvRecords::readPlain(std::string& field) {
    const char ends[] = {delimiter_, '\n'};
    const std::size_t end = rest_.find_first_of(std::string_view(ends, sizeof ends));
    field.assign(rest_.substr(0, end));
    rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end);
}

} // namespace zel

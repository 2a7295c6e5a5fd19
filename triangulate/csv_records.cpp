#include "triangulate/csv_records.h"

#include <algorithm>

namespace zel {

namespace {

bool isFieldSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trimmed(std::string_view field) {
    while (!field.empty() && isFieldSpace(field.front())) {
        field.remove_prefix(1);
    }
    while (!field.empty() && isFieldSpace(field.back())) {
        field.remove_suffix(1);
    }
    return field;
}

void skipSpaces(std::string_view& text) {
    while (!text.empty() && isFieldSpace(text.front())) {
        text.remove_prefix(1);
    }
}

} // namespace

CsvRecords::CsvRecords(std::string_view text, char delimiter, std::size_t firstLine)
    : rest_(text), delimiter_(delimiter), line_(firstLine), nextLine_(firstLine) {}

CsvRecords::Status CsvRecords::next(std::vector<std::string_view>& fields) {
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

CsvRecords::Status CsvRecords::readRecord(std::vector<std::string_view>& fields) {
    fields.clear();
    unquoted_.clear();
    for (;;) {
        std::string_view& field = fields.emplace_back();
        skipSpaces(rest_);
        if (!rest_.empty() && rest_.front() == '"') {
            if (const Status status = readQuoted(field); status != Status::Record) {
                return status;
            }
            skipSpaces(rest_);
        } else {
            field = readPlain();
        }
        field = trimmed(field);
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

CsvRecords::Status CsvRecords::readQuoted(std::string_view& field) {
    rest_.remove_prefix(1);
    std::string* joined = nullptr;
    for (;;) {
        const std::size_t quote = rest_.find('"');
        if (quote == std::string_view::npos) {
            return Status::UnclosedQuote;
        }
        const std::string_view part = rest_.substr(0, quote);
        nextLine_ += static_cast<std::size_t>(std::count(part.begin(), part.end(), '\n'));
        rest_.remove_prefix(quote + 1);
        const bool doubled = !rest_.empty() && rest_.front() == '"';
        if (!doubled && joined == nullptr) {
            field = part;
            return Status::Record;
        }
        if (joined == nullptr) {
            joined = &unquoted_.emplace_back();
        }
        joined->append(part);
        if (!doubled) {
            field = *joined;
            return Status::Record;
        }
        *joined += '"';
        rest_.remove_prefix(1);
    }
}

std::string_view CsvRecords::readPlain() {
    std::size_t end = 0;
    while (end < rest_.size() && rest_[end] != delimiter_ && rest_[end] != '\n') {
        ++end;
    }
    const std::string_view field = rest_.substr(0, end);
    rest_.remove_prefix(end);
    return field;
}

} // namespace zel

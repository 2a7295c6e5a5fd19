#include "triangulate/csv_records.h"

#include <algorithm>

namespace zel {

namespace {

// A carriage return is a line end (on its own or before a line feed), never a space.
bool isFieldSpace(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
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
        if (const std::size_t lineEnd = lineEndLength(rest_, 0); lineEnd > 0) {
            rest_.remove_prefix(lineEnd);
            ++nextLine_;
            return Status::Record;
        }
        const char end = rest_.front();
        rest_.remove_prefix(1);
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
        nextLine_ += lineEndCount(part);
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
    while (end < rest_.size() && rest_[end] != delimiter_ && rest_[end] != '\n' &&
           rest_[end] != '\r') {
        ++end;
    }
    const std::string_view field = rest_.substr(0, end);
    rest_.remove_prefix(end);
    return field;
}

std::size_t lineEndLength(std::string_view text, std::size_t position) {
    if (position >= text.size()) {
        return 0;
    }
    if (text[position] == '\n') {
        return 1;
    }
    if (text[position] != '\r') {
        return 0;
    }
    return position + 1 < text.size() && text[position + 1] == '\n' ? 2 : 1;
}

std::size_t lineEndCount(std::string_view text) {
    const auto lineFeeds = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    const auto returns = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\r'));
    std::size_t pairs = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string_view::npos;
         at = text.find("\r\n", at + 2)) {
        ++pairs;
    }
    return lineFeeds + returns - pairs;
}

} // namespace zel

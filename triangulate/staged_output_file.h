#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

// The output cannot be created or written. The text names the file and the reason.
struct OutputWriteException : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A file that appears under its name complete or not at all. A regular file, or a name not
// yet taken, is written to a fresh file in the same directory, which commit() renames over
// the name; without a commit the staged file is removed and the name keeps what it had.
// Anything else (a device or a pipe, /dev/stdout) is written in place.
class StagedOutputFile {
public:
    // Throws OutputWriteException when the file cannot be created.
    explicit StagedOutputFile(const std::string& name);
    ~StagedOutputFile();
    StagedOutputFile(const StagedOutputFile&) = delete;
    StagedOutputFile& operator=(const StagedOutputFile&) = delete;

    // Buffered; a failure is reported by commit().
    void write(std::string_view text) {
        if (buffer_.size() + text.size() > buffer_.capacity()) {
            flush();
        }
        buffer_.insert(buffer_.end(), text.begin(), text.end());
    }

    // Writes what is buffered, closes the file and puts it under its name. Throws
    // OutputWriteException when a write, the close or the rename fails.
    void commit();

private:
    void flush();
    [[noreturn]] void fail(const std::string& what, int error) const;

    std::string name_;
    std::filesystem::path target_;
    std::filesystem::path staging_;
    std::vector<char> buffer_;
    int descriptor_ = -1;
    int writeError_ = 0;
    bool committed_ = false;
};

} // namespace zel

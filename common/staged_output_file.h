#pragma once

#include <filesystem>
#include <ostream>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

// The output file cannot be created, or cannot be written and put in place. what() is the
// short message "Cannot create file: <name>" or "Cannot write file: <name>"; error() is the
// system's reason as an errno value, 0 when there is none.
class OutputFileException : public std::runtime_error {
public:
    enum class Failure { Create, Write };

    OutputFileException(Failure failure, const std::string& name, int error = 0);

    Failure failure() const { return failure_; }
    const std::string& name() const { return name_; }
    int error() const { return error_; }

private:
    Failure failure_;
    std::string name_;
    int error_;
};

// A file that appears under its name complete or not at all.
//
// A regular file, or a name not yet taken, is written to a staging file created exclusively
// in the same directory, which commit() renames over the name: a run that fails never leaves a
// partial file there and never destroys the file that was there before, and a signal that
// ends the process removes the staging file first (see createStagingFile). Nobody sees the
// staging file before the rename, so flushing the stream only marks a line as done and the
// bytes go out in large blocks, not one system call per line.
//
// Anything else (a device, a pipe, a descriptor of this process such as /dev/stdout) cannot
// be replaced and is written in place; there every flush of the stream reaches the reader.
class StagedOutputFile {
public:
    // `stagingPrefix` starts the staging file's name (".planor-" gives ".planor-XXXXXX.tmp"),
    // so that a file left by `kill -9` tells whose it is. Throws OutputFileException (Create)
    // when the file cannot be opened for writing or the staging file cannot be created.
    StagedOutputFile(const std::string& name, std::string_view stagingPrefix);
    // Without a commit, the staging file is removed and the name keeps what it had.
    ~StagedOutputFile();

    StagedOutputFile(const StagedOutputFile&) = delete;
    StagedOutputFile& operator=(const StagedOutputFile&) = delete;

    std::ostream& stream() { return stream_; }
    // Buffered and never flushed on its own; a failure is reported by commit().
    void write(std::string_view text) {
        buffer_.sputn(text.data(), static_cast<std::streamsize>(text.size()));
    }
    const std::string& name() const { return name_; }
    bool writesInPlace() const { return stagingPath_.empty(); }

    // Writes what is buffered, closes the file and puts it under its name. Throws
    // OutputFileException (Write) when a write, the close or the rename fails.
    void commit();

private:
    // A buffer over a file descriptor that keeps the reason of the first failed write.
    class Buffer : public std::streambuf {
    public:
        Buffer();
        void open(int descriptor, bool deferFlushes);
        // Writes out what is buffered; false once any write has failed.
        bool drain();
        // Closes the descriptor (if open); false when the close fails.
        bool close();
        int error() const { return error_; }

    protected:
        int_type overflow(int_type c) override;
        int sync() override;

    private:
        std::vector<char> block_;
        int descriptor_ = -1;
        int error_ = 0;
        bool flushesDeferred_ = false;
    };

    void openInPlace();
    void openStaged(const std::filesystem::path& target, std::string_view stagingPrefix);
    [[noreturn]] void fail(OutputFileException::Failure failure, int error) const;

    std::string name_;
    std::filesystem::path targetPath_;
    std::filesystem::path stagingPath_;
    Buffer buffer_;
    std::ostream stream_;
    bool committed_ = false;
};

// True when `name` is the file, pipe or device that standard output already writes to (such
// as /dev/stdout, or the file the shell redirected standard output to). Writing it through a
// descriptor of its own would start at its beginning, under or over what standard output
// writes.
bool namesStandardOutput(const std::string& name);

} // namespace zel

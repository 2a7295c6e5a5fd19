#pragma once

#include <filesystem>
#include <fstream>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace zel {

// The output file cannot be created, written or put in place. The text is the whole message
// for the user and names the file.
struct OutputFileException : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A file that appears under its name complete or not at all.
//
// A regular file, or a name not yet taken, is written to a fresh staging file in the same
// directory, which commit() renames over the name: a run that fails never leaves a partial
// file there and never destroys the file that was there before. Nobody sees the staging file
// before the rename, so flushing its stream only marks a line as done and the bytes go out in
// large blocks, not one system call per line.
//
// Anything else (a device, a pipe, a descriptor of this process such as /dev/stdout) cannot
// be replaced and is written in place; there every flush reaches the reader at once.
class OutputFile {
public:
    // Throws OutputFileException "Cannot create file: <name>" when the file cannot be opened
    // for writing or the staging file cannot be created beside it.
    explicit OutputFile(const std::string& name);
    // Without a commit, the staging file is removed and the name keeps what it had.
    ~OutputFile();

    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    std::ostream& stream() { return stream_; }
    const std::string& name() const { return name_; }
    bool writesInPlace() const { return stagingPath_.empty(); }

    // Closes the file and puts it under its name. Throws OutputFileException
    // "Cannot write file: <name>" when a write, the close or the rename fails.
    void commit();

private:
    // A file buffer whose flushes can be left to its own buffering.
    class Buffer : public std::filebuf {
    public:
        void deferFlushes() { flushesDeferred_ = true; }

    protected:
        int sync() override { return flushesDeferred_ ? 0 : std::filebuf::sync(); }

    private:
        bool flushesDeferred_ = false;
    };

    void openInPlace();
    void openStaged(const std::filesystem::path& target);
    void discard() noexcept;

    std::string name_;
    std::filesystem::path targetPath_;
    std::filesystem::path stagingPath_;
    std::vector<char> blocks_;
    Buffer buffer_;
    std::ostream stream_;
    bool committed_ = false;
};

} // namespace zel

#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace zel::test {

// A fresh, empty directory under the system's temporary directory, removed with everything
// in it when the object goes.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The full name of `name` inside the directory.
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    // Creates or replaces `name` with exactly `text`; returns its full name.
    std::string write(const std::string& name, const std::string& text) const;
    std::string write(const std::string& name, const std::vector<unsigned char>& bytes) const {
        return write(name, std::string(bytes.begin(), bytes.end()));
    }
    // The sorted names of the entries, hidden ones included.
    std::vector<std::string> entries() const;

private:
    std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path& path);

// The process's working directory moved to `path` for the object's life (files that a
// program writes where it runs, such as screenshots, and children that inherit it).
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::filesystem::path& path)
        : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(path);
    }
    ~WorkingDirectory() { std::filesystem::current_path(previous_); }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    std::filesystem::path previous_;
};

} // namespace zel::test

#include "triangulate/staged_output_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zel {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kBufferSize = 1 << 20;
constexpr mode_t kNewFileMode = 0666;
// Bounds a chain of symbolic links, as the system's own path lookup does.
constexpr int kMaxLinkHops = 40;

// The file that a write to `name` would reach, when renaming a new file over it keeps every
// reader's view intact: a regular file or a free name, reached through links that do not pass
// through /proc (where /dev/stdout leads to a descriptor this process holds). Empty otherwise.
fs::path replaceableTarget(const fs::path& name) {
    fs::path path = name;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        std::error_code error;
        const fs::file_type type = fs::symlink_status(path, error).type();
        if (type == fs::file_type::not_found || type == fs::file_type::regular) {
            return path;
        }
        if (type != fs::file_type::symlink) {
            return {};
        }
        const fs::path link = fs::read_symlink(path, error);
        path = link.is_absolute() ? link : path.parent_path() / link;
        if (error || path.lexically_normal().string().rfind("/proc/", 0) == 0) {
            return {};
        }
    }
    return {};
}

mode_t modeForNewFile() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return kNewFileMode & ~mask;
}

} // namespace

StagedOutputFile::StagedOutputFile(const std::string& name) : name_(name) {
    buffer_.reserve(kBufferSize);
    target_ = name.empty() ? fs::path{} : replaceableTarget(name);
    if (target_.empty()) {
        descriptor_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, kNewFileMode);
        if (descriptor_ < 0) {
            fail("cannot be created", errno);
        }
        return;
    }
    struct stat existing {};
    const bool replacesFile = ::stat(target_.c_str(), &existing) == 0;
    if (replacesFile && ::access(target_.c_str(), W_OK) != 0) {
        fail("cannot be created", errno);
    }
    const fs::path directory = target_.has_parent_path() ? target_.parent_path() : fs::path(".");
    std::string pattern = (directory / ".triangulate-XXXXXX").string();
    descriptor_ = ::mkstemp(pattern.data());
    if (descriptor_ < 0) {
        fail("cannot be created", errno);
    }
    staging_ = pattern;
    // The replacement keeps the old file's access rights, a new file gets the usual ones.
    (void)::fchmod(descriptor_, replacesFile ? existing.st_mode & 07777 : modeForNewFile());
}

StagedOutputFile::~StagedOutputFile() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
    if (!committed_ && !staging_.empty()) {
        std::error_code error;
        fs::remove(staging_, error);
    }
}

void StagedOutputFile::flush() {
    const char* next = buffer_.data();
    std::size_t left = buffer_.size();
    while (left > 0 && writeError_ == 0) {
        const ssize_t written = ::write(descriptor_, next, left);
        if (written < 0 && errno != EINTR) {
            writeError_ = errno;
        } else if (written > 0) {
            next += written;
            left -= static_cast<std::size_t>(written);
        }
    }
    buffer_.clear();
}

void StagedOutputFile::commit() {
    flush();
    if (writeError_ != 0) {
        fail("cannot be written", writeError_);
    }
    const int closed = ::close(descriptor_);
    descriptor_ = -1;
    if (closed != 0) {
        fail("cannot be written", errno);
    }
    if (!staging_.empty() && ::rename(staging_.c_str(), target_.c_str()) != 0) {
        fail("cannot be written", errno);
    }
    committed_ = true;
}

void StagedOutputFile::fail(const std::string& what, int error) const {
    throw OutputWriteException(name_ + ": " + what + ": " + std::strerror(error));
}

} // namespace zel

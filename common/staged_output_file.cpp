#include "common/staged_output_file.h"

#include "common/staging_cleanup.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace zel {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t blockSize = 1 << 16;
constexpr mode_t newFileMode = 0666;
// Bounds a chain of symbolic links, as the system's own path lookup does.
constexpr int maxLinkHops = 40;
constexpr std::string_view stagingSuffix = ".tmp";

std::string shortMessage(OutputFileException::Failure failure, const std::string& name) {
    return (failure == OutputFileException::Failure::Create ? "Cannot create file: "
                                                            : "Cannot write file: ") +
           name;
}

// A link in /proc (such as /dev/stdout -> /proc/self/fd/1) stands for a descriptor this
// process already holds; replacing the file behind it would cut the descriptor off.
bool isProcessDescriptorLink(const fs::path& link) {
    std::error_code error;
    const fs::path directory = fs::weakly_canonical(fs::absolute(link, error).parent_path(), error);
    if (error) {
        return true;
    }
    auto part = directory.begin();
    return part != directory.end() && *part == "/" && ++part != directory.end() && *part == "proc";
}

struct OutputTarget {
    fs::path path;
    bool replaceable;
};

// Follows symbolic links to the file that a write to `name` would reach, so that a staged
// write replaces that file and leaves the links in place.
OutputTarget locateTarget(const fs::path& name) {
    fs::path path = name;
    for (int hop = 0; hop < maxLinkHops; ++hop) {
        std::error_code error;
        const fs::file_status own = fs::symlink_status(path, error);
        switch (own.type()) {
        case fs::file_type::not_found:
        case fs::file_type::regular:
            return {path, true};
        case fs::file_type::symlink: {
            if (isProcessDescriptorLink(path)) {
                return {name, false};
            }
            const fs::path target = fs::read_symlink(path, error);
            if (error) {
                return {name, false};
            }
            path = target.is_absolute() ? target : path.parent_path() / target;
            break;
        }
        default:
            return {name, false};
        }
    }
    return {name, false};
}

mode_t modeForNewFile() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return newFileMode & ~mask;
}

// Opening for an append writes nothing, but asks the system for write access.
int writeAccessError(const fs::path& path) {
    const int probe = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (probe < 0) {
        return errno;
    }
    ::close(probe);
    return 0;
}

// Gives the staging file the old file's owner and group as far as the system allows (all of it
// for root, the group for one of its members) and returns the old access rights less the
// set-user-ID or set-group-ID bit whose owner or group could not be kept: those bits would hand
// the rights of whoever wrote the file to whoever runs it.
mode_t keptOwnership(int descriptor, const struct stat& old) {
    mode_t mode = old.st_mode & 07777;
    if (::fchown(descriptor, old.st_uid, old.st_gid) != 0 &&
        ::fchown(descriptor, static_cast<uid_t>(-1), old.st_gid) != 0) {
        return mode & ~static_cast<mode_t>(S_ISUID | S_ISGID);
    }
    struct stat now {};
    if (::fstat(descriptor, &now) != 0 || now.st_uid != old.st_uid) {
        mode &= ~static_cast<mode_t>(S_ISUID);
    }
    if (::fstat(descriptor, &now) != 0 || now.st_gid != old.st_gid) {
        mode &= ~static_cast<mode_t>(S_ISGID);
    }
    return mode;
}

} // namespace

OutputFileException::OutputFileException(Failure failure, const std::string& name, int error)
    : std::runtime_error(shortMessage(failure, name)), failure_(failure), name_(name),
      error_(error) {}

StagedOutputFile::Buffer::Buffer() : block_(blockSize) {
    setp(block_.data(), block_.data() + block_.size());
}

void StagedOutputFile::Buffer::open(int descriptor, bool deferFlushes) {
    descriptor_ = descriptor;
    flushesDeferred_ = deferFlushes;
}

bool StagedOutputFile::Buffer::drain() {
    const char* next = pbase();
    std::size_t left = static_cast<std::size_t>(pptr() - pbase());
    while (left > 0 && error_ == 0) {
        const ssize_t written = ::write(descriptor_, next, left);
        if (written < 0 && errno != EINTR) {
            error_ = errno;
        } else if (written > 0) {
            next += written;
            left -= static_cast<std::size_t>(written);
        }
    }
    setp(block_.data(), block_.data() + block_.size());
    return error_ == 0;
}

bool StagedOutputFile::Buffer::close() {
    if (descriptor_ < 0) {
        return true;
    }
    const int closed = ::close(descriptor_);
    descriptor_ = -1;
    return closed == 0;
}

StagedOutputFile::Buffer::int_type StagedOutputFile::Buffer::overflow(int_type c) {
    if (!drain()) {
        return traits_type::eof();
    }
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

int StagedOutputFile::Buffer::sync() {
    if (flushesDeferred_) {
        return error_ == 0 ? 0 : -1;
    }
    return drain() ? 0 : -1;
}

StagedOutputFile::StagedOutputFile(const std::string& name, std::string_view stagingPrefix)
    : name_(name), stream_(&buffer_) {
    if (name.empty()) {
        fail(OutputFileException::Failure::Create, ENOENT);
    }
    const OutputTarget target = locateTarget(name);
    if (target.replaceable) {
        openStaged(target.path, stagingPrefix);
    } else {
        openInPlace();
    }
}

StagedOutputFile::~StagedOutputFile() {
    buffer_.close();
    if (!committed_ && !stagingPath_.empty()) {
        ::unlink(stagingPath_.c_str());
        forgetStagingFile();
    }
}

void StagedOutputFile::openInPlace() {
    const int descriptor =
        ::open(name_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, newFileMode);
    if (descriptor < 0) {
        fail(OutputFileException::Failure::Create, errno);
    }
    buffer_.open(descriptor, false);
}

void StagedOutputFile::openStaged(const fs::path& target, std::string_view stagingPrefix) {
    struct stat existing {};
    const bool replacesFile = ::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);
    if (replacesFile) {
        if (const int error = writeAccessError(target); error != 0) {
            fail(OutputFileException::Failure::Create, error);
        }
    }
    // Beside the target, because a rename only moves a file within one file system.
    std::string pattern =
        (target.parent_path() / stagingPrefix).string() + "XXXXXX" + std::string(stagingSuffix);
    const int descriptor = createStagingFile(pattern, static_cast<int>(stagingSuffix.size()));
    if (descriptor < 0) {
        fail(OutputFileException::Failure::Create, errno);
    }
    buffer_.open(descriptor, true);
    stagingPath_ = pattern;
    targetPath_ = target;
    // The replacement keeps the access rights the user gave the old file.
    (void)::fchmod(descriptor,
                   replacesFile ? keptOwnership(descriptor, existing) : modeForNewFile());
}

void StagedOutputFile::commit() {
    const bool written = stream_.good() && buffer_.drain();
    const int writeError = buffer_.error();
    if (!written) {
        fail(OutputFileException::Failure::Write, writeError);
    }
    if (!buffer_.close()) {
        fail(OutputFileException::Failure::Write, errno);
    }
    if (!stagingPath_.empty()) {
        if (::rename(stagingPath_.c_str(), targetPath_.c_str()) != 0) {
            fail(OutputFileException::Failure::Write, errno);
        }
        forgetStagingFile();
    }
    committed_ = true;
}

void StagedOutputFile::fail(OutputFileException::Failure failure, int error) const {
    throw OutputFileException(failure, name_, error);
}

bool namesStandardOutput(const std::string& name) {
    struct stat output {};
    struct stat standardOutput {};
    return ::stat(name.c_str(), &output) == 0 && ::fstat(STDOUT_FILENO, &standardOutput) == 0 &&
           output.st_dev == standardOutput.st_dev && output.st_ino == standardOutput.st_ino;
}

} // namespace zel

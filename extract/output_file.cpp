#include "extract/output_file.h"

#include "extract/staging_cleanup.h"

#include <cstdint>
#include <random>
#include <system_error>

namespace zel {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kBlockSize = 1 << 16;
// Bounds a chain of symbolic links, as the system's own path lookup does.
constexpr int kMaxLinkHops = 40;
constexpr int kStagingNameAttempts = 16;

OutputFileException cannotCreate(const std::string& name) {
    return OutputFileException("Cannot create file: " + name);
}

OutputFileException cannotWrite(const std::string& name) {
    return OutputFileException("Cannot write file: " + name);
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
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
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

std::string randomSuffix() {
    static std::random_device source;
    static std::mt19937_64 generator((static_cast<std::uint64_t>(source()) << 32) ^
                                     static_cast<std::uint64_t>(source()));
    constexpr char kHex[] = "0123456789abcdef";
    std::uint64_t bits = generator();
    std::string suffix(16, '0');
    for (char& digit : suffix) {
        digit = kHex[bits & 0xf];
        bits >>= 4;
    }
    return suffix;
}

// An unused name in the target's directory. The staging file lives there because a rename
// only moves a file within one file system.
fs::path freeStagingPath(const fs::path& target) {
    for (int attempt = 0; attempt < kStagingNameAttempts; ++attempt) {
        fs::path candidate = target.parent_path() / (".planor-" + randomSuffix() + ".tmp");
        std::error_code error;
        if (fs::symlink_status(candidate, error).type() == fs::file_type::not_found) {
            return candidate;
        }
    }
    return {};
}

bool isWritableExistingFile(const fs::path& path) {
    // Appending nothing leaves the file as it is, but asks the system for write access.
    std::ofstream probe(path, std::ios::out | std::ios::app);
    return probe.is_open();
}

} // namespace

OutputFile::OutputFile(const std::string& name) : name_(name), stream_(&buffer_) {
    if (name.empty()) {
        throw cannotCreate(name_);
    }
    const OutputTarget target = locateTarget(name);
    if (target.replaceable) {
        openStaged(target.path);
    } else {
        openInPlace();
    }
}

OutputFile::~OutputFile() {
    if (!committed_) {
        discard();
    }
}

void OutputFile::openInPlace() {
    if (buffer_.open(name_, std::ios::out | std::ios::trunc) == nullptr) {
        throw cannotCreate(name_);
    }
}

void OutputFile::openStaged(const fs::path& target) {
    std::error_code error;
    const fs::file_status existing = fs::status(target, error);
    const bool replacesFile = fs::is_regular_file(existing);
    if (replacesFile && !isWritableExistingFile(target)) {
        throw cannotCreate(name_);
    }
    const fs::path staging = freeStagingPath(target);
    if (staging.empty()) {
        throw cannotCreate(name_);
    }
    blocks_.resize(kBlockSize);
    buffer_.pubsetbuf(blocks_.data(), static_cast<std::streamsize>(blocks_.size()));
    buffer_.deferFlushes();
    // Looked after before it exists, so that no moment leaves it behind unwatched.
    removeOnTerminatingSignals(staging);
    if (buffer_.open(staging, std::ios::out | std::ios::trunc) == nullptr) {
        forgetStagingFile();
        throw cannotCreate(name_);
    }
    stagingPath_ = staging;
    targetPath_ = target;
    if (replacesFile) {
        // The replacement keeps the access rights the user gave the old file.
        fs::permissions(staging, existing.permissions(), fs::perm_options::replace, error);
    }
}

void OutputFile::commit() {
    const bool written = stream_.good();
    if (buffer_.close() == nullptr || !written) {
        throw cannotWrite(name_);
    }
    if (!stagingPath_.empty()) {
        std::error_code error;
        fs::rename(stagingPath_, targetPath_, error);
        if (error) {
            throw cannotWrite(name_);
        }
        forgetStagingFile();
    }
    committed_ = true;
}

void OutputFile::discard() noexcept {
    buffer_.close();
    if (!stagingPath_.empty()) {
        std::error_code error;
        fs::remove(stagingPath_, error);
        forgetStagingFile();
    }
}

} // namespace zel

#include "common/file_identity.h"

#include <sys/stat.h>

namespace zel {
namespace {

std::optional<FileIdentity> regularFile(const struct stat& status) {
    if (!S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    return FileIdentity{static_cast<std::uint64_t>(status.st_dev),
                        static_cast<std::uint64_t>(status.st_ino)};
}

} // namespace

std::optional<FileIdentity> regularFileNamed(const std::string& name) {
    struct stat status {};
    return ::stat(name.c_str(), &status) == 0 ? regularFile(status) : std::nullopt;
}

std::optional<FileIdentity> regularFileOpenOn(int descriptor) {
    struct stat status {};
    return ::fstat(descriptor, &status) == 0 ? regularFile(status) : std::nullopt;
}

} // namespace zel

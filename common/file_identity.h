#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zel {

// The regular file that a name or an open descriptor leads to, told apart from every other
// by its device and inode, so that two names (or a link and its target, or a name and
// standard input) can be found to be one file.
struct FileIdentity {
    std::uint64_t device;
    std::uint64_t inode;

    bool operator==(const FileIdentity&) const = default;
};

// None for a name that leads to no regular file (a device, a pipe, a terminal, a name not yet
// taken): writing one of those destroys no file that is read.
std::optional<FileIdentity> regularFileNamed(const std::string& name);
std::optional<FileIdentity> regularFileOpenOn(int descriptor);

} // namespace zel

#pragma once

#include <chrono>
#include <string>

namespace zel::test {

// Notices of the entries created in a directory from the watch's start on, such as a
// program's staging file: a test waits on the creation itself rather than polling for it.
class CreationWatch {
public:
    explicit CreationWatch(const std::string& directory);
    ~CreationWatch();
    CreationWatch(const CreationWatch&) = delete;
    CreationWatch& operator=(const CreationWatch&) = delete;

    // True once an entry whose name starts with `prefix` has been created; false when none
    // was within `timeout`.
    bool waitForEntryStartingWith(const std::string& prefix,
                                  std::chrono::milliseconds timeout = std::chrono::minutes(1));

private:
    bool createdOneStartingWith(const std::string& prefix);

    int fd_;
};

} // namespace zel::test

#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace zel::test {

struct ProcessResult {
    int exitCode = -1; // -1 when the process did not exit normally
    int signal = 0;    // the signal that ended it, if one did
    std::string out;
    std::string err;
};

struct ProcessOptions {
    // Largest file the process may write, in bytes; a write past it fails with EFBIG.
    std::optional<std::uint64_t> fileSizeLimit;
};

// Runs `program` with exactly the argument vector `arguments` (which may be empty, or start
// with any name) and waits for it. Its standard output and error are captured through files
// in `captureDirectory`, opened for appending like a shell's `>>`.
ProcessResult runProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const std::filesystem::path& captureDirectory,
                         const ProcessOptions& options = {});

// runProcess in two halves, for a test that acts on the process while it runs.
pid_t startProcess(const std::string& program, const std::vector<std::string>& arguments,
                   const std::filesystem::path& captureDirectory,
                   const ProcessOptions& options = {});
ProcessResult finishProcess(pid_t process, const std::filesystem::path& captureDirectory);

} // namespace zel::test

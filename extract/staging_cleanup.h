#pragma once

#include <filesystem>

namespace zel {

// While a staging file is being written, a signal that ends the process (interrupt,
// termination, hang-up, quit, broken pipe, file size limit) first removes that file and then
// ends the process as the signal would have. Signals the process was started with ignored
// stay ignored. Only one staging file is looked after at a time.
void removeOnTerminatingSignals(const std::filesystem::path& stagingFile);

// The staging file has been renamed into place or removed: signals no longer touch it.
void forgetStagingFile() noexcept;

} // namespace zel

#pragma once

#include <string>

namespace zel {

// Creates a fresh file from `pattern` as mkstemps does (the pattern ends in "XXXXXX" and then
// `suffixLength` further characters; the X's become the file's own) and returns its
// descriptor, opened for writing and closed on exec; -1 with errno set when no file can be
// created. From the moment it exists until forgetStagingFile(), a signal whose default action
// ends the process (every one but SIGKILL: interrupt, termination, hang-up, quit, broken pipe,
// file size limit, the user signals, the alarms, a crash, the real-time signals, ...) first
// removes the file and then ends the process as the signal would have. Signals the process was
// started with ignored stay ignored, and signals that already have a handler keep it. Only one
// staging file is looked after at a time.
int createStagingFile(std::string& pattern, int suffixLength);

// The staging file has been renamed into place or removed: signals no longer touch it.
void forgetStagingFile() noexcept;

} // namespace zel

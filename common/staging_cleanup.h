#pragma once

#include <string>

namespace zel {

// Creates a fresh file from `pattern` as mkstemps does (the pattern ends in "XXXXXX" and then
// `suffixLength` further characters; the X's become the file's own) and returns its
// descriptor, opened for writing and closed on exec; -1 with errno set when no file can be
// created. From the moment it exists until forgetStagingFile(), a signal that ends the process
// (interrupt, termination, hang-up, quit, broken pipe, file size limit) first removes the file
// and then ends the process as the signal would have. Signals the process was started with
// ignored stay ignored. Only one staging file is looked after at a time.
int createStagingFile(std::string& pattern, int suffixLength);

// The staging file has been renamed into place or removed: signals no longer touch it.
void forgetStagingFile() noexcept;

} // namespace zel

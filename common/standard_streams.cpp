#include "common/standard_streams.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace zel {

namespace {

// The lowest free descriptor is the one open() returns, so filling 0, 1 and 2 in order puts
// /dev/null on exactly the closed ones.
bool fillIfClosed(int descriptor) {
    if (::fcntl(descriptor, F_GETFD) != -1 || errno != EBADF) {
        return false;
    }
    const int opened = ::open("/dev/null", descriptor == STDIN_FILENO ? O_RDONLY : O_WRONLY);
    if (opened >= 0 && opened != descriptor) {
        ::dup2(opened, descriptor);
        ::close(opened);
    }
    return true;
}

} // namespace

ClosedStandardStreams openClosedStandardStreams() {
    ClosedStandardStreams closed;
    closed.input = fillIfClosed(STDIN_FILENO);
    closed.output = fillIfClosed(STDOUT_FILENO);
    closed.error = fillIfClosed(STDERR_FILENO);
    return closed;
}

} // namespace zel

#pragma once

namespace zel {

// Which of the standard descriptors 0, 1 and 2 were closed when the program started.
struct ClosedStandardStreams {
    bool input = false;
    bool output = false;
    bool error = false;
};

// Opens /dev/null on each of descriptors 0, 1 and 2 that is closed, so that no file or window
// connection the program opens later takes one of them and receives what is meant for the
// terminal. Call it first in main, before anything opens a descriptor. Returns which were
// closed: a standard output closed at start still cannot take the program's messages.
ClosedStandardStreams openClosedStandardStreams();

} // namespace zel

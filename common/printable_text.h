#pragma once

#include <string>
#include <string_view>

namespace zel {

// The text with every byte outside printable ASCII (below 0x20, 0x7F and above) written as
// \xNN, so that a message that echoes a file's bytes or a name can neither drive the terminal
// with escape sequences nor be cut short at a NUL. Printable text comes back unchanged, so
// applying it twice changes nothing.
std::string printableText(std::string_view text);

} // namespace zel

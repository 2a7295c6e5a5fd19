#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zel {

// The value after an option on the command line; `text` is null when the option came last.
// With none, `problem` says why: "<option> needs <what> after it", or for text that is no such
// value "<option> needs a positive number, not "<text>"" (positiveNumberAfter: finite and
// above 0) or "<option> needs a whole number from <least> to <most>, not "<text>""
// (wholeNumberAfter).
std::optional<double> positiveNumberAfter(const std::string& option, const std::string& what,
                                          const std::string* text, std::string& problem);
std::optional<std::uint32_t> wholeNumberAfter(const std::string& option, const std::string& what,
                                              std::uint32_t least, std::uint32_t most,
                                              const std::string* text, std::string& problem);

} // namespace zel

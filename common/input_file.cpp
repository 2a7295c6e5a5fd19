#include "common/input_file.h"

#include <cerrno>

namespace zel {

InputFile openInputFile(const std::string& name) {
    errno = 0;
    auto stream = std::make_unique<std::ifstream>(name, std::ios::binary);
    if (!stream->is_open()) {
        return {nullptr, errno != 0 ? errno : ENOENT};
    }
    // The first read is where a directory fails; what it reads stays in the stream.
    errno = 0;
    stream->peek();
    if (stream->bad()) {
        return {nullptr, errno != 0 ? errno : EISDIR};
    }
    stream->clear();
    return {std::move(stream), 0};
}

} // namespace zel

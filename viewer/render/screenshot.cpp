#include "viewer/render/screenshot.h"

#include "image/png_writer.h"

#include <GL/gl.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace zel {
namespace {

constexpr int mostScreenshots = 9999;

struct NewFile {
    std::string name;
    std::FILE* stream;
};

// O_EXCL makes the check for a free name and the creation one step, so a file that
// appears meanwhile (another viewer saving too) is never overwritten.
NewFile createNumberedFile() {
    for (int number = 1; number <= mostScreenshots; ++number) {
        char name[32];
        std::snprintf(name, sizeof name, "tessaro-%04d.png", number);
        const int fd = open(name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            std::FILE* stream = fdopen(fd, "wb");
            if (stream == nullptr) {
                const int error = errno;
                close(fd);
                std::remove(name);
                throw std::runtime_error(std::string(name) + ": " + std::strerror(error));
            }
            return {name, stream};
        }
        if (errno != EEXIST) {
            throw std::runtime_error(std::string(name) + ": " + std::strerror(errno));
        }
    }
    throw std::runtime_error("tessaro-0001.png to tessaro-9999.png all exist");
}

RgbPicture readBackBuffer(int width, int height) {
    RgbPicture picture;
    picture.width = width;
    picture.height = height;
    picture.bottomRowFirst = true;
    picture.bytes.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    // Rows packed without padding, as the picture holds them; the drawing's own setting
    // comes back afterwards.
    GLint alignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, picture.bytes.data());
    glPixelStorei(GL_PACK_ALIGNMENT, alignment);
    return picture;
}

void writeNewFile(const RgbPicture& picture) {
    const NewFile file = createNumberedFile();
    try {
        writePng(file.stream, picture);
    } catch (const std::exception& failure) {
        std::fclose(file.stream);
        std::remove(file.name.c_str());
        throw std::runtime_error(file.name + ": " + failure.what());
    }
    if (std::fclose(file.stream) != 0) {
        // Taken before std::remove, which may set errno again.
        const int error = errno;
        std::remove(file.name.c_str());
        throw std::runtime_error(file.name + ": " + std::strerror(error));
    }
    // A reader that has gone away (SIGPIPE is ignored) only loses the line; the stream is
    // made good again so that the next line is tried.
    std::cout << "Screenshot saved: " << std::filesystem::absolute(file.name).string() << std::endl;
    std::cout.clear();
}

} // namespace

void saveScreenshot(int width, int height) {
    if (width <= 0 || height <= 0) {
        return;
    }
    try {
        writeNewFile(readBackBuffer(width, height));
    } catch (const std::exception& failure) {
        std::cerr << "Cannot save the screenshot: " << failure.what() << std::endl;
    }
}

} // namespace zel

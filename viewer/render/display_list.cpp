#include "viewer/render/display_list.h"

#include <GL/gl.h>

namespace zel {

CompiledList compileDisplayList(const std::function<void()>& draw) {
    while (glGetError() != GL_NO_ERROR) {
    }
    const GLuint list = glGenLists(1);
    if (list == 0) {
        return {0, glGetError()};
    }
    glNewList(list, GL_COMPILE);
    draw();
    glEndList();
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR) {
        glDeleteLists(list, 1);
        while (glGetError() != GL_NO_ERROR) {
        }
        return {0, error};
    }
    return {list, GL_NO_ERROR};
}

} // namespace zel

#pragma once

#include <functional>

namespace zel {

// A display list and the first error OpenGL reported while compiling it.
struct CompiledList {
    unsigned int list = 0; // 0 when compiling failed
    unsigned int error = 0;
};

// Compiles what `draw` issues into a new display list. When OpenGL reports an error while
// compiling (GL_OUT_OF_MEMORY for a huge terrain, say), the list holds only part of the
// drawing, so it is deleted and the result has list 0 and that error. Errors left over from
// before the compiling are cleared first, so that they do not count against it.
CompiledList compileDisplayList(const std::function<void()>& draw);

} // namespace zel

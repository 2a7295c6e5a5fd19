#include "viewer/render/viewer_state.h"

#include <cassert>

namespace zel {
namespace {

ViewerState* current = nullptr;

} // namespace

void setViewerState(ViewerState& state) {
    current = &state;
}

ViewerState& viewerState() {
    assert(current != nullptr);
    return *current;
}

} // namespace zel

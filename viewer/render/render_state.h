#pragma once

namespace zel {

// Depth-tested, smooth-shaded, textured drawing on a black background.
void initRenderState();

// Reshape callback: viewport, perspective projection and the camera above the terrain.
// Discards the rotation accumulated so far.
void reshapeView(int width, int height);

// Light 1, fixed relative to the viewer. Called while the model-view matrix is the identity.
void initLighting();

} // namespace zel

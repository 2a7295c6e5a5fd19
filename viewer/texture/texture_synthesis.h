#pragma once

#include "viewer/surface_heights.h"
#include "viewer/terrain_model.h"
#include "viewer/texture/rgb_image_view.h"

#include <vector>

namespace zel {

// The terrain texture: textureSize x textureSize texels of R, G, B, row after row (the
// texel in column i and row j at byte 3 * (textureSize * j + i)). Columns run along x and
// rows along z of the model's bounding box (`bounds`, already set). Each texel is coloured
// by the height of the triangle that holds its ground position, blended from `images`
// (lowest ground first); a texel no triangle holds is black. Needs no OpenGL.
std::vector<unsigned char> synthesizeTexels(const TerrainModel& model,
                                            const std::vector<RgbImageView>& images);

// The same texture from the surface already sampled over the model's lattice, its heights
// placed between `lowest` and lowest + `range` (the bounding box's heights).
std::vector<unsigned char> synthesizeTexels(const SurfaceHeights& surface, float lowest,
                                            float range, const std::vector<RgbImageView>& images);

// The same texture with each image pure at its height in `pureHeights` (increasing, one per
// image, in the surface's heights) and blended between them (see imagePosition).
std::vector<unsigned char> synthesizeTexels(const SurfaceHeights& surface,
                                            const std::vector<double>& pureHeights,
                                            const std::vector<RgbImageView>& images);

} // namespace zel

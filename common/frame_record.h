#pragma once

#include <string_view>

namespace zel {

// The record that carries triangulate's transform in the files it writes, so that the viewer
// can show positions and heights in the data's own units. One line of whitespace-separated
// tokens:
//
//   frame <centreX> <centreY> <scale> <binaryExponent> <offsetX> <offsetY>
//         [ground <ground>] [heightscale <k>]
//         [projection <standardLatitude> <metresPerDegreeX> <metresPerDegree>
//          [meridian <centralMeridian>]]
//
// A file position is x' = ((x - centreX) * 2^binaryExponent - offsetX) * scale (likewise y);
// a height z' = (z - ground) * 2^binaryExponent * scale, z * k with `heightscale` (heights
// that are no lengths, such as densities), or z itself without either. With
// `projection`, x and y are metres projected from degrees (x = longitude * metresPerDegreeX,
// y = latitude * metresPerDegree; with `meridian`, x = (longitude - centralMeridian) *
// metresPerDegreeX, each longitude taken within 180 degrees of the central meridian), and only
// then are the horizontal units known to be metres.
// In a terrain file the record follows "xyz" on the first line; in a triangulation file it is
// the line after the last triangle. Numbers are written so that they read back exactly.
inline constexpr std::string_view frameRecordWord = "frame";
inline constexpr std::string_view frameGroundWord = "ground";
inline constexpr std::string_view frameHeightScaleWord = "heightscale";
inline constexpr std::string_view frameProjectionWord = "projection";
inline constexpr std::string_view frameMeridianWord = "meridian";

} // namespace zel

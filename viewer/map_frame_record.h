#pragma once

#include "common/number_tokens.h"
#include "viewer/map_frame.h"

#include <optional>

namespace zel {

// Reads a frame record (see common/frame_record.h) when the next token is its word "frame";
// otherwise leaves that token unread and returns none. The record's numbers must stand on
// the line of its word. Throws TriangulationFormatException saying which number is missing,
// unreadable or out of its range (a scale that is not positive, an exponent no double
// reaches, a latitude outside -90 to 90, a factor of the projection that is not positive).
std::optional<MapFrame> readFrameRecord(NumberTokens& in);

} // namespace zel

// Reads arbitrary bytes as a triangulation file and as a terrain file, then lifts whatever was
// accepted into a terrain. A malformed file must be rejected with TriangulationFormatException; an
// accepted one must give every vertex a finite position, a finite unit normal and a texture
// coordinate within 0..1, and every texel sample a finite ground position. The same bytes, read as
// a run of numbers of each type, must give what stream extraction gives.
#include "tests/common/stream_extraction_reference.h"
#include "viewer/bounding_box.h"
#include "viewer/sample_lattice.h"
#include "viewer/terrain_model.h"
#include "viewer/texture/texture_coordinates.h"
#include "viewer/triangulation_format_exception.h"
#include "viewer/triangulation_reader.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

bool isFinite(const zel::Vec3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

void check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

void liftAndCheck(zel::TerrainModel& model) {
    model.computeHeights();
    model.computeNormals();

    check(model.vertices.size() == model.points.size());
    check(model.normals.size() == model.points.size());
    for (std::size_t i = 0; i < model.vertices.size(); ++i) {
        check(isFinite(model.vertices[i]));
        check(isFinite(model.normals[i]));
        const zel::Vec3& n = model.normals[i];
        const double length = std::sqrt(double(n.x) * n.x + double(n.y) * n.y + double(n.z) * n.z);
        check(std::abs(length - 1.0) < 1e-5);
    }
    const zel::Box box = zel::boundingBox(model.vertices);
    for (const zel::TexCoord& uv : zel::textureCoordinates(model.vertices, box)) {
        check(uv.u >= 0.0f && uv.u <= 1.0f && uv.v >= 0.0f && uv.v <= 1.0f);
    }
    const zel::SampleLattice lattice = zel::sampleLattice(box);
    for (std::size_t k = 0; k < lattice.x.size(); ++k) {
        check(std::isfinite(lattice.x[k]) && std::isfinite(lattice.z[k]));
    }
}

void readAndCheck(const std::string& text, bool terrainFile) {
    zel::TerrainModel model;
    std::istringstream in(text);
    try {
        model = terrainFile ? zel::readTerrain(in) : zel::readTriangulation(in);
    } catch (const zel::TriangulationFormatException&) {
        return;
    }
    check(model.elevations.size() == (terrainFile ? model.points.size() : 0));
    liftAndCheck(model);
}

void compareWithStreamExtraction(const std::string& text) {
    check(zel::test::differenceFromStreamExtraction<float>(text).empty());
    check(zel::test::differenceFromStreamExtraction<std::int32_t>(text).empty());
    check(zel::test::differenceFromStreamExtraction<std::uint32_t>(text).empty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    readAndCheck(text, false);
    readAndCheck(text, true);
    compareWithStreamExtraction(text);
    return 0;
}

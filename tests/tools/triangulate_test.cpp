// The path from survey points to a terrain: tools/triangulate must turn a point section into a
// triangulation whose triangles all run clockwise, name only existing points, and together
// cover the convex hull of the points exactly once.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Point {
    double x, y;
};

struct Triangulation {
    std::vector<Point> points;
    std::vector<std::array<long, 3>> triangles;
};

double cross(const Point& o, const Point& a, const Point& b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

double convexHullArea(std::vector<Point> pts) {
    std::sort(pts.begin(), pts.end(),
              [](const Point& a, const Point& b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
    std::vector<Point> hull(2 * pts.size());
    std::size_t k = 0;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        while (k >= 2 && cross(hull[k - 2], hull[k - 1], pts[i]) <= 0) {
            --k;
        }
        hull[k++] = pts[i];
    }
    for (std::size_t i = pts.size() - 1, t = k + 1; i > 0; --i) {
        while (k >= t && cross(hull[k - 2], hull[k - 1], pts[i - 1]) <= 0) {
            --k;
        }
        hull[k++] = pts[i - 1];
    }
    hull.resize(k - 1);
    double area = 0.0;
    for (std::size_t i = 0; i < hull.size(); ++i) {
        const Point& a = hull[i];
        const Point& b = hull[(i + 1) % hull.size()];
        area += a.x * b.y - b.x * a.y;
    }
    return std::fabs(area) / 2.0;
}

class TriangulateTool : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("triangulate-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    int run(const std::vector<Point>& pts, const fs::path& out) {
        const fs::path in = dir / "points.txt";
        std::ofstream file(in);
        file.precision(9);
        file << pts.size() << "\n";
        for (const Point& p : pts) {
            file << p.x << " " << p.y << "\n";
        }
        file.close();
        const std::string command = std::string(TRIANGULATE_TOOL) + " '" + in.string() + "' '" +
                                    out.string() + "' 2>'" + (dir / "stderr").string() + "'";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    static Triangulation read(const fs::path& path) {
        Triangulation t;
        std::ifstream in(path);
        std::size_t n = 0, m = 0;
        in >> n;
        t.points.resize(n);
        for (Point& p : t.points) {
            in >> p.x >> p.y;
        }
        in >> m;
        t.triangles.resize(m);
        for (auto& tri : t.triangles) {
            in >> tri[0] >> tri[1] >> tri[2];
        }
        EXPECT_TRUE(in) << "the triangulation file could not be read back";
        return t;
    }

    static void expectCoversHullClockwise(const Triangulation& t, const std::vector<Point>& input) {
        ASSERT_EQ(t.points.size(), input.size());
        for (std::size_t i = 0; i < input.size(); ++i) {
            ASSERT_EQ(t.points[i].x, input[i].x);
            ASSERT_EQ(t.points[i].y, input[i].y);
        }
        double total = 0.0;
        for (const auto& tri : t.triangles) {
            for (long index : tri) {
                ASSERT_GE(index, 0);
                ASSERT_LT(index, static_cast<long>(t.points.size()));
            }
            const double signedArea = cross(t.points[static_cast<std::size_t>(tri[0])],
                                            t.points[static_cast<std::size_t>(tri[1])],
                                            t.points[static_cast<std::size_t>(tri[2])]);
            EXPECT_LE(signedArea, 0.0) << "triangle " << tri[0] << " " << tri[1] << " " << tri[2]
                                       << " runs counter-clockwise";
            total += -signedArea / 2.0;
        }
        const double hull = convexHullArea(input);
        EXPECT_NEAR(total, hull, hull * 1e-9);
    }

    fs::path dir;
};

std::vector<Point> scatteredPoints(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> field(-100.0, 100.0);
    std::vector<Point> pts(count);
    for (Point& p : pts) {
        p = {std::round(field(random) * 1000.0) / 1000.0, std::round(field(random) * 1000.0) / 1000.0};
    }
    return pts;
}

TEST_F(TriangulateTool, ScatteredPointsWithDuplicatesCoverTheirHullClockwise) {
    std::vector<Point> pts = scatteredPoints(2000, 11);
    // Repeated survey points: the triangulator leaves the copies out.
    for (std::size_t i = 0; i < 50; ++i) {
        pts.push_back(pts[i * 7]);
    }
    const fs::path out = dir / "terrain.tri";
    ASSERT_EQ(run(pts, out), 0);
    const Triangulation t = read(out);
    EXPECT_GT(t.triangles.size(), 3900u);
    expectCoversHullClockwise(t, pts);
}

TEST_F(TriangulateTool, GridPointsOnCommonCirclesAreTriangulated) {
    std::vector<Point> pts;
    for (int x = 0; x <= 20; ++x) {
        for (int y = 0; y <= 15; ++y) {
            pts.push_back({x * 5.0, y * 5.0});
        }
    }
    const fs::path out = dir / "grid.tri";
    ASSERT_EQ(run(pts, out), 0);
    const Triangulation t = read(out);
    EXPECT_EQ(t.triangles.size(), 2u * 20u * 15u);
    expectCoversHullClockwise(t, pts);
}

TEST_F(TriangulateTool, FewerThanThreePointsGiveNoTriangle) {
    const std::vector<Point> pts = {{0.0, 0.0}, {1.0, 1.0}};
    const fs::path out = dir / "two.tri";
    ASSERT_EQ(run(pts, out), 0);
    const Triangulation t = read(out);
    EXPECT_EQ(t.points.size(), 2u);
    EXPECT_TRUE(t.triangles.empty());
}

TEST_F(TriangulateTool, MissingInputFailsWithoutWritingOutput) {
    const fs::path out = dir / "never.tri";
    const std::string command = std::string(TRIANGULATE_TOOL) + " '" + (dir / "absent.txt").string() +
                                "' '" + out.string() + "' 2>/dev/null";
    const int status = std::system(command.c_str());
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(TriangulateTool, MalformedPointFileFailsWithoutWritingOutput) {
    const fs::path in = dir / "bad.txt";
    std::ofstream(in) << "3\n0 0\n1 north\n2 2\n";
    const fs::path out = dir / "bad.tri";
    const std::string command = std::string(TRIANGULATE_TOOL) + " '" + in.string() + "' '" +
                                out.string() + "' 2>'" + (dir / "stderr").string() + "'";
    const int status = std::system(command.c_str());
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_FALSE(fs::exists(out));
    std::ifstream err(dir / "stderr");
    const std::string message((std::istreambuf_iterator<char>(err)), std::istreambuf_iterator<char>());
    EXPECT_EQ(message, "Bad point file " + in.string() + ": point 2 of 3 cannot be read\n");
}

} // namespace

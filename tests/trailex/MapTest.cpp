#include "trailex/Map.h"
#include "TempDir.h"
#include "vessot/Exception.h"
#include "vessot/File.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>
#include <vector>

using lba::Map;
using morvec::Vector2;
using Path = vessot::Array<Vector2>;

namespace {

// A 100 x 100 square with a 20 x 20 hole in its middle.
const char* const SQUARE_WITH_HOLE = "walkmap 1\n"
                                     "area\n0 0\n100 0\n100 100\n0 100\n"
                                     "hole\n40 40\n60 40\n60 60\n40 60\n";

// Two separate areas: a square, and an island inside a hole of the first.
const char* const TWO_REGIONS = "walkmap 1\n"
                                "area\n0 0\n300 0\n300 300\n0 300\n"
                                "hole\n100 100\n200 100\n200 200\n100 200\n"
                                "area\n120 120\n180 120\n180 180\n120 180\n";

Map load(const char* text) {
    return Map::fromText(text, "test.walk");
}

float pathLength(const Path& path) {
    float total = 0;
    for (int i = 1; i < path.size(); ++i) {
        total += (path[i] - path[i - 1]).length();
    }
    return total;
}

void expectPoint(const Vector2& actual, float x, float y) {
    EXPECT_NEAR(actual.x, x, 1e-3) << "point " << actual.x << "," << actual.y;
    EXPECT_NEAR(actual.y, y, 1e-3) << "point " << actual.x << "," << actual.y;
}

} // namespace

TEST(WalkMapFile, MalformedMapsNameFileAndLine) {
    struct Case {
        std::string body;
        std::string expected;
    };
    const std::string square = "area\n0 0\n100 0\n100 100\n0 100\n";
    const std::vector<Case> cases = {
        {"", "test.walk line 1: not a walk map"},
        {"walkmap 2\n", "test.walk line 1: unsupported walk map version"},
        {"walkmap 1\n", "test.walk line 1: the walk map has no area"},
        {"walkmap 1\n1 2\n", "test.walk line 2: a point before any area"},
        {"walkmap 1\nhole\n", "test.walk line 2: a hole before any area"},
        {"walkmap 1\n# comment\narea\n0 0\n10 0\n", "test.walk line 3: an area needs at least 3 points"},
        {"walkmap 1\narea\n0 0\n10 zero\n", "test.walk line 4: expected \"area\", \"hole\" or two numbers"},
        {"walkmap 1\narea\n0 0\n0 0\n10 10\n", "test.walk line 4: the point repeats"},
        {"walkmap 1\narea\n0 0\n5 5\n10 10\n", "test.walk line 2: the area has no surface"},
        {"walkmap 1\narea\n0 0\n9999999 0\n0 10\n", "test.walk line 4: coordinate out of range"},
        {"walkmap 1\narea\n0 0\n10 10\n10 0\n0 20\n", "the area starting at line 2 crosses or touches itself"},
        {"walkmap 1\n" + square + "hole\n200 200\n210 200\n210 210\n", "line 7: the hole lies outside its area"},
        {"walkmap 1\n" + square + "hole\n50 50\n150 50\n150 60\n", "starting at line 7 crosses or touches the outline"},
        {"walkmap 1\n" + square + "hole\n10 10\n30 10\n30 30\nhole\n20 20\n40 20\n40 40\n",
         "the holes starting at lines 7 and 11 touch or overlap"},
        {"walkmap 1\n" + square + "hole\n10 10\n40 10\n40 40\nhole\n20 15\n30 15\n25 20\n",
         "line 11: the hole lies inside the hole starting at line 7"},
        {"walkmap 1\n" + square + "area\n10 10\n20 10\n20 20\n",
         "line 7: the area overlaps the area starting at line 2"},
        {"walkmap 1\n" + square + "area\n100 0\n200 0\n200 100\n", "touch or overlap"},
    };
    for (const Case& c : cases) {
        try {
            Map::fromText(c.body, "test.walk");
            ADD_FAILURE() << "accepted: " << c.body;
        } catch (const vessot::exception& e) {
            EXPECT_NE(std::string(e.message()).find(c.expected), std::string::npos)
                << "message: " << e.message() << "\nexpected: " << c.expected;
        }
    }
}

TEST(WalkMapFile, ReadsFromTheResourcesAndReportsAMissingFile) {
    TempDir dir;
    std::filesystem::create_directories(dir / "data/chapters/ship/walk");
    std::ofstream(dir / "data/chapters/ship/walk/room.walk") << "walkmap 1\r\n\tarea\r\n0 0\r\n10 0\r\n10 10\r\n";
    vessot::setResourceRoot(dir.path);
    Map map("data/chapters/ship/walk/room.walk");
    EXPECT_TRUE(map.isPointIn(Vector2(8, 2)));
    EXPECT_FALSE(map.isPointIn(Vector2(2, 8)));
    try {
        Map missing(dir / "missing.walk");
        ADD_FAILURE() << "a missing walk map was accepted";
    } catch (const vessot::exception& e) {
        EXPECT_NE(std::string(e.message()).find("missing.walk"), std::string::npos);
    }
}

TEST(WalkMap, PointsInsideOutsideAndInHoles) {
    Map map = load(SQUARE_WITH_HOLE);
    struct Case {
        float x, y;
        bool inside;
    };
    for (const Case& c : std::vector<Case>{{10, 10, true},
                                           {-0.5f, 50, false},
                                           {0, 50, true},
                                           {100, 100, true},
                                           {50, 50, false},
                                           {40, 50, true},
                                           {60, 60, true},
                                           {45, 41, false},
                                           {100.01f, 50, false}}) {
        EXPECT_EQ(map.isPointIn(Vector2(c.x, c.y)), c.inside) << c.x << "," << c.y;
    }
}

TEST(WalkMap, EmptyMapWalksStraight) {
    Map map;
    EXPECT_TRUE(map.isPointIn(Vector2(-1e5f, 3)));
    Path path = map.findPath(Vector2(1, 2), Vector2(30, 40));
    ASSERT_EQ(path.size(), 2);
    expectPoint(path[0], 1, 2);
    expectPoint(path[1], 30, 40);
    EXPECT_TRUE(map.findPath(Vector2(5, 5), Vector2(5, 5)).empty());
    EXPECT_TRUE(map.getRegions().empty());
}

TEST(WalkMap, DetourAroundAHoleIsShortest) {
    Map map = load(SQUARE_WITH_HOLE);
    Path path = map.findPath(Vector2(10, 50), Vector2(90, 50));
    ASSERT_EQ(path.size(), 4);
    expectPoint(path[0], 10, 50);
    EXPECT_NEAR(path[1].x, 40, 1e-3);
    EXPECT_NEAR(path[2].x, 60, 1e-3);
    EXPECT_EQ(path[1].y, path[2].y) << "both corners on the same side of the hole";
    expectPoint(path[3], 90, 50);
    EXPECT_NEAR(pathLength(path), 2 * std::sqrt(30.f * 30 + 10 * 10) + 20, 1e-3);
}

TEST(WalkMap, EdgesAndCornersCountAsWalkable) {
    Map map = load(SQUARE_WITH_HOLE);
    struct Case {
        Vector2 from, to;
        int points;
    };
    for (const Case& c : std::vector<Case>{
             {{40, 10}, {40, 90}, 2}, // along the hole's left edge
             {{20, 60}, {60, 20}, 2}, // touching the hole's corner (40,40) from outside
             {{0, 0}, {100, 0}, 2},   // along the outline
             {{40, 40}, {60, 40}, 2}, // from corner to corner along an edge
             {{40, 40}, {60, 60}, 3}, // corner to corner across the hole goes round it
             {{20, 20}, {80, 80}, 3}, // through two corners and the hole between them
             {{50, 40}, {50, 60}, 4}, // from one side of the hole to the other
         }) {
        Path path = map.findPath(c.from, c.to);
        EXPECT_EQ(path.size(), c.points) << c.from.x << "," << c.from.y << " -> " << c.to.x << "," << c.to.y;
    }
}

TEST(WalkMap, EndsOnSlantedEdgesAndCornersBendRoundTheCorner) {
    // An L whose inner corner (20,27) joins a slanted edge and a vertical one.
    Map map = load("walkmap 1\narea\n0 0\n90 0\n90 20\n20 27\n20 90\n0 90\n");
    const Vector2 corner(20, 27);
    const Vector2 target(10, 80);
    for (float t : {0.37f, 0.5f, 0.913f}) {
        // A point on the slanted edge as floats round it: a hair off the exact line.
        Vector2 onEdge = Vector2(90, 20) + (corner - Vector2(90, 20)) * t;
        ASSERT_TRUE(map.isPointIn(onEdge));
        for (bool forward : {true, false}) {
            Path path = forward ? map.findPath(onEdge, target) : map.findPath(target, onEdge);
            ASSERT_EQ(path.size(), 3) << "t " << t;
            expectPoint(path[1], corner.x, corner.y);
            EXPECT_NEAR(pathLength(path), (corner - onEdge).length() + (target - corner).length(), 1e-3);
        }
    }
    Path fromCorner = map.findPath(corner, target);
    ASSERT_EQ(fromCorner.size(), 2);
    Path aroundCorner = map.findPath(Vector2(80, 10), Vector2(10, 80));
    ASSERT_EQ(aroundCorner.size(), 3);
    expectPoint(aroundCorner[1], corner.x, corner.y);
}

TEST(WalkMap, StartJustOutsideIsMovedOntoTheArea) {
    Map map = load(SQUARE_WITH_HOLE);
    Path path = map.findPath(Vector2(-1.5f, 20), Vector2(20, 20));
    ASSERT_EQ(path.size(), 2);
    expectPoint(path[0], 0, 20);
    expectPoint(path[1], 20, 20);
    EXPECT_TRUE(map.findPath(Vector2(-2.5f, 20), Vector2(20, 20)).empty()) << "too far outside";
    EXPECT_TRUE(map.findPath(Vector2(-1, 20), Vector2(0, 20)).empty()) << "the moved start is the end";
}

TEST(WalkMap, TargetOutsideGoesToTheNearestWalkablePoint) {
    Map map = load(SQUARE_WITH_HOLE);
    struct Case {
        Vector2 to;
        Vector2 end;
    };
    for (const Case& c : std::vector<Case>{{{150, 30}, {100, 30}}, {{-20, -30}, {0, 0}}, {{50, 45}, {50, 40}}}) {
        Path path = map.findPath(Vector2(10, 10), c.to);
        ASSERT_GE(path.size(), 2);
        expectPoint(path[0], 10, 10);
        expectPoint(path.last(), c.end.x, c.end.y);
    }
    EXPECT_TRUE(map.findPath(Vector2(0, 0), Vector2(-5, -5)).empty()) << "nearest point is the start";
}

TEST(WalkMap, OtherRegionsHaveNoPath) {
    Map map = load(TWO_REGIONS);
    EXPECT_TRUE(map.findPath(Vector2(50, 50), Vector2(150, 150)).empty());
    EXPECT_TRUE(map.findPath(Vector2(150, 150), Vector2(50, 50)).empty());
    EXPECT_TRUE(map.findPath(Vector2(500, 500), Vector2(50, 50)).empty()) << "start in no area";
    // A target in the hole around the island goes to the island's nearest edge point.
    Path path = map.findPath(Vector2(150, 150), Vector2(150, 110));
    ASSERT_EQ(path.size(), 2);
    expectPoint(path[1], 150, 120);
    ASSERT_EQ(map.getRegions().size(), 2);
    EXPECT_EQ(map.getRegions()[0].rings.size(), 2);
    EXPECT_EQ(map.getRegions()[0].corners.size(), 4);
    EXPECT_EQ(map.getRegions()[1].corners.size(), 0);
}

namespace {

// Independent reference: Dijkstra over every vertex, with a brute-force segment test.
struct Reference {
    std::vector<std::vector<Vector2>> rings;
    const Map& map;

    static bool properlyCross(Vector2 a, Vector2 b, Vector2 c, Vector2 d) {
        auto orient = [](Vector2 p, Vector2 q, Vector2 r) {
            double v = (double)(q.x - p.x) * (r.y - p.y) - (double)(q.y - p.y) * (r.x - p.x);
            return v > 1e-9 ? 1 : (v < -1e-9 ? -1 : 0);
        };
        return orient(a, b, c) * orient(a, b, d) < 0 && orient(c, d, a) * orient(c, d, b) < 0;
    }
    bool clear(Vector2 a, Vector2 b) const {
        for (const auto& ring : rings) {
            for (size_t i = 0; i < ring.size(); ++i) {
                if (properlyCross(a, b, ring[i], ring[(i + 1) % ring.size()])) {
                    return false;
                }
            }
        }
        int samples = 1 + (int)((b - a).length() * 2);
        for (int s = 1; s < samples; ++s) {
            if (!map.isPointIn(a + (b - a) * ((float)s / samples))) {
                return false;
            }
        }
        return true;
    }
    float shortest(Vector2 from, Vector2 to) const {
        std::vector<Vector2> nodes = {from, to};
        for (const auto& ring : rings) {
            nodes.insert(nodes.end(), ring.begin(), ring.end());
        }
        std::vector<float> best(nodes.size(), std::numeric_limits<float>::infinity());
        std::vector<bool> done(nodes.size(), false);
        best[0] = 0;
        for (;;) {
            int u = -1;
            for (size_t i = 0; i < nodes.size(); ++i) {
                if (!done[i] && (u < 0 || best[i] < best[u])) {
                    u = (int)i;
                }
            }
            if (u < 0 || std::isinf(best[u]) || u == 1) {
                return best[1];
            }
            done[u] = true;
            for (size_t v = 0; v < nodes.size(); ++v) {
                if (!done[v] && clear(nodes[u], nodes[v])) {
                    best[v] = std::min(best[v], best[u] + (nodes[v] - nodes[u]).length());
                }
            }
        }
    }
};

} // namespace

TEST(WalkMap, RandomPathsAreShortestAndStayWalkable) {
    Map map = load("walkmap 1\n"
                   "area\n0 0\n200 0\n200 80\n120 80\n120 60\n80 60\n80 120\n200 120\n200 200\n0 200\n"
                   "hole\n20 20\n50 20\n50 40\n20 40\n"
                   "hole\n140 20\n160 30\n150 50\n"
                   "hole\n30 140\n60 150\n40 170\n"
                   "hole\n120 150\n170 150\n170 160\n120 160\n");
    Reference reference{{}, map};
    for (const auto& region : map.getRegions()) {
        for (const auto& ring : region.rings) {
            reference.rings.emplace_back(ring.begin(), ring.end());
        }
    }
    std::mt19937 random(7);
    std::uniform_real_distribution<float> coordinate(0, 200);
    int checked = 0;
    while (checked < 40) {
        Vector2 from(std::round(coordinate(random)), std::round(coordinate(random)));
        Vector2 to(std::round(coordinate(random)), std::round(coordinate(random)));
        if (!map.isPointIn(from) || !map.isPointIn(to) || from == to) {
            continue;
        }
        ++checked;
        Path path = map.findPath(from, to);
        ASSERT_GE(path.size(), 2) << from.x << "," << from.y << " -> " << to.x << "," << to.y;
        EXPECT_EQ(path[0], from);
        EXPECT_EQ(path.last(), to);
        for (int i = 1; i < path.size(); ++i) {
            EXPECT_NE(path[i], path[i - 1]);
            EXPECT_TRUE(reference.clear(path[i - 1], path[i])) << "segment " << i << " leaves the walkable area";
        }
        EXPECT_NEAR(pathLength(path), reference.shortest(from, to), 1e-2)
            << from.x << "," << from.y << " -> " << to.x << "," << to.y;
    }
}
